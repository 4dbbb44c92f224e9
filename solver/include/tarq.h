/*
 * tarq.h - C interface of the tarq solver library (libtarq).
 *
 * Conventions shared by every function:
 *  - Every function returns an int: TARQ_RETCODE_OK (0) on success, otherwise one of the
 *    TARQ_RETCODE_* codes below. A failed call changes nothing.
 *  - Handles are opaque. Constructors take the address of the handle to fill; destructors take
 *    the address of the handle and set it to NULL.
 *  - The problem handle comes first, then counts, then arrays, then out-pointers.
 *  - Getters of variable-length data follow the two-call protocol: call once with NULL buffers
 *    and an out-pointer for the required size, then again with buffers of that size.
 *  - Bounds at or beyond TARQ_INFINITY (1e30) in magnitude are infinite.
 *  - One problem is used by one thread at a time.
 *  - While a problem is being solved (TARQ_Solve, TARQ_SolveLp, TARQ_ComputeIIS, TARQ_FeasRelax,
 *    TARQ_Tune), every call that would change it or solve it, also one made from its own log
 *    callback, returns TARQ_RETCODE_THREAD (6), changes nothing and logs a line saying a solve is
 *    running. Reading calls (getters, attributes, names, parameter getters, writers of files,
 *    TARQ_CreateCopy) and TARQ_Interrupt stay allowed. Parameter setters, log settings,
 *    TARQ_Reset and TARQ_DeleteProb count as changes.
 */
#ifndef TARQ_H
#define TARQ_H

#if defined(_WIN32)
#define TARQ_API
#elif defined(__GNUC__)
#define TARQ_API __attribute__((visibility("default")))
#else
#define TARQ_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define TARQ_VERSION_MAJOR 8
#define TARQ_VERSION_MINOR 0
#define TARQ_VERSION_TECHNICAL 1

/* Return codes. */
#define TARQ_RETCODE_OK 0
#define TARQ_RETCODE_MEMORY 1    /* an allocation failed */
#define TARQ_RETCODE_FILE 2      /* a file could not be opened, read or written */
#define TARQ_RETCODE_INVALID 3   /* an argument is invalid; nothing was changed */
#define TARQ_RETCODE_INTERNAL 5  /* an unexpected internal failure */
#define TARQ_RETCODE_THREAD 6    /* refused while the problem is solving (see above), or a threading failure */
#define TARQ_RETCODE_SERVER 7    /* a remote service failed (not used by this library) */
#define TARQ_RETCODE_NONCONVEX 8 /* the problem is nonconvex where convexity is required */

#define TARQ_INFINITY 1e30

/* Objective senses. */
#define TARQ_MINIMIZE 1
#define TARQ_MAXIMIZE -1

/* Column types. */
#define TARQ_CONTINUOUS 'C'
#define TARQ_BINARY 'B'
#define TARQ_INTEGER 'I'

/* Row senses. Sense 0 marks a row given by two bounds. */
#define TARQ_LESS_EQUAL 'L'
#define TARQ_GREATER_EQUAL 'G'
#define TARQ_EQUAL 'E'
#define TARQ_RANGE 'R'
#define TARQ_FREE 'N'

typedef struct tarq_env tarq_env;
typedef struct tarq_envconfig tarq_envconfig;
typedef struct tarq_prob tarq_prob;

/* Receives one log line (without its trailing newline) and the context given at registration. */
typedef void (*TARQ_LogCallback)(const char* msg, void* userdata);

/* ---------------------------------------------------------------------------------------------
 * Texts
 * ------------------------------------------------------------------------------------------- */

/* Writes the library's banner (name, version and engine versions) into buf, cut to len - 1
 * characters and always terminated. Returns 3 when buf is NULL or len < 1. */
TARQ_API int TARQ_GetBanner(char* buf, int len);

/* Writes the text describing a return code into buf, cut to len - 1 characters. Every int has
 * a text; codes the library never returns are described as unknown. */
TARQ_API int TARQ_GetRetcodeMsg(int code, char* buf, int len);

/* ---------------------------------------------------------------------------------------------
 * Environment configuration
 *
 * A configuration is a set of name/value settings applied when an environment is created from
 * it. Names are matched without regard to letter case. Known names and their values:
 *   "Banner"        "1" (default) or "0". With "0" no banner is shown for environments made
 *                   from this configuration; the configuration's leading 32-bit word is then 1.
 *   "LogToConsole"  "1" (default) or "0": whether problems of the environment copy their log
 *                   lines to standard output.
 *   "LogFile"       a file name, or "" for none (default): every problem of the environment
 *                   appends its log lines to this file. Relative names are taken relative to
 *                   "HomeDir" when one is set.
 *   "HomeDir"       an existing directory, or "" for none (default): the environment's home
 *                   directory, against which relative log-file names are resolved.
 * Any other name, or a value of the wrong form, returns 3 and changes nothing.
 * ------------------------------------------------------------------------------------------- */

TARQ_API int TARQ_CreateEnvConfig(tarq_envconfig** config);
TARQ_API int TARQ_SetEnvConfig(tarq_envconfig* config, const char* name, const char* value);
TARQ_API int TARQ_DeleteEnvConfig(tarq_envconfig** config);

/* ---------------------------------------------------------------------------------------------
 * Environment
 *
 * An environment holds the defaults its problems start from. Problems keep what they need of
 * their environment, so deleting an environment never invalidates its problems.
 * ------------------------------------------------------------------------------------------- */

/* Creates an environment. path is NULL or "" for none, otherwise an existing directory that
 * becomes the environment's home directory (see "HomeDir"); a path that is not a directory
 * returns 2. */
TARQ_API int TARQ_CreateEnvWithPath(const char* path, tarq_env** env);

/* Creates an environment with the settings of config (which may then be deleted). Returns 2
 * when the home directory does not exist or the log file cannot be opened. */
TARQ_API int TARQ_CreateEnvWithConfig(tarq_envconfig* config, tarq_env** env);

/* Closes an environment: no further problem can be created in it; problems already made keep
 * working. The handle stays valid and must still be deleted. Closing twice is allowed. */
TARQ_API int TARQ_CloseEnv(tarq_env** env);

/* Deletes an environment and sets *env to NULL. */
TARQ_API int TARQ_DeleteEnv(tarq_env** env);

/* ---------------------------------------------------------------------------------------------
 * Problem
 * ------------------------------------------------------------------------------------------- */

/* Creates an empty problem in env. Returns 3 when env is closed. */
TARQ_API int TARQ_CreateProb(tarq_env* env, tarq_prob** prob);

