// Quadratic objective and quadratic rows of the problem.
#include <climits>
#include <cstring>

#include "store/checks.h"
#include "store/grow.h"
#include "store/info_names.h"
#include "store/named_objects.h"
#include "store/problem.h"

namespace tarq_solver {

namespace {

bool ValidQuadSense(char s) { return s == 'L' || s == 'G' || s == 'E'; }

// Checks num quadratic terms: both indices address one of nCol columns, values valid.
int CheckTerms(std::int64_t from, std::int64_t to, const int* rows, const int* cols, const double* vals, int nCol) {
  for (std::int64_t p = from; p < to; ++p) {
    if (rows[p] < 0 || rows[p] >= nCol || cols[p] < 0 || cols[p] >= nCol || !ValidCoef(vals[p])) {
      return TARQ_RETCODE_INVALID;
    }
  }
  return TARQ_RETCODE_OK;
}

// Checks the offsets of a list of quadratic term vectors (as VectorList describes them, with
// the second index array beside it) and every term.
int CheckTermLists(const VectorList& v, const int* cols, int nCol) {
  if (!v.HasEntries()) return TARQ_RETCODE_OK;
  bool any = false;
  for (int k = 0; k < v.num; ++k) {
    if (v.Begin(k) < 0 || v.End(k) < v.Begin(k)) return TARQ_RETCODE_INVALID;
    any = any || v.End(k) > v.Begin(k);
  }
  if (!any) return TARQ_RETCODE_OK;
  if (v.idx == nullptr || cols == nullptr || v.val == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < v.num; ++k) {
    if (int rc = CheckTerms(v.Begin(k), v.End(k), v.idx, cols, v.val, nCol); rc != TARQ_RETCODE_OK) return rc;
  }
  return TARQ_RETCODE_OK;
}

std::int64_t NonzerosIn(const VectorList& v) {
  std::int64_t n = 0;
  if (!v.HasEntries()) return 0;
  for (int k = 0; k < v.num; ++k) {
    for (std::int64_t p = v.Begin(k); p < v.End(k); ++p) n += v.val[p] != 0.0 ? 1 : 0;
  }
  return n;
}

// Copies the listed entries into out (the first n of each array), for the two-call getters.
template <class T, class Vec>
void CopyOut(T* out, const Vec& from, std::int64_t begin, std::int64_t n) {
  if (out != nullptr && n > 0) std::memcpy(out, from.data() + begin, sizeof(T) * static_cast<size_t>(n));
}

// Room for n more quadratic rows with the given nonzeros, so that appending them allocates
// nothing (and a failure to reserve changes nothing).
void ReserveQuadRows(QuadRowTable& t, std::size_t n, std::size_t linNnz, std::size_t quadNnz) {
  ReserveFor(t.linBegin, n);
  ReserveFor(t.quadBegin, n);
  ReserveFor(t.sense, n);
  ReserveFor(t.rhs, n);
  ReserveFor(t.linIdx, linNnz);
  ReserveFor(t.linVal, linNnz);
  ReserveFor(t.quadRow, quadNnz);
  ReserveFor(t.quadCol, quadNnz);
  ReserveFor(t.quadVal, quadNnz);
}

}  // namespace

int Problem::SetQuadObj(int num, const int* rows, const int* cols, const double* vals) {
  if (num < 0 || (num > 0 && (rows == nullptr || cols == nullptr || vals == nullptr))) return TARQ_RETCODE_INVALID;
  if (int rc = CheckTerms(0, num, rows, cols, vals, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  QuadTerms terms;
  std::int64_t kept = 0;
  for (int k = 0; k < num; ++k) kept += vals[k] != 0.0 ? 1 : 0;
  terms.row.reserve(static_cast<size_t>(kept));
  terms.col.reserve(static_cast<size_t>(kept));
  terms.val.reserve(static_cast<size_t>(kept));
  for (int k = 0; k < num; ++k) {
    if (vals[k] == 0.0) continue;
    terms.row.push_back(rows[k]);
    terms.col.push_back(cols[k]);
    terms.val.push_back(vals[k]);
  }
  quad_.objective = std::move(terms);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::GetQuadObj(int size, int* num, int* rows, int* cols, double* vals) const {
  const QuadTerms& t = quad_.objective;
  if (num == nullptr) return TARQ_RETCODE_INVALID;
  *num = t.Size();
  if (rows == nullptr && cols == nullptr && vals == nullptr) return TARQ_RETCODE_OK;
  if (size < t.Size()) return TARQ_RETCODE_INVALID;
  CopyOut(rows, t.row, 0, t.Size());
  CopyOut(cols, t.col, 0, t.Size());
  CopyOut(vals, t.val, 0, t.Size());
  return TARQ_RETCODE_OK;
}

int Problem::AddQConstrs(int num, const VectorList& lin, const VectorList& quadRows, const int* quadCols,
                         const char* senses, const double* rhs, const char* const* names) {
  if (num < 0 || (num > 0 && (senses == nullptr || rhs == nullptr))) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (!ValidQuadSense(senses[k]) || !ValidCoef(rhs[k])) return TARQ_RETCODE_INVALID;
  }
  VectorList linear = lin, quad = quadRows;
  linear.num = quad.num = num;
  if (int rc = CheckVectors(linear, cols_.Size(), stamp_); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = CheckTermLists(quad, quadCols, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  if (quad_.rows.Size() > INT_MAX - num) return TARQ_RETCODE_INVALID;

  // Reserve everything first, so that nothing below allocates and a failure changes nothing.
  QuadRowTable& t = quad_.rows;
  const auto n = static_cast<size_t>(num);
  const auto linNnz = static_cast<size_t>(NonzerosIn(linear));
  const auto quadNnz = static_cast<size_t>(NonzerosIn(quad));
  ReserveQuadRows(t, n, linNnz, quadNnz);
  auto staged = t.names.Stage(num, names);
  t.names.Commit(std::move(staged));
  for (int k = 0; k < num; ++k) {
    const std::int64_t lb = linear.HasEntries() ? linear.Begin(k) : 0;
    const std::int64_t ln = linear.HasEntries() ? linear.End(k) - lb : 0;
    const std::int64_t qb = quad.HasEntries() ? quad.Begin(k) : 0;
    const std::int64_t qn = quad.HasEntries() ? quad.End(k) - qb : 0;
    t.Append(linear.idx + lb, linear.val + lb, ln, quad.idx + qb, quadCols + qb, quad.val + qb, qn, senses[k], rhs[k]);
  }
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::AddQConstr(int linNnz, const int* linIdx, const double* linVal, int quadNnz, const int* quadRow,
                        const int* quadCol, const double* quadVal, char sense, double rhs, const char* name) {
  constexpr int kShortRow = 16;
  if (linNnz < 0 || quadNnz < 0) return TARQ_RETCODE_INVALID;
  if (linNnz > kShortRow || (name != nullptr && name[0] != '\0')) {
    const int linBeg[2] = {0, linNnz};
    const int quadBeg[2] = {0, quadNnz};
    return AddQConstrs(1, VectorList{1, linBeg, nullptr, linIdx, linVal}, VectorList{1, quadBeg, nullptr, quadRow, quadVal},
                       quadCol, &sense, &rhs, &name);
  }
  if (!ValidQuadSense(sense) || !ValidCoef(rhs)) return TARQ_RETCODE_INVALID;
  if (linNnz > 0 && (linIdx == nullptr || linVal == nullptr)) return TARQ_RETCODE_INVALID;
  if (int rc = CheckShortEntries(linIdx, linVal, linNnz, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (quadNnz > 0 && (quadRow == nullptr || quadCol == nullptr || quadVal == nullptr)) return TARQ_RETCODE_INVALID;
  if (int rc = CheckTerms(0, quadNnz, quadRow, quadCol, quadVal, cols_.Size()); rc != TARQ_RETCODE_OK) return rc;
  QuadRowTable& t = quad_.rows;
  if (t.Size() == INT_MAX) return TARQ_RETCODE_INVALID;
  std::size_t linKept = 0, quadKept = 0;
  for (int p = 0; p < linNnz; ++p) linKept += linVal[p] != 0.0 ? 1 : 0;
  for (int p = 0; p < quadNnz; ++p) quadKept += quadVal[p] != 0.0 ? 1 : 0;
  ReserveQuadRows(t, 1, linKept, quadKept);
  auto staged = t.names.Stage(1, nullptr);
  // Nothing below allocates.
  t.names.Commit(std::move(staged));
  t.Append(linIdx, linVal, linNnz, quadRow, quadCol, quadVal, quadNnz, sense, rhs);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::DelQConstrs(int num, const int* list) {
  const int size = quad_.rows.Size();
  if (num < 0 || (num > 0 && list == nullptr)) return TARQ_RETCODE_INVALID;
  if (int rc = CheckList(num, list, size); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  std::vector<char> drop(static_cast<size_t>(size), 0);
  for (int k = 0; k < num; ++k) drop[list[k]] = 1;
  quad_.rows.Erase(drop);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::GetQConstr(int qrow, int linSize, int quadSize, int* linNnz, int* linIdx, double* linVal, int* quadNnz,
                        int* quadRow, int* quadCol, double* quadVal) const {
  const QuadRowTable& t = quad_.rows;
  if (qrow < 0 || qrow >= t.Size()) return TARQ_RETCODE_INVALID;
  const std::int64_t lb = t.LinBegin(qrow), ln = t.LinEnd(qrow) - lb;
  const std::int64_t qb = t.QuadBegin(qrow), qn = t.QuadEnd(qrow) - qb;
  if (linNnz != nullptr) *linNnz = static_cast<int>(ln);
  if (quadNnz != nullptr) *quadNnz = static_cast<int>(qn);
  const bool anyLin = linIdx != nullptr || linVal != nullptr;
  const bool anyQuad = quadRow != nullptr || quadCol != nullptr || quadVal != nullptr;
  if (!anyLin && !anyQuad) return linNnz != nullptr || quadNnz != nullptr ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
  if ((anyLin && linSize < ln) || (anyQuad && quadSize < qn)) return TARQ_RETCODE_INVALID;
  CopyOut(linIdx, t.linIdx, lb, ln);
  CopyOut(linVal, t.linVal, lb, ln);
  CopyOut(quadRow, t.quadRow, qb, qn);
  CopyOut(quadCol, t.quadCol, qb, qn);
  CopyOut(quadVal, t.quadVal, qb, qn);
  return TARQ_RETCODE_OK;
}

int Problem::GetQConstrRhs(int num, const int* list, double* rhs) const {
  return ReadListed(quad_.rows.rhs, num, list, rhs);
}

int Problem::SetQConstrRhs(int num, const int* list, const double* rhs) {
  const int rc = AssignListed(quad_.rows.rhs, num, list, rhs, ValidCoef, Same);
  if (rc == TARQ_RETCODE_OK && num > 0) Modified();
  return rc;
}

int Problem::GetQConstrSense(int num, const int* list, char* senses) const {
  return ReadListed(quad_.rows.sense, num, list, senses);
}

int Problem::SetQConstrSense(int num, const int* list, const char* senses) {
  const int rc = AssignListed(quad_.rows.sense, num, list, senses, ValidQuadSense, [](char c) { return c; });
  if (rc == TARQ_RETCODE_OK && num > 0) Modified();
  return rc;
}

int Problem::GetQConstrInfo(const char* name, int num, const int* list, double* values) {
  const QuadRowTable& t = quad_.rows;
  const InfoName info = ParseInfoName(name);
  if (info == InfoName::kLB || info == InfoName::kUB) {
    if (int rc = CheckList(num, list, t.Size()); rc != TARQ_RETCODE_OK) return rc;
    if (num > 0 && values == nullptr) return TARQ_RETCODE_INVALID;
    for (int k = 0; k < num; ++k) values[k] = info == InfoName::kLB ? t.Lower(At(list, k)) : t.Upper(At(list, k));
    return TARQ_RETCODE_OK;
  }
  if (info != InfoName::kSlack && info != InfoName::kDual) return TARQ_RETCODE_INVALID;
  const Results& r = Result();
  const bool dual = info == InfoName::kDual;
  if (!r.HasSolution(cols_.Size(), rows_.Size()) || (dual && !r.HasDuals(cols_.Size(), rows_.Size()))) {
    return TARQ_RETCODE_INVALID;
  }
  const std::vector<double>& source = dual ? r.quadDuals : r.quadActivity;
  if (static_cast<int>(source.size()) != t.Size()) return TARQ_RETCODE_INVALID;
  return ReadListed(source, num, list, values);
}

void Problem::ReplaceQuad(QuadStore&& quad) noexcept {
  std::swap(quad_, quad);
  Modified();
}

}  // namespace tarq_solver
