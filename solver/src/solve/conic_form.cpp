#include "solve/conic_form.h"

#include <algorithm>
#include <cmath>

namespace tarq_solver {

namespace {

std::int64_t FirstOfColumn(std::int64_t n, std::int64_t j) { return j * n - j * (j - 1) / 2; }

// Column of packed position pos in a matrix of dimension n (positions column by column): the
// root of FirstOfColumn(n, j) = pos, corrected for rounding. O(1).
int PackedColumn(int n, std::int64_t pos) {
  const double t = 2.0 * n + 1;
  auto j = static_cast<std::int64_t>((t - std::sqrt(std::max(0.0, t * t - 8.0 * static_cast<double>(pos)))) / 2);
  j = std::clamp<std::int64_t>(j, 0, n - 1);
  while (j > 0 && FirstOfColumn(n, j) > pos) --j;
  while (j + 1 < n && FirstOfColumn(n, j + 1) <= pos) ++j;
  return static_cast<int>(j);
}

}  // namespace

void PackedRowCol(int n, std::int64_t pos, int& i, int& j) {
  j = PackedColumn(n, pos);
  i = static_cast<int>(j + (pos - FirstOfColumn(n, j)));
}

std::int64_t ConicBlock::Positions() const {
  return lp ? dim : static_cast<std::int64_t>(dim) * (dim + 1) / 2;
}

void ConicBlock::Finish() {
  std::sort(entries.begin(), entries.end(), [](const ConicEntry& a, const ConicEntry& b) {
    return a.var != b.var ? a.var < b.var : a.pos < b.pos;
  });
  size_t out = 0;
  for (size_t k = 0; k < entries.size();) {
    ConicEntry e = entries[k++];
    while (k < entries.size() && entries[k].var == e.var && entries[k].pos == e.pos) e.val += entries[k++].val;
    if (e.val != 0.0) entries[out++] = e;
  }
  entries.resize(out);
}

double InnerWeight(const ConicBlock& block, int pos) {
  if (block.lp) return 1.0;
  // The diagonal position of column j is the first of that column.
  return pos == FirstOfColumn(block.dim, PackedColumn(block.dim, pos)) ? 1.0 : 2.0;
}

int ConicForm::AddVar(double c) {
  if (b.empty()) b.push_back(0.0);
  b.push_back(c);
  return ++m;
}

void ConicForm::AddEquality(const std::vector<std::pair<int, double>>& terms, double rhs) {
  for (const auto& [var, val] : terms) {
    if (val == 0.0) continue;
    eqVar.push_back(var);
    eqVal.push_back(val);
  }
  eqBegin.push_back(static_cast<std::int64_t>(eqVar.size()));
  eqRhs.push_back(rhs);
}

void ConicForm::Finish() {
  if (b.empty()) b.push_back(0.0);
  for (ConicBlock& k : blocks) k.Finish();
}

void ConicForm::Slack(int k, const std::vector<double>& y, std::vector<double>& out) const {
  const ConicBlock& blk = blocks[k];
  out.assign(static_cast<size_t>(blk.Positions()), 0.0);
  for (const ConicEntry& e : blk.entries) out[e.pos] += e.var == 0 ? e.val : -y[e.var] * e.val;
}

void ConicForm::Residual(const std::vector<std::vector<double>>& x, std::vector<double>& r) const {
  r.assign(b.begin(), b.end());
  if (!r.empty()) r[0] = 0.0;
  for (size_t k = 0; k < blocks.size(); ++k) {
    const ConicBlock& blk = blocks[k];
    for (const ConicEntry& e : blk.entries) {
      if (e.var > 0) r[e.var] -= e.val * x[k][e.pos] * InnerWeight(blk, e.pos);
    }
  }
}

}  // namespace tarq_solver
