#include "solve/sos_cone_lp.h"

#include <algorithm>
#include <cmath>

namespace tarq_solver {
namespace {

// The range of sum val[p] * x[col[p]] over the column bounds of data; infinite ends stay at
// +-TARQ_INFINITY.
struct ActivityRange {
  double low = 0;
  double high = 0;
};

ActivityRange RangeOf(const LpData& data, const IndicatorTable& t, int k) {
  ActivityRange r;
  bool lowInf = false, highInf = false;
  for (std::int64_t p = t.Begin(k); p < t.End(k); ++p) {
    const double a = t.val[p];
    const double lo = data.colLower[t.col[p]], up = data.colUpper[t.col[p]];
    const double forLow = a > 0 ? lo : up, forHigh = a > 0 ? up : lo;
    if (a == 0) continue;
    if (std::fabs(forLow) >= TARQ_INFINITY) lowInf = true; else r.low += a * forLow;
    if (std::fabs(forHigh) >= TARQ_INFINITY) highInf = true; else r.high += a * forHigh;
  }
  if (lowInf) r.low = -TARQ_INFINITY;
  if (highInf) r.high = TARQ_INFINITY;
  return r;
}

// The indicator row's entries with coefficient c added on column z (merged when z is in the row).
void RowWith(const IndicatorTable& t, int k, int z, double c, std::vector<int>& cols, std::vector<double>& vals) {
  cols.assign(t.col.begin() + t.Begin(k), t.col.begin() + t.End(k));
  vals.assign(t.val.begin() + t.Begin(k), t.val.begin() + t.End(k));
  if (c == 0) return;
  auto at = std::find(cols.begin(), cols.end(), z);
  if (at != cols.end()) {
    vals[static_cast<size_t>(at - cols.begin())] += c;
  } else {
    cols.push_back(z);
    vals.push_back(c);
  }
}

// The big-M form of one side of indicator k (upperSide: a'x <= rhs, otherwise a'x >= rhs) when
// the row's activity over the column bounds is at most `extreme` (upper side) or at least it
// (lower side). With u the indicator's "on" value (u = z for binVal 1, 1 - z for binVal 0):
//   upper side:  a'x + (extreme - rhs) u <= extreme
//   lower side:  a'x - (rhs - extreme) u >= extreme
// At u = 1 this is the row itself; at u = 0 it is a'x <= extreme (>= extreme), which every point
// within the bounds meets. Exact: no point within the column bounds is cut off or let in beyond
// the indicator's meaning. Writing u out in z gives one row over the original columns.
void AddBigMSide(const IndicatorTable& t, int k, bool upperSide, double extreme, LpData& data,
                 std::vector<int>& cols, std::vector<double>& vals) {
  const double rhs = t.bound[k];
  const int z = t.binCol[k];
  const bool onAtOne = t.binVal[k] == 1;
  // Row:  a'x + m u  (sense)  extreme,  m = extreme - rhs.
  const double m = extreme - rhs;
  const double coefZ = onAtOne ? m : -m;
  const double side = onAtOne ? extreme : extreme - m;  // u = 1 - z moves m to the right-hand side
  RowWith(t, k, z, coefZ, cols, vals);
  data.AddSparseRow(static_cast<int>(cols.size()), cols.data(), vals.data(), upperSide ? -TARQ_INFINITY : side,
                    upperSide ? side : TARQ_INFINITY);
}

// The column that is 1 exactly when indicator k is on: z itself for binVal 1, otherwise a
// complement column w in [0, 1] with the row z + w = 1 (one per indicator column, shared).
int OnColumn(const IndicatorTable& t, int k, LpData& data, std::vector<std::pair<int, int>>& complements) {
  const int z = t.binCol[k];
  if (t.binVal[k] == 1) return z;
  for (const auto& [col, w] : complements) {
    if (col == z) return w;
  }
  const int w = data.nCol;
  data.AddCol(0, 0, 1, 0, nullptr, nullptr);
  const int idx[2] = {z, w};
  const double one[2] = {1, 1};
  data.AddSparseRow(2, idx, one, 1, 1);
  complements.emplace_back(z, w);
  return w;
}

// The slack form of indicator k for the sides the big-M form cannot take: slack columns
// sUp >= 0 (for an upper side) and sLow >= 0 (for a lower side) in the row
//   a'x - sUp + sLow  in [lower, upper]
// and the set of type 1 {sUp, sLow, u}. When the indicator is on (u = 1) the set forces both
// slacks to 0 and the row is the user's row; when it is off, one slack absorbs any activity on its
// side. Exact, and needs no bound the problem does not give. The slacks are never negative, so
// branching on the set fixes a member at 0 by its upper bound alone.
void AddSlackForm(const IndicatorTable& t, int k, int u, bool upperSide, bool lowerSide, LpData& data,
                  std::vector<int>& cols, std::vector<double>& vals) {
  const double rhs = t.bound[k];
  int members[3];
  int n = 0;
  RowWith(t, k, -1, 0.0, cols, vals);
  for (const bool up : {true, false}) {
    if (up ? !upperSide : !lowerSide) continue;
    const int s = data.nCol;
    data.AddCol(0, 0.0, TARQ_INFINITY, 0, nullptr, nullptr);
    cols.push_back(s);
    vals.push_back(up ? -1.0 : 1.0);
    members[n++] = s;
  }
  data.AddSparseRow(static_cast<int>(cols.size()), cols.data(), vals.data(), lowerSide ? rhs : -TARQ_INFINITY,
                    upperSide ? rhs : TARQ_INFINITY);
  members[n++] = u;
  const double weights[3] = {1, 2, 3};
  data.AddSet(1, n, members, weights);
}

// Indicator k as internal rows (and columns and sets where needed): each side of its sense takes
// the big-M form when the row's activity is bounded on that side over the column bounds with a
// moderate coefficient, the slack form otherwise. Returns the indicator's own added rows
// [first, last).
std::pair<int, int> AddIndicator(const IndicatorTable& t, int k, LpData& data,
                                 std::vector<std::pair<int, int>>& complements, std::vector<int>& cols,
                                 std::vector<double>& vals) {
  const char sense = t.sense[k];
  const double rhs = t.bound[k];
  const ActivityRange range = RangeOf(data, t, k);
  const bool upper = sense == 'L' || sense == 'E', lower = sense == 'G' || sense == 'E';
  const bool slackUpper = upper && (range.high >= TARQ_INFINITY || range.high - rhs > kMaxBigM);
  const bool slackLower = lower && (range.low <= -TARQ_INFINITY || rhs - range.low > kMaxBigM);
  const int u = slackUpper || slackLower ? OnColumn(t, k, data, complements) : -1;
  const int first = static_cast<int>(data.addLower.size());
  // A side whose bound every point within the column bounds meets needs no row.
  if (upper && !slackUpper && range.high > rhs) AddBigMSide(t, k, true, range.high, data, cols, vals);
  if (lower && !slackLower && range.low < rhs) AddBigMSide(t, k, false, range.low, data, cols, vals);
  if (u >= 0) AddSlackForm(t, k, u, slackUpper, slackLower, data, cols, vals);
  return {first, static_cast<int>(data.addLower.size())};
}

}  // namespace

void AddSosConeConstraints(const SosConeStore& sosCones, LpData& data, const SosConeSelection& select,
                           SosConeMap* map) {
  const SosTable& sos = sosCones.sos;
  if (map != nullptr) {
    map->sets.assign(static_cast<size_t>(sos.Size()), -1);
    map->indicatorRows.clear();
  }
  for (int k = 0; k < sos.Size(); ++k) {
    if (select.sos != nullptr && !(*select.sos)[k]) continue;
    if (map != nullptr) map->sets[k] = data.Sets();
    data.AddSet(sos.type[k], static_cast<int>(sos.End(k) - sos.Begin(k)), sos.col.data() + sos.Begin(k),
                sos.weight.data() + sos.Begin(k));
  }
  const IndicatorTable& ind = sosCones.indicators;
  std::vector<std::pair<int, int>> complements;
  std::vector<int> cols;
  std::vector<double> vals;
  for (int k = 0; k < ind.Size(); ++k) {
    const int at = static_cast<int>(data.addLower.size());
    std::pair<int, int> rows{at, at};
    if (select.indicators == nullptr || (*select.indicators)[k]) rows = AddIndicator(ind, k, data, complements, cols, vals);
    if (map != nullptr) map->indicatorRows.push_back(rows);
  }
}

namespace {

// Whether the members of one set, (weight, value) in any order, meet its type within tol.
bool MeetsSet(int type, std::vector<std::pair<double, double>>& members, double tol) {
  std::sort(members.begin(), members.end());
  int first = -1, last = -1;
  for (int q = 0; q < static_cast<int>(members.size()); ++q) {
    if (std::fabs(members[q].second) <= tol) continue;
    if (first < 0) first = q;
    last = q;
  }
  return first < 0 || last - first + 1 <= type;
}

}  // namespace

bool MeetsSets(const SetList& sets, const double* x, double tol) {
  std::vector<std::pair<double, double>> members;
  for (int k = 0; k < sets.count; ++k) {
    members.clear();
    for (std::int64_t p = sets.start[k]; p < sets.start[k + 1]; ++p) {
      members.emplace_back(sets.weight[p], x[sets.index[p]]);
    }
    if (!MeetsSet(sets.type[k], members, tol)) return false;
  }
  return true;
}

bool MeetsSets(const LpData& data, const double* x, double tol) {
  std::vector<std::pair<double, double>> members;
  for (int k = 0; k < data.Sets(); ++k) {
    members.clear();
    for (CoinBigIndex p = data.sosStart[k]; p < data.sosStart[k + 1]; ++p) {
      members.emplace_back(data.sosWeight[p], x[data.sosIndex[p]]);
    }
    if (!MeetsSet(data.sosType[k], members, tol)) return false;
  }
  return true;
}

}  // namespace tarq_solver
