// The choice between the exact Hessian of the Lagrangian and limited-memory updates: the rule at
// its default limits, the boundary seen through the evaluator, and small problems solved both
// ways (limits lowered on the problem handed to the engines) to the same optimum.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "nonlinear/nl_problem_fixture.h"
#include "solve/quad_solve.h"
#include "solve/smooth_engines.h"
#include "solve/smooth_problem.h"
#include "store/problem.h"

namespace tarq_solver {
namespace {

using postfix::E;
using postfix::X;

constexpr double kFree = 1e30;

TEST(HessianRule, DefaultLimitsDropOnlyPathologicallyDenseHessians) {
  const HessianLimits limits;
  const auto dense = [](std::int64_t n) { return n * (n + 1) / 2; };
  struct Case {
    const char* what;
    std::int64_t entries, jacobian, cols;
    HessianChoice expected;
  };
  const Case cases[] = {
      {"dense objective over 3,000 columns, no rows", dense(3000), 0, 3000, HessianChoice::kExact},
      {"dense objective over 7,000 columns with a few rows", dense(7000), 21000, 7000, HessianChoice::kExact},
      {"tridiagonal Hessian over a million columns", 2'000'000, 3'000'000, 1'000'000, HessianChoice::kExact},
      {"a square of a sum over 10,000 columns", dense(10000), 0, 10000, HessianChoice::kTooDense},
      {"40 million entries beside 10 million Jacobian entries", 40'000'000, 10'000'000, 200'000,
       HessianChoice::kExact},
      {"40 million entries beside a small Jacobian", 40'000'000, 1'000'000, 100'000, HessianChoice::kTooDense},
      {"at the entry limit", kHessianEntryLimit, 0, 10, HessianChoice::kExact},
      {"one above the entry limit", kHessianEntryLimit + 1, 0, 10, HessianChoice::kTooDense},
      {"above the hard limit whatever the rest", kHessianHardLimit + 1, 1'000'000'000, 1'000'000,
       HessianChoice::kTooLarge},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseHessian(c.entries, c.jacobian, c.cols, limits), c.expected) << c.what;
  }
}

// Problems built through the C interface, then handed to the engines directly so that the
// limits can be lowered; the outcome is compared with the exact-Hessian solve of the same problem.
class HessianChoiceTest : public NlProblemTest {
 protected:
  void SetUp() override {
    NlProblemTest::SetUp();
    ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 1), 0);
  }

  Problem& P() { return prob_->problem; }

  // Solves the stored problem with the given limits (the defaults when null); returns the
  // log lines written meanwhile.
  std::string Solve(const HessianLimits* limits, SmoothResult& res, bool* approximated = nullptr) {
    SmoothProblem sp;
    EXPECT_EQ(BuildSmoothProblem(P(), false, sp), TARQ_RETCODE_OK);
    if (limits != nullptr) sp.hessianLimits = *limits;
    if (approximated != nullptr) *approximated = SmoothEvaluator(sp).ApproximatesHessian();
    log_.clear();
    const EngineContext ctx{P().Params(), P().Log(), P().Interrupt()};
    const int rc = sp.IsMip() ? SolveSmoothMip(sp, ctx, res) : SolveSmooth(sp, ctx, res);
    EXPECT_EQ(rc, TARQ_RETCODE_OK) << log_;
    return log_;
  }