/* Creates a deep copy of src: its data, parameters and log destinations. */
TARQ_API int TARQ_CreateCopy(tarq_prob* src, tarq_prob** dst);

/* Deletes a problem and sets *prob to NULL; returns 6 (and keeps it) while it is solving. */
TARQ_API int TARQ_DeleteProb(tarq_prob** prob);

/* Removes every object from the problem; parameters and log destinations stay. */
TARQ_API int TARQ_ClearProb(tarq_prob* prob);

/* Registers a function that receives every log line of the problem; NULL unregisters. The
 * function is never re-entered: a line logged while it runs on the same thread (by a call it
 * makes into this library, such as a refused change) reaches it once it has returned; lines
 * logged while those are delivered go to the log file and the console only. During a solve it
 * may run on a search thread of branch and cut. */
TARQ_API int TARQ_SetLogCallback(tarq_prob* prob, TARQ_LogCallback cb, void* userdata);

/* Appends the problem's log lines to the named file; NULL or "" stops logging to a file.
 * Returns 2 when the file cannot be opened (the previous log file is then kept). */
TARQ_API int TARQ_SetLogFile(tarq_prob* prob, const char* filename);

/* ---------------------------------------------------------------------------------------------
 * Columns and rows
 *
 * A problem holds columns (objective coefficient, lower and upper bound, type 'C', 'B' or 'I',
 * branch factor, name) and rows (lower and upper bound, name), with a sparse matrix between
 * them. Bounds at or beyond 1e30 in magnitude are infinite; a lower bound of +inf, an upper
 * bound of -inf, NaN anywhere, and matrix or objective coefficients of magnitude 1e30 or more
 * are rejected. Exact zeros are not stored in the matrix. Within one row or column an index
 * may appear only once.
 *
 * Sparse vectors are given as beg, cnt, idx, val: vector k has the entries idx[beg[k] ..
 * beg[k] + cnt[k] - 1] with values val[...]. With cnt NULL, beg holds num + 1 offsets and
 * vector k ends at beg[k + 1]. With beg NULL the vectors are empty.
 *
 * Position lists (list) may be NULL: the first num objects, in order, are meant.
 *
 * Row senses and their two numbers (bound, upper):
 *   'L': row <= bound      'G': row >= bound      'E': row = bound      'N': free row
 *   'R': bound - upper <= row <= bound (upper is the range)
 *   0:   bound <= row <= upper
 * ------------------------------------------------------------------------------------------- */

/* Adds one column with nnz entries in the rows rows[] (both arrays may be NULL when nnz is 0). */
TARQ_API int TARQ_AddCol(tarq_prob* prob, double obj, int nnz, const int* rows, const double* vals, char type,
                         double lb, double ub, const char* name);
/* Adds num columns. NULL obj, types, lb, ub or names give 0, 'C', 0, +infinity and no names. */
TARQ_API int TARQ_AddCols(tarq_prob* prob, int num, const double* obj, const int* beg, const int* cnt,
                          const int* idx, const double* val, const char* types, const double* lb,
                          const double* ub, const char* const* names);
/* Adds one row with nnz entries in the columns cols[]. */
TARQ_API int TARQ_AddRow(tarq_prob* prob, int nnz, const int* cols, const double* vals, char sense, double bound,
                         double upper, const char* name);
/* Adds num rows. senses NULL: two-bound rows [bound, upper] (NULL bound or upper give -inf and
 * +inf). With senses, NULL bound or upper give 0. */
TARQ_API int TARQ_AddRows(tarq_prob* prob, int num, const int* beg, const int* cnt, const int* idx,
                          const double* val, const char* senses, const double* bound, const double* upper,
                          const char* const* names);

/* Replaces the whole problem by nCol columns (matrix given by columns) and nRow rows. */
TARQ_API int TARQ_LoadProb(tarq_prob* prob, int nCol, int nRow, int objSense, double objConst,
                           const double* obj, const int* colBeg, const int* colCnt, const int* colIdx,
                           const double* colVal, const char* types, const double* colLower,
                           const double* colUpper, const char* rowSenses, const double* rowBound,
                           const double* rowUpper, const char* const* colNames, const char* const* rowNames);

/* Deletes the listed columns (rows); the others keep their order and are renumbered. A
 * position listed twice is deleted once. */
TARQ_API int TARQ_DelCols(tarq_prob* prob, int num, const int* list);
TARQ_API int TARQ_DelRows(tarq_prob* prob, int num, const int* list);

/* Reads the listed columns (rows) with the two-call protocol: with beg, cnt, idx and val all
 * NULL, only *pReqSize (the total number of entries) is written. Otherwise beg and cnt (each
 * may be NULL) receive num offsets and counts, and idx and val (each may be NULL) the entries;
 * they must hold size >= *pReqSize entries or 3 is returned. Reading along the other
 * orientation than the last bulk addition converts the stored matrix once (O(nonzeros)). */
TARQ_API int TARQ_GetCols(tarq_prob* prob, int num, const int* list, int* beg, int* cnt, int* idx, double* val,
                          int size, int* pReqSize);
TARQ_API int TARQ_GetRows(tarq_prob* prob, int num, const int* list, int* beg, int* cnt, int* idx, double* val,
                          int size, int* pReqSize);

/* One coefficient; setting 0 removes the entry. SetElems applies its triplets in order. */
TARQ_API int TARQ_GetElem(tarq_prob* prob, int row, int col, double* val);
TARQ_API int TARQ_SetElem(tarq_prob* prob, int row, int col, double val);
TARQ_API int TARQ_SetElems(tarq_prob* prob, int num, const int* rows, const int* cols, const double* vals);

TARQ_API int TARQ_SetColLower(tarq_prob* prob, int num, const int* list, const double* lb);
TARQ_API int TARQ_SetColUpper(tarq_prob* prob, int num, const int* list, const double* ub);
TARQ_API int TARQ_SetColObj(tarq_prob* prob, int num, const int* list, const double* obj);
/* Branch factors steer branching: columns with larger factors are branched on first. */
TARQ_API int TARQ_SetColBranchFactors(tarq_prob* prob, int num, const int* list, const double* factors);
TARQ_API int TARQ_SetColType(tarq_prob* prob, int num, const int* list, const char* types);
TARQ_API int TARQ_GetColType(tarq_prob* prob, int num, const int* list, char* types);
TARQ_API int TARQ_SetRowLower(tarq_prob* prob, int num, const int* list, const double* lb);
TARQ_API int TARQ_SetRowUpper(tarq_prob* prob, int num, const int* list, const double* ub);

