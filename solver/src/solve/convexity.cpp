#include "solve/convexity.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <utility>
#include <vector>

namespace tarq_solver {

namespace {

// Fill limit of the sparse factorization (entries created by elimination), and the largest
// block factored densely.
constexpr std::int64_t kMaxFill = 30'000'000;
constexpr std::int64_t kMaxDense = 4000;

struct Scaled {
  int m = 0;                                    // variables touched
  std::vector<double> diag;                     // diagonal of S + tol * I
  std::vector<std::pair<int, int>> at;          // off-diagonal positions (i > j), local numbers
  std::vector<double> val;                      // their values in S
};

// Numbers the touched variables 0 .. m-1 and scales H (times sign) to unit diagonal; diagonal
// entries at or below tol * (largest magnitude) are scaled as if they were that large, so a zero
// diagonal with a nonzero in its row shows up as a large off-diagonal entry.
Scaled Scale(const int* rows, const int* cols, const double* vals, std::int64_t n, double sign) {
  std::vector<int> vars;
  vars.reserve(static_cast<std::size_t>(2 * n));
  double largest = 0;
  for (std::int64_t p = 0; p < n; ++p) {
    vars.push_back(rows[p]);
    vars.push_back(cols[p]);
    largest = std::max(largest, std::fabs(vals[p]));
  }
  std::sort(vars.begin(), vars.end());
  vars.erase(std::unique(vars.begin(), vars.end()), vars.end());
  const auto local = [&](int j) { return static_cast<int>(std::lower_bound(vars.begin(), vars.end(), j) - vars.begin()); };
  Scaled s;
  s.m = static_cast<int>(vars.size());
  std::vector<double> h(vars.size(), 0.0);
  for (std::int64_t p = 0; p < n; ++p) {
    if (rows[p] == cols[p]) h[static_cast<std::size_t>(local(rows[p]))] += sign * vals[p];
  }
  const double floor = kConvexityTolerance * largest;
  std::vector<double> d(vars.size());
  s.diag.resize(vars.size());
  for (std::size_t i = 0; i < vars.size(); ++i) {
    const double ref = std::max(h[i], floor);
    d[i] = 1.0 / std::sqrt(ref);
    s.diag[i] = h[i] / ref + kConvexityTolerance;
  }
  for (std::int64_t p = 0; p < n; ++p) {
    if (rows[p] == cols[p]) continue;
    const int i = local(rows[p]), j = local(cols[p]);
    s.at.emplace_back(std::max(i, j), std::min(i, j));
    s.val.push_back(sign * vals[p] * d[static_cast<std::size_t>(i)] * d[static_cast<std::size_t>(j)]);
  }
  return s;
}

// L D L' of the dense lower triangle: every pivot positive means positive definite.
Curvature FactorDense(const Scaled& s) {
  const auto m = static_cast<std::size_t>(s.m);
  std::vector<double> a(m * m, 0.0);
  for (std::size_t i = 0; i < m; ++i) a[i * m + i] = s.diag[i];
  for (std::size_t k = 0; k < s.at.size(); ++k) {
    a[static_cast<std::size_t>(s.at[k].first) * m + static_cast<std::size_t>(s.at[k].second)] += s.val[k];
  }
  std::vector<double> column(m);
  for (std::size_t k = 0; k < m; ++k) {
    const double d = a[k * m + k];
    if (!(d > 0)) return Curvature::kNotConvex;
    for (std::size_t i = k + 1; i < m; ++i) column[i] = a[i * m + k];
    for (std::size_t i = k + 1; i < m; ++i) {
      const double f = column[i] / d;
      if (f == 0.0) continue;
      double* row = a.data() + i * m;
      for (std::size_t j = k + 1; j <= i; ++j) row[j] -= f * column[j];
    }
  }
  return Curvature::kConvex;
}

using Adjacency = std::vector<std::pair<int, double>>;  // (neighbour, value), sorted by neighbour

// Right-looking L D L' with the pivot of least degree first; eliminating a variable only couples
// its neighbours, so independent blocks never fill into one another.
Curvature FactorSparse(const Scaled& s) {
  const auto m = static_cast<std::size_t>(s.m);
  std::vector<Adjacency> adj(m);
  for (std::size_t k = 0; k < s.at.size(); ++k) {
    const auto [i, j] = s.at[k];
    adj[static_cast<std::size_t>(i)].emplace_back(j, s.val[k]);
    adj[static_cast<std::size_t>(j)].emplace_back(i, s.val[k]);
  }
  for (Adjacency& a : adj) {
    std::sort(a.begin(), a.end());
    std::size_t out = 0;  // a position given twice is summed
    for (std::size_t k = 0; k < a.size(); ++k) {
      if (out > 0 && a[out - 1].first == a[k].first) {
        a[out - 1].second += a[k].second;
      } else {
        a[out++] = a[k];
      }
    }
    a.resize(out);
  }
  std::vector<double> diag = s.diag;
  std::vector<char> done(m, 0);
  using Item = std::pair<std::size_t, int>;  // (degree, variable)
  std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
  for (std::size_t i = 0; i < m; ++i) queue.emplace(adj[i].size(), static_cast<int>(i));
  std::int64_t fill = 0;
  Adjacency merged;
  while (!queue.empty()) {
    const auto [degree, p] = queue.top();
    queue.pop();
    const auto pu = static_cast<std::size_t>(p);
    if (done[pu] || degree != adj[pu].size()) continue;  // stale entry
    done[pu] = 1;
    const double d = diag[pu];
    if (!(d > 0)) return Curvature::kNotConvex;
    const Adjacency n = std::move(adj[pu]);
    fill += static_cast<std::int64_t>(n.size());
    if (fill > kMaxFill) return Curvature::kUndecided;
    for (const auto& [u, aup] : n) {
      const auto uu = static_cast<std::size_t>(u);
      diag[uu] -= aup * aup / d;
      // adj[u] without p, plus -a_up * a_pv / d for every other neighbour v of p.
      merged.clear();
      const Adjacency& old = adj[uu];
      std::size_t a = 0, b = 0;
      while (a < old.size() || b < n.size()) {
        if (b < n.size() && n[b].first == u) {
          ++b;
          continue;
        }
        if (a < old.size() && old[a].first == p) {
          ++a;
          continue;
        }
        if (b == n.size() || (a < old.size() && old[a].first < n[b].first)) {
          merged.push_back(old[a++]);
        } else if (a == old.size() || n[b].first < old[a].first) {
          merged.emplace_back(n[b].first, -aup * n[b].second / d);
          ++b;
        } else {
          merged.emplace_back(old[a].first, old[a].second - aup * n[b].second / d);
          ++a;
          ++b;
        }
      }
      adj[uu].assign(merged.begin(), merged.end());
      queue.emplace(adj[uu].size(), u);
    }
  }
  return Curvature::kConvex;
}

}  // namespace

Curvature CheckSemidefinite(const int* rows, const int* cols, const double* vals, std::int64_t n, double sign) {
  if (n == 0) return Curvature::kConvex;
  const Scaled s = Scale(rows, cols, vals, n, sign);
  const auto m = static_cast<std::int64_t>(s.m);
  if (m <= kMaxDense && static_cast<std::int64_t>(s.at.size()) * 8 >= m * m) return FactorDense(s);
  return FactorSparse(s);
}

}  // namespace tarq_solver
