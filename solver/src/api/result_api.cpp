// Result functions of the C interface: basis and IIS statuses, and resetting results.
#include "api/with_problem.h"
#include "store/checks.h"

using tarq_solver::Problem;
using tarq_solver::WithProblem;

namespace {

// Reads listed entries of a result vector that exists only after the right kind of solve.
int ReadResult(const std::vector<int>& source, bool present, int num, const int* list, int* out) {
  if (!present) return TARQ_RETCODE_INVALID;
  return tarq_solver::ReadListed(source, num, list, out);
}

}  // namespace

extern "C" {

int TARQ_GetColBasis(tarq_prob* prob, int num, const int* list, int* basis) {
  return WithProblem(prob, [&](Problem& p) {
    const auto& r = p.Result();
    return ReadResult(r.colBasis, r.HasBasis(p.Cols().Size(), p.Rows().Size()), num, list, basis);
  });
}

int TARQ_GetRowBasis(tarq_prob* prob, int num, const int* list, int* basis) {
  return WithProblem(prob, [&](Problem& p) {
    const auto& r = p.Result();
    return ReadResult(r.rowBasis, r.HasBasis(p.Cols().Size(), p.Rows().Size()), num, list, basis);
  });
}

int TARQ_GetColLowerIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return WithProblem(prob, [&](Problem& p) {
    const auto& r = p.Result();
    return ReadResult(r.colLowerIis, r.HasIis(p.Cols().Size(), p.Rows().Size()), num, list, status);
  });
}

int TARQ_GetColUpperIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return WithProblem(prob, [&](Problem& p) {
    const auto& r = p.Result();
    return ReadResult(r.colUpperIis, r.HasIis(p.Cols().Size(), p.Rows().Size()), num, list, status);
  });
}

int TARQ_GetRowLowerIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return WithProblem(prob, [&](Problem& p) {
    const auto& r = p.Result();
    return ReadResult(r.rowLowerIis, r.HasIis(p.Cols().Size(), p.Rows().Size()), num, list, status);
  });
}

int TARQ_GetRowUpperIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return WithProblem(prob, [&](Problem& p) {
    const auto& r = p.Result();
    return ReadResult(r.rowUpperIis, r.HasIis(p.Cols().Size(), p.Rows().Size()), num, list, status);
  });
}

int TARQ_Reset(tarq_prob* prob, int all) {
  if (all != 0 && all != 1) return TARQ_RETCODE_INVALID;
  return WithProblem(prob, [&](Problem& p) {
    p.Reset(all == 1);
    return TARQ_RETCODE_OK;
  });
}

}  // extern "C"
