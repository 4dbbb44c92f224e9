// Files about a problem's results and settings: solutions (.sol and .json), bases (.bas), IIS
// (.iis), feasibility relaxations (.relax) and tuning results (.tune). Parse functions change
// the problem only when the whole file parsed; write functions fail with 3 when there is nothing
// to write (no solution, no basis, ...).
#pragma once

#include <string_view>

#include "io/io_common.h"

namespace tarq_solver {

// .sol: comment lines ("# Objective value = ..."), then "name value" per column. Reading
// installs the values as the problem's solution (as TARQ_SetLpSolution with values only);
// columns the file does not list take 0.
int ParseSol(Problem& problem, std::string_view text, IoError& err);
int WriteSol(Problem& problem, OutBuffer& out, IoError& err);
// The same form for pool solution index.
int WritePoolSol(Problem& problem, int index, OutBuffer& out, IoError& err);

// .json: an object with "objective", "status", "columns" (name, value, redcost), "rows" (name,
// activity, dual) and "pool" (objective, values). Reading takes the column values (and row
// activities and duals when every row has them) by name.
int ParseJsonSol(Problem& problem, std::string_view text, IoError& err);
int WriteJsonSol(Problem& problem, OutBuffer& out, IoError& err);

// .bas: "NAME", then XU/XL (basic column, row nonbasic at its upper/lower bound), UL/LL
// (nonbasic column at upper/lower bound), BS (basic or superbasic entry by name), "ENDATA".
// Columns not listed are nonbasic at their lower bound, rows not listed basic.
int ParseBasis(Problem& problem, std::string_view text, IoError& err);
int WriteBasis(Problem& problem, OutBuffer& out, IoError& err);

// .iis: the IIS as a problem in the LP format: its rows and its columns, with the bounds outside
// the IIS lifted and a zero objective.
int WriteIis(Problem& problem, OutBuffer& out, IoError& err);
// .relax: the relaxed problem of the last TARQ_FeasRelax, in MPS ("RelaxFileType" 0) or LP (1).
int WriteRelax(Problem& problem, OutBuffer& out, IoError& err);

// .tune: blocks "result <seconds> <label>" followed by "Name value" parameter lines. Reading
// replaces the tuning results by the file's blocks.
int ParseTune(Problem& problem, std::string_view text, IoError& err);
int WriteTuneResult(Problem& problem, int index, OutBuffer& out, IoError& err);

}  // namespace tarq_solver
