// Nonlinear rows, the nonlinear objective and the nonlinear primal start of the problem.
#include <climits>
#include <cmath>
#include <limits>
#include <cstring>
#include <string>

#include "nl/tokens.h"
#include "store/checks.h"
#include "store/grow.h"
#include "store/info_names.h"
#include "store/problem.h"

namespace tarq_solver {

namespace {

// Checks one program and logs why it was refused; what names the row or the objective.
int CheckLogged(const Logger& log, const std::string& what, const int* tokens, std::int64_t n, const double* consts,
                std::int64_t nConst, int nCol) {
  nl::ProgramError err;
  if (nl::CheckProgram(tokens, n, consts, nConst, nCol, &err)) return TARQ_RETCODE_OK;
  log.Printf("%s: token %lld: %s", what.c_str(), static_cast<long long>(err.position), err.what.c_str());
  return TARQ_RETCODE_INVALID;
}

// Checks the offsets of num ranges of a list; any: set when some range is not empty.
int CheckRanges(const VectorList& v, int num, bool* any) {
  *any = false;
  if (!v.HasEntries()) return TARQ_RETCODE_OK;
  for (int k = 0; k < num; ++k) {
    if (v.Begin(k) < 0 || v.End(k) < v.Begin(k)) return TARQ_RETCODE_INVALID;
    *any = *any || v.End(k) > v.Begin(k);
  }
  return TARQ_RETCODE_OK;
}

template <class T>
void CopyOut(T* out, const std::vector<T>& from, std::int64_t begin, std::int64_t n) {
  if (out != nullptr && n > 0) std::memcpy(out, from.data() + begin, sizeof(T) * static_cast<std::size_t>(n));
}

// Reads program k of p (header included) with the two-call protocol.
int ReadProgram(const NlPrograms& p, int k, int tokSize, int constSize, int* numTok, int* tokens, int* numConst,
                double* consts) {
  const std::int64_t tb = p.TokBegin(k), tn = p.TokEnd(k) - tb;
  const std::int64_t cb = p.ConstBegin(k), cn = p.ConstEnd(k) - cb;
  if (numTok != nullptr) *numTok = static_cast<int>(tn);
  if (numConst != nullptr) *numConst = static_cast<int>(cn);
  if ((tokens != nullptr && tokSize < tn) || (consts != nullptr && constSize < cn)) return TARQ_RETCODE_INVALID;
  CopyOut(tokens, p.tokens, tb, tn);
  CopyOut(consts, p.consts, cb, cn);
  return TARQ_RETCODE_OK;
}

}  // namespace

int Problem::AddNlConstrs(int num, const VectorList& tokens, const VectorList& consts, const VectorList& lin,
                          const char* senses, const double* bound, const double* upper, const char* const* names) {
  if (num < 0 || (num > 0 && (bound == nullptr || (senses == nullptr && upper == nullptr)))) {
    return TARQ_RETCODE_INVALID;
  }
  const int nCol = cols_.Size();
  std::vector<double> lo(static_cast<std::size_t>(num)), up(static_cast<std::size_t>(num));
  for (int k = 0; k < num; ++k) {
    const char s = senses != nullptr ? senses[k] : 0;
    const double u = upper != nullptr ? upper[k] : 0.0;
    if (RowBounds(s, bound[k], u, &lo[static_cast<std::size_t>(k)], &up[static_cast<std::size_t>(k)]) != 0) {
      log_.Printf("Nonlinear row %d: invalid sense or bounds", nl_.rows.Size() + k);
      return TARQ_RETCODE_INVALID;
    }
  }
  VectorList linear = lin;
  linear.num = num;
  if (int rc = CheckVectors(linear, nCol, stamp_); rc != TARQ_RETCODE_OK) return rc;
  bool anyTok = false, anyConst = false;
  if (CheckRanges(tokens, num, &anyTok) != 0 || CheckRanges(consts, num, &anyConst) != 0) return TARQ_RETCODE_INVALID;
  if ((anyTok && tokens.idx == nullptr) || (anyConst && consts.val == nullptr)) return TARQ_RETCODE_INVALID;
  std::int64_t nTok = 0, nConst = 0;
  for (int k = 0; k < num; ++k) {
    const std::int64_t tb = tokens.HasEntries() ? tokens.Begin(k) : 0;
    const std::int64_t tn = tokens.HasEntries() ? tokens.End(k) - tb : 0;
    const std::int64_t cb = consts.HasEntries() ? consts.Begin(k) : 0;
    const std::int64_t cn = consts.HasEntries() ? consts.End(k) - cb : 0;
    const std::string what = "Nonlinear row " + std::to_string(nl_.rows.Size() + k);
    if (int rc = CheckLogged(log_, what, tokens.idx + tb, tn, consts.val + cb, cn, nCol); rc != TARQ_RETCODE_OK) {
      return rc;
    }
    nTok += tn == 0 ? 1 : tn;
    nConst += cn;
  }
  if (num == 0) return TARQ_RETCODE_OK;
  if (nl_.rows.Size() > INT_MAX - num) return TARQ_RETCODE_INVALID;

  // Reserve everything first, so that nothing below allocates and a failure changes nothing.
  NlRowTable& t = nl_.rows;
  const auto n = static_cast<std::size_t>(num);
  std::int64_t linNnz = 0;
  if (linear.HasEntries()) {
    for (int k = 0; k < num; ++k) {
      for (std::int64_t p = linear.Begin(k); p < linear.End(k); ++p) linNnz += linear.val[p] != 0.0 ? 1 : 0;
    }
  }
  ReserveFor(t.programs.tokBegin, n);
  ReserveFor(t.programs.constBegin, n);
  ReserveFor(t.programs.tokens, static_cast<std::size_t>(nTok));
  ReserveFor(t.programs.consts, static_cast<std::size_t>(nConst));
  ReserveFor(t.linBegin, n);
  ReserveFor(t.linIdx, static_cast<std::size_t>(linNnz));
  ReserveFor(t.linVal, static_cast<std::size_t>(linNnz));
  ReserveFor(t.lower, n);
  ReserveFor(t.upper, n);
  auto staged = t.names.Stage(num, names);
  t.names.Commit(std::move(staged));
  for (int k = 0; k < num; ++k) {
    const std::int64_t tb = tokens.HasEntries() ? tokens.Begin(k) : 0;
    const std::int64_t tn = tokens.HasEntries() ? tokens.End(k) - tb : 0;
    const std::int64_t cb = consts.HasEntries() ? consts.Begin(k) : 0;
    const std::int64_t cn = consts.HasEntries() ? consts.End(k) - cb : 0;
    t.programs.Append(tokens.idx + tb, tn, consts.val + cb, cn);
    if (linear.HasEntries()) {
      for (std::int64_t p = linear.Begin(k); p < linear.End(k); ++p) {
        if (linear.val[p] == 0.0) continue;
        t.linIdx.push_back(linear.idx[p]);
        t.linVal.push_back(linear.val[p]);
      }
    }
    t.linBegin.push_back(static_cast<std::int64_t>(t.linIdx.size()));
    t.lower.push_back(lo[static_cast<std::size_t>(k)]);
    t.upper.push_back(up[static_cast<std::size_t>(k)]);
  }
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::DelNlConstrs(int num, const int* list) {
  const int size = nl_.rows.Size();
  if (num < 0 || (num > 0 && list == nullptr)) return TARQ_RETCODE_INVALID;
  if (int rc = CheckList(num, list, size); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  std::vector<char> drop(static_cast<std::size_t>(size), 0);
  for (int k = 0; k < num; ++k) drop[static_cast<std::size_t>(list[k])] = 1;
  nl_.rows.Erase(drop);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::GetNlConstr(int row, int tokSize, int constSize, int linSize, int* numTok, int* tokens, int* numConst,
                         double* consts, int* linNnz, int* linIdx, double* linVal) const {
  const NlRowTable& t = nl_.rows;
  if (row < 0 || row >= t.Size()) return TARQ_RETCODE_INVALID;
  const std::int64_t lb = t.LinBegin(row), ln = t.LinEnd(row) - lb;
  if (linNnz != nullptr) *linNnz = static_cast<int>(ln);
  if ((linIdx != nullptr || linVal != nullptr) && linSize < ln) return TARQ_RETCODE_INVALID;
  if (int rc = ReadProgram(t.programs, row, tokSize, constSize, numTok, tokens, numConst, consts); rc != 0) return rc;
  CopyOut(linIdx, t.linIdx, lb, ln);
  CopyOut(linVal, t.linVal, lb, ln);
  return TARQ_RETCODE_OK;
}

int Problem::SetNlConstrBounds(bool lower, int num, const int* list, const double* values) {
  NlRowTable& t = nl_.rows;
  const int rc = lower ? AssignListed(t.lower, num, list, values, ValidLower, ClampInf)
                       : AssignListed(t.upper, num, list, values, ValidUpper, ClampInf);
  if (rc == TARQ_RETCODE_OK && num > 0) Modified();
  return rc;
}

int Problem::GetNlConstrInfo(const char* name, int num, const int* list, double* values) {
  const NlRowTable& t = nl_.rows;
  const InfoName info = ParseInfoName(name);
  if (info == InfoName::kLB) return ReadListed(t.lower, num, list, values);
  if (info == InfoName::kUB) return ReadListed(t.upper, num, list, values);
  if (info != InfoName::kSlack && info != InfoName::kDual) return TARQ_RETCODE_INVALID;
  const Results& r = Result();
  const bool dual = info == InfoName::kDual;
  if (!r.HasSolution(cols_.Size(), rows_.Size()) || (dual && !r.HasDuals(cols_.Size(), rows_.Size()))) {
    return TARQ_RETCODE_INVALID;
  }
  const std::vector<double>& source = dual ? r.nlDuals : r.nlActivity;
  if (static_cast<int>(source.size()) != t.Size()) return TARQ_RETCODE_INVALID;
  return ReadListed(source, num, list, values);
}

int Problem::SetNlObj(int nToken, int nConst, const int* tokens, const double* consts) {
  if (int rc = CheckLogged(log_, "Nonlinear objective", tokens, nToken, consts, nConst, cols_.Size()); rc != 0) {
    return rc;
  }
  NlPrograms program;
  program.Append(tokens, nToken, consts, nConst);
  std::swap(nl_.objective, program);
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::GetNlObj(int tokSize, int constSize, int* numTok, int* tokens, int* numConst, double* consts) const {
  return ReadProgram(nl_.objective, 0, tokSize, constSize, numTok, tokens, numConst, consts);
}

int Problem::SetNlPrimalStart(int num, const int* list, const double* values) {
  const int nCol = cols_.Size();
  auto finite = [](double v) { return std::isfinite(v); };
  if (int rc = CheckListed(nCol, num, list, values, finite); rc != TARQ_RETCODE_OK) return rc;
  if (num == 0) return TARQ_RETCODE_OK;
  // Columns added since the last call have no start yet.
  if (nl_.start.size() < static_cast<std::size_t>(nCol)) {
    nl_.start.resize(static_cast<std::size_t>(nCol), std::numeric_limits<double>::quiet_NaN());
  }
  for (int k = 0; k < num; ++k) nl_.start[static_cast<std::size_t>(At(list, k))] = values[k];
  return TARQ_RETCODE_OK;
}

void Problem::ReplaceNl(NlStore&& nl) noexcept {
  std::swap(nl_, nl);
  Modified();
}

}  // namespace tarq_solver
