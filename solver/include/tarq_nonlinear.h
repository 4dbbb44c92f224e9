/*
 * tarq_nonlinear.h - nonlinear rows, the nonlinear objective and the nonlinear primal start of the
 * tarq solver library. Included by tarq.h; include tarq.h, not this header.
 *
 * Token programs. A nonlinear function is a postfix program: an array of int tokens that starts
 * with the header TARQ_NL_HEADER (-99), and an array of double constants. Tokens, read left to
 * right over a stack of values:
 *   j >= 0                     pushes the value of column j
 *   TARQ_NL_CONST (-60)        pushes the next constant (the constants are used in order)
 *   TARQ_NL_SUM (-50), n       the token after it holds a count n >= 1: pops n values, pushes the sum
 *   one operand (pops a, pushes f(a)):
 *     -15 sqrt  -16 exp  -17 log (natural)  -18 log10  -19 negation  -20 abs  -21 floor  -22 ceil
 *     -31 sin  -32 cos  -33 tan  -34 sinh  -35 cosh  -36 tanh
 *     -41 asin  -42 acos  -43 atan  -44 asinh  -45 acosh  -46 atanh
 *   two operands (pops b, then a, pushes f(a, b)):
 *     -10 a + b  -11 a - b  -12 a * b  -13 a / b  -14 a to the power b  -47 atan2(a, b)
 * A program leaves exactly one value, its result. The header alone (or a token count of 0) is the
 * empty program: no nonlinear part. A program is checked once, when it is stored: the header
 * first and nowhere else, no other token value, column tokens addressing existing columns,
 * operators finding their operands, exactly one value left, as many finite constants as constant
 * tokens. A program that fails returns 3, changes nothing, and the log names the row (or the
 * objective), the position of the offending token (the header is position 0) and the fault.
 *
 * Derivatives. Solves differentiate the programs exactly (automatic differentiation: values,
 * gradients and Hessians of the Lagrangian). Functions that are not differentiable everywhere use
 * one-sided derivatives: abs has derivative sign(a) and 0 at a = 0; floor and ceil have derivative
 * 0 everywhere; sqrt at 0, and a^b where a is 0, use the right-hand limit where it is finite and
 * count as an evaluation error where it is not. A value outside a function's domain (log of a
 * negative number, division by zero, asin of 2) is an evaluation error: the solver steps back
 * from the point and never accepts a NaN or an infinity as a result.
 *
 * Nonlinear rows. Nonlinear row k is  a_k'x + f_k(x)  between two bounds, where a_k is a sparse
 * linear part (each column at most once) and f_k a token program. The sense and bounds follow the
 * conventions of TARQ_AddRow: 'L', 'G', 'E' with the right-hand side in bound, 'N' free,
 * 'R' [bound - upper, bound], and 0 for [bound, upper]. Nonlinear rows are numbered 0, 1, ... in
 * the order they were added, apart from the linear and quadratic rows; "NLConstrs" counts them
 * and "NLElems" counts the tokens of their programs and of the nonlinear objective, headers
 * included. Unnamed nonlinear rows report "N<position>" and are found by that name.
 *
 * Nonlinear objective. The objective is c'x + c0 + its quadratic terms (tarq_quad.h) + f(x) with
 * f a token program; "HasNLObj" is 1 while f is not empty.
 *
 * Deleting columns substitutes the value 0 for them: in every program a token of a deleted
 * column becomes a constant 0 (a constant token is inserted in the constant list in its place),
 * the other column tokens are renumbered, and linear entries of the column go.
 *
 * Nonlinear primal start. Values from which a continuous nonlinear solve starts, per column;
 * "HasNLPrimalStart" is 1 while any is set. A column without one starts from the value of its
 * MIP start when it has one, else from the point of its bounds nearest to 0. TARQ_Reset with
 * clearall 1 removes the start.
 *
 * Solving. A problem with nonlinear rows or a nonlinear objective is solved by TARQ_Solve with
 * the interior-point engine when it is continuous, by nonlinear branch and bound when it has
 * integer columns; its linear and quadratic parts join the same solve. The Hessian of the
 * Lagrangian is exact; with the integer parameter "NLPHessApprox" at 1 the engine uses its
 * limited-memory approximation instead (fewer derivatives, more iterations). The start is the
 * nonlinear primal start where given, as above. No convexity check is made: a continuous solve
 * finds a local optimum, which is the global one only for convex problems, and the log says so;
 * "LpStatus" is TARQ_STATUS_OPTIMAL for a point that passes the engine's optimality test.
 * "TimeLimit", "NLPTol", "NLPIterLimit", "FeasTol", "RelGap", "AbsGap", "NodeLimit", "LogLevel"
 * and TARQ_Interrupt apply. Nonlinear rows report "Slack" (their
 * activity a'x + f(x)) and, after a continuous solve, "Dual" by TARQ_GetNLConstrInfo.
 */
#ifndef TARQ_NONLINEAR_H
#define TARQ_NONLINEAR_H

