// Automatic differentiation of token programs: every token's value against the C library, and
// gradients and Hessians against central finite differences at random points.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "nl/tape.h"
#include "nl/tokens.h"

namespace {

using tarq_solver::nl::Tape;
using Vec = std::vector<double>;
namespace t = tarq_solver::nl;
constexpr int H = t::kHeader, K = t::kConst;

struct Program {
  std::vector<int> tokens;
  Vec consts;
};

// The dense Hessian of function f of the tape at x (n columns), summed from its sparse entries.
std::vector<Vec> DenseHessian(const Tape& tape, int f, const Vec& x, bool* ok) {
  const int n = static_cast<int>(x.size());
  std::vector<Vec> h(n, Vec(n, 0.0));
  Vec vals(static_cast<size_t>(tape.NumHess(f)));
  *ok = tape.Hessian(f, x.data(), 1.0, vals.data());
  for (int k = 0; k < tape.NumHess(f); ++k) {
    const int r = tape.HessRows(f)[k], c = tape.HessCols(f)[k];
    EXPECT_GE(r, c);
    h[r][c] += vals[k];
    if (r != c) h[c][r] += vals[k];
  }
  return h;
}

// The gradient of f at x as a dense vector.
Vec DenseGradient(const Tape& tape, int f, const Vec& x, bool* ok) {
  Vec g(static_cast<size_t>(tape.NumColumns(f))), out(x.size(), 0.0);
  double value = 0;
  *ok = tape.Gradient(f, x.data(), &value, g.data());
  for (int k = 0; k < tape.NumColumns(f); ++k) out[tape.Columns(f)[k]] = g[k];
  return out;
}

double Close(double a, double b) { return std::fabs(a - b) / std::max(1.0, std::fabs(b)); }

// Checks value, gradient and Hessian of the program at random points of [lo, hi]^n.
void CheckProgram(const std::string& name, const Program& p, int n, double lo, double hi,
                  const std::function<double(const Vec&)>& reference) {
  SCOPED_TRACE(name);
  Tape tape;
  t::ProgramError err;
  ASSERT_TRUE(t::CheckProgram(p.tokens.data(), static_cast<std::int64_t>(p.tokens.size()), p.consts.data(),
                              static_cast<std::int64_t>(p.consts.size()), n, &err))
      << err.what;
  const int f = tape.Add(p.tokens.data(), static_cast<std::int64_t>(p.tokens.size()), p.consts.data());
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> pick(lo, hi);
  for (int trial = 0; trial < 5; ++trial) {
    Vec x(static_cast<size_t>(n));
    for (double& v : x) v = pick(rng);
    double value = 0;
    ASSERT_TRUE(tape.Value(f, x.data(), &value));
    EXPECT_LT(Close(value, reference(x)), 1e-13) << value << " vs " << reference(x);
    bool ok = false;
    const Vec g = DenseGradient(tape, f, x, &ok);
    ASSERT_TRUE(ok);
    const auto hess = DenseHessian(tape, f, x, &ok);
    ASSERT_TRUE(ok);
    for (int j = 0; j < n; ++j) {
      const double h = 1e-6;
      Vec xp = x, xm = x;
      xp[j] += h;
      xm[j] -= h;
      const double fd = (reference(xp) - reference(xm)) / (2 * h);
      EXPECT_LT(Close(g[j], fd), 1e-6) << "gradient " << j << ": " << g[j] << " vs " << fd;
      const double h2 = 1e-5;
      xp = x;
      xm = x;
      xp[j] += h2;
      xm[j] -= h2;
      const Vec gp = DenseGradient(tape, f, xp, &ok), gm = DenseGradient(tape, f, xm, &ok);
      for (int i = 0; i < n; ++i) {
        const double fd2 = (gp[i] - gm[i]) / (2 * h2);
        EXPECT_LT(Close(hess[i][j], fd2), 1e-5) << "Hessian " << i << "," << j << ": " << hess[i][j] << " vs " << fd2;
      }
    }
  }
}

TEST(NlTape, EveryOneOperandTokenMatchesItsFunctionAndFiniteDifferences) {
  struct Case {
    int token;
    double c;  // u = x0 * x1 + c must lie in the function's domain for x in [0.2, 0.8]
    double (*f)(double);
  };
  const Case cases[] = {
      {t::kSqrt, 0.3, [](double u) { return std::sqrt(u); }},
      {t::kExp, 0.3, [](double u) { return std::exp(u); }},
      {t::kLog, 0.3, [](double u) { return std::log(u); }},
      {t::kLog10, 0.3, [](double u) { return std::log10(u); }},
      {t::kNeg, 0.3, [](double u) { return -u; }},
      {t::kAbs, -0.5, [](double u) { return std::fabs(u); }},
      {t::kFloor, 1.5, [](double u) { return std::floor(u); }},
      {t::kCeil, 1.5, [](double u) { return std::ceil(u); }},
      {t::kSin, 0.3, [](double u) { return std::sin(u); }},
      {t::kCos, 0.3, [](double u) { return std::cos(u); }},
      {t::kTan, 0.3, [](double u) { return std::tan(u); }},
      {t::kSinh, 0.3, [](double u) { return std::sinh(u); }},
      {t::kCosh, 0.3, [](double u) { return std::cosh(u); }},
      {t::kTanh, 0.3, [](double u) { return std::tanh(u); }},
      {t::kAsin, -0.3, [](double u) { return std::asin(u); }},
      {t::kAcos, -0.3, [](double u) { return std::acos(u); }},
      {t::kAtan, 0.3, [](double u) { return std::atan(u); }},
      {t::kAsinh, 0.3, [](double u) { return std::asinh(u); }},
      {t::kAcosh, 1.5, [](double u) { return std::acosh(u); }},
      {t::kAtanh, -0.3, [](double u) { return std::atanh(u); }},
  };
  for (const Case& c : cases) {
    // f(x0 * x1 + c) * x2: the chain rule and mixed second derivatives.
    const Program p{{H, 0, 1, t::kMul, K, t::kAdd, c.token, 2, t::kMul}, {c.c}};
    CheckProgram(t::TokenName(c.token), p, 3, 0.2, 0.8,
                 [&](const Vec& x) { return c.f(x[0] * x[1] + c.c) * x[2]; });
  }
}

TEST(NlTape, EveryTwoOperandTokenAndSumMatchFiniteDifferences) {
  struct Case {
    int token;
    double (*f)(double, double);
  };
  const Case cases[] = {
      {t::kAdd, [](double a, double b) { return a + b; }}, {t::kSub, [](double a, double b) { return a - b; }},
      {t::kMul, [](double a, double b) { return a * b; }}, {t::kDiv, [](double a, double b) { return a / b; }},
      {t::kPow, [](double a, double b) { return std::pow(a, b); }},
      {t::kAtan2, [](double a, double b) { return std::atan2(a, b); }},
  };
  for (const Case& c : cases) {
    // (x0 + 0.5) op (x1 * x2), squared by a constant power so that + and - have curvature too.
    const Program p{{H, 0, K, t::kAdd, 1, 2, t::kMul, c.token, K, t::kPow}, {0.5, 2.0}};
    CheckProgram(t::TokenName(c.token), p, 3, 0.2, 0.8, [&](const Vec& x) {
      const double v = c.f(x[0] + 0.5, x[1] * x[2]);
      return v * v;
    });
  }
  // A constant raised to a variable power, and a variable to a constant power below 1.
  CheckProgram("2^x", {{H, K, 0, t::kPow}, {2.0}}, 1, -1, 1, [](const Vec& x) { return std::pow(2.0, x[0]); });
  CheckProgram("x^0.5", {{H, 0, K, t::kPow}, {0.5}}, 1, 0.2, 2, [](const Vec& x) { return std::sqrt(x[0]); });
  // A sum of three operands, one of them a repeated column.
  CheckProgram("SUM", {{H, 0, t::kSin, 1, 2, t::kMul, 0, 0, t::kMul, t::kSum, 3}, {}}, 3, -1, 1,
               [](const Vec& x) { return std::sin(x[0]) + x[1] * x[2] + x[0] * x[0]; });
}

TEST(NlTape, SumsSplitIntoElementsWithSmallHessians) {
  // exp(x0) + x1 * x2 - sin(x3) + 3 * x4: three curved elements, one affine term.
  const Program p{{H, 0, t::kExp, 1, 2, t::kMul, t::kAdd, 3, t::kSin, t::kSub, K, 4, t::kMul, t::kAdd}, {3.0}};
  Tape tape;
  const int f = tape.Add(p.tokens.data(), static_cast<std::int64_t>(p.tokens.size()), p.consts.data());
  EXPECT_EQ(tape.NumColumns(f), 5);
  EXPECT_EQ(tape.NumHess(f), 1 + 3 + 1);  // (0,0); (1,1) (2,1) (2,2); (3,3)
  CheckProgram("elements", p, 5, -1, 1,
               [](const Vec& x) { return std::exp(x[0]) + x[1] * x[2] - std::sin(x[3]) + 3 * x[4]; });
  // Affine programs have no Hessian entries.
  const Program lin{{H, 0, K, t::kMul, 1, t::kNeg, t::kAdd, 2, K, t::kDiv, t::kSub}, {2.0, 4.0}};
  const int g = tape.Add(lin.tokens.data(), static_cast<std::int64_t>(lin.tokens.size()), lin.consts.data());
  EXPECT_TRUE(tape.Affine(g));
  // The empty program is 0.
  const int e = tape.Add(nullptr, 0, nullptr);
  double v = 1;
  const double x[5] = {};
  EXPECT_TRUE(tape.Value(e, x, &v));
  EXPECT_EQ(v, 0.0);
  EXPECT_EQ(tape.NumColumns(e), 0);
}

TEST(NlTape, DomainErrorsAreReportedNotReturned) {
  Tape tape;
  const Program logx{{H, 0, t::kLog}, {}};
  const Program sqrtx{{H, 0, t::kSqrt}, {}};
  const Program div{{H, K, 0, t::kDiv}, {1.0}};
  const Program pow{{H, 0, K, t::kPow}, {0.5}};
  const int fl = tape.Add(logx.tokens.data(), 3, nullptr);
  const int fs = tape.Add(sqrtx.tokens.data(), 3, nullptr);
  const int fd = tape.Add(div.tokens.data(), 4, div.consts.data());
  const int fp = tape.Add(pow.tokens.data(), 4, pow.consts.data());
  double v = 0, g = 0, h = 0;
  const double minus = -1, zero = 0, one = 1;
  EXPECT_FALSE(tape.Value(fl, &minus, &v));
  EXPECT_FALSE(tape.Gradient(fl, &zero, &v, &g));
  EXPECT_TRUE(tape.Value(fs, &zero, &v));          // sqrt(0) = 0 has a value ...
  EXPECT_FALSE(tape.Gradient(fs, &zero, &v, &g));  // ... but no finite derivative
  EXPECT_FALSE(tape.Value(fd, &zero, &v));
  EXPECT_FALSE(tape.Value(fp, &minus, &v));
  EXPECT_TRUE(tape.Gradient(fp, &one, &v, &g));
  EXPECT_DOUBLE_EQ(g, 0.5);
  EXPECT_TRUE(tape.Hessian(fp, &one, 2.0, &h));
  EXPECT_DOUBLE_EQ(h, 2.0 * -0.25);
}

}  // namespace
