#include "solve/cone_blocks.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "tarq.h"

namespace tarq_solver {
namespace {

// Exponential cone k as c * s * exp(t / s) - x_head <= 0 with s = sSign * x_sCol > 0 and
// t = tSign * x_tCol (see cone_blocks.h).
struct ExpForm {
  int head, sCol, tCol;
  double sSign, tSign, c;
};

ExpForm FormOf(const ExpConeTable& t, int k) {
  const int* col = t.col.data() + 3 * static_cast<std::size_t>(k);
  if (t.type[static_cast<std::size_t>(k)] == TARQ_EXPCONE_PRIMAL) return {col[0], col[1], col[2], 1.0, 1.0, 1.0};
  return {col[0], col[2], col[1], -1.0, -1.0, std::exp(-1.0)};
}

// Exponents beyond this overflow; the point is treated as one the block cannot evaluate.
constexpr double kMaxExponent = 700;

}  // namespace

// Cone k in perspective form: S / (c x_h) - x_l <= 0 with S the sum of squares of the tail,
// h the head the division is by and l the linear head (quadratic: h = l = 0, c = 1; rotated:
// h = 0, l = 1, c = 2).
struct SocForm {
  const int* col;
  int n;
  int tail;  // first tail member
  double c;
};

SocForm SocOf(const ConeTable& t, int k) {
  const std::int64_t b = t.Begin(k);
  const bool rotated = t.type[static_cast<std::size_t>(k)] == TARQ_CONE_RQUAD;
  return {t.col.data() + b, static_cast<int>(t.End(k) - b), rotated ? 2 : 1, rotated ? 2.0 : 1.0};
}

void SecondOrderConeBlock::RowBounds(double* lower, double* upper) const {
  std::fill(lower, lower + Rows(), -TARQ_INFINITY);
  std::fill(upper, upper + Rows(), 0.0);
}

void SocRowBlock::JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    for (std::int64_t p = cones_.Begin(k); p < cones_.End(k); ++p) {
      rows.push_back(k);
      cols.push_back(cones_.col[static_cast<std::size_t>(p)]);
    }
  }
}

void SecondOrderConeBlock::HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    const SocForm f = SocOf(cones_, k);
    const int h = f.col[0];
    rows.push_back(h);
    cols.push_back(h);
    for (int i = f.tail; i < f.n; ++i) {
      rows.push_back(std::max(h, f.col[i]));
      cols.push_back(std::min(h, f.col[i]));
      rows.push_back(f.col[i]);
      cols.push_back(f.col[i]);
    }
  }
}

namespace {
double TailSquares(const SocForm& f, const double* x) {
  double sum = 0;
  for (int i = f.tail; i < f.n; ++i) sum += x[f.col[i]] * x[f.col[i]];
  return sum;
}
}  // namespace

bool SecondOrderConeBlock::Values(const double* x, double* g) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    const SocForm f = SocOf(cones_, k);
    const double h = x[f.col[0]];
    if (!(h > 0)) return false;
    g[k] = TailSquares(f, x) / (f.c * h) - x[f.col[f.tail - 1]];
  }
  return true;
}

bool SecondOrderConeBlock::Jacobian(const double* x, double* values) const {
  std::size_t at = 0;
  for (int k = 0; k < cones_.Size(); ++k) {
    const SocForm f = SocOf(cones_, k);
    const double h = x[f.col[0]];
    if (!(h > 0)) return false;
    const double s = TailSquares(f, x);
    if (f.tail == 1) {
      values[at++] = -s / (h * h) - 1;
    } else {
      values[at++] = -s / (f.c * h * h);
      values[at++] = -1;
    }
    for (int i = f.tail; i < f.n; ++i) values[at++] = 2 * x[f.col[i]] / (f.c * h);
  }
  return true;
}

bool SecondOrderConeBlock::Hessian(const double* x, double, const double* lambda, double* values) const {
  std::size_t at = 0;
  for (int k = 0; k < cones_.Size(); ++k) {
    const SocForm f = SocOf(cones_, k);
    const double h = x[f.col[0]];
    if (!(h > 0)) return false;
    const double l = lambda[k] / f.c;
    values[at++] = l * 2 * TailSquares(f, x) / (h * h * h);
    for (int i = f.tail; i < f.n; ++i) {
      values[at++] = -l * 2 * x[f.col[i]] / (h * h);
      values[at++] = l * 2 / h;
    }
  }
  return true;
}

