#include "store/nl_table.h"

#include <cmath>

#include "nl/tokens.h"
#include "store/tables.h"

namespace tarq_solver {

void NlPrograms::Append(const int* tok, std::int64_t n, const double* c, std::int64_t nConst) {
  if (n == 0) {
    tokens.push_back(nl::kHeader);
  } else {
    tokens.insert(tokens.end(), tok, tok + n);
  }
  if (nConst > 0) consts.insert(consts.end(), c, c + nConst);
  tokBegin.push_back(static_cast<std::int64_t>(tokens.size()));
  constBegin.push_back(static_cast<std::int64_t>(consts.size()));
}

namespace {

// The programs of p rewritten for the column numbering pos (-1: column deleted, replaced by a
// constant 0; null: unchanged), without those whose drop flag is set (none when drop is null).
// One pass, O(tokens + constants).
NlPrograms Rewritten(const NlPrograms& p, const std::vector<int>* pos, const std::vector<char>* drop) {
  NlPrograms out;
  out.tokBegin.clear();
  out.constBegin.clear();
  out.tokBegin.reserve(p.tokBegin.size());
  out.constBegin.reserve(p.constBegin.size());
  out.tokens.reserve(p.tokens.size());
  out.consts.reserve(p.consts.size());
  out.tokBegin.push_back(0);
  out.constBegin.push_back(0);
  for (int k = 0; k < p.Count(); ++k) {
    if (drop != nullptr && (*drop)[static_cast<std::size_t>(k)]) continue;
    std::int64_t c = p.ConstBegin(k);
    for (std::int64_t t = p.TokBegin(k); t < p.TokEnd(k); ++t) {
      const int tok = p.tokens[static_cast<std::size_t>(t)];
      if (tok == nl::kSum) {  // the count behind it is not a column
        out.tokens.push_back(tok);
        out.tokens.push_back(p.tokens[static_cast<std::size_t>(++t)]);
      } else if (tok == nl::kConst) {
        out.tokens.push_back(tok);
        out.consts.push_back(p.consts[static_cast<std::size_t>(c++)]);
      } else if (tok >= 0 && pos != nullptr) {
        const int to = (*pos)[static_cast<std::size_t>(tok)];
        if (to >= 0) {
          out.tokens.push_back(to);
        } else {
          out.tokens.push_back(nl::kConst);
          out.consts.push_back(0.0);
        }
      } else {
        out.tokens.push_back(tok);
      }
    }
    out.tokBegin.push_back(static_cast<std::int64_t>(out.tokens.size()));
    out.constBegin.push_back(static_cast<std::int64_t>(out.consts.size()));
  }
  return out;
}

}  // namespace

void NlRowTable::Erase(const std::vector<char>& drop) {
  NlPrograms kept = Rewritten(programs, nullptr, &drop);
  std::vector<std::int64_t> begin{0};
  std::vector<int> idx;
  std::vector<double> val;
  begin.reserve(linBegin.size());
  for (int k = 0; k < Size(); ++k) {
    if (drop[static_cast<std::size_t>(k)]) continue;
    for (std::int64_t p = LinBegin(k); p < LinEnd(k); ++p) {
      idx.push_back(linIdx[static_cast<std::size_t>(p)]);
      val.push_back(linVal[static_cast<std::size_t>(p)]);
    }
    begin.push_back(static_cast<std::int64_t>(idx.size()));
  }
  std::vector<double> lo = lower, up = upper;
  EraseFlagged(lo, drop);
  EraseFlagged(up, drop);
  NameTable n = names;
  n.Erase(drop);
  // Nothing below throws.
  programs = std::move(kept);
  linBegin = std::move(begin);
  linIdx = std::move(idx);
  linVal = std::move(val);
  lower = std::move(lo);
  upper = std::move(up);
  names = std::move(n);
}

bool NlStore::HasStart() const {
  for (double v : start) {
    if (!std::isnan(v)) return true;
  }
  return false;
}

void NlStore::EraseColumns(const std::vector<char>& drop) {
  std::vector<int> pos(drop.size(), -1);
  int next = 0;
  for (std::size_t j = 0; j < drop.size(); ++j) {
    if (!drop[j]) pos[j] = next++;
  }
  NlPrograms rowPrograms = Rewritten(rows.programs, &pos, nullptr);
  NlPrograms objProgram = Rewritten(objective, &pos, nullptr);
  std::vector<std::int64_t> begin{0};
  std::vector<int> idx;
  std::vector<double> val;
  begin.reserve(rows.linBegin.size());
  for (int k = 0; k < rows.Size(); ++k) {
    for (std::int64_t p = rows.LinBegin(k); p < rows.LinEnd(k); ++p) {
      const int to = pos[static_cast<std::size_t>(rows.linIdx[static_cast<std::size_t>(p)])];
      if (to < 0) continue;
      idx.push_back(to);
      val.push_back(rows.linVal[static_cast<std::size_t>(p)]);
    }
    begin.push_back(static_cast<std::int64_t>(idx.size()));
  }
  std::vector<double> s = start;
  if (!s.empty()) EraseFlagged(s, drop);
  rows.programs = std::move(rowPrograms);
  objective = std::move(objProgram);
  rows.linBegin = std::move(begin);
  rows.linIdx = std::move(idx);
  rows.linVal = std::move(val);
  start = std::move(s);
}

}  // namespace tarq_solver
