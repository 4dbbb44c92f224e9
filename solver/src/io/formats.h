// Parse and write functions of every file format the solver library reads and writes. Parse
// functions take the whole file content (already decompressed) and either replace what the
// format describes or change nothing and fill err; write functions append to out.
#pragma once

#include <string>
#include <string_view>

#include "io/io_common.h"

namespace tarq_solver {

// MPS, free or fixed form (tried in that order). Replaces the whole problem.
int ParseMps(Problem& problem, std::string_view text, IoError& err);
// Free-form MPS, laid out in the fixed-form columns wherever names and numbers fit.
int WriteMps(Problem& problem, OutBuffer& out, IoError& err);

// LP format. Replaces the whole problem.
int ParseLp(Problem& problem, std::string_view text, IoError& err);
int WriteLp(Problem& problem, OutBuffer& out, IoError& err);

// The binary format. ParseBin checks the file's checksum before anything else; the fuzz target
// uses ParseBinUnchecked to reach the structural checks behind it.
int ParseBin(Problem& problem, std::string_view data, IoError& err);
int ParseBinUnchecked(Problem& problem, std::string_view data, IoError& err);
int WriteBin(Problem& problem, OutBuffer& out, IoError& err);

// SDPA sparse format (see tarq_psd.h). ParseSdpa replaces the whole problem; WriteSdpa refuses
// (3) a problem the format cannot hold.
int ParseSdpa(Problem& problem, std::string_view text, IoError& err);
int WriteSdpa(Problem& problem, OutBuffer& out, IoError& err);

// The conic benchmark format (see cbf_reader.cpp). ParseCbf replaces the whole problem; WriteCbf
// refuses (3) quadratic, nonlinear, SOS and indicator parts.
int ParseCbf(Problem& problem, std::string_view text, IoError& err);
int WriteCbf(Problem& problem, OutBuffer& out, IoError& err);

// The .nl text format (written only; see nl_writer.cpp). WriteNlNames writes <stem>.col and
// <stem>.row beside the file at path when any object has a name.
int WriteNl(Problem& problem, OutBuffer& out, IoError& err);
int WriteNlNames(Problem& problem, const std::string& path);

// MIP start: "name value" lines. Reading replaces every stored MIP start by the file's start.
int ParseMst(Problem& problem, std::string_view text, IoError& err);
int WriteMst(Problem& problem, OutBuffer& out, IoError& err);

// Branching order: "name factor" lines. Reading replaces every branch factor (columns the file
// does not list get 0).
int ParseOrd(Problem& problem, std::string_view text, IoError& err);
int WriteOrd(Problem& problem, OutBuffer& out, IoError& err);

// Whether a name can be written as it is in MPS (no blanks or control characters, not empty)
// and in the LP format (LP name characters, not starting with a digit or '.', not a keyword,
// at most 255 characters). Other names are replaced on writing (see output_names.h).
bool ValidMpsName(std::string_view name);
bool ValidLpName(std::string_view name);

}  // namespace tarq_solver