void SquaredConeBlock::RowBounds(double* lower, double* upper) const {
  std::fill(lower, lower + Rows(), 0.0);
  std::fill(upper, upper + Rows(), TARQ_INFINITY);
}

void SquaredConeBlock::HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    const std::int64_t b = cones_.Begin(k);
    const int* col = cones_.col.data() + b;
    const int n = static_cast<int>(cones_.End(k) - b);
    const bool rotated = cones_.type[static_cast<std::size_t>(k)] == TARQ_CONE_RQUAD;
    if (rotated) {
      rows.push_back(std::max(col[0], col[1]));
      cols.push_back(std::min(col[0], col[1]));
    }
    for (int i = rotated ? 2 : 0; i < n; ++i) {
      rows.push_back(col[i]);
      cols.push_back(col[i]);
    }
  }
}

bool SquaredConeBlock::Values(const double* x, double* g) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    const std::int64_t b = cones_.Begin(k);
    const int* col = cones_.col.data() + b;
    const int n = static_cast<int>(cones_.End(k) - b);
    const bool rotated = cones_.type[static_cast<std::size_t>(k)] == TARQ_CONE_RQUAD;
    double v = rotated ? 2 * x[col[0]] * x[col[1]] : x[col[0]] * x[col[0]];
    for (int i = rotated ? 2 : 1; i < n; ++i) v -= x[col[i]] * x[col[i]];
    g[k] = v;
  }
  return true;
}

bool SquaredConeBlock::Jacobian(const double* x, double* values) const {
  std::size_t at = 0;
  for (int k = 0; k < cones_.Size(); ++k) {
    const std::int64_t b = cones_.Begin(k);
    const int* col = cones_.col.data() + b;
    const int n = static_cast<int>(cones_.End(k) - b);
    const bool rotated = cones_.type[static_cast<std::size_t>(k)] == TARQ_CONE_RQUAD;
    if (rotated) {
      values[at++] = 2 * x[col[1]];
      values[at++] = 2 * x[col[0]];
    } else {
      values[at++] = 2 * x[col[0]];
    }
    for (int i = rotated ? 2 : 1; i < n; ++i) values[at++] = -2 * x[col[i]];
  }
  return true;
}

bool SquaredConeBlock::Hessian(const double*, double, const double* lambda, double* values) const {
  std::size_t at = 0;
  for (int k = 0; k < cones_.Size(); ++k) {
    const int n = static_cast<int>(cones_.End(k) - cones_.Begin(k));
    const bool rotated = cones_.type[static_cast<std::size_t>(k)] == TARQ_CONE_RQUAD;
    const double l = lambda[k];
    values[at++] = 2 * l;  // x_0^2, or 2 x_0 x_1 of a rotated cone
    for (int i = 1; i < n - (rotated ? 1 : 0); ++i) values[at++] = -2 * l;
  }
  return true;
}

void ExpConeBlock::RowBounds(double* lower, double* upper) const {
  std::fill(lower, lower + Rows(), -TARQ_INFINITY);
  std::fill(upper, upper + Rows(), 0.0);
}

void ExpConeBlock::JacobianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    const ExpForm f = FormOf(cones_, k);
    for (int c : {f.head, f.sCol, f.tCol}) {
      rows.push_back(k);
      cols.push_back(c);
    }
  }
}

void ExpConeBlock::HessianStructure(std::vector<int>& rows, std::vector<int>& cols) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    const ExpForm f = FormOf(cones_, k);
    rows.push_back(f.sCol);
    cols.push_back(f.sCol);
    rows.push_back(f.tCol);
    cols.push_back(f.tCol);
    rows.push_back(std::max(f.sCol, f.tCol));
    cols.push_back(std::min(f.sCol, f.tCol));
  }
}

bool ExpConeBlock::Values(const double* x, double* g) const {
  for (int k = 0; k < cones_.Size(); ++k) {
    const ExpForm f = FormOf(cones_, k);
    const double s = f.sSign * x[f.sCol], t = f.tSign * x[f.tCol];
    if (!(s > 0) || t / s > kMaxExponent) return false;
    g[k] = f.c * s * std::exp(t / s) - x[f.head];
  }
  return true;
}

bool ExpConeBlock::Jacobian(const double* x, double* values) const {
  std::size_t at = 0;
  for (int k = 0; k < cones_.Size(); ++k) {
    const ExpForm f = FormOf(cones_, k);
    const double s = f.sSign * x[f.sCol], t = f.tSign * x[f.tCol];
    if (!(s > 0) || t / s > kMaxExponent) return false;
    const double e = f.c * std::exp(t / s);
    values[at++] = -1;
    values[at++] = f.sSign * e * (1 - t / s);
    values[at++] = f.tSign * e;
  }
  return true;
}