  // Solves exactly and with limited memory (every limit 0), expecting the optimum best within
  // relative tol in both, and returns the two results.
  void SolveBothWays(double best, double tol, SmoothResult& exact, SmoothResult& approx) {
    bool approximated = true;
    const std::string exactLog = Solve(nullptr, exact, &approximated);
    EXPECT_FALSE(approximated);
    EXPECT_EQ(exactLog.find("limited-memory"), std::string::npos) << exactLog;
    HessianLimits none;
    none.entries = 0;
    none.densityFactor = 0;
    const std::string approxLog = Solve(&none, approx, &approximated);
    EXPECT_TRUE(approximated);
    EXPECT_NE(approxLog.find("the Hessian of the Lagrangian is approximated by limited-memory updates"),
              std::string::npos)
        << approxLog;
    for (const SmoothResult* r : {&exact, &approx}) {
      SCOPED_TRACE(r == &exact ? "exact Hessian" : "limited memory");
      ASSERT_EQ(r->status, TARQ_STATUS_OPTIMAL);
      ASSERT_TRUE(r->hasSolution);
      EXPECT_LE(std::fabs(r->objective - best), tol * std::max(1.0, std::fabs(best)))
          << r->objective << " vs " << best;
    }
  }

};

TEST_F(HessianChoiceTest, HS71SolvesToTheSameOptimumWithLimitedMemory) {
  Cols({1, 1, 1, 1}, {5, 5, 5, 5}, {1, 5, 5, 1});
  Objective(X(0) * X(3) * (X(0) + X(1) + X(2)) + X(2));
  Row(X(0) * X(1) * X(2) * X(3), 'G', 25);
  Row(postfix::Sqr(X(0)) + postfix::Sqr(X(1)) + postfix::Sqr(X(2)) + postfix::Sqr(X(3)), 'E', 40);
  SmoothResult exact, approx;
  SolveBothWays(17.0140173, 1e-6, exact, approx);
  const std::vector<double> x = {1.0, 4.7429994, 3.8211503, 1.3794082};
  for (size_t j = 0; j < x.size(); ++j) {
    EXPECT_NEAR(exact.values[j], x[j], 1e-5);
    EXPECT_NEAR(approx.values[j], x[j], 1e-4);
  }
  // The multipliers come from the same optimality conditions either way.
  ASSERT_EQ(exact.duals.size(), approx.duals.size());
  for (size_t i = 0; i < exact.duals.size(); ++i) EXPECT_NEAR(exact.duals[i], approx.duals[i], 1e-4);
}

TEST_F(HessianChoiceTest, HS80SolvesToTheSameOptimumWithLimitedMemory) {
  Cols({-2.3, -2.3, -3.2, -3.2, -3.2}, {2.3, 2.3, 3.2, 3.2, 3.2}, {-2, 2, 2, -1, -1});
  Objective(postfix::Exp(X(0) * X(1) * X(2) * X(3) * X(4)));
  E sum = postfix::Sqr(X(0));
  for (int j = 1; j < 5; ++j) sum = sum + postfix::Sqr(X(j));
  Row(sum, 'E', 10);
  Row(X(1) * X(2) - 5 * (X(3) * X(4)), 'E', 0);
  Row(postfix::Pow(X(0), 3) + postfix::Pow(X(1), 3), 'E', -1);
  SmoothResult exact, approx;
  SolveBothWays(0.0539498478, 1e-6, exact, approx);
  for (size_t j = 0; j < exact.values.size(); ++j) EXPECT_NEAR(exact.values[j], approx.values[j], 1e-4);
}

// Solves the dense system a z = b (a square, nonsingular) by Gaussian elimination with pivoting.
std::vector<double> SolveDense(std::vector<std::vector<double>> a, std::vector<double> b) {
  const size_t n = b.size();
  for (size_t k = 0; k < n; ++k) {
    size_t pivot = k;
    for (size_t i = k + 1; i < n; ++i) {
      if (std::fabs(a[i][k]) > std::fabs(a[pivot][k])) pivot = i;
    }
    std::swap(a[k], a[pivot]);
    std::swap(b[k], b[pivot]);
    for (size_t i = k + 1; i < n; ++i) {
      const double m = a[i][k] / a[k][k];
      for (size_t j = k; j < n; ++j) a[i][j] -= m * a[k][j];
      b[i] -= m * b[k];
    }
  }
  std::vector<double> z(n);
  for (size_t k = n; k-- > 0;) {
    double s = b[k];
    for (size_t j = k + 1; j < n; ++j) s -= a[k][j] * z[j];
    z[k] = s / a[k][k];
  }
  return z;
}

