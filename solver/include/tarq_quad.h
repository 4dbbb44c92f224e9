/*
 * tarq_quad.h - quadratic objective and quadratic rows of the tarq solver library.
 * Included by tarq.h; include tarq.h, not this header.
 *
 * Quadratic terms. A quadratic term is a triplet (i, j, q) standing for q * x_i * x_j: no factor
 * 1/2, and (i, j) and (j, i) are the same product. Terms are stored as given, in order; repeated
 * products are kept as separate terms (their coefficients add up) and exact zeros are dropped.
 * Column indices must address existing columns; coefficients must be finite and below 1e30 in
 * magnitude. Any other argument returns 3 and changes nothing.
 *
 * Quadratic objective. The objective is c'x + c0 + sum of its quadratic terms. "QElems" counts the
 * stored terms, "HasQObj" is 1 while there is at least one.
 *
 * Quadratic rows. Quadratic row k is  a_k'x + sum of its quadratic terms  <sense>  rhs  with sense
 * 'L' (<=), 'G' (>=) or 'E' (=) and a finite rhs. The linear part is a sparse vector (each column
 * at most once); the quadratic part a list of terms as above. Quadratic rows are numbered 0, 1, ...
 * in the order they were added, apart from the linear rows; "QConstrs" counts them. Unnamed
 * quadratic rows report "Q<position>" and are found by that name.
 *
 * Deleting columns renumbers the columns in every quadratic term. A term (linear or quadratic) on a
 * deleted column is deleted with it: the objective and the rows lose exactly the terms that
 * involve the column, the rest stays. A quadratic row whose terms all go remains as a row over
 * what is left.
 *
 * Solving. A problem with a quadratic objective or quadratic rows is solved by TARQ_Solve:
 *   - continuous, quadratic objective, linear rows (QP): by the interior-point engine, with duals;
 *   - continuous with quadratic rows (QCP): likewise, with exact first and second derivatives;
 *   - with binary or integer columns (MIQP, MIQCP): by nonlinear branch and bound.
 * Convexity is checked first: a minimised objective must be convex (its symmetric matrix positive
 * semidefinite, up to a relative tolerance of 1e-8 after scaling the diagonal to 1), a maximised
 * one concave; 'L' rows convex, 'G' rows concave, 'E' rows linear once their terms are summed.
 * A continuous problem that fails the check returns TARQ_RETCODE_NONCONVEX (8) and logs a line
 * naming the objective or the row, unless "NonConvex" is 1, which solves it for a local optimum.
 * A mixed-integer problem that fails the check is solved anyway, and the log says that the result
 * is a local one. TARQ_SolveLp solves the continuous relaxation of such problems the same way.
 * Attributes: "LpStatus", "LpObjval", "BarrierIter" (iterations of the interior-point engine)
 * for continuous solves; "MipStatus", "BestObj", "BestBnd", "BestGap", "NodeCnt" for mixed-integer
 * ones; "SolvingTime" for both. Duals of linear rows ("Dual"), reduced costs ("RedCost") and duals
 * of quadratic rows follow the conventions of tarq.h for the Lagrangian gradient: the reduced cost
 * of column j is dF/dx_j - sum over rows of y_i * d(row_i)/dx_j at the solution. Basis statuses
 * are not produced. "TimeLimit", "NLPTol", "NLPIterLimit", "FeasTol", "RelGap", "AbsGap",
 * "NodeLimit", "LogLevel" and TARQ_Interrupt apply. A mixed-integer search that an interrupt or
 * the time limit cut short (in a node's relaxation or between nodes) reports as an interrupted MIP
 * does in tarq.h: status TARQ_STATUS_INTERRUPTED (or TARQ_STATUS_TIMEOUT), a solution only when it
 * meets the bounds, rows and integrality, and the bound recorded before the first stop, if any.
 */
#ifndef TARQ_QUAD_H
#define TARQ_QUAD_H

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------------------------
 * Quadratic objective
 * ------------------------------------------------------------------------------------------- */

/* Replaces the quadratic terms of the objective by num terms vals[k] * x_rows[k] * x_cols[k]
 * (num 0 removes them all). The linear part is not changed. */
