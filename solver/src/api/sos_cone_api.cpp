// SOS, indicator-row and cone functions of the C interface (tarq_sos_cone.h).
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "api/with_problem.h"
#include "store/checks.h"
#include "store/named_objects.h"

using tarq_solver::Problem;
using tarq_solver::ReadProblem;
using tarq_solver::SosConeStore;
using tarq_solver::VectorList;
using tarq_solver::WithProblem;

namespace {

// The two-call protocol over objects stored back to back (begin offsets): checks the list, writes
// *reqSize (members of the listed objects together), then, when any member array is wanted and
// size suffices, beg, cnt, the members (copyMembers(object, from, count, offset)) and the
// fixed-size entries (copyFixed(k, object)). Everything null but reqSize only reports the size;
// everything null is an error.
template <class CopyFixed, class CopyMembers>
int GetPacked(const std::vector<std::int64_t>& begin, int num, const int* list, int* beg, int* cnt, bool anyFixed,
              bool anyMember, int size, int* reqSize, CopyFixed copyFixed, CopyMembers copyMembers) {
  const int objects = static_cast<int>(begin.size()) - 1;
  if (int rc = tarq_solver::CheckList(num, list, objects); rc != TARQ_RETCODE_OK) return rc;
  std::int64_t total = 0;
  for (int k = 0; k < num; ++k) {
    const auto o = static_cast<size_t>(tarq_solver::At(list, k));
    total += begin[o + 1] - begin[o];
  }
  if (total > INT_MAX) return TARQ_RETCODE_INVALID;  // cannot be described by int offsets
  if (reqSize != nullptr) *reqSize = static_cast<int>(total);
  if (!anyFixed && !anyMember && beg == nullptr && cnt == nullptr) {
    return reqSize != nullptr ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
  }
  if (anyMember && size < total) return TARQ_RETCODE_INVALID;
  int offset = 0;
  for (int k = 0; k < num; ++k) {
    const int o = tarq_solver::At(list, k);
    const std::int64_t from = begin[static_cast<size_t>(o)];
    const int n = static_cast<int>(begin[static_cast<size_t>(o) + 1] - from);
    if (beg != nullptr) beg[k] = offset;
    if (cnt != nullptr) cnt[k] = n;
    copyFixed(k, static_cast<size_t>(o));
    if (anyMember && n > 0) copyMembers(from, n, offset);
    offset += n;
  }
  return TARQ_RETCODE_OK;
}

template <class T>
void CopyRange(T* out, const std::vector<T>& from, std::int64_t begin, int n, int offset) {
  if (out != nullptr) std::memcpy(out + offset, from.data() + begin, sizeof(T) * static_cast<size_t>(n));
}

template <class T, class U>
void Put(T* out, int k, const std::vector<U>& from, size_t o) {
  if (out != nullptr) out[k] = static_cast<T>(from[o]);
}

// Offsets 0, 3, 6, ... of the exponential cones, for GetPacked.
std::vector<std::int64_t> TripleOffsets(int n) {
  std::vector<std::int64_t> begin(static_cast<size_t>(n) + 1);
  for (size_t k = 0; k < begin.size(); ++k) begin[k] = 3 * static_cast<std::int64_t>(k);
  return begin;
}

// The cones of a conic problem in standard form over the columns after the first `first`:
// nCone quadratic and nRotated rotated cones of the dimensions dim[], then nPrimal primal and
// nDual dual exponential cones of 3 columns each. Returns 3 unless they cover exactly the
// columns [first, nCol).
int StandardCones(int nCol, std::int64_t first, int nCone, int nRotated, int nPrimal, int nDual, const int* dim,
                  SosConeStore& out) {
  if (nCone < 0 || nRotated < 0 || nPrimal < 0 || nDual < 0) return TARQ_RETCODE_INVALID;
  if (nCone + static_cast<std::int64_t>(nRotated) > 0 && dim == nullptr) return TARQ_RETCODE_INVALID;
  const std::int64_t nSoc = std::int64_t{nCone} + nRotated;
  std::int64_t next = first;
  for (std::int64_t k = 0; k < nSoc; ++k) {
    const int need = k < nCone ? 2 : 3;
    if (dim[k] < need || next + dim[k] > nCol) return TARQ_RETCODE_INVALID;
    next += dim[k];
  }
  const std::int64_t nExp = std::int64_t{nPrimal} + nDual;
  if (next + 3 * nExp != nCol) return TARQ_RETCODE_INVALID;
  tarq_solver::ConeTable& cones = out.cones;
  cones.type.reserve(static_cast<size_t>(nSoc));
  cones.begin.reserve(static_cast<size_t>(nSoc) + 1);
  cones.col.reserve(static_cast<size_t>(next - first));
  int col = static_cast<int>(first);
  for (std::int64_t k = 0; k < nSoc; ++k) {
    cones.type.push_back(k < nCone ? TARQ_CONE_QUAD : TARQ_CONE_RQUAD);
    for (int m = 0; m < dim[k]; ++m) cones.col.push_back(col++);
    cones.begin.push_back(static_cast<std::int64_t>(cones.col.size()));
  }
  tarq_solver::ExpConeTable& exp = out.expCones;
  exp.type.reserve(static_cast<size_t>(nExp));
  exp.col.reserve(static_cast<size_t>(3 * nExp));
  for (std::int64_t k = 0; k < nExp; ++k) {
    exp.type.push_back(k < nPrimal ? TARQ_EXPCONE_PRIMAL : TARQ_EXPCONE_DUAL);
    for (int m = 0; m < 3; ++m) exp.col.push_back(col++);
  }
  return TARQ_RETCODE_OK;
}

}  // namespace

