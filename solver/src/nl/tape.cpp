#include "nl/tape.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "nl/tokens.h"

namespace tarq_solver::nl {

namespace {

constexpr int kColumn = 0;  // op of a column node
enum : unsigned char { kKindColumn = 0, kKindConst = 1, kKindSum = 2, kKindUnary = 3, kKindBinary = 4, kKindMask = 7 };
constexpr unsigned char kOperandA = 8, kOperandB = 16;
constexpr double kLn10 = 2.302585092994045684;

// The value of a one-operand function and its first and second derivatives at a.
struct Unary {
  double r, d, dd;
};

inline Unary EvalUnary(int op, double a) {
  switch (op) {
    case kSqrt: {
      const double r = std::sqrt(a), d = 0.5 / r;
      return {r, d, -0.5 * d / a};
    }
    case kExp: {
      const double r = std::exp(a);
      return {r, r, r};
    }
    case kLog: {
      const double d = 1.0 / a;
      return {std::log(a), d, -d * d};
    }
    case kLog10: {
      const double d = 1.0 / (a * kLn10);
      return {std::log10(a), d, -d / a};
    }
    case kNeg: return {-a, -1.0, 0.0};
    case kAbs: return {std::fabs(a), a > 0 ? 1.0 : (a < 0 ? -1.0 : 0.0), 0.0};
    case kFloor: return {std::floor(a), 0.0, 0.0};
    case kCeil: return {std::ceil(a), 0.0, 0.0};
    case kSin: {
      double sn, cs;
      ::sincos(a, &sn, &cs);
      return {sn, cs, -sn};
    }
    case kCos: {
      double sn, cs;
      ::sincos(a, &sn, &cs);
      return {cs, -sn, -cs};
    }
    case kTan: {
      const double r = std::tan(a), d = 1.0 + r * r;
      return {r, d, 2.0 * r * d};
    }
    case kSinh: {
      const double r = std::sinh(a);
      return {r, std::cosh(a), r};
    }
    case kCosh: {
      const double r = std::cosh(a);
      return {r, std::sinh(a), r};
    }
    case kTanh: {
      const double r = std::tanh(a), d = 1.0 - r * r;
      return {r, d, -2.0 * r * d};
    }
    case kAsin: {
      const double d = 1.0 / std::sqrt(1.0 - a * a);
      return {std::asin(a), d, a * d * d * d};
    }
    case kAcos: {
      const double d = -1.0 / std::sqrt(1.0 - a * a);
      return {std::acos(a), d, a * d * d * d};
    }
    case kAtan: {
      const double d = 1.0 / (1.0 + a * a);
      return {std::atan(a), d, -2.0 * a * d * d};
    }
    case kAsinh: {
      const double d = 1.0 / std::sqrt(a * a + 1.0);
      return {std::asinh(a), d, -a * d * d * d};
    }
    case kAcosh: {
      const double d = 1.0 / std::sqrt(a * a - 1.0);
      return {std::acosh(a), d, -a * d * d * d};
    }
    case kAtanh: {
      const double d = 1.0 / (1.0 - a * a);
      return {std::atanh(a), d, 2.0 * a * d * d};
    }
    default: return {NAN, NAN, NAN};
  }
}

// The value of a two-operand function and its first derivatives; derivatives by an operand that
// is constant (not active) are left 0, so that they are never computed where they do not exist
// (the derivative of a^b by b for a negative a).
struct Binary {
  double r, da, db;
};

inline Binary EvalBinary(int op, double a, double b, bool activeA, bool activeB) {
  switch (op) {
    case kAdd: return {a + b, 1.0, 1.0};
    case kSub: return {a - b, 1.0, -1.0};
    case kMul: return {a * b, b, a};
    case kDiv: {
      const double r = a / b;
      return {r, 1.0 / b, -r / b};
    }
    case kPow: {
      if (b == 2.0) return {a * a, activeA ? 2.0 * a : 0.0, activeB ? a * a * std::log(a) : 0.0};
      const double r = std::pow(a, b);
      double da = 0.0;
      if (activeA && b != 0.0) da = a != 0.0 ? b * r / a : b * std::pow(a, b - 1.0);
      const double db = activeB ? (r == 0.0 ? 0.0 : r * std::log(a)) : 0.0;
      return {r, da, db};
    }
    case kAtan2: {
      const double den = a * a + b * b;
      return {std::atan2(a, b), b / den, -a / den};
    }
    default: return {NAN, NAN, NAN};
  }
}

// Second derivatives of a two-operand function: by a twice, by a and b, by b twice.
struct Second {
  double aa, ab, bb;
};

inline Second EvalSecond(int op, double a, double b, double r, bool activeA, bool activeB) {
  switch (op) {
    case kMul: return {0.0, 1.0, 0.0};
    case kDiv: {
      const double ib = 1.0 / b;
      return {0.0, -ib * ib, 2.0 * r * ib * ib};
    }
    case kPow: {
      Second s{0.0, 0.0, 0.0};
      if (activeA) s.aa = b == 0.0 || b == 1.0 ? 0.0 : b * (b - 1.0) * std::pow(a, b - 2.0);
      if (activeB && r != 0.0) {
        const double la = std::log(a);
        s.bb = r * la * la;
        if (activeA) s.ab = std::pow(a, b - 1.0) * (1.0 + b * la);
      }
      return s;
    }
    case kAtan2: {
      const double den = a * a + b * b, den2 = den * den;
      return {-2.0 * a * b / den2, (a * a - b * b) / den2, 2.0 * a * b / den2};
    }
    default: return {0.0, 0.0, 0.0};  // + and -
  }
}

inline bool Finite(double v) { return std::isfinite(v); }

// Operand counts of the tokens, indexed by -token (0 for columns, constants and sums).
struct ArityTable {
  unsigned char n[100] = {};
  constexpr ArityTable() {
    const int one[] = {kAtanh, kAcosh, kAsinh, kAtan, kAcos, kAsin, kTanh, kCosh, kSinh, kTan,
                       kCos,   kSin,   kCeil,  kFloor, kAbs, kNeg,  kLog10, kLog, kExp, kSqrt};
    const int two[] = {kAtan2, kPow, kDiv, kMul, kSub, kAdd};
    for (int t : one) n[-t] = 1;
    for (int t : two) n[-t] = 2;
  }
};
constexpr ArityTable kArity;
inline int OpArity(int op) { return op < 0 ? kArity.n[-op] : 0; }

}  // namespace

int Tape::Add(const int* tokens, std::int64_t n, const double* consts) {
  const int base = static_cast<int>(op_.size());
  std::vector<int> stack, size, cols;
  std::vector<char> linear;
  int nConst = 0;
  for (std::int64_t p = 1; p < n; ++p) {
    const int t = tokens[p];
    const int li = static_cast<int>(op_.size()) - base;
    int a = 0, b = 0, sz = 1;
    bool act = false, lin = true;
    int op = t;
    if (t >= 0) {
      op = kColumn;
      a = t;
      act = true;
      cols.push_back(t);
    } else if (t == kConst) {
      a = static_cast<int>(consts_.size());
      consts_.push_back(consts[nConst++]);
    } else if (t == kSum) {
      const int count = tokens[++p];
      a = static_cast<int>(sumArgs_.size());
      b = count;
      sumArgs_.resize(sumArgs_.size() + static_cast<std::size_t>(count));
      for (int k = count - 1; k >= 0; --k) {
        const int c = stack.back();
        stack.pop_back();
        sumArgs_[static_cast<std::size_t>(a + k)] = c;
        sz += size[static_cast<std::size_t>(c)];
        act = act || active_[static_cast<std::size_t>(base + c)];
        lin = lin && linear[static_cast<std::size_t>(c)];
      }
    } else if (Arity(t) == 1) {
      const int c = stack.back();
      stack.pop_back();
      sz += size[static_cast<std::size_t>(c)];
      act = active_[static_cast<std::size_t>(base + c)];
      lin = !act || ((t == kNeg) && linear[static_cast<std::size_t>(c)]);
    } else {
      const int cb = stack.back();
      stack.pop_back();
      const int ca = stack.back();
      stack.pop_back();
      a = ca;
      sz += size[static_cast<std::size_t>(ca)] + size[static_cast<std::size_t>(cb)];
      const bool aa = active_[static_cast<std::size_t>(base + ca)], ab = active_[static_cast<std::size_t>(base + cb)];
      const bool la = linear[static_cast<std::size_t>(ca)], lb = linear[static_cast<std::size_t>(cb)];
      act = aa || ab;
      if (t == kAdd || t == kSub) {
        lin = la && lb;
      } else if (t == kMul) {
        lin = la && lb && (!aa || !ab);
      } else if (t == kDiv) {
        lin = la && !ab;
      } else {
        lin = !act;
      }
    }
    unsigned char info = kKindSum;
    if (op == kColumn) {
      info = kKindColumn;
    } else if (op == kConst) {
      info = kKindConst;
    } else if (Arity(op) == 1) {
      info = kKindUnary | (active_[static_cast<std::size_t>(base + li - 1)] ? kOperandA : 0);
    } else if (Arity(op) == 2) {
      info = kKindBinary | (active_[static_cast<std::size_t>(base + a)] ? kOperandA : 0) |
             (active_[static_cast<std::size_t>(base + li - 1)] ? kOperandB : 0);
    }
    info_.push_back(info);
    op_.push_back(op);
    a_.push_back(a);
    b_.push_back(b);
    eslot_.push_back(-1);
    active_.push_back(act ? 1 : 0);
    size.push_back(sz);
    linear.push_back(lin ? 1 : 0);
    stack.push_back(li);
  }
  const int nodes = static_cast<int>(op_.size()) - base;
  fnNode_.push_back(static_cast<int>(op_.size()));

  // Gradient sparsity: the distinct columns; each column node learns its slot.
  std::sort(cols.begin(), cols.end());
  cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
  for (int i = base; i < base + nodes; ++i) {
    if (op_[static_cast<std::size_t>(i)] == kColumn) {
      b_[static_cast<std::size_t>(i)] =
          static_cast<int>(std::lower_bound(cols.begin(), cols.end(), a_[static_cast<std::size_t>(i)]) - cols.begin());
    }
  }
  cols_.insert(cols_.end(), cols.begin(), cols.end());
  fnCol_.push_back(static_cast<int>(cols_.size()));

  // Elements: the operands of the top-level sums; affine ones have no Hessian.
  std::vector<std::pair<int, double>> todo;
  if (nodes > 0) todo.emplace_back(nodes - 1, 1.0);
  while (!todo.empty()) {
    const auto [li, sign] = todo.back();
    todo.pop_back();
    const auto gi = static_cast<std::size_t>(base + li);
    if (!active_[gi] || linear[static_cast<std::size_t>(li)]) continue;
    const int op = op_[gi];
    if (op == kAdd || op == kSub) {
      todo.emplace_back(a_[gi], sign);
      todo.emplace_back(li - 1, op == kSub ? -sign : sign);
      continue;
    }
    if (op == kNeg) {
      todo.emplace_back(li - 1, -sign);
      continue;
    }
    if (op == kSum) {
      for (int k = 0; k < b_[gi]; ++k) todo.emplace_back(sumArgs_[static_cast<std::size_t>(a_[gi] + k)], sign);
      continue;
    }
    Element e;
    e.first = base + li - size[static_cast<std::size_t>(li)] + 1;
    e.root = base + li;
    e.sign = sign;
    e.colBegin = static_cast<int>(elemCols_.size());
    std::vector<int> ec;
    for (int i = e.first; i <= e.root; ++i) {
      if (op_[static_cast<std::size_t>(i)] == kColumn) ec.push_back(a_[static_cast<std::size_t>(i)]);
    }
    std::sort(ec.begin(), ec.end());
    ec.erase(std::unique(ec.begin(), ec.end()), ec.end());
    for (int i = e.first; i <= e.root; ++i) {
      if (op_[static_cast<std::size_t>(i)] == kColumn) {
        eslot_[static_cast<std::size_t>(i)] =
            static_cast<int>(std::lower_bound(ec.begin(), ec.end(), a_[static_cast<std::size_t>(i)]) - ec.begin());
      }
    }
    elemCols_.insert(elemCols_.end(), ec.begin(), ec.end());
    e.colEnd = static_cast<int>(elemCols_.size());
    e.hessAt = static_cast<int>(hessRow_.size()) - fnHess_.back();
    const int k = static_cast<int>(ec.size());
    for (int p = 0; p < k; ++p) {
      for (int q = 0; q <= p; ++q) {
        hessRow_.push_back(ec[static_cast<std::size_t>(p)]);
        hessCol_.push_back(ec[static_cast<std::size_t>(q)]);
      }
    }
    maxElemCols_ = std::max(maxElemCols_, k);
    elems_.push_back(e);
  }
  fnElem_.push_back(static_cast<int>(elems_.size()));
  fnHess_.push_back(static_cast<int>(hessRow_.size()));
  if (nodes > maxNodes_) {
    maxNodes_ = nodes;
    for (auto* v : {&v_, &da_, &db_, &w_, &dv_, &dw_}) v->assign(static_cast<std::size_t>(nodes), 0.0);
  }
  local_.assign(static_cast<std::size_t>(maxElemCols_) * static_cast<std::size_t>(maxElemCols_), 0.0);
  return Functions() - 1;
}

template <bool kPartials>
bool Tape::Forward(int f, int first, int last, const double* x) const {
  const int base = fnNode_[f];
  double check = 0;
  double* v = v_.data() - base;  // indexed by global node
  double* da = da_.data() - base;
  double* db = db_.data() - base;
  double* w = w_.data() - base;
  for (int i = first; i <= last; ++i) {
    const auto gi = static_cast<std::size_t>(i);
    const unsigned char info = info_[gi];
    double r;
    switch (info & kKindMask) {
      case kKindColumn: r = x[a_[gi]]; break;
      case kKindConst: r = consts_[static_cast<std::size_t>(a_[gi])]; break;
      case kKindSum: {
        r = 0;
        const int* args = sumArgs_.data() + a_[gi];
        for (int k = 0; k < b_[gi]; ++k) r += v[base + args[k]];
        break;
      }
      case kKindUnary:
        if constexpr (kPartials) {
          const Unary u = EvalUnary(op_[gi], v[i - 1]);
          r = u.r;
          da[i] = u.d;
        } else {
          r = EvalUnary(op_[gi], v[i - 1]).r;
        }
        break;
      default: {
        const int ia = base + a_[gi];
        const int op = op_[gi];
        if (op == kMul) {  // the most frequent operator, without the dispatch of EvalBinary
          const double va = v[ia], vb = v[i - 1];
          r = va * vb;
          if constexpr (kPartials) {
            da[i] = vb;
            db[i] = va;
          }
          break;
        }
        const Binary bin = EvalBinary(op, v[ia], v[i - 1], kPartials && (info & kOperandA),
                                      kPartials && (info & kOperandB));
        r = bin.r;
        if constexpr (kPartials) {
          da[i] = bin.da;
          db[i] = bin.db;
        }
      }
    }
    v[i] = r;
    if constexpr (kPartials) w[i] = 0.0;
    check += r;
  }
  return Finite(check);
}

void Tape::Reverse(int f, int first, int last, double* grad) const {
  const int base = fnNode_[f];
  double* w = w_.data() - base;  // indexed by global node
  const double* da = da_.data() - base;
  const double* db = db_.data() - base;
  for (int i = last; i >= first; --i) {
    const double wi = w[i];
    if (wi == 0.0) continue;
    const auto gi = static_cast<std::size_t>(i);
    const unsigned char info = info_[gi];
    switch (info & kKindMask) {
      case kKindColumn:
        if (grad != nullptr) grad[b_[gi]] += wi;
        break;
      case kKindConst: break;
      case kKindSum: {
        const int* args = sumArgs_.data() + a_[gi];
        for (int k = 0; k < b_[gi]; ++k) w[base + args[k]] += wi;
        break;
      }
      case kKindUnary:
        if (info & kOperandA) w[i - 1] += wi * da[i];
        break;
      default:
        if (info & kOperandA) w[base + a_[gi]] += wi * da[i];
        if (info & kOperandB) w[i - 1] += wi * db[i];
    }
  }
}

bool Tape::Value(int f, const double* x, double* value) const {
  const int first = fnNode_[f], last = fnNode_[f + 1] - 1;
  if (last < first) {
    *value = 0;
    return true;
  }
  if (!Forward<false>(f, first, last, x)) return false;
  *value = v_[static_cast<std::size_t>(last - first)];
  return true;
}

bool Tape::Gradient(int f, const double* x, double* value, double* grad) const {
  const int first = fnNode_[f], last = fnNode_[f + 1] - 1;
  const int nCol = NumColumns(f);
  std::fill(grad, grad + nCol, 0.0);
  if (last < first) {
    *value = 0;
    return true;
  }
  if (!Forward<true>(f, first, last, x)) return false;
  *value = v_[static_cast<std::size_t>(last - first)];
  w_[static_cast<std::size_t>(last - first)] = 1.0;  // the others were cleared by the forward sweep
  Reverse(f, first, last, grad);
  double check = 0;
  for (int k = 0; k < nCol; ++k) check += grad[k];
  return Finite(check);
}

bool Tape::ElementHessian(int f, const Element& e, const double* x) const {
  const int base = fnNode_[f];
  if (!Forward<true>(f, e.first, e.root, x)) return false;
  double* v = v_.data() - base;
  double* w = w_.data() - base;
  double* dv = dv_.data() - base;
  double* dw = dw_.data() - base;
  const double* da = da_.data() - base;
  const double* db = db_.data() - base;
  // First-order adjoints of the element's root.
  w[e.root] = 1.0;  // the others were cleared by the forward sweep
  Reverse(f, e.first, e.root, nullptr);
  const int k = e.colEnd - e.colBegin;
  std::fill(local_.begin(), local_.begin() + static_cast<std::ptrdiff_t>(k) * k, 0.0);
  for (int d = 0; d < k; ++d) {
    const int dir = elemCols_[static_cast<std::size_t>(e.colBegin + d)];
    // Tangents in the direction of column dir.
    for (int i = e.first; i <= e.root; ++i) {
      const auto gi = static_cast<std::size_t>(i);
      const int op = op_[gi];
      double t = 0;
      if (!active_[gi]) {
      } else if (op == kColumn) {
        t = a_[gi] == dir ? 1.0 : 0.0;
      } else if (op == kSum) {
        const int* args = sumArgs_.data() + a_[gi];
        for (int q = 0; q < b_[gi]; ++q) t += dv[base + args[q]];
      } else if (OpArity(op) == 1) {
        t = da[i] * dv[i - 1];
      } else {
        const int ia = base + a_[gi];
        if (active_[static_cast<std::size_t>(ia)]) t += da[i] * dv[ia];
        if (active_[gi - 1]) t += db[i] * dv[i - 1];
      }
      dv[i] = t;
    }
    // Second-order adjoints: the derivatives of the adjoints in that direction.
    std::fill(dw + e.first, dw + e.root + 1, 0.0);
    for (int i = e.root; i >= e.first; --i) {
      const auto gi = static_cast<std::size_t>(i);
      if (!active_[gi]) continue;
      const int op = op_[gi];
      const double dwi = dw[i], wi = w[i];
      if (op == kColumn) {
        local_[static_cast<std::size_t>(eslot_[gi] * k + d)] += dwi;
      } else if (op == kSum) {
        const int* args = sumArgs_.data() + a_[gi];
        for (int q = 0; q < b_[gi]; ++q) dw[base + args[q]] += dwi;
      } else if (OpArity(op) == 1) {
        const double dd = wi == 0.0 ? 0.0 : EvalUnary(op, v[i - 1]).dd;
        dw[i - 1] += dwi * da[i] + (wi == 0.0 ? 0.0 : wi * dd * dv[i - 1]);
      } else {
        const int ia = base + a_[gi];
        const bool actA = active_[static_cast<std::size_t>(ia)], actB = active_[gi - 1];
        Second s{0.0, 0.0, 0.0};
        if (wi != 0.0) s = EvalSecond(op, v[ia], v[i - 1], v[i], actA, actB);
        const double ta = actA ? dv[ia] : 0.0, tb = actB ? dv[i - 1] : 0.0;
        if (actA) dw[ia] += dwi * da[i] + wi * (s.aa * ta + s.ab * tb);
        if (actB) dw[i - 1] += dwi * db[i] + wi * (s.ab * ta + s.bb * tb);
      }
    }
  }
  return true;
}

bool Tape::Hessian(int f, const double* x, double scale, double* values) const {
  double check = 0;
  for (int ei = fnElem_[f]; ei < fnElem_[f + 1]; ++ei) {
    const Element& e = elems_[static_cast<std::size_t>(ei)];
    if (!ElementHessian(f, e, x)) return false;
    const int k = e.colEnd - e.colBegin;
    double* out = values + e.hessAt;
    const double s = scale * e.sign;
    for (int p = 0; p < k; ++p) {
      for (int q = 0; q <= p; ++q) {
        const double h = s * local_[static_cast<std::size_t>(p * k + q)];
        *out++ = h;
        check += h;
      }
    }
  }
  return Finite(check);
}

}  // namespace tarq_solver::nl