bool ExpConeBlock::Hessian(const double* x, double, const double* lambda, double* values) const {
  std::size_t at = 0;
  for (int k = 0; k < cones_.Size(); ++k) {
    const ExpForm f = FormOf(cones_, k);
    const double s = f.sSign * x[f.sCol], t = f.tSign * x[f.tCol];
    if (!(s > 0) || t / s > kMaxExponent) return false;
    const double le = lambda[k] * f.c * std::exp(t / s);
    values[at++] = le * t * t / (s * s * s);
    values[at++] = le / s;
    values[at++] = f.sSign * f.tSign * (-le * t / (s * s));
  }
  return true;
}

void AddConeOuterRows(const ConeTable& cones, SmoothProblem& sp) {
  const double root2 = std::sqrt(2.0);
  auto addRow = [&sp](std::initializer_list<int> cols, std::initializer_list<double> vals) {
    sp.rowIndex.insert(sp.rowIndex.end(), cols);
    sp.rowValue.insert(sp.rowValue.end(), vals);
    sp.rowStart.push_back(static_cast<std::int64_t>(sp.rowIndex.size()));
    sp.rowLower.push_back(0);
    sp.rowUpper.push_back(TARQ_INFINITY);
  };
  for (int k = 0; k < cones.Size(); ++k) {
    const std::int64_t b = cones.Begin(k);
    const int head = cones.col[b];
    const bool rotated = cones.type[k] == TARQ_CONE_RQUAD;
    for (std::int64_t q = b + (rotated ? 2 : 1); q < cones.End(k); ++q) {
      const int i = cones.col[q];
      for (const double sign : {-1.0, 1.0}) {
        if (rotated) {
          addRow({head, cones.col[b + 1], i}, {1.0, 1.0, sign * root2});
        } else {
          addRow({head, i}, {1.0, sign});
        }
      }
    }
  }
}

void AddConeSignBounds(const SosConeStore& sosCones, std::vector<double>& lower, std::vector<double>& upper) {
  const ConeTable& c = sosCones.cones;
  for (int k = 0; k < c.Size(); ++k) {
    const std::int64_t b = c.Begin(k);
    lower[c.col[b]] = std::max(lower[c.col[b]], 0.0);
    if (c.type[k] == TARQ_CONE_RQUAD) lower[c.col[b + 1]] = std::max(lower[c.col[b + 1]], 0.0);
  }
  const ExpConeTable& e = sosCones.expCones;
  for (int k = 0; k < e.Size(); ++k) {
    const ExpForm f = FormOf(e, k);
    if (f.sSign > 0) {
      lower[f.sCol] = std::max(lower[f.sCol], 0.0);
    } else {
      upper[f.sCol] = std::min(upper[f.sCol], 0.0);
    }
  }
}

double MaxConeViolation(const SosConeStore& sosCones, const double* x) {
  double worst = 0;
  const ConeTable& c = sosCones.cones;
  for (int k = 0; k < c.Size(); ++k) {
    const std::int64_t b = c.Begin(k), e = c.End(k);
    const bool rotated = c.type[k] == TARQ_CONE_RQUAD;
    double sum = 0;
    for (std::int64_t p = b + (rotated ? 2 : 1); p < e; ++p) sum += x[c.col[p]] * x[c.col[p]];
    double v;
    if (rotated) {
      const double a = x[c.col[b]], d = x[c.col[b + 1]];
      v = std::max({std::sqrt(sum + (a - d) * (a - d) / 2) - (a + d) / std::sqrt(2.0), -a, -d});
    } else {
      v = std::sqrt(sum) - x[c.col[b]];
    }
    worst = std::max(worst, v);
  }
  const ExpConeTable& ec = sosCones.expCones;
  for (int k = 0; k < ec.Size(); ++k) {
    const ExpForm f = FormOf(ec, k);
    const double s = f.sSign * x[f.sCol], t = f.tSign * x[f.tCol], head = x[f.head];
    double v;
    if (s > 0) {
      v = (f.c * s * std::exp(std::min(t / s, kMaxExponent)) - head) / std::max(1.0, std::fabs(head));
    } else {
      v = std::max({-s, -head, t});  // the closure at s = 0: head >= 0, t <= 0
    }
    worst = std::max(worst, v);
  }
  return worst;
}

}  // namespace tarq_solver
