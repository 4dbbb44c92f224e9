// Result functions of the C interface: solutions, basis, pool, IIS statuses, resetting results.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "api/with_problem.h"
#include "solve/solution.h"
#include "store/checks.h"

using tarq_solver::Problem;
using tarq_solver::Results;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

namespace {

// Reads listed entries of a result vector that exists only after the right kind of solve.
int ReadResult(const std::vector<int>& source, bool present, int num, const int* list, int* out) {
  if (!present) return TARQ_RETCODE_INVALID;
  return tarq_solver::ReadListed(source, num, list, out);
}

void CopyOut(const std::vector<double>& from, double* to) {
  if (to != nullptr && !from.empty()) std::memcpy(to, from.data(), from.size() * sizeof(double));
}

bool ValidBasisCodes(const int* codes, int n) {
  return std::all_of(codes, codes + n, [](int c) { return c >= TARQ_BASIS_LOWER && c <= TARQ_BASIS_FIXED; });
}

// Reads one of the IIS vectors.
template <class Member>
int ReadIis(tarq_prob* prob, int num, const int* list, int* status, Member member) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    return ReadResult(r.*member, r.HasIis(p.Cols().Size(), p.Rows().Size()), num, list, status);
  });
}

}  // namespace

extern "C" {

int TARQ_GetSolution(tarq_prob* prob, double* values) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    if (!r.HasSolution(p.Cols().Size(), p.Rows().Size())) return TARQ_RETCODE_INVALID;
    if (values == nullptr && p.Cols().Size() > 0) return TARQ_RETCODE_INVALID;
    CopyOut(r.values, values);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_GetLpSolution(tarq_prob* prob, double* values, double* slack, double* duals, double* redcost) {
  return ReadProblem(prob, [&](Problem& p) {
    if (values == nullptr && slack == nullptr && duals == nullptr && redcost == nullptr) return TARQ_RETCODE_OK;
    Results& r = p.Result();
    const int cols = p.Cols().Size(), rows = p.Rows().Size();
    if (!r.HasSolution(cols, rows)) return TARQ_RETCODE_INVALID;
    if ((duals != nullptr || redcost != nullptr) && !r.HasDuals(cols, rows)) return TARQ_RETCODE_INVALID;
    CopyOut(r.values, values);
    CopyOut(r.activity, slack);
    CopyOut(r.duals, duals);
    CopyOut(r.redCosts, redcost);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_SetLpSolution(tarq_prob* prob, const double* values, const double* slack, const double* duals,
                       const double* redcost) {
  return WithProblem(prob,
                     [&](Problem& p) { return tarq_solver::InstallLpSolution(p, values, slack, duals, redcost); });
}

int TARQ_GetBasis(tarq_prob* prob, int* colBasis, int* rowBasis) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    if (!r.HasBasis(p.Cols().Size(), p.Rows().Size())) return TARQ_RETCODE_INVALID;
    if (colBasis != nullptr) std::copy(r.colBasis.begin(), r.colBasis.end(), colBasis);
    if (rowBasis != nullptr) std::copy(r.rowBasis.begin(), r.rowBasis.end(), rowBasis);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_SetBasis(tarq_prob* prob, const int* colBasis, const int* rowBasis) {
  return WithProblem(prob, [&](Problem& p) {
    const int cols = p.Cols().Size(), rows = p.Rows().Size();
    if ((colBasis == nullptr && cols > 0) || (rowBasis == nullptr && rows > 0)) return TARQ_RETCODE_INVALID;
    if (cols + rows == 0) return TARQ_RETCODE_INVALID;
    if (!ValidBasisCodes(colBasis, cols) || !ValidBasisCodes(rowBasis, rows)) return TARQ_RETCODE_INVALID;
    Results& r = p.Result();
    r.colBasis.assign(colBasis, colBasis + cols);
    r.rowBasis.assign(rowBasis, rowBasis + rows);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_SetSlackBasis(tarq_prob* prob) {
  return WithProblem(prob, [&](Problem& p) {
    const auto& cols = p.Cols();
    const int rows = p.Rows().Size();
    if (cols.Size() + rows == 0) return TARQ_RETCODE_INVALID;
    Results& r = p.Result();
    r.colBasis.resize(static_cast<size_t>(cols.Size()));
    for (int j = 0; j < cols.Size(); ++j) {
      r.colBasis[j] = cols.lower[j] > -TARQ_INFINITY  ? TARQ_BASIS_LOWER
                      : cols.upper[j] < TARQ_INFINITY ? TARQ_BASIS_UPPER
                                                      : TARQ_BASIS_SUPERBASIC;
    }
    r.rowBasis.assign(static_cast<size_t>(rows), TARQ_BASIS_BASIC);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_GetColBasis(tarq_prob* prob, int num, const int* list, int* basis) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    return ReadResult(r.colBasis, r.HasBasis(p.Cols().Size(), p.Rows().Size()), num, list, basis);
  });
}

int TARQ_GetRowBasis(tarq_prob* prob, int num, const int* list, int* basis) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    return ReadResult(r.rowBasis, r.HasBasis(p.Cols().Size(), p.Rows().Size()), num, list, basis);
  });
}

int TARQ_GetPoolObjVal(tarq_prob* prob, int index, double* value) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    if (value == nullptr || index < 0 || index >= r.PoolSize()) return TARQ_RETCODE_INVALID;
    *value = r.poolObj[index];
    return TARQ_RETCODE_OK;
  });
}

int TARQ_GetPoolSolution(tarq_prob* prob, int index, int num, const int* list, double* values) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    const int cols = p.Cols().Size();
    if (index < 0 || index >= r.PoolSize()) return TARQ_RETCODE_INVALID;
    if (int rc = tarq_solver::CheckList(num, list, cols); rc != TARQ_RETCODE_OK) return rc;
    if (num > 0 && values == nullptr) return TARQ_RETCODE_INVALID;
    const double* x = r.poolValues.data() + static_cast<size_t>(index) * cols;
    for (int k = 0; k < num; ++k) values[k] = x[tarq_solver::At(list, k)];
    return TARQ_RETCODE_OK;
  });
}

int TARQ_GetColLowerIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadIis(prob, num, list, status, &Results::colLowerIis);
}

int TARQ_GetColUpperIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadIis(prob, num, list, status, &Results::colUpperIis);
}

int TARQ_GetRowLowerIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadIis(prob, num, list, status, &Results::rowLowerIis);
}

int TARQ_GetRowUpperIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadIis(prob, num, list, status, &Results::rowUpperIis);
}

// Membership of SOS constraints and indicator rows in the last IIS: 1 in it, 0 not.
int TARQ_GetSOSIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    const bool present = r.HasIis(p.Cols().Size(), p.Rows().Size()) &&
                         static_cast<int>(r.sosIis.size()) == p.SosCone().sos.Size();
    return ReadResult(r.sosIis, present, num, list, status);
  });
}

int TARQ_GetIndicatorIIS(tarq_prob* prob, int num, const int* list, int* status) {
  return ReadProblem(prob, [&](Problem& p) {
    Results& r = p.Result();
    const bool present = r.HasIis(p.Cols().Size(), p.Rows().Size()) &&
                         static_cast<int>(r.indicatorIis.size()) == p.SosCone().indicators.Size();
    return ReadResult(r.indicatorIis, present, num, list, status);
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