/* Information by name, matched without regard to letter case. Columns: "LB", "UB", "Obj",
 * "BranchFactor"; rows: "LB", "UB". The solution names ("Value", "RedCost" of columns, "Slack",
 * "Dual" of rows) return 3 while the problem has no solution.
 *
 * Certificates ("ReqFarkasRay" 1, LP solves: TARQ_Solve of an LP or TARQ_SolveLp):
 *   "DualFarkas" (rows), after an LP solve that ends infeasible: a vector y, one entry per row,
 *     proving infeasibility. y_i > 0 takes row i's lower bound L_i, y_i < 0 its upper bound U_i
 *     (the signs of the duals at a minimum), so every x meeting the rows has
 *     (y'A) x >= beta = sum(y_i > 0) y_i L_i + sum(y_i < 0) y_i U_i, while the largest value of
 *     (y'A) x within the column bounds stays below beta. y is scaled to largest magnitude 1.
 *   "PrimalRay" (columns), after an LP solve that ends unbounded: a direction r, one entry per
 *     column, scaled to largest magnitude 1, along which every row and bound keeps holding
 *     (r_j >= 0 where the column has a lower bound, <= 0 where it has an upper bound, and
 *     (A r)_i >= 0 / <= 0 / = 0 as row i has a lower / upper / both bounds) and the objective
 *     improves in its sense (c'r < 0 at a minimum, > 0 at a maximum).
 *   Both are checked before they are reported, to the tolerances of the solve: the
 *   contradiction of y must exceed "FeasTol" times (sum |y_i| + sum |(y'A)_j|), entries of y'A
 *   below "DualTol" count as 0; r may leave a row by "FeasTol" times the row's size along r and
 *   must improve the objective by more than "DualTol" times the largest cost. The engine's own
 *   certificate is taken when it passes; otherwise one is found by an auxiliary LP of the same
 *   size (the least total violation of the rows, or the best direction within the recession
 *   cone boxed to [-1, 1]). Certificates refer to the problem as stored, whatever presolve did.
 *   One that fails its check is not reported and the log says why. "HasDualFarkas" and
 *   "HasPrimalRay" are 1 while one is kept.
 * Ranges ("ReqSensitivity" 1, after an LP solve that ends optimal with a basis): each value is
 *   an end of the interval over which one number of the problem can move, all others fixed,
 *   while the optimal basis stays optimal (primal feasible with the same nonbasic statuses and
 *   dual feasible); an open end reads -1e30 or 1e30. "HasSensitivity" is 1 while they are kept.
 *   "SAObjLow" / "SAObjUp" (columns): the objective coefficient. For a nonbasic column one end
 *     is the coefficient minus its reduced cost, the other open; a nonbasic column with equal
 *     bounds is optimal for every coefficient.
 *   "SALBLow" / "SALBUp", "SAUBLow" / "SAUBUp" (columns): the lower and upper bound. The bound a
 *     nonbasic column sits at moves until a basic variable reaches one of its bounds, and not
 *     past the column's other bound (a column with equal bounds sits at the one its reduced cost
 *     presses it against); any other bound, and both bounds of a basic column, may move from the
 *     column's value outwards without limit.
 *   "SARHSLow" / "SARHSUp" (rows): the right-hand side, which is the bound the row's activity
 *     sits at (both bounds of an equality row, moved together) and otherwise the upper bound
 *     when it is finite, else the lower bound. A bound the activity sits at moves until a basic
 *     variable reaches one of its bounds, and not past the row's other bound; a bound it does
 *     not sit at may move from the activity outwards without limit.
 *   Ranging costs one tableau row or column per object: O(objects x nonzeros) at worst.
 * Every one of these returns 3 when there is none: no solve yet, a MIP solve (the log says so),
 * another outcome, the parameter off, or a change of the problem since; and for a column name
 * asked of rows or the reverse. */
TARQ_API int TARQ_GetColInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values);
TARQ_API int TARQ_GetRowInfo(tarq_prob* prob, const char* name, int num, const int* list, double* values);

/* Names. An unnamed column (row) reports "C<position>" ("R<position>"), and is found by that
 * name. GetColName writes the name with its terminator into buf when it fits in len bytes;
 * *pReqSize (may be NULL) receives the size needed. A buf too short returns 3 (with *pReqSize
 * set); buf NULL with pReqSize non-NULL only reports the size. GetColIdx returns 3 and writes -1
 * when no column has the name. A NULL or "" entry in names removes the name. */