TEST_F(HessianChoiceTest, DenseConvexQpSolvesToTheKktOptimumWithLimitedMemory) {
  // min 0.5 x'Qx + c'x  subject to  sum x = 1, x free, with Q = B'B + I dense (B 6 x n).
  const int n = 40;
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<std::vector<double>> b(6, std::vector<double>(n)), q(n, std::vector<double>(n, 0));
  for (auto& row : b) {
    for (double& v : row) v = u(gen);
  }
  std::vector<double> c(n);
  for (double& v : c) v = u(gen);
  std::vector<int> qr, qc;
  std::vector<double> qv;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      for (const auto& row : b) q[i][j] += row[i] * row[j];
    }
    q[i][i] += 1;
    for (int j = 0; j <= i; ++j) {
      qr.push_back(i);
      qc.push_back(j);
      qv.push_back(i == j ? 0.5 * q[i][j] : q[i][j]);
    }
  }
  for (int j = 0; j < n; ++j) ASSERT_EQ(TARQ_AddCol(prob_, c[j], 0, nullptr, nullptr, 'C', -kFree, kFree, nullptr), 0);
  std::vector<int> all(n);
  for (int j = 0; j < n; ++j) all[j] = j;
  const std::vector<double> ones(n, 1.0);
  ASSERT_EQ(TARQ_AddRow(prob_, n, all.data(), ones.data(), 'E', 1, 0, nullptr), 0);
  ASSERT_EQ(TARQ_SetQuadObj(prob_, static_cast<int>(qv.size()), qr.data(), qc.data(), qv.data()), 0);

  // The optimum from the KKT system [Q 1; 1' 0] (x, -mu) = (-c, 1).
  std::vector<std::vector<double>> kkt(n + 1, std::vector<double>(n + 1, 0));
  std::vector<double> rhs(n + 1);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) kkt[i][j] = q[i][j];
    kkt[i][n] = kkt[n][i] = 1;
    rhs[i] = -c[i];
  }
  rhs[n] = 1;
  const std::vector<double> z = SolveDense(kkt, rhs);
  double best = 0;
  for (int i = 0; i < n; ++i) {
    best += c[i] * z[i];
    for (int j = 0; j < n; ++j) best += 0.5 * z[i] * q[i][j] * z[j];
  }
  SmoothResult exact, approx;
  SolveBothWays(best, 1e-6, exact, approx);
  for (int j = 0; j < n; ++j) {
    EXPECT_NEAR(exact.values[j], z[j], 1e-5) << j;
    EXPECT_NEAR(approx.values[j], z[j], 1e-4) << j;
  }
}

TEST_F(HessianChoiceTest, MixedIntegerProblemSolvesToTheSameOptimumWithLimitedMemory) {
  const double best = AddSmallMinlp();
  SmoothResult exact, approx;
  SolveBothWays(best, 1e-6, exact, approx);
  EXPECT_NEAR(exact.values[0], approx.values[0], 1e-6);
  EXPECT_NEAR(exact.values[1], approx.values[1], 1e-6);
}

