#include "io/parsed_problem.h"

#include <climits>
#include <string>

namespace tarq_solver {

namespace {

// Copies the names, each with a terminating zero, into one block and points at them; null when
// every name is empty.
void TerminatedNames(const std::vector<std::string_view>& names, std::string& block,
                     std::vector<const char*>& pointers) {
  size_t total = 0;
  bool any = false;
  for (std::string_view n : names) {
    total += n.size() + 1;
    any = any || !n.empty();
  }
  if (!any) return;
  block.reserve(total);
  std::vector<size_t> offset;
  offset.reserve(names.size());
  for (std::string_view n : names) {
    offset.push_back(block.size());
    block.append(n);
    block.push_back('\0');
  }
  pointers.reserve(names.size());
  for (size_t off : offset) pointers.push_back(block.data() + off);
}

}  // namespace

int ParsedProblem::Load(Problem& problem, std::int64_t lastLine, IoError& err) {
  const size_t nCol = obj.size();
  const size_t nRow = rowLower.size();
  if (nCol > INT_MAX || nRow > INT_MAX || colBegin.back() > INT_MAX) {
    return Fail(err, TARQ_RETCODE_INVALID, lastLine, "the problem is too large");
  }
  std::vector<int> begin(colBegin.begin(), colBegin.end());
  std::string colBlock, rowBlock;
  std::vector<const char*> colPtr, rowPtr;
  TerminatedNames(colNames, colBlock, colPtr);
  TerminatedNames(rowNames, rowBlock, rowPtr);

  LoadArgs args;
  args.nCol = static_cast<int>(nCol);
  args.nRow = static_cast<int>(nRow);
  args.objSense = objSense;
  args.objConst = objConst;
  args.obj = obj.data();
  args.cols = VectorList{args.nCol, begin.data(), nullptr, rowIndex.data(), value.data()};
  args.types = colType.data();
  args.colLower = colLower.data();
  args.colUpper = colUpper.data();
  args.rowBound = rowLower.data();
  args.rowUpper = rowUpper.data();
  args.colNames = colPtr.empty() ? nullptr : colPtr.data();
  args.rowNames = rowPtr.empty() ? nullptr : rowPtr.data();
  if (problem.Load(args) != TARQ_RETCODE_OK) {
    return Fail(err, TARQ_RETCODE_INVALID, lastLine, "the problem data is not valid");
  }
  problem.ReplaceQuad(std::move(quad));
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