TARQ_API int TARQ_SetColNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_SetRowNames(tarq_prob* prob, int num, const int* list, const char* const* names);
TARQ_API int TARQ_GetColName(tarq_prob* prob, int col, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetRowName(tarq_prob* prob, int row, char* buf, int len, int* pReqSize);
TARQ_API int TARQ_GetColIdx(tarq_prob* prob, const char* name, int* col);
TARQ_API int TARQ_GetRowIdx(tarq_prob* prob, const char* name, int* row);

/* ---------------------------------------------------------------------------------------------
 * Objective
 * ------------------------------------------------------------------------------------------- */

/* Sets all objective coefficients to 0, then the listed ones. */
TARQ_API int TARQ_ReplaceColObj(tarq_prob* prob, int num, const int* list, const double* obj);
/* TARQ_MINIMIZE (1) or TARQ_MAXIMIZE (-1). */
TARQ_API int TARQ_SetObjSense(tarq_prob* prob, int sense);
TARQ_API int TARQ_SetObjConst(tarq_prob* prob, double constant);

/* ---------------------------------------------------------------------------------------------
 * Solving
 *
 * TARQ_Solve solves the problem with the engine its columns call for: a problem whose columns
 * are all continuous ('C') is an LP and is solved by the simplex (or barrier) engine; a problem
 * with a binary or integer column is a MIP and is solved by branch and cut. TARQ_SolveLp solves
 * the LP relaxation of any problem (integer columns treated as continuous). When the problem has
 * multi-objectives (see below) both solve them instead of the single objective.
 *
 * A solve that ran returns 0 whatever its outcome; the outcome is the attribute "LpStatus" (LP
 * solves) or "MipStatus" (MIP solves), one of the TARQ_STATUS_* codes below. A non-zero code
 * means the solve could not run: 3 for a problem the engines cannot take (coefficients or sizes
 * beyond the engines' limits), 1 when memory ran out, 5 for an engine failure.
 *
 * A problem without columns and rows solves to optimal at once: the objective value is the
 * objective constant, and every result array is empty.
 *
 * Parameters read by the solves: "TimeLimit", "RelGap", "AbsGap", "FeasTol", "DualTol",
 * "IntTol", "NodeLimit", "Threads" (branch and cut; -1 and 1 mean one thread), "Presolve" (0
 * off, 2 more passes), "LpMethod" (-1 and 0 dual simplex, 1 primal simplex, 2 barrier followed
 * by crossover when "Crossover" is 1), "BarIterLimit" (at least one iteration runs; the
 * barrier keeps the engine's own tolerances, "FeasTol" and "DualTol" apply to the crossover.
 * Without crossover the barrier's optimum is reported only when its last point meets every row
 * and bound, and closes the duality gap, to 1e-4 relative, with no value beyond 1e15; otherwise
 * the status is TARQ_STATUS_UNFINISHED with a log line saying why), "Scaling" and "DualPrice"
 * (LPs), "CutLevel" (0 off, 1
 * root only, 3 forced everywhere), "RootCutRounds", "NodeCutRounds", "HeurLevel" (0 off),
 * "StrongBranching", "MipStartMode" (0 ignores MIP starts, 1 takes only starts that give every
 * integer column; the first stored start is used), "InfBound", "Logging", "LogToConsole" and
 * "LogLevel" (0 quiet, 1 the engines' summaries and the search's progress, 2 adds the LP
 * engine's lines within branch and cut and the simplex's iteration detail, 3 the LP engine's
 * details in LP solves; branch and cut shows no more at 3 than at 2); the multi-objective, IIS,
 * relaxation and tuning parameters are told with those functions. Engine messages go line by
 * line to the problem's log destinations and nowhere else.
 *
 * MIP solves of different problems run one at a time within a process (the branch-and-cut
 * driver keeps process-wide state); LP solves run concurrently. A MIP solve started from a log
 * callback while branch and cut runs for another problem returns 6 instead of waiting (it could
 * be waiting for its own caller).
 *
 * Attributes a solve sets: "LpStatus" or "MipStatus", "LpObjval" (LP solves), "BestObj",
 *  "BestBnd", "BestGap" (MIP solves), "SimplexIter", "BarrierIter" (the iterations the
 * barrier solve reports), "NodeCnt", "SolvingTime", "PoolSols", "HasLpSol",
 * "HasMipSol", "HasBasis", "LpMethodUsed", "IsRelaxSolved" (1 after TARQ_SolveLp on a MIP) and
 * "PrimalInfMax" (largest bound or row violation of the solution), and with "ReqFarkasRay" and
 * "ReqSensitivity" "HasDualFarkas", "HasPrimalRay" and "HasSensitivity" (see the information
 * above). Objective values include the objective
 * constant. An LP solve that stops before optimality leaves no solution (its basis is kept); a
 * MIP solve that stops early keeps the best solution found.
 *
 * Results and changes. Any successful change of the problem's data (columns, rows, matrix,
 * bounds, types, objective, branch factors, MIP starts, multi-objectives) forgets the solution,
 * the pool, the IIS and the relaxation solution: the getters then return 3 and the Has*
 * attributes read 0, while the status, objective and count attributes keep describing the last
 * solve. The basis survives changes of values and additions (added columns join at a bound,
 * added rows join basic), so the next LP solve starts from it; deleting columns or rows, loading
 * or reading a problem, and TARQ_ClearProb forget it. Parameter changes and renaming forget
 * nothing. TARQ_Reset forgets everything a solve left, including the basis and tuning results.
 *
 * Interrupting. TARQ_Interrupt may be called from any thread while a solve, IIS computation,
 * feasibility relaxation or tuning run of the problem runs on another; the engines poll the flag
 * (the simplex at every iteration, the barrier between its iterations, branch and cut at every
 * event and in its LP solves) and stop promptly with status TARQ_STATUS_INTERRUPTED, keeping the
 * best solution found. The flag is cleared when the next such operation starts, so an interrupt
 * with no solve running (or one that comes before the solve has begun) has no effect.
 * What an interrupted MIP solve reports, whatever phase it stopped in (preprocessing, root LP,
 * cuts, heuristics, tree): "MipStatus" TARQ_STATUS_INTERRUPTED (or the outcome of a search that
 * finished before the interrupt took effect); a solution exactly when "HasMipSol" is 1, checked
 * against the bounds, rows and integrality; and a "BestBnd" that is a valid bound: the search's
 * own bound from its last progress report before it was stopped, or -1e30 (minimisation) / 1e30
 * (maximisation) when it stopped before reporting one. An interrupted multi-objective MIP reports
 * no bound for its lead objective (-1e30 / 1e30).
 * ------------------------------------------------------------------------------------------- */

/* Outcome of a solve, the values of "LpStatus" and "MipStatus". */
#define TARQ_STATUS_UNSTARTED 0   /* no solve has run yet */
#define TARQ_STATUS_OPTIMAL 1     /* optimal (MIP: within "RelGap" / "AbsGap") */
#define TARQ_STATUS_INFEASIBLE 2  /* proven infeasible */
#define TARQ_STATUS_UNBOUNDED 3   /* proven unbounded (LP: a primal ray exists) */
#define TARQ_STATUS_INF_OR_UNB 4  /* infeasible or unbounded, not told apart (MIP with an
                                      unbounded relaxation and no integer solution) */
#define TARQ_STATUS_NUMERICAL 5   /* stopped by numerical trouble */
#define TARQ_STATUS_NODELIMIT 6   /* stopped at "NodeLimit" */
#define TARQ_STATUS_TIMEOUT 7     /* stopped at "TimeLimit" */
#define TARQ_STATUS_INTERRUPTED 8 /* stopped by TARQ_Interrupt */
#define TARQ_STATUS_UNFINISHED 9  /* stopped for another reason (an iteration limit, ...) */
#define TARQ_STATUS_LOCALLY_OPTIMAL 10 /* a local optimum of a problem with nonlinear functions, which
                                          is the global one only if the problem is convex */

TARQ_API int TARQ_Solve(tarq_prob* prob);
TARQ_API int TARQ_SolveLp(tarq_prob* prob);
/* Asks the running solve of prob to stop. Safe from any thread; returns 3 only for NULL. */
TARQ_API int TARQ_Interrupt(tarq_prob* prob);

