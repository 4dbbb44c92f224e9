// The MPS sections of SOS, indicator and cone constraints, collected while the file is read and resolved against
// its columns and rows once the rest of the file is known:
//
//   SOS                        one set per header line, its members on the lines below:
//    S1 SOS <name> [priority]    header (S1 or S2; the priority is ignored); also "<name> S1"
//    <column>:<weight>           member; also "<column> <weight>", or "<column>" alone, whose
//                                weight is then its position in the set (1, 2, ...)
//   INDICATORS
//    IF <row> <column> <value>   row <row> holds when binary <column> equals <value> (0 or 1)
//   CSECTION <name> <param> QUAD|RQUAD   a cone (the parameter is ignored) over the columns of
//    <column>                    the lines below, in order
//
// A row named by IF leaves the linear rows and becomes the indicator's linear part, sense and
// right-hand side (an N row, a ranged row and a row with a QCMATRIX are refused). Names are
// views into the file's text. Memory: 24 bytes per member line.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "io/io_common.h"
#include "io/name_index.h"
#include "io/parsed_problem.h"

namespace tarq_solver {

class MpsSosCone {
 public:
  // Lines of the sections (free form: fields separated by blanks). 0 or 3 with err set.
  int SosLine(std::string_view line, std::int64_t at, IoError& err);
  int IndicatorLine(std::string_view line, std::int64_t at, IoError& err);
  int ConeHeader(std::string_view line, std::int64_t at, IoError& err);
  int ConeLine(std::string_view line, std::int64_t at, IoError& err);

  bool Empty() const { return sosType_.empty() && indRow_.empty() && coneType_.empty(); }

  // Per original row: whether some IF line names it (valid after every line was read).
  struct RowInfo {
    const NameIndex* rows;
    std::string_view objRow;          // the objective's name, not a valid indicator row
    const std::vector<char>* sense;   // per original row
    const std::vector<double>* rhs;   // per original row
    const std::vector<double>* range; // per original row, NaN for none
    const std::vector<char>* quad;    // per original row: has a QCMATRIX
  };
  // Builds data.sosCones and moves the indicator rows out of data's linear rows. data holds the
  // linear rows only (the quadratic ones already split off); cols finds columns.
  int Resolve(const NameIndex& cols, const RowInfo& info, ParsedProblem& data, IoError& err);

 private:
  // SOS: one entry per set and per member.
  std::vector<int> sosType_;
  std::vector<std::int64_t> sosLine_;
  std::vector<std::int64_t> sosBegin_{0};
  std::vector<std::string_view> sosCol_;
  std::vector<double> sosWeight_;
  std::vector<std::int64_t> sosColLine_;
  // Indicators: row, column, value, line.
  std::vector<std::string_view> indRow_, indCol_;
  std::vector<int> indVal_;
  std::vector<std::int64_t> indLine_;
  // Cones.
  std::vector<int> coneType_;
  std::vector<std::int64_t> coneLine_;
  std::vector<std::int64_t> coneBegin_{0};
  std::vector<std::string_view> coneCol_;
  std::vector<std::int64_t> coneColLine_;
};

}  // namespace tarq_solver
