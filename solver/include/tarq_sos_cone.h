/*
 * tarq_sos_cone.h - special ordered sets, indicator rows, second-order cones and exponential cones
 * of the tarq solver library. Included by tarq.h; include tarq.h, not this header.
 *
 * Every kind is numbered 0, 1, ... in the order of adding, apart from every other kind; deleting
 * objects of a kind renumbers the rest of that kind in order. Deleting columns removes every
 * reference to them: an SOS, cone or indicator row loses the deleted members (an SOS or cone left
 * with no member, an exponential cone with a deleted member, and an indicator whose indicator
 * column is deleted are deleted with it) and the remaining column indices are renumbered.
 * Every function checks all of its arguments before it changes anything and returns 3 (nothing
 * changed) for an invalid one. A NULL list stands for the first num objects of the kind.
 *
 * Getters of variable-length data follow the two-call protocol of TARQ_GetRows: *pReqSize (may be
 * NULL) receives the number of members of the listed objects together; with the member arrays
 * (idx, weights, val) NULL no member is written and size is not looked at, otherwise size must be
 * at least that number (else 3). beg receives each object's start offset in the member arrays and
 * cnt its member count; the fixed-size arrays (types, ...) receive one entry per listed object and
 * may be NULL. A call with every output NULL returns 3.
 *
 * Deleting columns may leave a cone with fewer members than adding it needs; it stays as it is.
 */
#ifndef TARQ_SOS_CONE_H
#define TARQ_SOS_CONE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Cone types. */
#define TARQ_CONE_QUAD 1   /* x_0 >= sqrt(x_1^2 + ... + x_{n-1}^2), n >= 2 */
#define TARQ_CONE_RQUAD 2  /* 2 x_0 x_1 >= x_2^2 + ... + x_{n-1}^2, x_0, x_1 >= 0, n >= 3 */
#define TARQ_EXPCONE_PRIMAL 3 /* x_0 >= x_1 exp(x_2 / x_1), x_1 > 0 (closure: x_0 >= 0, x_1 = 0, x_2 <= 0) */
#define TARQ_EXPCONE_DUAL 4   /* x_0 >= -x_2 exp(x_1 / x_2 - 1), x_2 < 0 (closure: x_0 >= 0, x_1 >= 0, x_2 = 0) */

/* SOS types. */
#define TARQ_SOS_TYPE1 1 /* at most one member non-zero */
#define TARQ_SOS_TYPE2 2 /* at most two members non-zero, and they are adjacent in weight order */

/* ---------------------------------------------------------------------------------------------
 * Special ordered sets
 * ------------------------------------------------------------------------------------------- */

/* Adds num SOS constraints. SOS k has type types[k] (1 or 2) and the members
 * idx[beg[k] .. beg[k] + cnt[k]) with weights weights[...] (NULL: weights 1, 2, 3, ... in member
 * order). A set needs at least one member, no column twice, and distinct finite weights. With cnt
 * NULL, beg holds num + 1 offsets. All sets are added or none. "Soss" counts them. */
TARQ_API int TARQ_AddSOSs(tarq_prob* prob, int num, const int* types, const int* beg, const int* cnt,
                          const int* idx, const double* weights);
TARQ_API int TARQ_DelSOSs(tarq_prob* prob, int num, const int* list);
/* The listed sets: types, member offsets and counts, members and weights (two-call protocol). */
TARQ_API int TARQ_GetSOSs(tarq_prob* prob, int num, const int* list, int* types, int* beg, int* cnt, int* idx,
                          double* weights, int size, int* pReqSize);

/* ---------------------------------------------------------------------------------------------
 * Indicator rows
 * ------------------------------------------------------------------------------------------- */

/* Adds num indicator rows. Row k says: when binary column binCols[k] takes the value binVals[k]
 * (0 or 1), the linear row  sum val[p] * x_idx[p], p in [beg[k], beg[k] + cnt[k]),  senses[k]
 * bounds[k]  must hold; sense 'L', 'G' or 'E', finite bound. types[k] is kept as given (NULL:
 * 0). The indicator column must have type 'B' (or be an integer column with bounds in [0, 1]).
 * With cnt NULL, beg holds num + 1 offsets. names may be NULL; unnamed rows report "G<position>".
 * Exact zeros among val are not kept. All rows are added or none. "Indicators" counts them, and
 * any indicator row (or SOS) makes "IsMIP" 1. Changing the indicator column's type or bounds
 * later keeps the row as it is. */