/* ---------------------------------------------------------------------------------------------
 * Results
 *
 * Every getter returns 3 and writes nothing when the problem has no result of its kind (no solve
 * yet, a solve that found none, or a change since). Arrays without a count hold one entry per
 * column ("values", "redcost", colBasis) or per row ("slack", "duals", rowBasis).
 *
 * Conventions: "slack" is the row activity, the sum of a_ij x_j over the row; duals y and reduced
 * costs d satisfy d = c - A'y for the objective c as given, for both senses, so at a minimum
 * rows at their lower bound have y >= 0 and at a maximum y <= 0.
 * ------------------------------------------------------------------------------------------- */

/* Primal values of the last solve: the best MIP solution after a MIP solve, the LP solution
 * after an LP solve, the relaxed solution after TARQ_FeasRelax. */
TARQ_API int TARQ_GetSolution(tarq_prob* prob, double* values);
/* The LP solution: primal values, row activities, duals and reduced costs; each may be NULL (all
 * four NULL returns 0). After a MIP solve only values and slack exist (duals or redcost then
 * return 3). */
TARQ_API int TARQ_GetLpSolution(tarq_prob* prob, double* values, double* slack, double* duals, double* redcost);
/* Installs an LP solution as if a solve had found it (status and attributes stay as they are,
 * "HasLpSol" becomes 1). values is required; NULL slack is computed from values, NULL duals are
 * taken as 0 and NULL redcost is computed as c - A'y. Non-finite entries return 3. */
TARQ_API int TARQ_SetLpSolution(tarq_prob* prob, const double* values, const double* slack, const double* duals,
                                const double* redcost);

/* Basis statuses. A row's status is that of its activity between the row's bounds. */
#define TARQ_BASIS_LOWER 0      /* nonbasic at the lower bound */
#define TARQ_BASIS_BASIC 1      /* basic */
#define TARQ_BASIS_UPPER 2      /* nonbasic at the upper bound */
#define TARQ_BASIS_SUPERBASIC 3 /* nonbasic between its bounds (free columns at 0) */
#define TARQ_BASIS_FIXED 4      /* nonbasic with equal bounds */

/* The basis of the last LP solve, or the one given by TARQ_SetBasis; either array may be NULL. */
TARQ_API int TARQ_GetBasis(tarq_prob* prob, int* colBasis, int* rowBasis);
/* Gives the basis the next LP solve starts from (presolve is then skipped). Both arrays are
 * required; statuses outside TARQ_BASIS_LOWER .. TARQ_BASIS_FIXED return 3. The number of basic
 * entries need not equal the number of rows: the engine repairs such a basis. */
TARQ_API int TARQ_SetBasis(tarq_prob* prob, const int* colBasis, const int* rowBasis);
/* Sets the basis of all rows basic and all columns at a finite bound (the lower one when both
 * are finite, superbasic when free). */
TARQ_API int TARQ_SetSlackBasis(tarq_prob* prob);
/* Statuses of the listed columns (rows) of that basis. */
TARQ_API int TARQ_GetColBasis(tarq_prob* prob, int num, const int* list, int* basis);
TARQ_API int TARQ_GetRowBasis(tarq_prob* prob, int num, const int* list, int* basis);

/* The solution pool: after a MIP solve, the best solution first, then other distinct solutions
 * branch and cut found (incumbents it improved on, and solutions offered to the search), best
 * first, at most 10 in all; with its preprocessing on they are mapped back to the problem's
 * columns (completed by an LP over the continuous columns when needed) and kept only when they
 * meet every row, bound and integrality to 1e-5;
 * after an LP solve, the LP solution alone. index is 0-based and below
 * "PoolSols". GetPoolSolution reads the listed columns (list NULL: the first num). */
TARQ_API int TARQ_GetPoolObjVal(tarq_prob* prob, int index, double* value);
TARQ_API int TARQ_GetPoolSolution(tarq_prob* prob, int index, int num, const int* list, double* values);

/* ---------------------------------------------------------------------------------------------
 * Multi-objectives
 *
 * Besides its objective, a problem may hold objectives addressed by index 0, 1, 2, ...: each has
 * coefficients, a sense, a constant, four objective parameters and its own solver parameters.
 * Setting anything of index k creates objective k (new objectives are empty, minimise, priority
 * 0, weight 1, tolerances 0); "MultiObjs" counts the objectives that exist. Deleting objective k
 * removes it without renumbering the others.
 *
 * While at least one objective exists, TARQ_Solve and TARQ_SolveLp solve lexicographically:
 * objectives are grouped by "MultiObjPriority" (an integer; higher first); the objectives of one
 * priority are blended into one by their "MultiObjWeight" (each objective counted in its own
 * sense); each level is solved to optimality, and for the later levels its objective is kept
 * within max("MultiObjAbsTol", "MultiObjRelTol" * |optimum|) of its optimum by a constraint
 * (the largest tolerances among the level's objectives apply). The problem's own objective is
 * ignored. A level that does not solve to optimality ends the solve; the status attributes then
 * describe that level. Each objective's solver parameters are used for its level when
 * "MultiObjParamMode" is 1 (for a blended level, those of its lowest index); otherwise the
 * problem's. After the solve "LpObjval" / "BestObj" hold the value of the first objective of
 * the highest priority, each objective's "LpObjval" / "BestObj" / "SolvingTime" / "LpStatus" /
 * "MipStatus" its own, readable with TARQ_MultiObjGetDblAttr / GetIntAttr, as are "ObjConst" and
 * "ObjSense".
 * ------------------------------------------------------------------------------------------- */

/* Replaces the coefficients of objective index by the listed ones (others 0). */
TARQ_API int TARQ_MultiObjSetColObj(tarq_prob* prob, int index, int num, const int* list, const double* values);
/* Reads the coefficients of the listed columns of objective index (list NULL: the first num). */
TARQ_API int TARQ_MultiObjGetColObj(tarq_prob* prob, int index, int num, const int* list, double* values);
/* Deletes objective index; 3 when it does not exist. */
TARQ_API int TARQ_MultiObjDelColObj(tarq_prob* prob, int index);
TARQ_API int TARQ_MultiObjSetObjSense(tarq_prob* prob, int index, int sense);
TARQ_API int TARQ_MultiObjSetObjConst(tarq_prob* prob, int index, double constant);
/* The objective parameters "MultiObjPriority" (a whole number), "MultiObjWeight", "MultiObjAbsTol"
 * and "MultiObjRelTol" (tolerances >= 0), by name without regard to letter case. */
