// A deletion filter over the finite bounds of columns and rows. Candidates are removed in
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

namespace tarq_solver {
namespace {

// One finite bound: of column index (row false) or of row index (row true); upper or lower side.
struct Candidate {
  int index;
  bool row;
  bool upper;
};

class Filter {
 public:
  Filter(Problem& p, LpData base, ParamSet params) : p_(p), data_(std::move(base)), params_(std::move(params)) {}

  // Solves the current system: 1 feasible, 0 infeasible, -1 undecided.
  int Test() {
    if (p_.Interrupt().Raised()) return -1;
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
  }
  int Solves() const { return solves_; }

 private:
  Problem& p_;
  LpData data_;
  std::vector<double> colLower_, colUpper_, rowLower_, rowUpper_;
  ParamSet params_;
  int solves_ = 0;
};

}  // namespace

int ComputeIis(Problem& p) {
  p.Interrupt().Lower();
  const double started = WallSeconds();
  LpData data;
  if (int rc = BuildLpData(p, false, data); rc != TARQ_RETCODE_OK) return rc;
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
  Filter filter(p, std::move(data), params);
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
  for (const Candidate& c : kept) {
    (c.row ? (c.upper ? r.rowUpperIis : r.rowLowerIis) : (c.upper ? r.colUpperIis : r.colLowerIis))[c.index] = 1;
  }
  int cols = 0, rows = 0;
  for (int j = 0; j < nCol; ++j) cols += (r.colLowerIis[j] | r.colUpperIis[j]);
  for (int i = 0; i < nRow; ++i) rows += (r.rowLowerIis[i] | r.rowUpperIis[i]);
  r.attrs[IntAttr::HasIIS] = 1;
  r.attrs[IntAttr::IISCols] = cols;
  r.attrs[IntAttr::IISRows] = rows;
  r.attrs[IntAttr::IsMinIIS] = decided ? 1 : 0;
  r.attrs[DblAttr::IISTime] = WallSeconds() - started;
  p.StampResults();
  p.Log().Printf("IIS: %d bound(s) of %d column(s) and %d row(s); %d solves, %s", static_cast<int>(kept.size()), cols,
                 rows, filter.Solves(), decided ? "minimal" : "stopped early, maybe not minimal");
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
