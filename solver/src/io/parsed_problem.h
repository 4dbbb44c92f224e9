// A problem as a text reader collects it before it replaces the problem in memory: one vector
// per field, the matrix by columns, names as views into the file's text (empty: unnamed).
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "io/io_common.h"

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

  // Replaces the problem's data by this one. Fails with 3 (at line lastLine) only when the data
  // cannot be stored, which the readers' own checks are meant to rule out.
  int Load(Problem& problem, std::int64_t lastLine, IoError& err) const;
};

// Hash index from names (views into the text being parsed) to positions.
struct ViewHash {
  size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};
using NameIndex = std::unordered_map<std::string_view, int, ViewHash>;

}  // namespace tarq_solver
