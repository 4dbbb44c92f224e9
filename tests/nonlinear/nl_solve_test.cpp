// Solving problems with nonlinear rows and objectives through the C interface: optima of classic
// test problems (Hock and Schittkowski's collection, by number), the start point rules, evaluation
// errors, limits, and a mixed-integer problem checked against enumeration.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/quiet_env.h"
#include "nonlinear/postfix.h"

namespace {

using postfix::C;
using postfix::E;
using postfix::X;

class NlSolveTest : public testing::Test {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_NE(env_, nullptr);
    ASSERT_EQ(TARQ_CreateProb(env_, &prob_), 0);
    ASSERT_EQ(TARQ_SetLogCallback(prob_, [](const char* line, void* user) {
      static_cast<std::string*>(user)->append(line).append("\n");
    }, &log_), 0);
  }
  void TearDown() override {
    TARQ_DeleteProb(&prob_);
    TARQ_DeleteEnv(&env_);
  }

  void Cols(const std::vector<double>& lower, const std::vector<double>& upper, const std::vector<double>& start) {
    for (size_t j = 0; j < lower.size(); ++j) {
      ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', lower[j], upper[j], nullptr), 0);
    }
    if (!start.empty()) {
      ASSERT_EQ(TARQ_SetNLPrimalStart(prob_, static_cast<int>(start.size()), nullptr, start.data()), 0);
    }
  }
  void Objective(const E& e) {
    const std::vector<int> p = e.Program();
    ASSERT_EQ(TARQ_SetNLObj(prob_, static_cast<int>(p.size()), static_cast<int>(e.consts.size()), p.data(),
                            e.consts.data()),
              0);
  }
  void Row(const E& e, char sense, double rhs) {
    const std::vector<int> p = e.Program();
    ASSERT_EQ(TARQ_AddNLConstr(prob_, static_cast<int>(p.size()), static_cast<int>(e.consts.size()), p.data(),
                               e.consts.data(), 0, nullptr, nullptr, sense, rhs, 0, nullptr),
              0);
  }
  int IntAttr(const char* name) {
    int v = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, name, &v), 0);
    return v;
  }
  double DblAttr(const char* name) {
    double v = NAN;
    EXPECT_EQ(TARQ_GetDblAttr(prob_, name, &v), 0);
    return v;
  }
  std::vector<double> Values() {
    int n = 0;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, "Cols", &n), 0);
    std::vector<double> x(static_cast<size_t>(n));
    EXPECT_EQ(TARQ_GetSolution(prob_, x.data()), 0);
    return x;
  }
  // Solves and checks the objective against a published optimum: relative 1e-6, or absolute 1e-6
  // for an optimum of 0.
  void ExpectOptimum(double best) {
    ASSERT_EQ(TARQ_Solve(prob_), 0) << log_;
    ASSERT_EQ(IntAttr("LpStatus"), TARQ_STATUS_LOCALLY_OPTIMAL) << log_;
    const double obj = DblAttr("LpObjval");
    EXPECT_LE(std::fabs(obj - best), 1e-6 * std::max(1.0, std::fabs(best))) << obj << " vs " << best;
  }

  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
  std::string log_;
};

constexpr double kFree = 1e30;

TEST_F(NlSolveTest, HS1_RosenbrockWithABound) {
  Cols({-kFree, -1.5}, {kFree, kFree}, {-2, 1});
  Objective(100 * postfix::Sqr(X(1) - postfix::Sqr(X(0))) + postfix::Sqr(1.0 - X(0)));
  ExpectOptimum(0.0);
  const auto x = Values();
  EXPECT_NEAR(x[0], 1.0, 1e-5);
  EXPECT_NEAR(x[1], 1.0, 1e-5);
}

TEST_F(NlSolveTest, HS5_SineWithBounds) {
  Cols({-1.5, -3}, {4, 3}, {0, 0});
  Objective(postfix::Sin(X(0) + X(1)) + postfix::Sqr(X(0) - X(1)) + (-1.5) * X(0) + 2.5 * X(1) + 1.0);
  ExpectOptimum(-std::sqrt(3.0) / 2 - M_PI / 3);
}

TEST_F(NlSolveTest, HS7_LogarithmWithAnEquality) {
  Cols({-kFree, -kFree}, {kFree, kFree}, {2, 2});
  Objective(postfix::Log(postfix::Sqr(X(0)) + 1.0) - X(1));
  Row(postfix::Sqr(postfix::Sqr(X(0)) + 1.0) + postfix::Sqr(X(1)), 'E', 4);
  ExpectOptimum(-std::sqrt(3.0));
}