TARQ_API int TARQ_MultiObjSetObjParam(tarq_prob* prob, int index, const char* name, double value);
TARQ_API int TARQ_MultiObjGetObjParam(tarq_prob* prob, int index, const char* name, double* value);
/* The four objective parameters of objective index back to their defaults. */
TARQ_API int TARQ_MultiObjResetObjParam(tarq_prob* prob, int index);
/* The solver parameters of objective index: a copy of the problem's parameters taken when the
 * objective is created, changed with these functions, used when "MultiObjParamMode" is 1. */
TARQ_API int TARQ_MultiObjSetIntParam(tarq_prob* prob, int index, const char* name, int value);
TARQ_API int TARQ_MultiObjSetDblParam(tarq_prob* prob, int index, const char* name, double value);
TARQ_API int TARQ_MultiObjGetIntParam(tarq_prob* prob, int index, const char* name, int* value);
TARQ_API int TARQ_MultiObjGetDblParam(tarq_prob* prob, int index, const char* name, double* value);
/* The solver parameters of objective index back to the problem's current values. */
TARQ_API int TARQ_MultiObjResetParam(tarq_prob* prob, int index);
/* Attributes of objective index (see above); other names return 3. */
TARQ_API int TARQ_MultiObjGetIntAttr(tarq_prob* prob, int index, const char* name, int* value);
TARQ_API int TARQ_MultiObjGetDblAttr(tarq_prob* prob, int index, const char* name, double* value);
/* Value of objective objIndex (with its constant) at pool solution solIndex. */
TARQ_API int TARQ_MultiObjGetPoolObjVal(tarq_prob* prob, int objIndex, int solIndex, double* value);

/* ---------------------------------------------------------------------------------------------
 * IIS, feasibility relaxation, tuning
 * ------------------------------------------------------------------------------------------- */

/* Computes an irreducible infeasible subsystem of an infeasible problem: a set of column bounds
 * and row bounds that is infeasible while dropping any one of them makes it feasible. A deletion
 * filter: every bound and row is tried for removal in turn and kept only when the rest becomes
 * feasible without it; each trial is an LP (MIP for MIPs) solve with the problem's parameters.
 * Returns 3 when the problem is feasible (or its feasibility could not be decided) and leaves
 * "HasIIS" 0. Sets "IISCols", "IISRows", "HasIIS", "IsMinIIS" (1 when every trial was decided;
 * 0 when a time limit or interrupt cut the filter short, the set then being infeasible but maybe
 * not minimal) and "IISTime". Cost: one solve per bound and row of the problem. */
TARQ_API int TARQ_ComputeIIS(tarq_prob* prob);
/* IIS membership (1 member, 0 not) of the listed bounds after an IIS computation; 3 without one. */
TARQ_API int TARQ_GetColLowerIIS(tarq_prob* prob, int num, const int* list, int* status);
TARQ_API int TARQ_GetColUpperIIS(tarq_prob* prob, int num, const int* list, int* status);
TARQ_API int TARQ_GetRowLowerIIS(tarq_prob* prob, int num, const int* list, int* status);
TARQ_API int TARQ_GetRowUpperIIS(tarq_prob* prob, int num, const int* list, int* status);
/* IIS membership of the listed SOS constraints and indicator rows (see tarq_sos_cone.h). */
TARQ_API int TARQ_GetSOSIIS(tarq_prob* prob, int num, const int* list, int* status);
TARQ_API int TARQ_GetIndicatorIIS(tarq_prob* prob, int num, const int* list, int* status);

/* Finds the least penalised violation of bounds that makes the problem feasible: each relaxable
 * bound gets a violation variable with the given penalty, and by "FeasRelaxMode"
 *   0: the weighted sum of violations is minimised (an LP for an LP, a MIP for a MIP);
 *   1: the weighted sum of squared violations (penalty times violation squared) is minimised, a
 *      convex QP solved by the interior-point engine (an MIQP, by nonlinear branch and bound, for
 *      a MIP; see tarq_quad.h), which spreads the violation over the relaxable bounds instead of
 *      putting it on the cheapest; the solution is accurate to the engine's tolerances;
 *   2: the weighted number of violated bounds is minimised, a MIP: each violation v gets a binary
 *      b priced with the penalty and the row v <= M b, where M is the largest violation the
 *      bounds that stay hard allow (column bounds tightened by bound propagation over the hard
 *      rows; exact, since every relaxed point lies within them). A relaxable bound whose
 *      violation nothing hard limits cannot be counted so: it stays hard, and the log names it.
 * colLowPen / colUppPen hold one penalty per column, rowBndPen one per row for the
 * row's lower bound (and for both bounds when rowUppPen is NULL), rowUppPen one per row for the
 * upper bound. A NULL array, a negative penalty or one at or beyond "InfBound" makes the bounds
 * not relaxable. The problem is not changed. Afterwards "FeasRelaxObj" is the least weighted
 * violation (mode 2: weighted count), "HasFeasRelaxSol" is 1, "FeasRelaxTime" is set, and the
 * relaxed solution (values of the problem's columns that violate the bounds by at most the
 * reported amounts) is the problem's solution: TARQ_GetSolution, TARQ_GetLpSolution (values and
 * activities) and the "Value" / "Slack" information read it, and TARQ_WriteRelax writes the
 * relaxed problem (of mode 0). Status attributes describe the relaxed solve. There is no second,
 * minimal-change phase. */
TARQ_API int TARQ_FeasRelax(tarq_prob* prob, const double* colLowPen, const double* colUppPen, const double* rowBndPen,
                            const double* rowUppPen);

/* Tries a few engine settings (LP method and presolve for LPs; cut, heuristic and presolve
 * levels for MIPs), each a full solve within the remaining time, and ranks those that solved the
 * problem (optimal, or for MIPs by gap reached) by solve time, fastest first. "TuneTimeLimit"
 * bounds the whole run (0: ten times the first trial, at least one second); "TuneTargetTime" ends
 * it early once a setting is that fast. Sets "TuneResults" and "TuneTime". The problem's
 * parameters are not changed. */
TARQ_API int TARQ_Tune(tarq_prob* prob);
/* Sets the problem's parameters to tuning result index (0 the best): the problem's parameters
 * with that result's settings applied. */
TARQ_API int TARQ_LoadTuneParam(tarq_prob* prob, int index);

/* Forgets the results of earlier solves; with all = 1 also the information given for the next
 * solve (MIP starts and a basis given with TARQ_SetBasis). all must be 0 or 1. */
TARQ_API int TARQ_Reset(tarq_prob* prob, int all);

