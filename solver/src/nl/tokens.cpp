#include "nl/tokens.h"

#include <cmath>

namespace tarq_solver::nl {

int Arity(int token) {
  switch (token) {
    case kAtan2: case kPow: case kDiv: case kMul: case kSub: case kAdd:
      return 2;
    case kAtanh: case kAcosh: case kAsinh: case kAtan: case kAcos: case kAsin: case kTanh: case kCosh: case kSinh:
    case kTan: case kCos: case kSin: case kCeil: case kFloor: case kAbs: case kNeg: case kLog10: case kLog:
    case kExp: case kSqrt:
      return 1;
    default:
      return 0;
  }
}

const char* TokenName(int token) {
  switch (token) {
    case kHeader: return "POSTFIX";
    case kConst: return "constant";
    case kSum: return "SUM";
    case kAtan2: return "ATAN2";
    case kAtanh: return "ATANH";
    case kAcosh: return "ACOSH";
    case kAsinh: return "ASINH";
    case kAtan: return "ATAN";
    case kAcos: return "ACOS";
    case kAsin: return "ASIN";
    case kTanh: return "TANH";
    case kCosh: return "COSH";
    case kSinh: return "SINH";
    case kTan: return "TAN";
    case kCos: return "COS";
    case kSin: return "SIN";
    case kCeil: return "CEIL";
    case kFloor: return "FLOOR";
    case kAbs: return "ABS";
    case kNeg: return "NEG";
    case kLog10: return "LOG10";
    case kLog: return "LOG";
    case kExp: return "EXP";
    case kSqrt: return "SQRT";
    case kPow: return "^";
    case kDiv: return "/";
    case kMul: return "*";
    case kSub: return "-";
    case kAdd: return "+";
    default: return token >= 0 ? "column" : "?";
  }
}

namespace {

bool Fail(ProgramError* err, std::int64_t position, std::string what) {
  if (err != nullptr) {
    err->position = position;
    err->what = std::move(what);
  }
  return false;
}

}  // namespace

bool CheckProgram(const int* tokens, std::int64_t n, const double* consts, std::int64_t nConst, int nCol,
                  ProgramError* err) {
  if (n < 0 || nConst < 0) return Fail(err, 0, "negative token or constant count");
  if (n == 0) {
    if (nConst != 0) return Fail(err, 0, "constants given for an empty program");
    return true;
  }
  if (tokens == nullptr) return Fail(err, 0, "no token array");
  if (nConst > 0 && consts == nullptr) return Fail(err, 0, "no constant array");
  if (tokens[0] != kHeader) return Fail(err, 0, "the program does not start with the header token -99");
  std::int64_t depth = 0, usedConst = 0;
  for (std::int64_t p = 1; p < n; ++p) {
    const int t = tokens[p];
    if (t >= 0) {
      if (t >= nCol) return Fail(err, p, "column " + std::to_string(t) + " does not exist");
      ++depth;
    } else if (t == kConst) {
      if (usedConst >= nConst) return Fail(err, p, "more constant tokens than constants");
      if (!std::isfinite(consts[usedConst])) return Fail(err, p, "the constant is not finite");
      ++usedConst;
      ++depth;
    } else if (t == kSum) {
      if (p + 1 >= n) return Fail(err, p, "SUM without its count");
      const int count = tokens[p + 1];
      if (count < 1) return Fail(err, p + 1, "SUM of " + std::to_string(count) + " operands");
      if (depth < count) {
        return Fail(err, p, "SUM of " + std::to_string(count) + " operands finds " + std::to_string(depth));
      }
      depth -= count - 1;
      ++p;
    } else if (const int arity = Arity(t); arity > 0) {
      if (depth < arity) {
        return Fail(err, p, std::string(TokenName(t)) + " takes " + std::to_string(arity) + " operand" +
                                (arity > 1 ? "s" : "") + ", finds " + std::to_string(depth));
      }
      depth -= arity - 1;
    } else {
      if (t == kHeader) return Fail(err, p, "a header token inside the program");
      return Fail(err, p, "token " + std::to_string(t) + " has no meaning");
    }
  }
  if (usedConst != nConst) {
    return Fail(err, n - 1, std::to_string(nConst) + " constants given, " + std::to_string(usedConst) + " used");
  }
  if (n > 1 && depth != 1) {
    return Fail(err, n - 1, "the program leaves " + std::to_string(depth) + " values, not one");
  }
  return true;
}

}  // namespace tarq_solver::nl
