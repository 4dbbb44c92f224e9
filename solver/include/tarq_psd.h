/*
 * tarq_psd.h - semidefinite parts of a problem: symmetric matrices, PSD columns, PSD rows and
 * LMI rows. Part of the C interface of libtarq: include tarq.h, which includes this header.
 *
 * Symmetric matrices. A problem keeps a list of constant symmetric matrices, numbered 0, 1, ...
 * in the order they were added and never deleted. PSD rows, LMI rows and the PSD objective refer
 * to them by number. A matrix is given by its dimension (at least 1) and triplets (row, column,
 * value) with 0 <= row, column < dimension. A triplet (i, j, v) sets both A[i][j] and A[j][i]
 * to v, so either triangle may be given; a position given twice is refused (3) unless it is
 * given once in each triangle with equal values. Values must be finite and below 1e30 in
 * magnitude; zeros are not stored. A matrix is stored and read back as its lower triangle
 * (row >= column), ordered by column and then by row.
 *
 * Inner products are the full trace: <A, X> = sum over all i, j of A[i][j] X[i][j], so an
 * off-diagonal element counts twice.
 *
 * PSD columns. A PSD column is a symmetric positive-semidefinite matrix variable X of a given
 * dimension (at least 1). The objective may hold one term <C, X> per PSD column (the PSD
 * objective), with C a stored matrix of the column's dimension.
 *
 * PSD rows. A PSD row is a row over scalar columns and PSD columns:
 *     lower <= sum_j a_j x_j + sum_k <A_k, X_k> <= upper
 * with at most one term per scalar column and per PSD column, each A_k a stored matrix of X_k's
 * dimension. Senses and bounds are those of linear rows (see TARQ_AddRow).
 *
 * LMI rows. An LMI row of dimension n states that  D + sum_j x_j F_j  is positive semidefinite,
 * with D (the constant, or none) and every F_j stored matrices of dimension n, at most one term
 * per scalar column.
 *
 * Deleting scalar columns drops their terms from PSD and LMI rows and renumbers the others;
 * deleting PSD columns drops their terms from PSD rows and the PSD objective. Unnamed PSD
 * columns, PSD rows and LMI rows report the generated names "X<position>", "P<position>" and
 * "L<position>". Name functions behave like TARQ_GetColName and its twins.
 *
 * Packed matrices. Solution values of PSD columns and LMI rows are given packed: the lower
 * triangle column by column, (0,0), (1,0), ..., (n-1,0), (1,1), (2,1), ..., n(n+1)/2 values per
 * matrix, the matrices one after another in their order. The information functions give full
 * n x n matrices, row by row.
 *
 * Attributes: "PSDCols", "PSDConstrs", "LMIConstrs", "SymMats", "PSDElems" (PSD terms of PSD rows
 * and of the PSD objective), "HasPSDObj", "PSDLens" and "LMILens" (the sums of the dimensions of
 * the PSD columns and of the LMI rows).
 *
 * Solving. TARQ_Solve solves a problem with PSD columns or LMI rows (and neither integer columns
 * nor other nonlinear parts) with the interior-point engine DSDP (see tarq.h for the parameters
 * and the status codes). A problem with integer columns and semidefinite parts returns 3 and
 * logs that mixed-integer semidefinite problems are not supported; TARQ_SolveLp then solves the
 * continuous relaxation. After a solve: "LpStatus", "LpObjval", "BarrierIter", "SolvingTime" and
 * "HasLpSol"; the scalar solution, row activities, duals and reduced costs (TARQ_GetLpSolution);
 * the PSD and LMI solutions below. Duals follow the convention of linear rows: the reduced cost
 * of column j is d_j = c_j - sum_i a_ij y_i - sum_r <F_rj, Z_r> over rows i (linear and PSD) and
 * LMI rows r with duals Z_r; the dual of a PSD column is S = C - sum_i y_i A_i (its objective
 * matrix minus its row terms). At a minimum Z_r and S are positive semidefinite, at a maximum
 * negative semidefinite. Parameters read: "TimeLimit", "BarIterLimit", "BarGapTol" (relative
 * duality gap, default 1e-8), "LogLevel"; TARQ_Interrupt stops the solve between iterations.
 */
