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
#define TARQ_RETCODE_THREAD 6    /* a threading failure */
#define TARQ_RETCODE_SERVER 7    /* a remote service failed (not used by this library) */
#define TARQ_RETCODE_NONCONVEX 8 /* the problem is nonconvex where convexity is required */

#define TARQ_INFINITY 1e30

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

/* Deletes a problem and sets *prob to NULL. */
TARQ_API int TARQ_DeleteProb(tarq_prob** prob);

/* Removes every object from the problem; parameters and log destinations stay. */
TARQ_API int TARQ_ClearProb(tarq_prob* prob);

/* Registers a function that receives every log line of the problem; NULL unregisters. */
TARQ_API int TARQ_SetLogCallback(tarq_prob* prob, TARQ_LogCallback cb, void* userdata);

/* Appends the problem's log lines to the named file; NULL or "" stops logging to a file.
 * Returns 2 when the file cannot be opened (the previous log file is then kept). */
TARQ_API int TARQ_SetLogFile(tarq_prob* prob, const char* filename);

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

/* Parameter files (".par"): text, one "Name value" pair per line. Names are matched without
 * regard to letter case; blank lines are skipped and "#" starts a comment that runs to the end of
 * the line. Integer values are integer numerals (a numeral with a fraction or exponent is
 * accepted when its value is a whole number); double values are decimal numerals.
 * When a name occurs twice, its last line wins.
 *
 * TARQ_ReadParam reads such a file, gzip-compressed or not, into the problem's parameters. It is
 * all-or-nothing: a malformed line, an unknown name, an attribute name or an invalid value
 * returns 3, a file that cannot be opened or read returns 2, and either way every parameter
 * keeps its value and one log line names the file, the line and what was wrong.
 *
 * TARQ_WriteParam writes a comment line and then, in table order, every parameter whose value
 * differs from its default, doubles with 17 significant digits, so that reading the file into a
 * problem whose parameters are at their defaults restores exactly the same values. Returns 2 when
 * the file cannot be written. A NULL or empty filename returns 3 for both. */
TARQ_API int TARQ_ReadParam(tarq_prob* prob, const char* filename);
TARQ_API int TARQ_WriteParam(tarq_prob* prob, const char* filename);

#ifdef __cplusplus
}
#endif

#endif /* TARQ_H */