extern "C" {

int TARQ_AddSOSs(tarq_prob* prob, int num, const int* types, const int* beg, const int* cnt, const int* idx,
                 const double* weights) {
  return WithProblem(prob, [&](Problem& p) {
    return p.AddSoss(num, types, VectorList{num, beg, cnt, idx, weights}, weights);
  });
}

int TARQ_DelSOSs(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.DelSoss(num, list); });
}

int TARQ_GetSOSs(tarq_prob* prob, int num, const int* list, int* types, int* beg, int* cnt, int* idx,
                 double* weights, int size, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) {
    const tarq_solver::SosTable& t = p.SosCone().sos;
    return GetPacked(
        t.begin, num, list, beg, cnt, types != nullptr, idx != nullptr || weights != nullptr, size, pReqSize,
        [&](int k, size_t o) { Put(types, k, t.type, o); },
        [&](std::int64_t from, int n, int offset) {
          CopyRange(idx, t.col, from, n, offset);
          CopyRange(weights, t.weight, from, n, offset);
        });
  });
}

int TARQ_AddIndicators(tarq_prob* prob, int num, const int* types, const int* binCols, const int* binVals,
                       const int* beg, const int* cnt, const int* idx, const double* val, const char* senses,
                       const double* bounds, const char* const* names) {
  return WithProblem(prob, [&](Problem& p) {
    return p.AddIndicators(num, types, binCols, binVals, VectorList{num, beg, cnt, idx, val}, senses, bounds, names);
  });
}

int TARQ_DelIndicators(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.DelIndicators(num, list); });
}

int TARQ_GetIndicators(tarq_prob* prob, int num, const int* list, int* types, int* binCols, int* binVals,
                       char* senses, double* bounds, int* beg, int* cnt, int* idx, double* val, int size,
                       int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) {
    const tarq_solver::IndicatorTable& t = p.SosCone().indicators;
    const bool anyFixed =
        types != nullptr || binCols != nullptr || binVals != nullptr || senses != nullptr || bounds != nullptr;
    return GetPacked(
        t.begin, num, list, beg, cnt, anyFixed, idx != nullptr || val != nullptr, size, pReqSize,
        [&](int k, size_t o) {
          Put(types, k, t.type, o);
          Put(binCols, k, t.binCol, o);
          Put(binVals, k, t.binVal, o);
          Put(senses, k, t.sense, o);
          Put(bounds, k, t.bound, o);
        },
        [&](std::int64_t from, int n, int offset) {
          CopyRange(idx, t.col, from, n, offset);
          CopyRange(val, t.val, from, n, offset);
        });
  });
}

int TARQ_SetIndicatorNames(tarq_prob* prob, int num, const int* list, const char* const* names) {
  return WithProblem(prob,
                     [&](Problem& p) { return tarq_solver::SetListedNames(p.IndicatorNames(), num, list, names); });
}

int TARQ_GetIndicatorName(tarq_prob* prob, int ind, char* buf, int len, int* pReqSize) {
  return ReadProblem(prob,
                     [&](Problem& p) { return tarq_solver::CopyName(p.IndicatorNames(), ind, buf, len, pReqSize); });
}

