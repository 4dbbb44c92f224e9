#include "solve/conic_reduce.h"

#include <algorithm>
#include <cmath>

namespace tarq_solver {

namespace {

// A dense accumulator over the variables that remembers which entries it touched.
class Accumulator {
 public:
  explicit Accumulator(int size) : value_(static_cast<size_t>(size), 0.0), mark_(static_cast<size_t>(size), 0) {}
  void Add(int v, double x) {
    if (!mark_[v]) {
      mark_[v] = 1;
      touched_.push_back(v);
    }
    value_[v] += x;
  }
  double At(int v) const { return value_[v]; }
  void Zero(int v) { value_[v] = 0.0; }
  const std::vector<int>& Touched() const { return touched_; }
  void Clear() {
    for (int v : touched_) {
      value_[v] = 0.0;
      mark_[v] = 0;
    }
    touched_.clear();
  }

 private:
  std::vector<double> value_;
  std::vector<char> mark_;
  std::vector<int> touched_;
};

}  // namespace

bool ConicReduction::Reduce(const ConicForm& form) {
  form_ = &form;
  const int m = form.m;
  const int k = form.Equalities();
  // How often each variable occurs, to prefer pivots that create little fill.
  std::vector<std::int64_t> count(static_cast<size_t>(m) + 1, 0);
  for (const ConicBlock& blk : form.blocks) {
    for (const ConicEntry& e : blk.entries) ++count[e.var];
  }
  for (int v : form.eqVar) ++count[v];

  pivot_.assign(static_cast<size_t>(k), -1);
  u_.assign(static_cast<size_t>(k), SparseRow());
  uRhs_.assign(static_cast<size_t>(k), 0.0);
  l_.assign(static_cast<size_t>(k), {});
  std::vector<char> isPivot(static_cast<size_t>(m) + 1, 0);
  std::vector<double> pivotVal(static_cast<size_t>(k), 0.0);
  Accumulator w(m + 1);
  for (int r = 0; r < k; ++r) {
    double scale = 0;
    for (std::int64_t p = form.eqBegin[r]; p < form.eqBegin[r + 1]; ++p) {
      w.Add(form.eqVar[p], form.eqVal[p]);
      scale = std::max(scale, std::fabs(form.eqVal[p]));
    }
    double rhs = form.eqRhs[r];
    for (int s = 0; s < r; ++s) {
      const int ps = pivot_[s];
      if (ps < 0 || w.At(ps) == 0.0) continue;
      const double f = w.At(ps) / pivotVal[s];
      l_[r].emplace_back(s, f);
      for (size_t q = 0; q < u_[s].var.size(); ++q) w.Add(u_[s].var[q], -f * u_[s].val[q]);
      w.Zero(ps);
      rhs -= f * uRhs_[s];
    }
    const double tiny = 1e-13 * std::max(scale, 1e-300);
    double amax = 0;
    for (int v : w.Touched()) {
      if (!isPivot[v] && std::fabs(w.At(v)) > tiny) amax = std::max(amax, std::fabs(w.At(v)));
    }
    if (amax <= 1e-11 * scale || amax == 0.0) {
      w.Clear();
      if (std::fabs(rhs) > 1e-9 * (1.0 + std::fabs(form.eqRhs[r]))) return false;
      continue;  // redundant
    }
    int best = -1;
    for (int v : w.Touched()) {
      const double a = std::fabs(w.At(v));
      if (isPivot[v] || a < 0.1 * amax) continue;
      if (best < 0 || count[v] < count[best] || (count[v] == count[best] && a > std::fabs(w.At(best)))) best = v;
    }
    if (best < 0) return false;  // unreachable: the largest entry qualifies
    for (int v : w.Touched()) {
      if (!isPivot[v] && std::fabs(w.At(v)) > tiny) {
        u_[r].var.push_back(v);
        u_[r].val.push_back(w.At(v));
      }
    }
    pivot_[r] = best;
    pivotVal[r] = w.At(best);
    isPivot[best] = 1;
    uRhs_[r] = rhs;
    w.Clear();
  }

  // Back substitution, last equality first: its pivot depends only on variables that remain.
  g_.assign(static_cast<size_t>(k), 0.0);
  h_.assign(static_cast<size_t>(k), SparseRow());
  std::vector<int> rowOf(static_cast<size_t>(m) + 1, -1);
  for (int r = 0; r < k; ++r) {
    if (pivot_[r] >= 0) rowOf[pivot_[r]] = r;
  }
  for (int r = k - 1; r >= 0; --r) {
    const int p = pivot_[r];
    if (p < 0) continue;
    double g = uRhs_[r] / pivotVal[r];
    for (size_t q = 0; q < u_[r].var.size(); ++q) {
      const int v = u_[r].var[q];
      if (v == p) continue;
      const double c = -u_[r].val[q] / pivotVal[r];
      const int t = rowOf[v];
      if (t < 0) {
        w.Add(v, c);
        continue;
      }
      g += c * g_[t];
      for (size_t z = 0; z < h_[t].var.size(); ++z) w.Add(h_[t].var[z], c * h_[t].val[z]);
    }
    g_[r] = g;
    for (int v : w.Touched()) {
      if (w.At(v) != 0.0) {
        h_[r].var.push_back(v);
        h_[r].val.push_back(w.At(v));
      }
    }
    w.Clear();
  }

  // The reduced form over the variables that remain.
  newOf_.assign(static_cast<size_t>(m) + 1, 0);
  reduced_ = ConicForm();
  reduced_.b.push_back(0.0);
  for (int v = 1; v <= m; ++v) {
    if (!isPivot[v]) newOf_[v] = reduced_.AddVar(form.b[v]);
  }
  reduced_.objConst = form.objConst;
  for (int r = 0; r < k; ++r) {
    const int p = pivot_[r];
    if (p < 0) continue;
    reduced_.objConst += form.b[p] * g_[r];
    for (size_t z = 0; z < h_[r].var.size(); ++z) reduced_.b[newOf_[h_[r].var[z]]] += form.b[p] * h_[r].val[z];
  }
  reduced_.blocks.reserve(form.blocks.size());
  for (const ConicBlock& blk : form.blocks) {
    ConicBlock out;
    out.lp = blk.lp;
    out.dim = blk.dim;
    out.entries.reserve(blk.entries.size());
    for (const ConicEntry& e : blk.entries) {
      const int r = e.var > 0 ? rowOf[e.var] : -1;
      if (r < 0) {
        out.Add(e.var == 0 ? 0 : newOf_[e.var], e.pos, e.val);
        continue;
      }
      out.Add(0, e.pos, -g_[r] * e.val);
      for (size_t z = 0; z < h_[r].var.size(); ++z) out.Add(newOf_[h_[r].var[z]], e.pos, h_[r].val[z] * e.val);
    }
    out.Finish();
    reduced_.blocks.push_back(std::move(out));
  }
  return true;
}

void ConicReduction::Expand(const std::vector<double>& yReduced, std::vector<double>& y) const {
  const ConicForm& form = *form_;
  y.assign(static_cast<size_t>(form.m) + 1, 0.0);
  for (int v = 1; v <= form.m; ++v) {
    if (newOf_[v] > 0) y[v] = yReduced[newOf_[v]];
  }
  for (size_t r = 0; r < pivot_.size(); ++r) {
    if (pivot_[r] < 0) continue;
    double v = g_[r];
    for (size_t z = 0; z < h_[r].var.size(); ++z) v += h_[r].val[z] * y[h_[r].var[z]];
    y[pivot_[r]] = v;
  }
}

// E = (I + L) U with U upper triangular on the pivots, so E'mu = rho on the pivot variables is
// U'nu = rho (forward, in pivot order) followed by (I + L)'mu = nu (backward).
void ConicReduction::Multipliers(const std::vector<std::vector<double>>& x, std::vector<double>& mu) const {
  const ConicForm& form = *form_;
  const int k = form.Equalities();
  std::vector<double> rho;
  form.Residual(x, rho);
  std::vector<double> nu(static_cast<size_t>(k), 0.0);
  Accumulator acc(form.m + 1);
  for (int r = 0; r < k; ++r) {
    const int p = pivot_[r];
    if (p < 0) continue;
    double piv = 0;
    for (size_t q = 0; q < u_[r].var.size(); ++q) {
      if (u_[r].var[q] == p) piv = u_[r].val[q];
    }
    nu[r] = (rho[p] - acc.At(p)) / piv;
    for (size_t q = 0; q < u_[r].var.size(); ++q) acc.Add(u_[r].var[q], u_[r].val[q] * nu[r]);
  }
  mu.assign(static_cast<size_t>(k), 0.0);
  std::vector<double> back(static_cast<size_t>(k), 0.0);
  for (int r = k - 1; r >= 0; --r) {
    mu[r] = nu[r] - back[r];
    for (const auto& [s, f] : l_[r]) back[s] += f * mu[r];
  }
}

}  // namespace tarq_solver