TEST_F(NlSolveTest, HS71_ProductsWithInequalityEqualityAndBounds) {
  Cols({1, 1, 1, 1}, {5, 5, 5, 5}, {1, 5, 5, 1});
  Objective(X(0) * X(3) * (X(0) + X(1) + X(2)) + X(2));
  Row(X(0) * X(1) * X(2) * X(3), 'G', 25);
  Row(postfix::Sqr(X(0)) + postfix::Sqr(X(1)) + postfix::Sqr(X(2)) + postfix::Sqr(X(3)), 'E', 40);
  ExpectOptimum(17.0140173);
  // Row activities and duals are reported; the product row is active at the optimum.
  double act = 0, dual = 0;
  const int row = 0;
  ASSERT_EQ(TARQ_GetNLConstrInfo(prob_, "Slack", 1, &row, &act), 0);
  ASSERT_EQ(TARQ_GetNLConstrInfo(prob_, "Dual", 1, &row, &dual), 0);
  EXPECT_NEAR(act, 25.0, 1e-6);
  EXPECT_GT(dual, 0.0);  // a 'G' row that binds in a minimisation
}

TEST_F(NlSolveTest, HS80_ExponentialOfAProductWithThreeEqualities) {
  Cols({-2.3, -2.3, -3.2, -3.2, -3.2}, {2.3, 2.3, 3.2, 3.2, 3.2}, {-2, 2, 2, -1, -1});
  Objective(postfix::Exp(X(0) * X(1) * X(2) * X(3) * X(4)));
  E sum = postfix::Sqr(X(0));
  for (int j = 1; j < 5; ++j) sum = sum + postfix::Sqr(X(j));
  Row(sum, 'E', 10);
  Row(X(1) * X(2) - 5 * (X(3) * X(4)), 'E', 0);
  Row(postfix::Pow(X(0), 3) + postfix::Pow(X(1), 3), 'E', -1);
  ExpectOptimum(0.0539498478);
}

TEST_F(NlSolveTest, StartsFromThePrimalStartElseTheMipStartElseNearestToZero) {
  // Two local minima of (x^2 - 1)^2: the start decides which one is found.
  Cols({-3}, {3}, {});
  Objective(postfix::Sqr(postfix::Sqr(X(0)) - 1.0));
  const double minus = -2, plus = 2;
  const int col = 0;
  ASSERT_EQ(TARQ_AddMipStart(prob_, 1, &col, &minus), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NEAR(Values()[0], -1.0, 1e-6);
  ASSERT_EQ(TARQ_SetNLPrimalStart(prob_, 1, &col, &plus), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NEAR(Values()[0], 1.0, 1e-6);
  EXPECT_NE(log_.find("local optimum"), std::string::npos) << log_;
}

TEST_F(NlSolveTest, DomainErrorsMakeTheEngineStepBack) {
  // min x - 2 log(x) from x = 5 (optimum x = 2): Newton's first step overshoots below 0 unless
  // the engine steps back when log cannot be evaluated.
  Cols({-10}, {10}, {5});
  Objective(X(0) - 2 * postfix::Log(X(0)));
  ExpectOptimum(2 - 2 * std::log(2.0));
  EXPECT_NEAR(Values()[0], 2.0, 1e-6);
  EXPECT_TRUE(std::isfinite(DblAttr("LpObjval")));
}

TEST_F(NlSolveTest, AnUndefinedStartEndsWithoutASolutionNotWithANaN) {
  Cols({-10}, {-1}, {});
  Objective(postfix::Log(X(0)));  // log of a negative number everywhere
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_NE(IntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NE(IntAttr("LpStatus"), TARQ_STATUS_LOCALLY_OPTIMAL);
  EXPECT_EQ(IntAttr("HasLpSol"), 0);
}

TEST_F(NlSolveTest, MixedIntegerProblemMatchesEnumeration) {
  // min (x - 3.6)^2 + exp(z) - 2 z + (y - z)^2,  x + y <= 5,  x, y integer in [0, 10], z in [-5, 5].
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'I', 0, 10, "x"), 0);
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'I', 0, 10, "y"), 0);
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', -5, 5, "z"), 0);
  const int cols[] = {0, 1};
  const double ones[] = {1, 1};
  ASSERT_EQ(TARQ_AddRow(prob_, 2, cols, ones, 'L', 5, 0, nullptr), 0);
  Objective(postfix::Sqr(X(0) - 3.6) + postfix::Exp(X(2)) - 2 * X(2) + postfix::Sqr(X(1) - X(2)));
  // The optimum by enumeration: for each integer y, z solves exp(z) - 2 + 2 (z - y) = 0.
  double best = 1e30;
  for (int x = 0; x <= 5; ++x) {
    for (int y = 0; x + y <= 5; ++y) {
      double z = 0;
      for (int it = 0; it < 100; ++it) z -= (std::exp(z) - 2 + 2 * (z - y)) / (std::exp(z) + 2);
      best = std::min(best, (x - 3.6) * (x - 3.6) + std::exp(z) - 2 * z + (y - z) * (y - z));
    }
  }
  ASSERT_EQ(TARQ_Solve(prob_), 0) << log_;
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_LOCALLY_OPTIMAL) << log_;
  EXPECT_NEAR(DblAttr("BestObj"), best, 1e-6 * std::max(1.0, std::fabs(best)));
  const auto x = Values();
  EXPECT_EQ(x[0], std::round(x[0]));
}

}  // namespace
