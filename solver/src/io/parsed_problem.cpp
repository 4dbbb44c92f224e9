#include "io/parsed_problem.h"

#include <algorithm>
#include <climits>
#include <string>

#include "store/checks.h"

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

// Whether the SOS, indicator and cone constraints fit a problem of nCol columns with these column types and
// bounds (the conditions of tarq_sos_cone.h). O(members + columns).
bool SosConeFits(const SosConeStore& s, const std::vector<char>& type, const std::vector<double>& lower,
                 const std::vector<double>& upper) {
  const int nCol = static_cast<int>(type.size());
  std::vector<std::int64_t> stamp(type.size(), -1);
  std::int64_t group = 0;
  auto distinct = [&](const int* col, std::int64_t n) {
    ++group;
    for (std::int64_t k = 0; k < n; ++k) {
      if (col[k] < 0 || col[k] >= nCol || stamp[col[k]] == group) return false;
      stamp[col[k]] = group;
    }
    return true;
  };
  const SosTable& sos = s.sos;
  if (sos.begin.size() != sos.type.size() + 1 || sos.col.size() != sos.weight.size()) return false;
  for (int k = 0; k < sos.Size(); ++k) {
    if (sos.type[k] != TARQ_SOS_TYPE1 && sos.type[k] != TARQ_SOS_TYPE2) return false;
    const std::int64_t n = sos.End(k) - sos.Begin(k);
    if (n < 1 || !distinct(sos.col.data() + sos.Begin(k), n)) return false;
    std::vector<double> w(sos.weight.begin() + sos.Begin(k), sos.weight.begin() + sos.End(k));
    std::sort(w.begin(), w.end());
    for (size_t p = 0; p < w.size(); ++p) {
      if (!ValidCoef(w[p]) || (p > 0 && w[p] == w[p - 1])) return false;
    }
  }
  const IndicatorTable& ind = s.indicators;
  if (ind.begin.size() != ind.type.size() + 1 || ind.binCol.size() != ind.type.size() ||
      ind.binVal.size() != ind.type.size() || ind.sense.size() != ind.type.size() ||
      ind.bound.size() != ind.type.size() || ind.col.size() != ind.val.size() ||
      (ind.names.Size() != 0 && ind.names.Size() != ind.Size())) {
    return false;
  }
  for (int k = 0; k < ind.Size(); ++k) {
    const int b = ind.binCol[k];
    if (b < 0 || b >= nCol) return false;
    const bool binary = type[b] == 'B' || (type[b] == 'I' && lower[b] >= 0 && upper[b] <= 1);
    if (!binary || (ind.binVal[k] != 0 && ind.binVal[k] != 1)) return false;
    if ((ind.sense[k] != 'L' && ind.sense[k] != 'G' && ind.sense[k] != 'E') || !ValidCoef(ind.bound[k])) return false;
    if (!distinct(ind.col.data() + ind.Begin(k), ind.End(k) - ind.Begin(k))) return false;
    for (std::int64_t p = ind.Begin(k); p < ind.End(k); ++p) {
      if (!ValidCoef(ind.val[p])) return false;
    }
  }
  const ConeTable& cones = s.cones;
  if (cones.begin.size() != cones.type.size() + 1) return false;
  for (int k = 0; k < cones.Size(); ++k) {
    const std::int64_t n = cones.End(k) - cones.Begin(k);
    if (cones.type[k] == TARQ_CONE_QUAD ? n < 2 : cones.type[k] != TARQ_CONE_RQUAD || n < 3) return false;
    if (!distinct(cones.col.data() + cones.Begin(k), n)) return false;
  }
  const ExpConeTable& exp = s.expCones;
  if (exp.col.size() != 3 * exp.type.size()) return false;
  for (int k = 0; k < exp.Size(); ++k) {
    if (exp.type[k] != TARQ_EXPCONE_PRIMAL && exp.type[k] != TARQ_EXPCONE_DUAL) return false;
    if (!distinct(exp.col.data() + 3 * static_cast<std::int64_t>(k), 3)) return false;
  }
  return true;
}

}  // namespace

int ParsedProblem::Load(Problem& problem, std::int64_t lastLine, IoError& err) {
  const size_t nCol = obj.size();
  const size_t nRow = rowLower.size();
  if (nCol > INT_MAX || nRow > INT_MAX || colBegin.back() > INT_MAX) {
    return Fail(err, TARQ_RETCODE_INVALID, lastLine, "the problem is too large");
  }
  if (!SosConeFits(sosCones, colType, colLower, colUpper)) {
    return Fail(err, TARQ_RETCODE_INVALID, lastLine, "the SOS, indicator and cone constraints are not valid");
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
  problem.ReplaceSosCone(std::move(sosCones));
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