/* ---------------------------------------------------------------------------------------------
 * Parameters and attributes
 *
 * Parameters are the settings of a problem; attributes are read-only facts about the problem and
 * its last solve. Both are addressed by name, matched without regard to letter case. The table
 * tarq_params.def beside this header lists every name with its kind, its default and its range;
 * the comment above each entry says what it means. Kind codes: */
#define TARQ_KIND_DBLPARAM 0 /* double parameter */
#define TARQ_KIND_INTPARAM 1 /* int parameter */
#define TARQ_KIND_DBLATTR 2  /* double attribute */
#define TARQ_KIND_INTATTR 3  /* int attribute */
/*
 * A problem starts with every parameter at its default, except "LogToConsole", whose default is
 * the "LogToConsole" setting of the problem's environment. A copy of a problem has its own copy of
 * the parameters. "Logging" (0 silences every log destination of the problem) and "LogToConsole"
 * take effect as soon as they are set, reset or read from a file; the other parameters are read
 * by the engines when a solve starts.
 *
 * The get, set and limit functions return 3 and change nothing when prob, name or the out-pointer
 * is NULL, when the name is unknown, or when it names an entry of another kind (an int parameter
 * asked through a double function, an attribute through a parameter function). On failure the
 * out-value is left as it was.
 * ------------------------------------------------------------------------------------------- */

/* Writes the kind code (TARQ_KIND_*) of the named parameter or attribute to *pType. prob is not
 * used and may be NULL. An unknown, NULL or empty name returns 3 and writes -1; a NULL pType
 * returns 3. */
TARQ_API int TARQ_SearchParamAttr(tarq_prob* prob, const char* name, int* pType);

/* Current value of a parameter. */
TARQ_API int TARQ_GetIntParam(tarq_prob* prob, const char* name, int* value);
TARQ_API int TARQ_GetDblParam(tarq_prob* prob, const char* name, double* value);

/* Sets a parameter. A value outside the parameter's [min, max] range, or NaN, returns 3 and
 * leaves the parameter as it was. */
TARQ_API int TARQ_SetIntParam(tarq_prob* prob, const char* name, int value);
TARQ_API int TARQ_SetDblParam(tarq_prob* prob, const char* name, double value);

/* Default, smallest and largest accepted value of a parameter. The default is the value
 * TARQ_ResetParam restores in this problem. */
TARQ_API int TARQ_GetIntParamDef(tarq_prob* prob, const char* name, int* value);
TARQ_API int TARQ_GetIntParamMin(tarq_prob* prob, const char* name, int* value);
TARQ_API int TARQ_GetIntParamMax(tarq_prob* prob, const char* name, int* value);
TARQ_API int TARQ_GetDblParamDef(tarq_prob* prob, const char* name, double* value);
TARQ_API int TARQ_GetDblParamMin(tarq_prob* prob, const char* name, double* value);
TARQ_API int TARQ_GetDblParamMax(tarq_prob* prob, const char* name, double* value);

/* Sets every parameter of the problem back to its default. */
TARQ_API int TARQ_ResetParam(tarq_prob* prob);

/* Value of an attribute. Attributes that describe the problem ("Cols", "Rows", "Elems", "Bins",
 * "Ints", "IsMIP", "ObjSense", "ObjConst", "HasBranchFactor", the counts of other object kinds,
 * ...) are computed from the problem as it stands; the others describe the last solve and hold
 * their defaults (see tarq_params.def) until one has run. */
TARQ_API int TARQ_GetIntAttr(tarq_prob* prob, const char* name, int* value);
TARQ_API int TARQ_GetDblAttr(tarq_prob* prob, const char* name, double* value);

/* Parameter files (".par"): text, one "Name value" pair per line. Names are matched without
 * regard to letter case; blank lines are skipped and "#" starts a comment that runs to the end of
 * the line. Integer values are integer numerals (a numeral with a fraction or exponent is
 * accepted when its value is a whole number); double values are decimal numerals.
 * When a name occurs twice, its last line wins.
 *
 * TARQ_ReadParam reads such a file, gzip-compressed or not (checked as the file readers below
 * check it), into the problem's parameters. It is
 * all-or-nothing: a malformed line, an unknown name, an attribute name or an invalid value
 * returns 3, a file that cannot be opened or read returns 2, and either way every parameter
 * keeps its value and one log line names the file, the line and what was wrong.
 *
 * TARQ_WriteParam writes a comment line and then, in table order, every parameter whose value
 * differs from its default, doubles with 17 significant digits, so that reading the file into a
 * problem whose parameters are at their defaults restores exactly the same values, compressed and
 * placed as the file writers below do it. Returns 2 when the file cannot be written. A NULL or
 * empty filename returns 3 for both. Parameter file names are taken as given (not relative to the
 * home directory). */