TEST_F(HessianChoiceTest, KeepsTheExactHessianUpToTheLimitAndSaysWhyBeyondIt) {
  // HS71's Hessian: the objective couples all four columns, the rows add nothing outside them.
  Cols({1, 1, 1, 1}, {5, 5, 5, 5}, {1, 5, 5, 1});
  Objective(X(0) * X(3) * (X(0) + X(1) + X(2)) + X(2));
  Row(X(0) * X(1) * X(2) * X(3), 'G', 25);
  Row(postfix::Sqr(X(0)) + postfix::Sqr(X(1)) + postfix::Sqr(X(2)) + postfix::Sqr(X(3)), 'E', 40);
  SmoothProblem sp;
  ASSERT_EQ(BuildSmoothProblem(P(), false, sp), TARQ_RETCODE_OK);
  const SmoothEvaluator full(sp);
  ASSERT_FALSE(full.ApproximatesHessian());
  const std::int64_t nnz = static_cast<std::int64_t>(full.HessRows().size());
  EXPECT_EQ(full.HessianEntries(), nnz);
  EXPECT_EQ(nnz, 10) << "the whole lower triangle over four columns";
  EXPECT_EQ(full.HessianNote(), "");

  sp.hessianLimits.densityFactor = 0;
  sp.hessianLimits.entries = nnz;  // just under: the Hessian is not above the limit
  {
    const SmoothEvaluator e(sp);
    EXPECT_EQ(e.HessianSource(), HessianChoice::kExact);
    EXPECT_EQ(e.HessRows(), full.HessRows());
    EXPECT_EQ(e.HessCols(), full.HessCols());
    std::vector<double> x = {1, 2, 3, 4}, lambda = {1, 1}, h(e.HessRows().size());
    EXPECT_TRUE(e.Hessian(x.data(), 1, lambda.data(), h.data()));
  }
  sp.hessianLimits.entries = nnz - 1;
  {
    const SmoothEvaluator e(sp);
    EXPECT_EQ(e.HessianSource(), HessianChoice::kTooDense);
    EXPECT_TRUE(e.HessRows().empty());
    EXPECT_TRUE(e.HessCols().empty());
    EXPECT_EQ(e.Rows(), full.Rows()) << "the rows and Jacobian are untouched";
    EXPECT_EQ(e.JacRows(), full.JacRows());
    std::vector<double> x = {1, 2, 3, 4}, lambda = {1, 1}, h(1);
    EXPECT_FALSE(e.Hessian(x.data(), 1, lambda.data(), h.data()));
    EXPECT_EQ(e.HessianNote(),
              "the Hessian of the Lagrangian is approximated by limited-memory updates: its 10 structural nonzeros "
              "exceed the limit of 9 and 0 times the " +
                  std::to_string(full.JacRows().size() + 4) + " Jacobian nonzeros and columns");
  }
  // The density factor alone keeps it: 10 entries are not above 1 times 8 Jacobian entries plus 4 columns.
  EXPECT_EQ(full.JacRows().size(), 8u);
  sp.hessianLimits.densityFactor = 1;
  EXPECT_FALSE(SmoothEvaluator(sp).ApproximatesHessian());
  sp.hessianLimits.hard = nnz - 1;
  {
    const SmoothEvaluator e(sp);
    EXPECT_EQ(e.HessianSource(), HessianChoice::kTooLarge);
    EXPECT_EQ(e.HessianNote(),
              "the Hessian of the Lagrangian is approximated by limited-memory updates: its 10 structural nonzeros "
              "exceed the limit of 9");
  }
  // Asked for by the problem: no structure is built at all.
  sp.hessianLimits = HessianLimits();
  sp.approximateHessian = true;
  const SmoothEvaluator asked(sp);
  EXPECT_EQ(asked.HessianSource(), HessianChoice::kRequested);
  EXPECT_EQ(asked.HessianEntries(), 0);

  // The log line of a solve, only at LogLevel 1 and above.
  sp.approximateHessian = false;
  sp.hessianLimits.densityFactor = 0;
  sp.hessianLimits.entries = nnz - 1;
  SmoothResult res;
  const EngineContext ctx{P().Params(), P().Log(), P().Interrupt()};
  log_.clear();
  ASSERT_EQ(SolveSmooth(sp, ctx, res), TARQ_RETCODE_OK);
  EXPECT_NE(log_.find("Interior point: the Hessian of the Lagrangian is approximated by limited-memory updates: its "
                      "10 structural nonzeros exceed the limit of 9"),
            std::string::npos)
      << log_;
  ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 0), 0);
  log_.clear();
  ASSERT_EQ(SolveSmooth(sp, ctx, res), TARQ_RETCODE_OK);
  EXPECT_EQ(log_.find("limited-memory"), std::string::npos) << log_;
  EXPECT_EQ(res.status, TARQ_STATUS_OPTIMAL);
}

