// Evaluates the constraint Jacobian of a model of 100,000 nonlinear rows of 5 to 10 tokens from
// their token programs (the path a nonlinear solve takes: the nonlinear block over the compiled
// tape) and compares it with the same Jacobian written out by hand in C++ (the floor). Prints the
// times per evaluation, their ratio, and the memory the stored and the compiled programs take per
// token at two more sizes (it should not grow with the size).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "nl/tokens.h"
#include "solve/nl_block.h"

namespace {

using namespace tarq_solver;
constexpr int H = nl::kHeader, K = nl::kConst;

// Row kinds, over columns i, j, k:
//   0: x_i * exp(x_j)                    5 tokens
//   1: sin(x_i) + x_j * x_k              7 tokens
//   2: log(x_i) * x_j ^ 2                7 tokens
//   3: sqrt(x_i + x_j) / x_k             7 tokens
//   4: exp(x_i * x_j) - cos(x_k) + 3     10 tokens
struct Model {
  NlStore store;
  std::vector<int> kind, ci, cj, ck;
  int nCol = 0;
};

Model Make(int rows, int cols) {
  Model m;
  m.nCol = cols;
  bench::Lcg rng{42};
  NlRowTable& t = m.store.rows;
  for (int r = 0; r < rows; ++r) {
    const int kind = r % 5;
    const int i = static_cast<int>(rng.Next() % cols), j = static_cast<int>(rng.Next() % cols),
              k = static_cast<int>(rng.Next() % cols);
    std::vector<int> tok;
    std::vector<double> c;
    switch (kind) {
      case 0: tok = {H, i, j, nl::kExp, nl::kMul}; break;
      case 1: tok = {H, i, nl::kSin, j, k, nl::kMul, nl::kAdd}; break;
      case 2: tok = {H, i, nl::kLog, j, K, nl::kPow, nl::kMul}, c = {2.0}; break;
      case 3: tok = {H, i, j, nl::kAdd, nl::kSqrt, k, nl::kDiv}; break;
      default: tok = {H, i, j, nl::kMul, nl::kExp, k, nl::kCos, nl::kSub, K, nl::kAdd}, c = {3.0}; break;
    }
    t.programs.Append(tok.data(), static_cast<std::int64_t>(tok.size()), c.data(), static_cast<std::int64_t>(c.size()));
    t.linBegin.push_back(0);
    t.lower.push_back(-1e30);
    t.upper.push_back(1e30);
    m.kind.push_back(kind);
    m.ci.push_back(i);
    m.cj.push_back(j);
    m.ck.push_back(k);
  }
  t.names.Append(rows, nullptr);
  return m;
}

// The Jacobian by hand, in the block's layout: each row's distinct columns in ascending order.
void HandJacobian(const Model& m, const double* x, const std::vector<std::int64_t>& begin, const std::vector<int>& col,
                  double* out) {
  const int rows = static_cast<int>(m.kind.size());
  for (int r = 0; r < rows; ++r) {
    const int i = m.ci[r], j = m.cj[r], k = m.ck[r];
    const double xi = x[i], xj = x[j], xk = x[k];
    double* o = out + begin[r];
    const int* c = col.data() + begin[r];
    const int n = static_cast<int>(begin[r + 1] - begin[r]);
    for (int p = 0; p < n; ++p) o[p] = 0;
    auto add = [&](int column, double v) {
      for (int p = 0; p < n; ++p) {
        if (c[p] == column) {
          o[p] += v;
          return;
        }
      }
    };
    switch (m.kind[r]) {
      case 0: {
        const double e = std::exp(xj);
        add(i, e);
        add(j, xi * e);
        break;
      }
      case 1:
        add(i, std::cos(xi));
        add(j, xk);
        add(k, xj);
        break;
      case 2:
        add(i, xj * xj / xi);
        add(j, 2 * xj * std::log(xi));
        break;
      case 3: {
        const double s = std::sqrt(xi + xj);
        add(i, 0.5 / (s * xk));
        add(j, 0.5 / (s * xk));
        add(k, -s / (xk * xk));
        break;
      }
      default: {
        const double e = std::exp(xi * xj);
        add(i, xj * e);
        add(j, xi * e);
        add(k, std::sin(xk));
        break;
      }
    }
  }
}

// Memory of the stored programs and of the compiled block, per token, for a model of rows rows.
void PrintMemory(int rows) {
  std::size_t before = bench::ResidentBytes();
  Model m = Make(rows, rows / 2);
  const auto tokens = static_cast<double>(m.store.rows.programs.tokens.size());
  const std::size_t storeBytes = bench::ResidentBytes() - before;
  before = bench::ResidentBytes();
  NlBlock block(m.store);
  const std::size_t blockBytes = bench::ResidentBytes() - before;
  std::printf("  %d rows: store %.1f bytes per token, compiled block %.1f bytes per token\n", rows,
              static_cast<double>(storeBytes) / tokens, static_cast<double>(blockBytes) / tokens);
}

}  // namespace

int main() {
  constexpr int kRows = 100000, kCols = 50000, kReps = 20;
  Model m = Make(kRows, kCols);
  const std::size_t tokens = m.store.rows.programs.tokens.size();
  NlBlock block(m.store);
  std::vector<int> jr, jc;
  block.JacobianStructure(jr, jc);
  std::vector<std::int64_t> begin(kRows + 1, 0);
  for (int r : jr) ++begin[static_cast<std::size_t>(r) + 1];
  for (int r = 0; r < kRows; ++r) begin[r + 1] += begin[r];

  std::vector<double> x(kCols);
  bench::Lcg rng{7};
  for (double& v : x) v = 0.5 + (rng.Next() % 1000) / 1000.0;  // in (0.5, 1.5): every row is defined
  std::vector<double> a(jc.size()), b(jc.size());

  // The fastest of kReps evaluations each, alternating, so that other load on the machine
  // disturbs both alike.
  double tape = 1e30, hand = 1e30;
  for (int rep = 0; rep < kReps; ++rep) {
    double t0 = bench::Seconds();
    if (!block.Jacobian(x.data(), a.data())) {
      std::printf("nl_eval: evaluation error\n");
      return 1;
    }
    tape = std::min(tape, bench::Seconds() - t0);
    t0 = bench::Seconds();
    HandJacobian(m, x.data(), begin, jc, b.data());
    hand = std::min(hand, bench::Seconds() - t0);
  }
  double worst = 0;
  for (std::size_t p = 0; p < a.size(); ++p) worst = std::max(worst, std::fabs(a[p] - b[p]) / std::max(1.0, std::fabs(b[p])));
  std::printf("nl_eval: %d rows, %zu tokens, %zu Jacobian entries\n", kRows, tokens, jc.size());
  std::printf("  Jacobian from token programs %.3f ms, by hand %.3f ms, ratio %.2f (target <= 3), largest difference %.1e\n",
              tape * 1e3, hand * 1e3, tape / hand, worst);
  std::printf("  memory, which should not grow per token with the size:\n");
  PrintMemory(kRows / 2);
  PrintMemory(kRows * 2);
  return worst < 1e-12 ? 0 : 1;
}