TARQ_API int TARQ_AddIndicators(tarq_prob* prob, int num, const int* types, const int* binCols, const int* binVals,
                                const int* beg, const int* cnt, const int* idx, const double* val,
                                const char* senses, const double* bounds, const char* const* names);
TARQ_API int TARQ_DelIndicators(tarq_prob* prob, int num, const int* list);
/* The listed indicator rows (two-call protocol; idx and val are the member arrays). */
TARQ_API int TARQ_GetIndicators(tarq_prob* prob, int num, const int* list, int* types, int* binCols, int* binVals,
                                char* senses, double* bounds, int* beg, int* cnt, int* idx, double* val, int size,
                                int* pReqSize);
TARQ_API int TARQ_SetIndicatorNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_GetIndicatorName(tarq_prob* prob, int ind, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetIndicatorIdx(tarq_prob* prob, const char* name, int* ind);

/* ---------------------------------------------------------------------------------------------
 * Cones
 * ------------------------------------------------------------------------------------------- */

/* Adds num second-order cones: cone k has type types[k] (TARQ_CONE_QUAD or TARQ_CONE_RQUAD) over
 * the columns idx[beg[k] .. beg[k] + cnt[k]), in order, at least 2 (rotated: 3) of them, none
 * twice within a cone. With cnt NULL, beg holds num + 1 offsets. "Cones" counts them. */
TARQ_API int TARQ_AddCones(tarq_prob* prob, int num, const int* types, const int* beg, const int* cnt,
                           const int* idx);
TARQ_API int TARQ_DelCones(tarq_prob* prob, int num, const int* list);
TARQ_API int TARQ_GetCones(tarq_prob* prob, int num, const int* list, int* types, int* beg, int* cnt, int* idx,
                           int size, int* pReqSize);

/* Adds num exponential cones: cone k has type types[k] (TARQ_EXPCONE_PRIMAL or TARQ_EXPCONE_DUAL)
 * over the three distinct columns idx[3k], idx[3k + 1], idx[3k + 2]. "ExpCones" counts them. */
TARQ_API int TARQ_AddExpCones(tarq_prob* prob, int num, const int* types, const int* idx);
TARQ_API int TARQ_DelExpCones(tarq_prob* prob, int num, const int* list);
/* The listed exponential cones (two-call protocol: *pReqSize is 3 per cone). */
TARQ_API int TARQ_GetExpCones(tarq_prob* prob, int num, const int* list, int* types, int* idx, int size,
                              int* pReqSize);

/* Replaces the whole problem by a conic one in standard form:
 *   minimise (objSense 1) or maximise (-1)  obj'x + objConst
 *   subject to  rowLower <= A x <= rowUpper  (A given by columns: colBeg, colCnt, colIdx, colVal;
 *   colCnt NULL: colBeg holds nCol + 1 offsets), and the columns grouped in order:
 *   nFree free columns, nPositive nonnegative ones, then nCone quadratic cones and nRotateCone
 *   rotated ones whose dimensions are coneDim[0 .. nCone + nRotateCone), then nPrimalExp primal
 *   and nDualExp dual exponential cones of 3 columns each; the groups must cover every column.
 * rowLower / rowUpper NULL give 0 (equality rows A x = 0). colTypes may be NULL (continuous).
 * Replaces columns, rows, objective and every SOS, indicator or cone constraint, as TARQ_LoadProb does. */
TARQ_API int TARQ_LoadConeProb(tarq_prob* prob, int nCol, int nRow, int nFree, int nPositive, int nCone,
                               int nRotateCone, int nPrimalExp, int nDualExp, const int* coneDim, int objSense,
                               double objConst, const double* obj, const int* colBeg, const int* colCnt,
                               const int* colIdx, const double* colVal, const double* rowLower,
                               const double* rowUpper, const char* colTypes);

#ifdef __cplusplus
}
#endif

#endif /* TARQ_SOS_CONE_H */