TARQ_API int TARQ_ReadParam(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteParam(tarq_prob* prob, const char* filename);

/* ---------------------------------------------------------------------------------------------
 * MIP starts
 *
 * A MIP start gives values to some or all columns; the problem keeps every start added, in
 * order, and drops a column's entries when the column is deleted.
 * ------------------------------------------------------------------------------------------- */

/* Adds one MIP start: values[k] for column list[k] (list NULL: the first num columns). Values
 * must be finite and below 1e30 in magnitude; a column listed twice returns 3. */
TARQ_API int TARQ_AddMipStart(tarq_prob* prob, int num, const int* list, const double* values);

/* ---------------------------------------------------------------------------------------------
 * Files
 *
 * Every function takes the problem and a file name; relative names are taken relative to the
 * environment's home directory when one is set. Readers accept plain and gzip-compressed files
 * alike (gzip is recognised by its first bytes, whatever the name); a gzip stream that ends
 * early (a truncated file, or a header alone) or fails its CRC or length check returns 2 with
 * nothing changed, whatever the data before the fault. Writers compress when the name ends in
 * ".gz". A new or existing regular file is written to a temporary file beside it and renamed into
 * place (keeping the old file's permissions), so a failed write leaves the old file as it was. A
 * symbolic link is followed: its target gets the content and the link stays. Any other existing
 * path (a FIFO, a device such as /dev/null) is written through as it is and never replaced; a
 * failed write there cannot be undone.
 *
 * Codes: 3 for a NULL problem or a NULL or empty name; 2 when the file cannot be opened, read
 * or written; 3 when the content does not parse. A failed read leaves the problem exactly as it
 * was and logs one line naming the file, the line (the byte offset for binary files) and the
 * fault.
 *
 * Problem files (ReadMps, ReadLp, ReadBin) replace the whole problem; MIP starts and branch
 * factors of the previous problem are dropped.
 *   MPS: free or fixed form (a file that does not parse as free form is read as fixed form,
 *        where names may contain blanks). Sections NAME, OBJSENSE/OBJSENS, ROWS, COLUMNS with
 *        'MARKER' 'INTORG'/'INTEND' integer sections, RHS (an objective-row entry is minus the
 *        objective constant), RANGES, BOUNDS (UP LO FX FR MI PL BV LI UI; SC is rejected),
 *        ENDATA. The first N row is the objective; further N rows are kept as free rows. A
 *        negative UP bound on a column whose lower bound is still the default 0 also makes the
 *        lower bound -infinity. Integer-section columns default to bounds [0, +infinity].
 *   LP:  Minimize/Maximize with an optional objective name and constant, Subject To with named
 *        or unnamed rows and ranges written "lo <= expr <= up", Bounds (including "free" and
 *        -inf/+inf; bounds apply as written, a negative upper bound leaves the lower bound at
 *        0), General/Generals, Binary/Binaries, End; "\" starts a comment. Columns are numbered
 *        in the order they first appear.
 *   binary (.bin): this library's own format; round-trips everything the problem stores.
 * Writers write every number so that it reads back exactly. Names a text format cannot hold
 * (blanks in MPS, a leading digit in LP, ...) or that repeat are written as generated names
 * ("C12", "R3"). TARQ_WriteMps returns 3 for a row whose lower bound exceeds its upper bound.
 * ReadMst replaces every stored MIP start by the file's one ("name value" lines, "#" comments).
 * ReadOrd sets every branch factor from the file ("name factor" lines; columns not listed get 0).
 *
 * Results and settings (the content descriptions are in the comments below):
 *   solution (.sol): "# ..." comment lines, then "name value" for every column. WriteSol writes
 *        the current solution (3 without one), WritePoolSol pool solution index. ReadSol installs
 *        the file's values as the problem's solution, as TARQ_SetLpSolution with values only;
 *        columns the file does not list take 0.
 *   JSON solution (.json): {"objective": v, "status": {"lp": s, "mip": s}, "columns": [{"name",
 *        "value", "redcost"}...], "rows": [{"name", "activity", "dual"}...], "pool":
 *        [{"objective", "values": [...]}...]} ("redcost" and "dual" only after an LP solve).
 *        ReadJsonSol takes "columns" values by name (and row activities and duals when every
 *        row has them) and installs them like ReadSol.
 *   basis (.bas): "NAME", then lines " XU col row" / " XL col row" (basic column, row nonbasic
 *        at its upper / lower bound), " UL name" / " LL name" (nonbasic at the upper / lower
 *        bound), " BS name" (basic), " SB name" (superbasic), then "ENDATA". Columns not listed
 *        are at their lower bound, rows not listed basic. ReadBasis sets the basis the next LP
 *        solve starts from; WriteBasis returns 3 without a basis or when a name has blanks.
 *   IIS (.iis): the IIS as a problem in the LP format (its rows, its columns, the bounds outside
 *        the IIS lifted, no objective); 3 without an IIS.
 *   relaxation (.relax): the relaxed problem of the last TARQ_FeasRelax, with the violation
 *        columns "ArtL_<name>" / "ArtU_<name>" and bound rows "Bnd_<column>", in MPS or, with
 *        "RelaxFileType" 1, LP form; 3 when no relaxation was run on the data as it stands.
 *   tuning (.tune): blocks "result <seconds> <label>" followed by "Name value" parameter lines.
 *        WriteTuneParam writes tuning result index as one block; ReadTune replaces the tuning
 *        results by the file's blocks (then TARQ_LoadTuneParam applies one).
 *
 * SDPA (.dat-s) files are told in tarq_psd.h.
 *
 * CBF (.cbf, conic benchmark format, versions 1 to 3): variables in the domains F, L+, L-, L=, Q,
 *   QR, EXP and EXP*, affine rows in the same domains (a row in a cone domain gets a column of its
 *   own placed in the cone), integer columns, PSD variables (PSDVAR, OBJFCOORD, FCOORD) and PSD
 *   constraints over scalar variables as LMI rows (PSDCON, HCOORD, DCOORD). Power cones are
 *   refused. The writer refuses quadratic, nonlinear, SOS and indicator parts.
 * NL (.nl, text form, written only): the problem's rows and objective as expression trees; SOS,
 *   indicator, cone and semidefinite parts are refused.
 * ------------------------------------------------------------------------------------------- */

TARQ_API int TARQ_ReadMps(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadLp(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadBin(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadSDPA(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadCbf(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadSol(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadJsonSol(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadBasis(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadMst(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadOrd(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_ReadTune(tarq_prob* prob, const char* filename);

TARQ_API int TARQ_WriteMps(tarq_prob* prob, const char* filename);
/* Writes the problem as MPS text (the text TARQ_WriteMps writes) into buf. *pReqSize receives
 * the number of bytes the text needs including its terminating zero, or -1 when that exceeds
 * INT_MAX. With buf NULL only *pReqSize is written (pReqSize must not be NULL). Otherwise the
 * text and its terminator are written when size is at least the required size; a smaller size
 * returns 3 and leaves buf unchanged. pReqSize may be NULL when buf is not. */
TARQ_API int TARQ_WriteMpsStr(tarq_prob* prob, char* buf, int size, int* pReqSize);
TARQ_API int TARQ_WriteLp(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteCbf(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteBin(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteNL(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteIIS(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteRelax(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteSol(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteJsonSol(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WritePoolSol(tarq_prob* prob, int index, const char* filename);
TARQ_API int TARQ_WriteBasis(tarq_prob* prob, const char* filename);
/* Writes the first stored MIP start (a header only when there is none). */
TARQ_API int TARQ_WriteMst(tarq_prob* prob, const char* filename);
/* Writes the columns with a non-zero branch factor. */
TARQ_API int TARQ_WriteOrd(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteTuneParam(tarq_prob* prob, int index, const char* filename);

/* ---------------------------------------------------------------------------------------------
 * Further object kinds, one header each (quadratic rows, SOS, indicator and cone constraints, semidefinite and
 * nonlinear parts). They are part of this interface: include tarq.h, not them.
 * ------------------------------------------------------------------------------------------- */

#include "tarq_quad.h"
#include "tarq_nonlinear.h"
#include "tarq_psd.h"
#include "tarq_sos_cone.h"

#ifdef __cplusplus
}
#endif

#endif /* TARQ_H */
