// The nonlinear part of a problem: nonlinear rows, the nonlinear objective and the nonlinear
// primal start.
//
// Nonlinear row k is  a_k'x + f_k(x)  between lower[k] and upper[k], where f_k is a postfix
// token program (nl/tokens.h) checked when it was stored. Programs are kept back to back with
// their headers, exactly as given: program k owns tokens [tokBegin[k], tokBegin[k + 1]) and
// constants [constBegin[k], constBegin[k + 1]). The linear parts are compressed sparse vectors.
// Memory: 4 bytes per token, 8 per constant, 12 per linear entry, about 48 bytes per row plus
// its name. Appending is amortised O(entries); deleting rows or columns is O(rows + entries).
//
// Deleting columns substitutes the constant 0 for them: a column token of a deleted column
// becomes a constant token of value 0 (the linear entries of the column go, as everywhere in the
// store), and the other column tokens are renumbered.
#pragma once

#include <cstdint>
#include <vector>

#include "store/name_table.h"

namespace tarq_solver {

// Token programs with their constants, back to back.
struct NlPrograms {
  std::vector<std::int64_t> tokBegin{0};
  std::vector<int> tokens;
  std::vector<std::int64_t> constBegin{0};
  std::vector<double> consts;

  int Count() const { return static_cast<int>(tokBegin.size()) - 1; }
  std::int64_t TokBegin(int k) const { return tokBegin[static_cast<std::size_t>(k)]; }
  std::int64_t TokEnd(int k) const { return tokBegin[static_cast<std::size_t>(k) + 1]; }
  std::int64_t ConstBegin(int k) const { return constBegin[static_cast<std::size_t>(k)]; }
  std::int64_t ConstEnd(int k) const { return constBegin[static_cast<std::size_t>(k) + 1]; }
  const int* Tokens(int k) const { return tokens.data() + TokBegin(k); }
  const double* Consts(int k) const { return consts.data() + ConstBegin(k); }
  // Appends one program (checked already); n 0 appends the header alone.
  void Append(const int* tok, std::int64_t n, const double* c, std::int64_t nConst);
  void Clear() { *this = NlPrograms(); }
};

struct NlRowTable {
  NlPrograms programs;
  std::vector<std::int64_t> linBegin{0};
  std::vector<int> linIdx;
  std::vector<double> linVal;
  std::vector<double> lower;  // -1e30 for none
  std::vector<double> upper;  // 1e30 for none
  NameTable names{'N'};

  int Size() const { return static_cast<int>(lower.size()); }
  std::int64_t LinBegin(int k) const { return linBegin[static_cast<std::size_t>(k)]; }
  std::int64_t LinEnd(int k) const { return linBegin[static_cast<std::size_t>(k) + 1]; }
  // Removes the rows whose drop flag is set; the others keep their order.
  void Erase(const std::vector<char>& drop);
};

struct NlStore {
  NlRowTable rows;
  // The nonlinear part of the objective: one program, the header alone when there is none.
  NlPrograms objective;
  // Start values for the nonlinear solve, one per column (NaN: none); empty when none was given.
  std::vector<double> start;

  NlStore() { objective.Append(nullptr, 0, nullptr, 0); }
  bool HasObjective() const { return objective.tokens.size() > 1; }
  bool HasStart() const;
  bool Empty() const { return rows.Size() == 0 && !HasObjective(); }
  // Tokens of every row program and of the objective program, headers included.
  std::int64_t Tokens() const { return static_cast<std::int64_t>(rows.programs.tokens.size() + objective.tokens.size()); }
  // Substitutes 0 for the columns whose drop flag is set and renumbers the others (see above).
  void EraseColumns(const std::vector<char>& drop);
};

}  // namespace tarq_solver
