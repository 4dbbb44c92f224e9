// The pieces the nonlinear engines rely on: the convexity test, and the derivatives that the
// quadratic blocks and the evaluator assemble, compared with finite differences.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "solve/convexity.h"
#include "solve/quad_blocks.h"
#include "solve/smooth_problem.h"
#include "tarq.h"

namespace tarq_solver {
namespace {

// Lower-triangle entries of a symmetric matrix given densely.
struct Lower {
  std::vector<int> r, c;
  std::vector<double> v;
  explicit Lower(const std::vector<std::vector<double>>& a) {
    for (size_t i = 0; i < a.size(); ++i) {
      for (size_t j = 0; j <= i; ++j) {
        if (a[i][j] == 0) continue;
        r.push_back(static_cast<int>(i));
        c.push_back(static_cast<int>(j));
        v.push_back(a[i][j]);
      }
    }
  }
  Curvature Check(double sign = 1) const {
    return CheckSemidefinite(r.data(), c.data(), v.data(), static_cast<std::int64_t>(v.size()), sign);
  }
};

// B'B (semidefinite, of rank at most k) over n variables, shifted by shift * I.
std::vector<std::vector<double>> Gram(int n, int k, double shift, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<std::vector<double>> b(static_cast<size_t>(k), std::vector<double>(static_cast<size_t>(n)));
  for (auto& row : b) {
    for (double& x : row) x = u(gen);
  }
  std::vector<std::vector<double>> a(static_cast<size_t>(n), std::vector<double>(static_cast<size_t>(n), 0));
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      for (int t = 0; t < k; ++t) a[i][j] += b[t][i] * b[t][j];
    }
    a[i][i] += shift;
  }
  return a;
}

TEST(Convexity, DecidesSemidefinitenessOfSmallAndLargeForms) {
  using M = std::vector<std::vector<double>>;
  EXPECT_EQ(Lower(M{{2}}).Check(), Curvature::kConvex);
  EXPECT_EQ(Lower(M{{-2}}).Check(), Curvature::kNotConvex);
  EXPECT_EQ(Lower(M{{-2}}).Check(-1), Curvature::kConvex) << "concave when the sign is flipped";
  EXPECT_EQ(Lower(M{{0, 0}, {1, 0}}).Check(), Curvature::kNotConvex) << "x*y alone";
  EXPECT_EQ(Lower(M{{2, 0}, {-2, 2}}).Check(), Curvature::kConvex) << "(x - y)^2 is singular but convex";
  EXPECT_EQ(Lower(M{{2, 0}, {-2.001, 2}}).Check(), Curvature::kNotConvex);
  EXPECT_EQ(Lower(M{{1e-6, 0}, {-1e-6, 1e-6}}).Check(), Curvature::kConvex) << "scale does not matter";
  EXPECT_EQ(Lower(M{{1e6, 0, 0}, {0, 1e-6, 0}, {0, 0, 1}}).Check(), Curvature::kConvex);
  EXPECT_EQ(Lower(M{{1, 0, 0}, {0, 0, 0}, {0, 1, 0}}).Check(), Curvature::kNotConvex)
      << "a zero diagonal with a nonzero in its row";
  // Dense Gram matrices: semidefinite of low rank, and just below semidefinite.
  EXPECT_EQ(Lower(Gram(60, 20, 0, 1)).Check(), Curvature::kConvex);
  EXPECT_EQ(Lower(Gram(60, 20, -1e-3, 1)).Check(), Curvature::kNotConvex);
  EXPECT_EQ(Lower(Gram(60, 60, 0, 2)).Check(-1), Curvature::kNotConvex);
}

TEST(Convexity, SparseFormsOfManyBlocksAndChains) {
  // 20000 independent 2x2 blocks, one of them indefinite somewhere in the middle.
  std::vector<int> r, c;
  std::vector<double> v;
  for (int b = 0; b < 20000; ++b) {
    const int i = 2 * b;
    r.insert(r.end(), {i, i + 1, i + 1});
    c.insert(c.end(), {i, i, i + 1});
    v.insert(v.end(), {2.0, b == 12345 ? 3.0 : -1.0, 2.0});
  }
  EXPECT_EQ(CheckSemidefinite(r.data(), c.data(), v.data(), static_cast<std::int64_t>(v.size()), 1),
            Curvature::kNotConvex);
  v[3 * 12345 + 1] = -1.0;
  EXPECT_EQ(CheckSemidefinite(r.data(), c.data(), v.data(), static_cast<std::int64_t>(v.size()), 1), Curvature::kConvex);
  // A tridiagonal chain 2, -1 (the discrete Laplacian, positive definite) over 50000 variables,
  // and the same chain with the off-diagonals at -1.2 (indefinite).
  r.clear();
  c.clear();
  v.clear();
  const int n = 50000;
  for (int i = 0; i < n; ++i) {
    r.push_back(i);
    c.push_back(i);
    v.push_back(2);
    if (i > 0) {
      r.push_back(i);
      c.push_back(i - 1);
      v.push_back(-1);
    }
  }
  EXPECT_EQ(CheckSemidefinite(r.data(), c.data(), v.data(), static_cast<std::int64_t>(v.size()), 1), Curvature::kConvex);
  for (size_t k = 0; k < v.size(); ++k) {
    if (r[k] != c[k]) v[k] = -1.2;
  }
  EXPECT_EQ(CheckSemidefinite(r.data(), c.data(), v.data(), static_cast<std::int64_t>(v.size()), 1),
            Curvature::kNotConvex);
}

// Central differences of f at x along column j.
template <class F>
double Derivative(F f, std::vector<double> x, int j) {
  const double h = 1e-6;
  x[static_cast<size_t>(j)] += h;
  const double up = f(x);
  x[static_cast<size_t>(j)] -= 2 * h;
  return (up - f(x)) / (2 * h);
}

