// A deletion filter over the finite bounds of columns and rows, the SOS constraints and the
// indicator rows (each SOS and each indicator is one member that the filter may drop). Candidates are removed in
// chunks: a chunk whose removal leaves the system infeasible is dropped whole with one solve, a
// chunk that makes it feasible is split, and a single bound that makes it feasible is kept. Every
// kept bound was tested alone against a superset of the final set, so removing any one member
// of the result makes it feasible: the result is irreducible.
//
// Each test is a feasibility solve (objective zero) of the LP, or of the MIP for problems with
// integer columns, with the problem's parameters and quiet engines. Cost: O(k log n) solves for
// n candidates and an IIS of k members, at most about 2n.
#include "iis/iis.h"

#include <algorithm>

#include "solve/solve_driver.h"
#include "solve/sos_cone_lp.h"

namespace tarq_solver {
namespace {

// One member: a finite bound of column index (row false) or of row index (row true), upper or
// lower side; or (kind kSet / kIndicator) SOS constraint or indicator row index.
struct Candidate {
  enum Kind : char { kBound, kSet, kIndicator };
  int index;
  bool row;
  bool upper;
  Kind kind = kBound;
};

class Filter {
 public:
  Filter(Problem& p, LpData base, SosConeMap map, ParamSet params)
      : p_(p), data_(std::move(base)), map_(std::move(map)), params_(std::move(params)) {}

  // Solves the current system: 1 feasible, 0 infeasible, -1 undecided.
  int Test() {
    if (p_.Interrupt().Raised()) return -1;
    if (setsChanged_) RebuildSets();
    EngineResult res;
    if (RunEngine(p_, data_, params_, false, StartBasis{}, res) != TARQ_RETCODE_OK) return -1;
    ++solves_;
    if (res.status == TARQ_STATUS_OPTIMAL || res.status == TARQ_STATUS_UNBOUNDED) return 1;
    if (res.status == TARQ_STATUS_INFEASIBLE) return 0;
    return -1;
  }

  // Lifts (drop true) or restores the bounds of cands[from, to).
  void Apply(const std::vector<Candidate>& cands, size_t from, size_t to, bool drop) {
    for (size_t k = from; k < to; ++k) {
      const Candidate& c = cands[k];
      if (c.kind == Candidate::kSet) {
        setOn_[static_cast<size_t>(map_.sets[c.index])] = drop ? 0 : 1;
        setsChanged_ = true;
        continue;
      }
      if (c.kind == Candidate::kIndicator) {
        const auto [first, last] = map_.indicatorRows[c.index];
        for (int r = first; r < last; ++r) {
          data_.addLower[r] = drop ? -TARQ_INFINITY : addLower_[r];
          data_.addUpper[r] = drop ? TARQ_INFINITY : addUpper_[r];
        }
        continue;
      }
      double& bound = c.row ? (c.upper ? data_.rowUpper[c.index] : data_.rowLower[c.index])
                            : (c.upper ? data_.colUpper[c.index] : data_.colLower[c.index]);
      const double original = c.row ? (c.upper ? rowUpper_[c.index] : rowLower_[c.index])
                                    : (c.upper ? colUpper_[c.index] : colLower_[c.index]);
      bound = drop ? (c.upper ? TARQ_INFINITY : -TARQ_INFINITY) : original;
    }
  }

  // Keeps in kept the candidates of [from, to) needed for infeasibility; the others stay lifted.
  // Returns false when a test was undecided (the chunk is then kept whole).
  bool Run(const std::vector<Candidate>& cands, size_t from, size_t to, std::vector<Candidate>& kept) {
    if (from >= to) return true;
    Apply(cands, from, to, true);
    const int outcome = Test();
    if (outcome == 0) return true;  // still infeasible without the whole chunk
    Apply(cands, from, to, false);
    if (outcome < 0) {
      kept.insert(kept.end(), cands.begin() + from, cands.begin() + to);
      return false;
    }
    if (to - from == 1) {
      kept.push_back(cands[from]);
      return true;
    }
    const size_t mid = from + (to - from) / 2;
    bool decided = Run(cands, from, mid, kept);
    decided = Run(cands, mid, to, kept) && decided;
    return decided;
  }

  // Remembers the bounds as they are, for Apply to restore.
  void Start() {
    colLower_ = data_.colLower;
    colUpper_ = data_.colUpper;
    rowLower_ = data_.rowLower;
    rowUpper_ = data_.rowUpper;
    addLower_ = data_.addLower;
    addUpper_ = data_.addUpper;
    sets_ = data_;  // only its sets are read
    setOn_.assign(static_cast<size_t>(data_.Sets()), 1);
  }
  int Solves() const { return solves_; }

 private:
  // The data's sets: those of the original data that are switched on. O(set members).
  void RebuildSets() {
    data_.sosType.clear();
    data_.sosStart.assign(1, 0);
    data_.sosIndex.clear();
    data_.sosWeight.clear();
    for (int k = 0; k < sets_.Sets(); ++k) {
      if (!setOn_[static_cast<size_t>(k)]) continue;
      const CoinBigIndex b = sets_.sosStart[k];
      data_.AddSet(sets_.sosType[k], static_cast<int>(sets_.sosStart[k + 1] - b), sets_.sosIndex.data() + b,
                   sets_.sosWeight.data() + b);
    }
    setsChanged_ = false;
  }