#ifdef __cplusplus
extern "C" {
#endif

#define TARQ_NL_HEADER (-99)
#define TARQ_NL_CONST (-60)
#define TARQ_NL_SUM (-50)

/* ---------------------------------------------------------------------------------------------
 * Nonlinear rows
 * ------------------------------------------------------------------------------------------- */

/* Adds one nonlinear row: the program of nToken tokens and nConst constants, the linear entries
 * linIdx/linVal (linNnz of them), the sense and its bounds as above, and a name (may be NULL). */
TARQ_API int TARQ_AddNLConstr(tarq_prob* prob, int nToken, int nConst, const int* tokens, const double* consts,
                              int linNnz, const int* linIdx, const double* linVal, char sense, double bound,
                              double upper, const char* name);
/* Adds num nonlinear rows at once. Row k has the tokens [tokBeg[k], tokBeg[k] + tokCnt[k]), the
 * constants [constBeg[k], constBeg[k] + constCnt[k]) and the linear entries
 * [linBeg[k], linBeg[k] + linCnt[k]). With a count array NULL, its begin array holds num + 1
 * offsets; a NULL linBeg gives rows without linear entries. senses NULL: two-bound rows
 * [bound, upper]. names may be NULL. All rows are added or none. */
TARQ_API int TARQ_AddNLConstrs(tarq_prob* prob, int num, const int* tokBeg, const int* tokCnt, const int* tokens,
                               const int* constBeg, const int* constCnt, const double* consts, const int* linBeg,
                               const int* linCnt, const int* linIdx, const double* linVal, const char* senses,
                               const double* bound, const double* upper, const char* const* names);
/* Deletes the listed nonlinear rows; the others keep their order and are renumbered. */
TARQ_API int TARQ_DelNLConstrs(tarq_prob* prob, int num, const int* list);
/* Reads nonlinear row row with the two-call protocol: *pNumToken, *pNumConst and *pLinNnz (each
 * may be NULL) receive the sizes; with every array NULL nothing else is written. Otherwise the
 * non-NULL arrays receive the program (header included), the constants and the linear entries,
 * and must hold tokSize, constSize and linSize entries at least, or 3 is returned. */
TARQ_API int TARQ_GetNLConstr(tarq_prob* prob, int row, int tokSize, int constSize, int linSize, int* pNumToken,
                              int* tokens, int* pNumConst, double* consts, int* pLinNnz, int* linIdx,
                              double* linVal);
/* Bounds of the listed nonlinear rows (list NULL: the first num); +-1e30 for none. */
TARQ_API int TARQ_SetNLConstrLower(tarq_prob* prob, int num, const int* list, const double* values);
TARQ_API int TARQ_SetNLConstrUpper(tarq_prob* prob, int num, const int* list, const double* values);
/* Information of nonlinear rows by name (without regard to letter case): "LB", "UB" and, after a
 * solve with a solution, "Slack" (the row's activity) and "Dual" (continuous solves). */
TARQ_API int TARQ_GetNLConstrInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values);
/* Names, as for rows in tarq.h. */
TARQ_API int TARQ_SetNLConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_GetNLConstrName(tarq_prob* prob, int row, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetNLConstrIdx(tarq_prob* prob, const char* name, int* row);

/* ---------------------------------------------------------------------------------------------
 * Nonlinear objective and primal start
 * ------------------------------------------------------------------------------------------- */

/* Replaces the nonlinear part of the objective by a program (nToken 0, or the header alone,
 * removes it). The linear part, its constant and the quadratic terms are not changed. */
TARQ_API int TARQ_SetNLObj(tarq_prob* prob, int nToken, int nConst, const int* tokens, const double* consts);
/* Reads the nonlinear part of the objective with the two-call protocol, as TARQ_GetNLConstr; a
 * problem without one reports the header alone. */
TARQ_API int TARQ_GetNLObj(tarq_prob* prob, int tokSize, int constSize, int* pNumToken, int* tokens, int* pNumConst,
                           double* consts);
/* Removes the nonlinear part of the objective. */
TARQ_API int TARQ_DelNLObj(tarq_prob* prob);
/* Sets start values of the listed columns (list NULL: the first num) for the next nonlinear
 * solve; values must be finite. Earlier values of other columns stay. */
TARQ_API int TARQ_SetNLPrimalStart(tarq_prob* prob, int num, const int* list, const double* values);

/* ---------------------------------------------------------------------------------------------
 * Files
 * ------------------------------------------------------------------------------------------- */

/* Writes the problem as an .nl file in its text form, the format that nonlinear solvers read:
 * linear, quadratic and nonlinear rows (in that order), the objective with its quadratic and
 * nonlinear parts, integer columns and the primal start. Columns are written in their own order
 * (the format's ordering of nonlinear columns first is not required by readers of the text form
 * when the header counts are zero, which they are). When any column or row has a name, the names
 * go to the files <stem>.col and <stem>.row beside it (stem: the path without ".nl"). */
TARQ_API int TARQ_WriteNL(tarq_prob* prob, const char* path);

#ifdef __cplusplus
}
#endif

#endif /* TARQ_NONLINEAR_H */
