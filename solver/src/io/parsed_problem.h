// A problem as a text reader collects it before it replaces the problem in memory: one vector
// per field, the matrix by columns, names as views into the file's text (empty: unnamed).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "io/io_common.h"
#include "store/quad_table.h"

namespace tarq_solver {

struct ParsedProblem {
  int objSense = 1;
  double objConst = 0;

  std::vector<std::string_view> colNames;
  std::vector<double> obj;
  std::vector<double> colLower;
  std::vector<double> colUpper;
  std::vector<char> colType;

  std::vector<std::string_view> rowNames;
  std::vector<double> rowLower;
  std::vector<double> rowUpper;

  std::vector<std::int64_t> colBegin{0};  // column j has entries [colBegin[j], colBegin[j + 1])
  std::vector<int> rowIndex;
  std::vector<double> value;

  // The quadratic objective and quadratic rows, with column indices of this problem.
  QuadStore quad;
  // SOS constraints, indicator rows and cones, with column indices of this problem. The reader
  // checks them against the problem it built (see CheckSosCone).
  SosConeStore sosCones;

  // Replaces the problem's data by this one (the quadratic and SOS and cone parts are moved into the
  // problem).
  // Fails with 3 (at line lastLine) only when the data cannot be stored, which the readers' own
  // checks are meant to rule out.
  int Load(Problem& problem, std::int64_t lastLine, IoError& err);
};

}  // namespace tarq_solver