TEST(SmoothEvaluator, QuadraticBlocksGiveExactDerivatives) {
  // Objective 3x0 + x0*x1 + x1*x0 - 2 x2^2 + x0*x0; rows: a linear one, then two quadratic ones
  // with repeated products and a linear part.
  QuadTerms obj;
  obj.row = {0, 1, 2, 0};
  obj.col = {1, 0, 2, 0};
  obj.val = {1, 1, -2, 1};
  QuadRowTable rows;
  rows.linBegin = {0, 1, 3};
  rows.linIdx = {2, 0, 1};
  rows.linVal = {1.5, -1, 4};
  rows.quadBegin = {0, 3, 5};
  rows.quadRow = {0, 1, 0, 2, 1};
  rows.quadCol = {0, 2, 0, 1, 2};
  rows.quadVal = {1, 0.5, 2, -3, 0.25};
  rows.sense = {'L', 'G'};
  rows.rhs = {1, -2};
  rows.names.Append(2, nullptr);

  SmoothProblem p;
  p.nCol = 3;
  p.obj = {3, 0, 0};
  p.objConst = 1;
  p.colLower.assign(3, -10);
  p.colUpper.assign(3, 10);
  p.integer.assign(3, 0);
  p.rowStart = {0, 2};
  p.rowIndex = {0, 2};
  p.rowValue = {1, -1};
  p.rowLower = {-1};
  p.rowUpper = {1};
  p.blocks.push_back(std::make_unique<QuadObjectiveBlock>(obj));
  p.blocks.push_back(std::make_unique<QuadRowsBlock>(rows));
  const SmoothEvaluator e(p);
  ASSERT_EQ(e.Rows(), 3);
  EXPECT_EQ(e.RowUpper()[1], 1);
  EXPECT_EQ(e.RowLower()[2], -2);
  EXPECT_EQ(e.RowUpper()[2], TARQ_INFINITY);

  const std::vector<double> x = {0.7, -1.3, 2.1};
  const auto f = [&](const std::vector<double>& at) {
    double v = 0;
    EXPECT_TRUE(e.Objective(at.data(), &v));
    return v;
  };
  const auto g = [&](const std::vector<double>& at, int i) {
    std::vector<double> out(3);
    EXPECT_TRUE(e.Values(at.data(), out.data()));
    return out[static_cast<size_t>(i)];
  };
  // Values written out by hand at x.
  EXPECT_NEAR(f(x), 1 + 3 * 0.7 + 2 * 0.7 * -1.3 - 2 * 2.1 * 2.1 + 0.49, 1e-12);
  EXPECT_NEAR(g(x, 1), 1.5 * 2.1 + 0.49 + 0.5 * -1.3 * 2.1 + 2 * 0.49, 1e-12);
  EXPECT_NEAR(g(x, 2), -0.7 + 4 * -1.3 - 3 * 2.1 * -1.3 + 0.25 * -1.3 * 2.1, 1e-12);

  std::vector<double> grad(3);
  ASSERT_TRUE(e.Gradient(x.data(), grad.data()));
  for (int j = 0; j < 3; ++j) EXPECT_NEAR(grad[j], Derivative(f, x, j), 1e-6) << "gradient " << j;

  std::vector<double> jac(e.JacRows().size());
  ASSERT_TRUE(e.Jacobian(x.data(), jac.data()));
  std::vector<std::vector<double>> dense(3, std::vector<double>(3, 0));
  for (size_t k = 0; k < jac.size(); ++k) dense[e.JacRows()[k]][e.JacCols()[k]] += jac[k];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      EXPECT_NEAR(dense[i][j], Derivative([&](const std::vector<double>& at) { return g(at, i); }, x, j), 1e-6)
          << "Jacobian " << i << "," << j;
    }
  }

  // The Hessian of 2 * objective + (0.5, -1.5, 2) . rows, each position once, lower triangle.
  const double lambda[3] = {0.5, -1.5, 2};
  std::vector<double> hess(e.HessRows().size());
  ASSERT_TRUE(e.Hessian(x.data(), 2, lambda, hess.data()));
  std::vector<std::vector<double>> lowerHess(3, std::vector<double>(3, 0));
  std::vector<std::vector<int>> seen(3, std::vector<int>(3, 0));
  for (size_t k = 0; k < hess.size(); ++k) {
    const int i = e.HessRows()[k], j = e.HessCols()[k];
    ASSERT_GE(i, j);
    EXPECT_EQ(++seen[i][j], 1) << "position " << i << "," << j << " listed twice";
    lowerHess[i][j] = hess[k];
  }
  // Differences of the analytic gradient of the Lagrangian, for every position of the triangle.
  const auto lagrangianGrad = [&](const std::vector<double>& at, int i) {
    std::vector<double> gr(3), jv(e.JacRows().size());
    EXPECT_TRUE(e.Gradient(at.data(), gr.data()));
    EXPECT_TRUE(e.Jacobian(at.data(), jv.data()));
    double sum = 2 * gr[static_cast<size_t>(i)];
    for (size_t k = 0; k < jv.size(); ++k) {
      if (e.JacCols()[k] == i) sum += lambda[e.JacRows()[k]] * jv[k];
    }
    return sum;
  };
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j <= i; ++j) {
      const double numeric = Derivative([&](const std::vector<double>& at) { return lagrangianGrad(at, i); }, x, j);
      EXPECT_NEAR(lowerHess[i][j], numeric, 1e-6) << "Hessian " << i << "," << j;
    }
  }
}

}  // namespace
}  // namespace tarq_solver
