// Result functions of the C interface: basis and IIS statuses, and resetting results.
#include "api/with_problem.h"
#include "store/checks.h"

using tarq_solver::Problem;
using tarq_solver::WithProblem;

namespace {

// Reads listed entries of one result vector, which exists only after the right kind of solve.
template <bool (tarq_solver::Results::*Present)(int, int) const>
int ReadResult(tarq_prob* prob, std::vector<int> tarq_solver::Results::*field, int num, const int* list, int* out) {
  return WithProblem(prob, [&](Problem& p) {
    const tarq_solver::Results& r = p.Result();
    if (!(r.*Present)(p.Cols().Size(), p.Rows().Size())) return TARQ_RETCODE_INVALID;
    return tarq_solver::ReadListed(r.*field, num, list, out);
  });
}

constexpr auto kBasis = &tarq_solver::Results::HasBasis;
constexpr auto kIis = &tarq_solver::Results::HasIis;

}  // namespace

extern "C" {

int TARQ_GetColBasis(tarq_prob* prob, int num, const int* list, int* basis) {
  return ReadResult<kBasis>(prob, &tarq_solver::Results::colBasis, num, list, basis);
}

int TARQ_GetRowBasis(tarq_prob* prob, int num, const int* list, int* basis) {
  return ReadResult<kBasis>(prob, &tarq_solver::Results::rowBasis, num, list, basis);
}

int TARQ_GetColLowerIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadResult<kIis>(prob, &tarq_solver::Results::colLowerIis, num, list, status);
}

int TARQ_GetColUpperIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadResult<kIis>(prob, &tarq_solver::Results::colUpperIis, num, list, status);
}

int TARQ_GetRowLowerIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadResult<kIis>(prob, &tarq_solver::Results::rowLowerIis, num, list, status);
}

int TARQ_GetRowUpperIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadResult<kIis>(prob, &tarq_solver::Results::rowUpperIis, num, list, status);
}

int TARQ_Reset(tarq_prob* prob, int all) {
  if (all != 0 && all != 1) return TARQ_RETCODE_INVALID;
  return WithProblem(prob, [&](Problem& p) {
    p.Reset(all == 1);
    return TARQ_RETCODE_OK;
  });
}

}  // extern "C"
