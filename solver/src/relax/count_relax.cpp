#include "relax/count_relax.h"

#include <algorithm>
#include <cmath>

namespace tarq_solver {
namespace {

constexpr double kInf = TARQ_INFINITY;

bool Finite(double v) { return std::fabs(v) < kInf; }

// Activity range of every row over the column box [lo, up]: finite parts and the number of
// infinite contributions to each end.
struct Activity {
  std::vector<double> min, max;
  std::vector<int> minInf, maxInf;
};

Activity RowActivity(const LpData& d, const std::vector<double>& lo, const std::vector<double>& up) {
  Activity a{std::vector<double>(d.nRow, 0.0), std::vector<double>(d.nRow, 0.0), std::vector<int>(d.nRow, 0),
             std::vector<int>(d.nRow, 0)};
  for (int j = 0; j < d.nCol; ++j) {
    for (CoinBigIndex p = d.start[j]; p < d.start[j + 1]; ++p) {
      const int i = d.index[p];
      const double v = d.value[p];
      const double low = v > 0 ? lo[j] : up[j], high = v > 0 ? up[j] : lo[j];
      if (Finite(low)) a.min[i] += v * low; else ++a.minInf[i];
      if (Finite(high)) a.max[i] += v * high; else ++a.maxInf[i];
    }
  }
  return a;
}

// One round of propagation: each hard row bound limits each of its columns by what the other
// columns can contribute at most. Tightens lo and up in place.
void Propagate(const LpData& d, const std::vector<double>& rowLo, const std::vector<double>& rowUp,
               std::vector<double>& lo, std::vector<double>& up) {
  const Activity a = RowActivity(d, lo, up);
  for (int j = 0; j < d.nCol; ++j) {
    for (CoinBigIndex p = d.start[j]; p < d.start[j + 1]; ++p) {
      const int i = d.index[p];
      const double v = d.value[p];
      if (std::fabs(v) < 1e-9) continue;
      const double low = v > 0 ? lo[j] : up[j], high = v > 0 ? up[j] : lo[j];
      // The others' least and largest activity, when finite.
      const bool minOk = a.minInf[i] == 0 || (a.minInf[i] == 1 && !Finite(low));
      const bool maxOk = a.maxInf[i] == 0 || (a.maxInf[i] == 1 && !Finite(high));
      const double othersMin = a.min[i] - (Finite(low) ? v * low : 0.0);
      const double othersMax = a.max[i] - (Finite(high) ? v * high : 0.0);
      if (Finite(rowUp[i]) && minOk) {  // v x_j <= U - othersMin
        const double b = (rowUp[i] - othersMin) / v;
        if (v > 0) up[j] = std::min(up[j], b); else lo[j] = std::max(lo[j], b);
      }
      if (Finite(rowLo[i]) && maxOk) {  // v x_j >= L - othersMax
        const double b = (rowLo[i] - othersMax) / v;
        if (v > 0) lo[j] = std::max(lo[j], b); else up[j] = std::min(up[j], b);
      }
    }
  }
}

}  // namespace

std::vector<double> ViolationLimits(const LpData& d, const std::vector<double>* pen, std::vector<std::string>& what) {
  std::vector<double> lo = d.colLower, up = d.colUpper, hardRowLo = d.rowLower, hardRowUp = d.rowUpper;
  for (int j = 0; j < d.nCol; ++j) {
    if (pen[0][j] >= 0) lo[j] = -kInf;
    if (pen[1][j] >= 0) up[j] = kInf;
  }
  for (int i = 0; i < d.nRow; ++i) {
    if (pen[2][i] >= 0) hardRowLo[i] = -kInf;
    if (pen[3][i] >= 0) hardRowUp[i] = kInf;
  }
  for (int round = 0; round < 3; ++round) Propagate(d, hardRowLo, hardRowUp, lo, up);
  const Activity a = RowActivity(d, lo, up);
  std::vector<double> limits;
  auto add = [&](double m, std::string text) {
    limits.push_back(Finite(m) ? std::max(0.0, m) : kInf);
    what.push_back(std::move(text));
  };
  for (int i = 0; i < d.nRow; ++i) {
    if (pen[2][i] >= 0 && Finite(d.rowLower[i])) {
      add(a.minInf[i] == 0 ? d.rowLower[i] - a.min[i] : kInf, "lower bound of row " + std::to_string(i));
    }
    if (pen[3][i] >= 0 && Finite(d.rowUpper[i])) {
      add(a.maxInf[i] == 0 ? a.max[i] - d.rowUpper[i] : kInf, "upper bound of row " + std::to_string(i));
    }
  }
  for (int j = 0; j < d.nCol; ++j) {
    if (pen[0][j] >= 0 && Finite(d.colLower[j])) {
      add(Finite(lo[j]) ? d.colLower[j] - lo[j] : kInf, "lower bound of column " + std::to_string(j));
    }
    if (pen[1][j] >= 0 && Finite(d.colUpper[j])) {
      add(Finite(up[j]) ? up[j] - d.colUpper[j] : kInf, "upper bound of column " + std::to_string(j));
    }
  }
  return limits;
}

int CountViolations(LpData& data, int first, const std::vector<double>& limits, const std::vector<std::string>& what,
                    const Logger& log) {
  const int count = static_cast<int>(limits.size());
  int hard = 0;
  std::string names;
  for (int k = 0; k < count && first + k < data.nCol; ++k) {
    const int v = first + k;
    const double weight = data.obj[v];
    data.obj[v] = 0;
    if (!Finite(limits[k])) {
      data.colUpper[v] = 0;
      if (hard++ < 10) names += (names.empty() ? "" : ", ") + what[k];
      continue;
    }
    data.colUpper[v] = limits[k];
    if (limits[k] == 0) continue;  // never violated: nothing to count
    data.AddCol(weight, 0, 1, 0, nullptr, nullptr);
    data.integer.back() = 1;
    const int cols[] = {v, data.nCol - 1};
    const double vals[] = {1, -limits[k]};
    data.AddSparseRow(2, cols, vals, -kInf, 0);
  }
  if (hard > 0) {
    log.Printf("FeasRelax: %d relaxable bound%s cannot be counted, since the bounds that stay hard do not limit "
               "how far %s can be violated; they stay hard: %s%s",
               hard, hard == 1 ? "" : "s", hard == 1 ? "it" : "they", names.c_str(), hard > 10 ? ", ..." : "");
  }
  return hard;
}

}  // namespace tarq_solver