#ifndef TARQ_PSD_H
#define TARQ_PSD_H

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Symmetric matrices ---------------------------------------------------------------- */

/* Stores a symmetric matrix of dimension dim from nElem triplets (arrays may be NULL when nElem
 * is 0: the zero matrix). Its number is the count of matrices before the call. */
TARQ_API int TARQ_AddSymMat(tarq_prob* prob, int dim, int nElem, const int* rows, const int* cols,
                            const double* vals);
/* Reads matrix idx with the two-call protocol: *dim (may be NULL) and *pReqSize (the number of
 * stored elements) are written; rows, cols and vals (each may be NULL) receive the lower
 * triangle when size >= *pReqSize, else 3 is returned. */
TARQ_API int TARQ_GetSymMat(tarq_prob* prob, int idx, int* dim, int* rows, int* cols, double* vals, int size,
                            int* pReqSize);

/* ---- PSD columns ----------------------------------------------------------------------- */

TARQ_API int TARQ_AddPSDCol(tarq_prob* prob, int dim, const char* name);
/* Adds num PSD columns of dimensions dims[]; names may be NULL. */
TARQ_API int TARQ_AddPSDCols(tarq_prob* prob, int num, const int* dims, const char* const* names);
/* Deletes the listed PSD columns; the others keep their order and are renumbered. */
TARQ_API int TARQ_DelPSDCols(tarq_prob* prob, int num, const int* list);
/* Dimensions of the listed PSD columns (list NULL: the first num). */
TARQ_API int TARQ_GetPSDCols(tarq_prob* prob, int num, const int* list, int* dims);
TARQ_API int TARQ_SetPSDColNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_GetPSDColName(tarq_prob* prob, int idx, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetPSDColIdx(tarq_prob* prob, const char* name, int* idx);
/* Information of PSD column idx as a full dim x dim matrix, row by row, into values: "Value"
 * (the solution) and "Dual" (the dual matrix S); 3 without a solution. */
TARQ_API int TARQ_GetPSDColInfo(tarq_prob* prob, const char* name, int idx, double* values);

/* The PSD objective: sets every PSD column's objective matrix to none, then column psdCols[k]
 * to matrix symMats[k] (-1 for none). */
TARQ_API int TARQ_ReplacePSDObj(tarq_prob* prob, int num, const int* psdCols, const int* symMats);
/* One matrix number per PSD column ("PSDCols" of them), -1 where the column has none. */
TARQ_API int TARQ_GetPSDObj(tarq_prob* prob, int* symMats);
/* Removes every term of the PSD objective. */
TARQ_API int TARQ_DelPSDObj(tarq_prob* prob);

/* ---- PSD rows -------------------------------------------------------------------------- */

/* Adds one PSD row: nLin scalar terms vals[k] x_{cols[k]}, nPsd terms <symMats[k], X_{psdCols[k]}>,
 * the sense and bounds as TARQ_AddRow. */
TARQ_API int TARQ_AddPSDConstr(tarq_prob* prob, int nLin, const int* cols, const double* vals, int nPsd,
                               const int* psdCols, const int* symMats, char sense, double bound, double upper,
                               const char* name);
TARQ_API int TARQ_DelPSDConstrs(tarq_prob* prob, int num, const int* list);
/* Reads PSD row idx with the two-call protocol: *pLinReq and *pPsdReq receive the numbers of
 * scalar and PSD terms; cols/vals (each may be NULL) receive the scalar terms when linSize is
 * large enough, psdCols/symMats the PSD terms when psdSize is. Either out-pointer may be NULL. */
TARQ_API int TARQ_GetPSDConstr(tarq_prob* prob, int idx, int* cols, double* vals, int linSize, int* pLinReq,
                               int* psdCols, int* symMats, int psdSize, int* pPsdReq);
TARQ_API int TARQ_SetPSDConstrLower(tarq_prob* prob, int num, const int* list, const double* lb);
TARQ_API int TARQ_SetPSDConstrUpper(tarq_prob* prob, int num, const int* list, const double* ub);
/* "LB", "UB", and after a solve "Slack" (the row's activity) and "Dual". */
TARQ_API int TARQ_GetPSDConstrInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values);
TARQ_API int TARQ_SetPSDConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_GetPSDConstrName(tarq_prob* prob, int idx, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetPSDConstrIdx(tarq_prob* prob, const char* name, int* idx);
/* The matrix of PSD column psdCol in PSD row row, -1 when the row has no such term. */
TARQ_API int TARQ_GetPSDElem(tarq_prob* prob, int row, int psdCol, int* symMat);
/* Sets that matrix; -1 removes the term. */
TARQ_API int TARQ_SetPSDElem(tarq_prob* prob, int row, int psdCol, int symMat);

/* ---- LMI rows -------------------------------------------------------------------------- */

/* Adds one LMI row of dimension dim: nTerms terms x_{cols[k]} F with F matrix symMats[k], and the
 * constant matrix constMat (-1 for none). */
TARQ_API int TARQ_AddLMIConstr(tarq_prob* prob, int dim, int nTerms, const int* cols, const int* symMats,
                               int constMat, const char* name);
TARQ_API int TARQ_DelLMIConstrs(tarq_prob* prob, int num, const int* list);
/* Reads LMI row idx with the two-call protocol: *dim, *constMat (each may be NULL) and *pReqSize
 * (the number of terms); cols and symMats (each may be NULL) when size >= *pReqSize. */
TARQ_API int TARQ_GetLMIConstr(tarq_prob* prob, int idx, int* dim, int* cols, int* symMats, int size, int* pReqSize,
                               int* constMat);
/* Sets the constant matrix of the listed LMI rows (-1 for none). */
TARQ_API int TARQ_SetLMIConstrRhs(tarq_prob* prob, int num, const int* list, const int* symMats);
TARQ_API int TARQ_GetLMIConstrRhs(tarq_prob* prob, int idx, int* symMat);
/* Information of LMI row idx as a full dim x dim matrix, row by row: "Slack" (D + sum x_j F_j at
 * the solution) and "Dual"; 3 without a solution. */
TARQ_API int TARQ_GetLMIConstrInfo(tarq_prob* prob, const char* name, int idx, double* values);
TARQ_API int TARQ_SetLMIConstrNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_GetLMIConstrName(tarq_prob* prob, int idx, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetLMIConstrIdx(tarq_prob* prob, const char* name, int* idx);
/* The matrix of scalar column col in LMI row row, -1 when the row has no such term. */
TARQ_API int TARQ_GetLMIElem(tarq_prob* prob, int row, int col, int* symMat);
/* Sets that matrix; -1 removes the term. */
TARQ_API int TARQ_SetLMIElem(tarq_prob* prob, int row, int col, int symMat);

/* ---- Solutions ------------------------------------------------------------------------- */

/* Values and dual matrices of every PSD column, packed (sum of n(n+1)/2 entries each); either
 * array may be NULL. 3 without a solution. */
TARQ_API int TARQ_GetPSDSolution(tarq_prob* prob, double* values, double* duals);
/* Slack and dual matrices of every LMI row, packed; either may be NULL. */
TARQ_API int TARQ_GetLMISolution(tarq_prob* prob, double* slacks, double* duals);

/* ---- Files ----------------------------------------------------------------------------- */

/* SDPA sparse format (".dat-s"): comment lines starting with '"' or '*', then the number of
 * constraints m, the number of blocks, the block sizes (negative: a diagonal block), the m
 * objective coefficients, then lines "matrix block row column value" (matrix 0 is F_0). It
 * states: minimise c'x such that sum_i x_i F_i - F_0 is positive semidefinite. TARQ_ReadSDPA
 * replaces the problem by m free scalar columns, one LMI row per block of positive size (constant
 * -F_0, terms F_i) and one row x'f >= f_0 per diagonal entry of a block of negative size.
 * TARQ_WriteSDPA writes a problem of that shape: continuous columns, rows and LMI rows only, no
 * PSD columns, with every scalar column free or its bounds written as diagonal entries; a
 * maximisation is written as the minimisation of -c. Equality rows are written as two
 * diagonal entries. Returns 3 for a problem that does not fit. */
TARQ_API int TARQ_WriteSDPA(tarq_prob* prob, const char* filename);

#ifdef __cplusplus
}
#endif

#endif /* TARQ_PSD_H */
