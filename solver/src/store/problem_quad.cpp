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
  ReserveFor(t.linBegin, n);
  ReserveFor(t.quadBegin, n);
  ReserveFor(t.sense, n);
  ReserveFor(t.rhs, n);
  ReserveFor(t.linIdx, linNnz);
  ReserveFor(t.linVal, linNnz);
  ReserveFor(t.quadRow, quadNnz);
  ReserveFor(t.quadCol, quadNnz);
  ReserveFor(t.quadVal, quadNnz);
  auto staged = t.names.Stage(num, names);
  t.names.Commit(std::move(staged));
  for (int k = 0; k < num; ++k) {
    if (linear.HasEntries()) {
      for (std::int64_t p = linear.Begin(k); p < linear.End(k); ++p) {
        if (linear.val[p] == 0.0) continue;
        t.linIdx.push_back(linear.idx[p]);
        t.linVal.push_back(linear.val[p]);
      }
    }
    if (quad.HasEntries()) {
      for (std::int64_t p = quad.Begin(k); p < quad.End(k); ++p) {
        if (quad.val[p] == 0.0) continue;
        t.quadRow.push_back(quad.idx[p]);
        t.quadCol.push_back(quadCols[p]);
        t.quadVal.push_back(quad.val[p]);
      }
    }
    t.linBegin.push_back(static_cast<std::int64_t>(t.linIdx.size()));
    t.quadBegin.push_back(static_cast<std::int64_t>(t.quadVal.size()));
    t.sense.push_back(senses[k]);
    t.rhs.push_back(rhs[k]);
  }
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