// sum over j of (x_j - j)^2 + x_0 x_1, whose Hessian structure cannot be allocated.
class StructureOutOfMemoryBlock : public SmoothBlock {
 public:
  explicit StructureOutOfMemoryBlock(int n) : n_(n) {}
  int Rows() const override { return 0; }
  void RowBounds(double*, double*) const override {}
  bool HasObjective() const override { return true; }
  bool ConstantHessian() const override { return true; }
  void JacobianStructure(std::vector<int>&, std::vector<int>&) const override {}
  void HessianStructure(std::vector<int>& rows, std::vector<int>&) const override {
    rows.push_back(0);
    throw std::bad_alloc();
  }
  bool Objective(const double* x, double* f) const override {
    for (int j = 0; j < n_; ++j) *f += (x[j] - j) * (x[j] - j);
    *f += x[0] * x[1];
    return true;
  }
  bool Gradient(const double* x, double* grad) const override {
    for (int j = 0; j < n_; ++j) grad[j] += 2 * (x[j] - j);
    grad[0] += x[1];
    grad[1] += x[0];
    return true;
  }
  bool Values(const double*, double*) const override { return true; }
  bool Jacobian(const double*, double*) const override { return true; }
  bool Hessian(const double*, double, const double*, double*) const override { return false; }

 private:
  int n_;
};

TEST_F(HessianChoiceTest, AStructureThatCannotBeAllocatedFallsBackToLimitedMemory) {
  // The minimum of sum (x_j - j)^2 + x_0 x_1 with x_0 + x_1 >= 3 over five columns: the row binds
  // (the unconstrained minimum has x_0 + x_1 = 2/3), and on it x_0^2 - x_0 + 4 is least at
  // x_0 = 0.5, x_1 = 2.5, value 3.75; x_j = j beyond.
  const int n = 5;
  SmoothProblem sp;
  sp.nCol = n;
  sp.obj.assign(n, 0);
  sp.colLower.assign(n, -kFree);
  sp.colUpper.assign(n, kFree);
  sp.integer.assign(n, 0);
  sp.rowStart = {0, 2};
  sp.rowIndex = {0, 1};
  sp.rowValue = {1, 1};
  sp.rowLower = {3};
  sp.rowUpper = {kFree};
  sp.blocks.push_back(std::make_unique<StructureOutOfMemoryBlock>(n));
  {
    const SmoothEvaluator e(sp);
    EXPECT_EQ(e.HessianSource(), HessianChoice::kNoMemory);
    EXPECT_TRUE(e.HessRows().empty());
    EXPECT_EQ(e.JacRows().size(), 2u);
    EXPECT_EQ(e.HessianNote(), "the Hessian of the Lagrangian is approximated by limited-memory updates: there is "
                               "not enough memory for the structure of the exact one");
  }
  SmoothResult res;
  const EngineContext ctx{P().Params(), P().Log(), P().Interrupt()};
  log_.clear();
  ASSERT_EQ(SolveSmooth(sp, ctx, res), TARQ_RETCODE_OK) << log_;
  ASSERT_EQ(res.status, TARQ_STATUS_OPTIMAL) << log_;
  EXPECT_NE(log_.find("not enough memory for the structure"), std::string::npos) << log_;
  EXPECT_NEAR(res.objective, 3.75, 1e-6);
  EXPECT_NEAR(res.values[0], 0.5, 1e-5);
  EXPECT_NEAR(res.values[1], 2.5, 1e-5);
  for (int j = 2; j < n; ++j) EXPECT_NEAR(res.values[j], j, 1e-5);
}

}  // namespace
}  // namespace tarq_solver
