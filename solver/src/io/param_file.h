// Parameter files (".par"): one "Name value" pair per line, "#" comments, blank lines. Reading is
// all-or-nothing; writing lists the parameters that differ from their defaults.
#pragma once

#include <string>
#include <string_view>

namespace tarq_solver {

class ParamSet;
class Problem;

// The text written for a set: a comment line, then "Name value" for each parameter whose value
// differs from its default, in table order; doubles with 17 significant digits.
std::string FormatParamFile(const ParamSet& params);

// Applies one line of a parameter file to params. Blank and comment-only lines do nothing.
// Returns 0, or 3 with *what saying what is wrong (params then unchanged).
int ApplyParamLine(std::string_view line, ParamSet& params, std::string* what);

// Reads a parameter file (plain or gzip-compressed, see ReadWholeFile) into the problem's
// parameters and applies the logging parameters. Returns 0; 2 when the file cannot be opened or
// read (a gzip stream that ends early or fails its checks included); 3 for a bad line. On failure
// no parameter changes and one log line names the file, the line (for a bad line) and the fault.
int ReadParamFile(Problem& problem, const char* filename);

// Writes FormatParamFile of the problem's parameters as OutBuffer writes files (gzip-compressed
// for a name ending in ".gz"). Returns 0, or 2 (with a log line) when the file cannot be written.
int WriteParamFile(const Problem& problem, const char* filename);

}  // namespace tarq_solver
