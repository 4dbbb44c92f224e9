#include "store/analysis_info.h"

#include "store/checks.h"

namespace tarq_solver {
namespace {

// The vector of the ranges that holds info for axis, or null when info is not a range of it.
const std::vector<double>* RangeOf(const LpRanges& ranges, InfoName info, Axis axis) {
  if (axis == Axis::kRow) {
    if (info == InfoName::kSARHSLow) return &ranges.rhsLow;
    if (info == InfoName::kSARHSUp) return &ranges.rhsUp;
    return nullptr;
  }
  switch (info) {
    case InfoName::kSAObjLow: return &ranges.objLow;
    case InfoName::kSAObjUp: return &ranges.objUp;
    case InfoName::kSALBLow: return &ranges.lbLow;
    case InfoName::kSALBUp: return &ranges.lbUp;
    case InfoName::kSAUBLow: return &ranges.ubLow;
    case InfoName::kSAUBUp: return &ranges.ubUp;
    default: return nullptr;
  }
}

}  // namespace

int ReadAnalysisInfo(Problem& p, InfoName info, Axis axis, int num, const int* list, double* values) {
  const int cols = p.Cols().Size(), rows = p.Rows().Size();
  const Results& r = p.Result();
  if (axis == Axis::kRow && info == InfoName::kDualFarkas) {
    if (!r.HasFarkas(rows)) return TARQ_RETCODE_INVALID;
    return ReadListed(r.farkas, num, list, values);
  }
  if (axis == Axis::kCol && info == InfoName::kPrimalRay) {
    if (!r.HasRay(cols)) return TARQ_RETCODE_INVALID;
    return ReadListed(r.ray, num, list, values);
  }
  const std::vector<double>* range = RangeOf(r.ranges, info, axis);
  if (range == nullptr || !r.HasRanges(cols, rows)) return TARQ_RETCODE_INVALID;
  return ReadListed(*range, num, list, values);
}

}  // namespace tarq_solver
