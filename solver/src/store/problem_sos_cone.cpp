// SOS constraints, indicator rows, second-order and exponential cones of the problem.
#include <algorithm>
#include <climits>

#include "store/checks.h"
#include "store/grow.h"
#include "store/problem.h"
#include "tarq.h"

namespace tarq_solver {

namespace {

// Objects this short are checked for repeated columns pairwise, without the stamp scratch.
constexpr std::int64_t kShortObject = 16;

// Checks the member lists of num objects: offsets valid, at least minCount(k) members in object
// k, every column in [0, nCol), none twice within one object. stamp is scratch of the problem
// (entries -1 outside a check) and is left clean. minCount is at least 1, so every object has
// members and the lists must be given.
template <class MinCount>
int CheckMembers(const VectorList& v, int nCol, MinCount minCount, std::vector<int>& stamp) {
  if (v.num == 0) return TARQ_RETCODE_OK;
  if (v.beg == nullptr || v.idx == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < v.num; ++k) {
    const std::int64_t b = v.Begin(k), e = v.End(k);
    if (b < 0 || e - b < minCount(k)) return TARQ_RETCODE_INVALID;
  }
  int rc = TARQ_RETCODE_OK;
  int k = 0;
  for (; k < v.num && rc == TARQ_RETCODE_OK; ++k) {
    const std::int64_t b = v.Begin(k), e = v.End(k);
    const bool isShort = e - b <= kShortObject;
    if (!isShort && stamp.size() < static_cast<size_t>(nCol)) stamp.resize(static_cast<size_t>(nCol), -1);
    for (std::int64_t p = b; p < e && rc == TARQ_RETCODE_OK; ++p) {
      const int j = v.idx[p];
      if (j < 0 || j >= nCol) {
        rc = TARQ_RETCODE_INVALID;
      } else if (isShort) {
        for (std::int64_t q = b; q < p; ++q) {
          if (v.idx[q] == j) rc = TARQ_RETCODE_INVALID;
        }
      } else if (stamp[static_cast<size_t>(j)] == k) {
        rc = TARQ_RETCODE_INVALID;
      } else {
        stamp[static_cast<size_t>(j)] = k;
      }
    }
  }
  // Leave the scratch clean: every stamp a long object set back to -1.
  for (int r = 0; r < k; ++r) {
    const std::int64_t b = v.Begin(r), e = v.End(r);
    if (e - b <= kShortObject) continue;
    for (std::int64_t p = b; p < e; ++p) {
      const int j = v.idx[p];
      if (j >= 0 && j < nCol) stamp[static_cast<size_t>(j)] = -1;
    }
  }
  return rc;
}

// Checks the weights of one SOS, [b, e) of w: finite and distinct. scratch is reused.
bool ValidWeights(const double* w, std::int64_t b, std::int64_t e, std::vector<double>& scratch) {
  for (std::int64_t p = b; p < e; ++p) {
    if (!ValidCoef(w[p])) return false;
  }
  if (e - b <= kShortObject) {
    for (std::int64_t p = b; p < e; ++p) {
      for (std::int64_t q = b; q < p; ++q) {
        if (w[q] == w[p]) return false;
      }
    }
    return true;
  }
  scratch.assign(w + b, w + e);
  std::sort(scratch.begin(), scratch.end());
  return std::adjacent_find(scratch.begin(), scratch.end()) == scratch.end();
}

std::int64_t MembersIn(const VectorList& v) {
  std::int64_t n = 0;
  for (int k = 0; k < v.num; ++k) n += v.End(k) - v.Begin(k);
  return n;
}

// Position list check (null list: the first num) and drop flags for deleting objects of one kind.
int DropFlags(int num, const int* list, int size, std::vector<char>& drop) {
  if (int rc = CheckList(num, list, size); rc != TARQ_RETCODE_OK) return rc;
  drop.assign(static_cast<size_t>(size), 0);
  for (int k = 0; k < num; ++k) drop[static_cast<size_t>(At(list, k))] = 1;
  return TARQ_RETCODE_OK;
}

bool ValidIndicatorSense(char s) { return s == 'L' || s == 'G' || s == 'E'; }

}  // namespace

int Problem::AddSoss(int num, const int* types, const VectorList& members, const double* weights) {
  if (num < 0 || (num > 0 && types == nullptr)) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (types[k] != TARQ_SOS_TYPE1 && types[k] != TARQ_SOS_TYPE2) return TARQ_RETCODE_INVALID;
  }
  VectorList m = members;
  m.num = num;
  if (int rc = CheckMembers(m, cols_.Size(), [](int) { return 1; }, stamp_); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  if (weights != nullptr) {
    std::vector<double> scratch;
    for (int k = 0; k < num; ++k) {
      if (!ValidWeights(weights, m.Begin(k), m.End(k), scratch)) return TARQ_RETCODE_INVALID;
    }
  }
  SosTable& t = sos_cone_.sos;
  if (t.Size() > INT_MAX - num) return TARQ_RETCODE_INVALID;

  // Reserve everything first, so that nothing below allocates and a failure changes nothing.
  const auto n = static_cast<size_t>(num);
  const auto total = static_cast<size_t>(MembersIn(m));
  ReserveFor(t.type, n);
  ReserveFor(t.begin, n);
  ReserveFor(t.col, total);
  ReserveFor(t.weight, total);
  for (int k = 0; k < num; ++k) {
    for (std::int64_t p = m.Begin(k); p < m.End(k); ++p) {
      t.col.push_back(m.idx[p]);
      t.weight.push_back(weights != nullptr ? weights[p] : static_cast<double>(p - m.Begin(k) + 1));
    }
    t.type.push_back(types[k]);
    t.begin.push_back(static_cast<std::int64_t>(t.col.size()));
  }
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::DelSoss(int num, const int* list) {
  std::vector<char> drop;
  if (int rc = DropFlags(num, list, sos_cone_.sos.Size(), drop); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  sos_cone_.sos.Erase(drop);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::AddIndicators(int num, const int* types, const int* binCols, const int* binVals, const VectorList& rows,
                           const char* senses, const double* bounds, const char* const* names) {
  if (num < 0) return TARQ_RETCODE_INVALID;
  if (num > 0 && (binCols == nullptr || binVals == nullptr || senses == nullptr || bounds == nullptr)) {
    return TARQ_RETCODE_INVALID;
  }
  const int nCol = cols_.Size();
  for (int k = 0; k < num; ++k) {
    const int j = binCols[k];
    if (j < 0 || j >= nCol || (binVals[k] != 0 && binVals[k] != 1)) return TARQ_RETCODE_INVALID;
    const auto c = static_cast<size_t>(j);
    const char type = cols_.type[c];
    const bool binary = type == 'B' || (type == 'I' && cols_.lower[c] >= 0 && cols_.upper[c] <= 1);
    if (!binary || !ValidIndicatorSense(senses[k]) || !ValidCoef(bounds[k])) return TARQ_RETCODE_INVALID;
  }
  VectorList r = rows;
  r.num = num;
  if (int rc = CheckVectors(r, nCol, stamp_); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  IndicatorTable& t = sos_cone_.indicators;
  if (t.Size() > INT_MAX - num) return TARQ_RETCODE_INVALID;

  const auto n = static_cast<size_t>(num);
  std::int64_t nonzeros = 0;
  if (r.HasEntries()) {
    for (int k = 0; k < num; ++k) {
      for (std::int64_t p = r.Begin(k); p < r.End(k); ++p) nonzeros += r.val[p] != 0.0 ? 1 : 0;
    }
  }
  ReserveFor(t.type, n);
  ReserveFor(t.binCol, n);
  ReserveFor(t.binVal, n);
  ReserveFor(t.begin, n);
  ReserveFor(t.sense, n);
  ReserveFor(t.bound, n);
  ReserveFor(t.col, static_cast<size_t>(nonzeros));
  ReserveFor(t.val, static_cast<size_t>(nonzeros));
  auto staged = t.names.Stage(num, names);
  t.names.Commit(std::move(staged));
  for (int k = 0; k < num; ++k) {
    if (r.HasEntries()) {
      for (std::int64_t p = r.Begin(k); p < r.End(k); ++p) {
        if (r.val[p] == 0.0) continue;
        t.col.push_back(r.idx[p]);
        t.val.push_back(r.val[p]);
      }
    }
    t.begin.push_back(static_cast<std::int64_t>(t.col.size()));
    t.type.push_back(types != nullptr ? types[k] : 0);
    t.binCol.push_back(binCols[k]);
    t.binVal.push_back(binVals[k]);
    t.sense.push_back(senses[k]);
    t.bound.push_back(bounds[k]);
  }
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::DelIndicators(int num, const int* list) {
  std::vector<char> drop;
  if (int rc = DropFlags(num, list, sos_cone_.indicators.Size(), drop); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  sos_cone_.indicators.Erase(drop);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::AddCones(int num, const int* types, const VectorList& members) {
  if (num < 0 || (num > 0 && types == nullptr)) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (types[k] != TARQ_CONE_QUAD && types[k] != TARQ_CONE_RQUAD) return TARQ_RETCODE_INVALID;
  }
  VectorList m = members;
  m.num = num;
  auto minCount = [types](int k) { return types[k] == TARQ_CONE_RQUAD ? 3 : 2; };
  if (int rc = CheckMembers(m, cols_.Size(), minCount, stamp_); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  ConeTable& t = sos_cone_.cones;
  if (t.Size() > INT_MAX - num) return TARQ_RETCODE_INVALID;

  const auto n = static_cast<size_t>(num);
  ReserveFor(t.type, n);
  ReserveFor(t.begin, n);
  ReserveFor(t.col, static_cast<size_t>(MembersIn(m)));
  for (int k = 0; k < num; ++k) {
    for (std::int64_t p = m.Begin(k); p < m.End(k); ++p) t.col.push_back(m.idx[p]);
    t.type.push_back(types[k]);
    t.begin.push_back(static_cast<std::int64_t>(t.col.size()));
  }
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::DelCones(int num, const int* list) {
  std::vector<char> drop;
  if (int rc = DropFlags(num, list, sos_cone_.cones.Size(), drop); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  sos_cone_.cones.Erase(drop);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::AddExpCones(int num, const int* types, const int* cols) {
  if (num < 0 || (num > 0 && (types == nullptr || cols == nullptr))) return TARQ_RETCODE_INVALID;
  const int nCol = cols_.Size();
  for (int k = 0; k < num; ++k) {
    if (types[k] != TARQ_EXPCONE_PRIMAL && types[k] != TARQ_EXPCONE_DUAL) return TARQ_RETCODE_INVALID;
    const int* c = cols + 3 * static_cast<std::int64_t>(k);
    for (int m = 0; m < 3; ++m) {
      if (c[m] < 0 || c[m] >= nCol) return TARQ_RETCODE_INVALID;
    }
    if (c[0] == c[1] || c[0] == c[2] || c[1] == c[2]) return TARQ_RETCODE_INVALID;
  }
  if (num == 0) return TARQ_RETCODE_OK;
  ExpConeTable& t = sos_cone_.expCones;
  if (t.Size() > INT_MAX - num) return TARQ_RETCODE_INVALID;
  const auto n = static_cast<size_t>(num);
  ReserveFor(t.type, n);
  ReserveFor(t.col, 3 * n);
  t.type.insert(t.type.end(), types, types + num);
  t.col.insert(t.col.end(), cols, cols + 3 * static_cast<std::int64_t>(num));
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::DelExpCones(int num, const int* list) {
  std::vector<char> drop;
  if (int rc = DropFlags(num, list, sos_cone_.expCones.Size(), drop); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  sos_cone_.expCones.Erase(drop);
  Modified();
  return TARQ_RETCODE_OK;
}

void Problem::ReplaceSosCone(SosConeStore&& sosCones) noexcept {
  std::swap(sos_cone_, sosCones);
  Modified();
}

}  // namespace tarq_solver
