// A small builder of token programs for the solver-level tests: expressions written with
// operators that produce postfix tokens and constants, as the store takes them.
#pragma once

#include <vector>

#include "tarq.h"

namespace postfix {

struct E {
  std::vector<int> tokens;
  std::vector<double> consts;

  // The program with its header, as TARQ_AddNLConstr and TARQ_SetNLObj take it.
  std::vector<int> Program() const {
    std::vector<int> p{TARQ_NL_HEADER};
    p.insert(p.end(), tokens.begin(), tokens.end());
    return p;
  }
};

inline E X(int column) { return E{{column}, {}}; }
inline E C(double value) { return E{{TARQ_NL_CONST}, {value}}; }

inline E Apply(const E& a, int token) {
  E r = a;
  r.tokens.push_back(token);
  return r;
}

inline E Apply(const E& a, const E& b, int token) {
  E r = a;
  r.tokens.insert(r.tokens.end(), b.tokens.begin(), b.tokens.end());
  r.consts.insert(r.consts.end(), b.consts.begin(), b.consts.end());
  r.tokens.push_back(token);
  return r;
}

inline E operator+(const E& a, const E& b) { return Apply(a, b, -10); }
inline E operator-(const E& a, const E& b) { return Apply(a, b, -11); }
inline E operator*(const E& a, const E& b) { return Apply(a, b, -12); }
inline E operator/(const E& a, const E& b) { return Apply(a, b, -13); }
inline E operator+(const E& a, double b) { return a + C(b); }
inline E operator-(const E& a, double b) { return a - C(b); }
inline E operator*(double a, const E& b) { return C(a) * b; }
inline E operator-(double a, const E& b) { return C(a) - b; }
inline E operator-(const E& a) { return Apply(a, -19); }
inline E Pow(const E& a, double b) { return Apply(a, C(b), -14); }
inline E Sqr(const E& a) { return Pow(a, 2); }
inline E Sqrt(const E& a) { return Apply(a, -15); }
inline E Exp(const E& a) { return Apply(a, -16); }
inline E Log(const E& a) { return Apply(a, -17); }
inline E Sin(const E& a) { return Apply(a, -31); }
inline E Cos(const E& a) { return Apply(a, -32); }

}  // namespace postfix