int TARQ_GetIndicatorIdx(tarq_prob* prob, const char* name, int* ind) {
  return ReadProblem(prob, [&](Problem& p) { return tarq_solver::FindNamed(p.IndicatorNames(), name, ind); });
}

int TARQ_AddCones(tarq_prob* prob, int num, const int* types, const int* beg, const int* cnt, const int* idx) {
  return WithProblem(prob, [&](Problem& p) { return p.AddCones(num, types, VectorList{num, beg, cnt, idx, nullptr}); });
}

int TARQ_DelCones(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.DelCones(num, list); });
}

int TARQ_GetCones(tarq_prob* prob, int num, const int* list, int* types, int* beg, int* cnt, int* idx, int size,
                  int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) {
    const tarq_solver::ConeTable& t = p.SosCone().cones;
    return GetPacked(
        t.begin, num, list, beg, cnt, types != nullptr, idx != nullptr, size, pReqSize,
        [&](int k, size_t o) { Put(types, k, t.type, o); },
        [&](std::int64_t from, int n, int offset) { CopyRange(idx, t.col, from, n, offset); });
  });
}

int TARQ_AddExpCones(tarq_prob* prob, int num, const int* types, const int* idx) {
  return WithProblem(prob, [&](Problem& p) { return p.AddExpCones(num, types, idx); });
}

int TARQ_DelExpCones(tarq_prob* prob, int num, const int* list) {
  return WithProblem(prob, [&](Problem& p) { return p.DelExpCones(num, list); });
}

int TARQ_GetExpCones(tarq_prob* prob, int num, const int* list, int* types, int* idx, int size, int* pReqSize) {
  return ReadProblem(prob, [&](Problem& p) {
    const tarq_solver::ExpConeTable& t = p.SosCone().expCones;
    return GetPacked(
        TripleOffsets(t.Size()), num, list, nullptr, nullptr, types != nullptr, idx != nullptr, size, pReqSize,
        [&](int k, size_t o) { Put(types, k, t.type, o); },
        [&](std::int64_t from, int n, int offset) { CopyRange(idx, t.col, from, n, offset); });
  });
}

int TARQ_LoadConeProb(tarq_prob* prob, int nCol, int nRow, int nFree, int nPositive, int nCone, int nRotateCone,
                      int nPrimalExp, int nDualExp, const int* coneDim, int objSense, double objConst,
                      const double* obj, const int* colBeg, const int* colCnt, const int* colIdx, const double* colVal,
                      const double* rowLower, const double* rowUpper, const char* colTypes) {
  return WithProblem(prob, [&](Problem& p) {
    if (nCol < 0 || nRow < 0 || nFree < 0 || nPositive < 0) return TARQ_RETCODE_INVALID;
    const std::int64_t first = std::int64_t{nFree} + nPositive;
    if (first > nCol) return TARQ_RETCODE_INVALID;
    // Build the cones aside, then load; the store is replaced only once the load succeeded.
    SosConeStore cones;
    if (int rc = StandardCones(nCol, first, nCone, nRotateCone, nPrimalExp, nDualExp, coneDim, cones);
        rc != TARQ_RETCODE_OK) {
      return rc;
    }
    std::vector<double> lower(static_cast<size_t>(nCol), -TARQ_INFINITY);
    std::fill(lower.begin() + nFree, lower.begin() + static_cast<std::ptrdiff_t>(first), 0.0);
    const std::vector<double> zeros(rowLower == nullptr || rowUpper == nullptr ? static_cast<size_t>(nRow) : 0, 0.0);
    tarq_solver::LoadArgs args;
    args.nCol = nCol;
    args.nRow = nRow;
    args.objSense = objSense;
    args.objConst = objConst;
    args.obj = obj;
    args.cols = VectorList{nCol, colBeg, colCnt, colIdx, colVal};
    args.types = colTypes;
    args.colLower = lower.data();
    args.rowBound = rowLower != nullptr ? rowLower : zeros.data();
    args.rowUpper = rowUpper != nullptr ? rowUpper : zeros.data();
    if (int rc = p.Load(args); rc != TARQ_RETCODE_OK) return rc;
    p.ReplaceSosCone(std::move(cones));
    return TARQ_RETCODE_OK;
  });
}

}  // extern "C"
