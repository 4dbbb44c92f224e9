// The postfix token programs of nonlinear rows and objectives: what each token means, and the
// check every program passes once, when it is stored.
//
// A program is a flat list of 32-bit tokens headed by kHeader, with a parallel list of constants.
// A token of 0 or more pushes the value of that column; kConst pushes the next constant; kSum is
// followed by a count token n and replaces the top n values by their sum; the other tokens are
// functions of one or two operands (a two-operand token pops b, then a, and pushes f(a, b)). A
// program whose header stands alone is empty: it has no value (an empty nonlinear part).
#pragma once

#include <cstdint>
#include <string>

namespace tarq_solver::nl {

enum Token : int {
  kHeader = -99,
  kConst = -60,
  kSum = -50,
  kAtan2 = -47,
  kAtanh = -46,
  kAcosh = -45,
  kAsinh = -44,
  kAtan = -43,
  kAcos = -42,
  kAsin = -41,
  kTanh = -36,
  kCosh = -35,
  kSinh = -34,
  kTan = -33,
  kCos = -32,
  kSin = -31,
  kCeil = -22,
  kFloor = -21,
  kAbs = -20,
  kNeg = -19,
  kLog10 = -18,
  kLog = -17,
  kExp = -16,
  kSqrt = -15,
  kPow = -14,
  kDiv = -13,
  kMul = -12,
  kSub = -11,
  kAdd = -10,
};

// Operands a function token takes: 1 or 2; 0 for a token that is not a function (variables,
// kHeader, kConst, kSum and meaningless values).
int Arity(int token);
// The token's name in messages ("SQRT", "/", ...); "?" for meaningless values.
const char* TokenName(int token);

// Why a program was refused: the position of the offending token (0 for the header) and a
// sentence that says what was wrong.
struct ProgramError {
  std::int64_t position = 0;
  std::string what;
};

// Checks a program of n tokens (n 0 stands for an empty program) with nConst constants over nCol
// columns: the header first and nowhere else, known tokens only, column tokens below nCol, sum
// counts of at least 1, every operator finding its operands, exactly one value left (none for
// an empty program), one finite constant per kConst token. Returns false and fills err on the
// first fault.
bool CheckProgram(const int* tokens, std::int64_t n, const double* consts, std::int64_t nConst, int nCol,
                  ProgramError* err);

// True when the program (header included) computes something: more than the header.
inline bool ProgramHasValue(std::int64_t n) { return n > 1; }

}  // namespace tarq_solver::nl