  Problem& p_;
  LpData data_;
  SosConeMap map_;
  std::vector<double> colLower_, colUpper_, rowLower_, rowUpper_, addLower_, addUpper_;
  LpData sets_;
  std::vector<char> setOn_;
  bool setsChanged_ = false;
  ParamSet params_;
  int solves_ = 0;
};

}  // namespace

int ComputeIis(Problem& p) {
  p.Interrupt().Lower();
  const double started = WallSeconds();
  LpData data;
  SosConeMap map;
  if (int rc = BuildLpData(p, false, data, &map); rc != TARQ_RETCODE_OK) return rc;
  std::fill(data.obj.begin(), data.obj.end(), 0.0);
  data.objConst = 0;
  ParamSet params = p.Params();
  params.Set(IntParam::LogLevel, 0);  // the trials are quiet; the summary lines below are not
  params.Set(DblParam::FeasTol, p.Params().Dbl(DblParam::IISTol));
  params.Set(IntParam::MipStartMode, 0);

  std::vector<Candidate> cands;
  for (int j = 0; j < data.nCol; ++j) {
    if (data.colLower[j] > -TARQ_INFINITY) cands.push_back({j, false, false});
    if (data.colUpper[j] < TARQ_INFINITY) cands.push_back({j, false, true});
  }
  for (int i = 0; i < data.nRow; ++i) {
    if (data.rowLower[i] > -TARQ_INFINITY) cands.push_back({i, true, false});
    if (data.rowUpper[i] < TARQ_INFINITY) cands.push_back({i, true, true});
  }
  for (int k = 0; k < static_cast<int>(map.sets.size()); ++k) cands.push_back({k, false, false, Candidate::kSet});
  for (int k = 0; k < static_cast<int>(map.indicatorRows.size()); ++k) {
    cands.push_back({k, false, false, Candidate::kIndicator});
  }
  const int nSos = static_cast<int>(map.sets.size()), nInd = static_cast<int>(map.indicatorRows.size());
  Filter filter(p, std::move(data), std::move(map), params);
  filter.Start();
  const int first = filter.Test();
  if (first != 0) {
    p.Log().Printf("IIS: %s", first > 0 ? "the problem is feasible" : "the problem's feasibility was not decided");
    return TARQ_RETCODE_INVALID;
  }
  // Lift every bound first, then run the filter on what the lifted system needs.
  std::vector<Candidate> kept;
  const bool decided = filter.Run(cands, 0, cands.size(), kept);

  const int nCol = p.Cols().Size(), nRow = p.Rows().Size();
  Results& r = p.Result();
  r.ClearSolution();
  r.colLowerIis.assign(static_cast<size_t>(nCol), 0);
  r.colUpperIis.assign(static_cast<size_t>(nCol), 0);
  r.rowLowerIis.assign(static_cast<size_t>(nRow), 0);
  r.rowUpperIis.assign(static_cast<size_t>(nRow), 0);
  r.sosIis.assign(static_cast<size_t>(nSos), 0);
  r.indicatorIis.assign(static_cast<size_t>(nInd), 0);
  int sets = 0, indicators = 0;
  for (const Candidate& c : kept) {
    if (c.kind != Candidate::kBound) {
      (c.kind == Candidate::kSet ? r.sosIis : r.indicatorIis)[c.index] = 1;
      ++(c.kind == Candidate::kSet ? sets : indicators);
      continue;
    }
    (c.row ? (c.upper ? r.rowUpperIis : r.rowLowerIis) : (c.upper ? r.colUpperIis : r.colLowerIis))[c.index] = 1;
  }
  int cols = 0, rows = 0;
  for (int j = 0; j < nCol; ++j) cols += (r.colLowerIis[j] | r.colUpperIis[j]);
  for (int i = 0; i < nRow; ++i) rows += (r.rowLowerIis[i] | r.rowUpperIis[i]);
  r.attrs[IntAttr::HasIIS] = 1;
  r.attrs[IntAttr::IISCols] = cols;
  r.attrs[IntAttr::IISRows] = rows;
  r.attrs[IntAttr::IISSOSs] = sets;
  r.attrs[IntAttr::IISIndicators] = indicators;
  r.attrs[IntAttr::IsMinIIS] = decided ? 1 : 0;
  r.attrs[DblAttr::IISTime] = WallSeconds() - started;
  p.StampResults();
  p.Log().Printf("IIS: %d bound(s) of %d column(s) and %d row(s), %d SOS constraint(s), %d indicator row(s); %d "
                 "solves, %s",
                 static_cast<int>(kept.size()) - sets - indicators, cols, rows, sets, indicators, filter.Solves(),
                 decided ? "minimal" : "stopped early, maybe not minimal");
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