TARQ_API int TARQ_SetQuadObj(tarq_prob* prob, int num, const int* rows, const int* cols, const double* vals);
/* Reads the quadratic terms of the objective. *pNum receives their number ("QElems"); with rows,
 * cols and vals all NULL nothing else is written. Otherwise each non-NULL array receives the terms
 * in stored order and must hold size >= *pNum entries, or 3 is returned. */
TARQ_API int TARQ_GetQuadObj(tarq_prob* prob, int size, int* pNum, int* rows, int* cols, double* vals);
/* Removes every quadratic term of the objective. */
TARQ_API int TARQ_DelQuadObj(tarq_prob* prob);

/* ---------------------------------------------------------------------------------------------
 * Quadratic rows
 * ------------------------------------------------------------------------------------------- */

/* Adds one quadratic row: linear entries linIdx/linVal (linNnz of them) and quadNnz terms
 * quadVal[k] * x_quadRow[k] * x_quadCol[k]; sense 'L', 'G' or 'E'; right-hand side rhs. */
TARQ_API int TARQ_AddQConstr(tarq_prob* prob, int linNnz, const int* linIdx, const double* linVal, int quadNnz,
                             const int* quadRow, const int* quadCol, const double* quadVal, char sense, double rhs,
                             const char* name);
/* Adds num quadratic rows at once. Row k has linear entries [linBeg[k], linBeg[k] + linCnt[k]) of
 * linIdx/linVal and quadratic terms [quadBeg[k], quadBeg[k] + quadCnt[k]) of quadRow/quadCol/
 * quadVal. With a count array NULL, the begin array holds num + 1 offsets; with a begin array
 * NULL the rows have no entries of that kind. names may be NULL. All rows are added or none. */
TARQ_API int TARQ_AddQConstrs(tarq_prob* prob, int num, const int* linBeg, const int* linCnt, const int* linIdx,
                              const double* linVal, const int* quadBeg, const int* quadCnt, const int* quadRow,
                              const int* quadCol, const double* quadVal, const char* senses, const double* rhs,
                              const char* const* names);
/* Deletes the listed quadratic rows; the others keep their order and are renumbered. */
TARQ_API int TARQ_DelQConstrs(tarq_prob* prob, int num, const int* list);
/* Reads quadratic row qrow with the two-call protocol: *pLinNnz and *pQuadNnz (either may be NULL)
 * receive the entry counts; with all arrays NULL nothing else is written. Otherwise the non-NULL
 * arrays receive the linear entries (linSize >= *pLinNnz) and the quadratic terms
 * (quadSize >= *pQuadNnz) in stored order, or 3 is returned when they are too small. */
TARQ_API int TARQ_GetQConstr(tarq_prob* prob, int qrow, int linSize, int quadSize, int* pLinNnz, int* linIdx,
                             double* linVal, int* pQuadNnz, int* quadRow, int* quadCol, double* quadVal);
/* Right-hand sides and senses of the listed quadratic rows (list NULL: the first num). */
TARQ_API int TARQ_GetQConstrRhs(tarq_prob* prob, int num, const int* list, double* rhs);
TARQ_API int TARQ_SetQConstrRhs(tarq_prob* prob, int num, const int* list, const double* rhs);
TARQ_API int TARQ_GetQConstrSense(tarq_prob* prob, int num, const int* list, char* senses);
TARQ_API int TARQ_SetQConstrSense(tarq_prob* prob, int num, const int* list, const char* senses);
/* Information of quadratic rows by name (without regard to letter case): "LB" and "UB" (the
 * bounds the sense and right-hand side give, 1e30 for none) and, after a solve with a solution,
 * "Slack" (the row's activity, linear and quadratic part at the solution) and "Dual" (after a
 * continuous solve). Other names, or a solution value with no solution, return 3. */
TARQ_API int TARQ_GetQConstrInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values);
/* Names, as for rows in tarq.h. */
TARQ_API int TARQ_SetQConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_GetQConstrName(tarq_prob* prob, int qrow, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetQConstrIdx(tarq_prob* prob, const char* name, int* qrow);

#ifdef __cplusplus
}
#endif

#endif /* TARQ_QUAD_H */
