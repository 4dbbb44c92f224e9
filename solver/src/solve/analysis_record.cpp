// Recording the certificates and ranges of an LP solve with the problem's results.
#include "solve/solve_driver.h"

namespace tarq_solver {

void NoteMipAnalysis(const Logger& log, const ParamSet& params) {
  if (params.Int(IntParam::ReqFarkasRay) != 0) {
    log.Printf("ReqFarkasRay: certificates come from LP solves only; this MIP solve leaves none");
  }
  if (params.Int(IntParam::ReqSensitivity) != 0) {
    log.Printf("ReqSensitivity: ranges come from LP solves only; this MIP solve leaves none");
  }
}

void RecordAnalysis(Problem& p, const EngineResult& res) {
  const int cols = p.Cols().Size(), rows = p.Rows().Size();
  Results& r = p.Result();
  if (static_cast<int>(res.farkas.size()) == rows && rows > 0) {
    r.farkas = res.farkas;
    r.attrs[IntAttr::HasDualFarkas] = 1;
  }
  if (static_cast<int>(res.ray.size()) == cols && cols > 0) {
    r.ray = res.ray;
    r.attrs[IntAttr::HasPrimalRay] = 1;
  }
  if (res.ranges.Fits(cols, rows)) {
    r.ranges = res.ranges;
    r.attrs[IntAttr::HasSensitivity] = 1;
  }
}

}  // namespace tarq_solver
