// The mixed-integer engine for smooth problems: Bonmin's nonlinear branch and bound (B-BB),
// which solves the continuous relaxation of every node with Ipopt, over a SmoothEvaluator. The
// problem's special ordered sets are the search's set branching objects.
//
// Output: Bonmin's own messages and those of its search go through a LogRelay, Ipopt's through
// an IpoptLogJournal; no options file is read. Stopping: the search checks the interrupt flag
// at every node (CbcInterrupt), and every node's Ipopt run checks it, and the deadline, at every
// iteration (StoppableTnlp), so an interrupt or the time limit ends the solve promptly. A node
// whose relaxation was cut short may be pruned as if infeasible, so after any stop the search's
// own status and bound are not trusted (see Run).
#include <algorithm>
#include <cmath>
#include <mutex>

#include "solve/clp_engine.h"
#include "solve/engine_hooks.h"
#include "solve/ipopt_engine.h"
#include "solve/smooth_callbacks.h"
#include "solve/smooth_engines.h"

#include <BonBonminSetup.hpp>
#include <BonCbc.hpp>
#include <BonOsiTMINLPInterface.hpp>
#include <BonTMINLP.hpp>
#include <BonTMINLP2TNLP.hpp>
#include <CoinError.hpp>

namespace tarq_solver {

namespace {

// Tolerance of the check of a stopped run's solution; at least the solve's own tolerances.
constexpr double kCheckTolerance = 1e-5;

// The problem's special ordered sets as the search's branching objects (Bonmin makes one set
// object of each; types are the numbers 1 and 2). The arrays belong to info and are released by
// its destructor, hence new[]. O(members).
void FillSosInfo(const SmoothProblem& p, Bonmin::TMINLP::SosInfo& info) {
  info.gutsOfDestructor();
  const int n = p.Sets();
  if (n == 0) return;
  const auto nnz = static_cast<std::size_t>(p.sosIndex.size());
  info.types = new char[static_cast<std::size_t>(n)];
  info.priorities = new int[static_cast<std::size_t>(n)];
  info.starts = new int[static_cast<std::size_t>(n) + 1];
  info.indices = new int[nnz];
  info.weights = new double[nnz];
  for (int k = 0; k < n; ++k) {
    info.types[k] = static_cast<char>(p.sosType[static_cast<std::size_t>(k)]);
    info.priorities[k] = 0;  // no priority of its own: the search's default for sets
  }
  for (int k = 0; k <= n; ++k) info.starts[k] = static_cast<int>(p.sosStart[static_cast<std::size_t>(k)]);
  std::copy(p.sosIndex.begin(), p.sosIndex.end(), info.indices);
  std::copy(p.sosWeight.begin(), p.sosWeight.end(), info.weights);
  info.num = n;
  info.numNz = static_cast<int>(nnz);
}

// The problem as Bonmin sees it: min sense * F(x) with integrality and special ordered sets.
class SmoothTminlp : public SmoothCallbacks<Bonmin::TMINLP> {
 public:
  explicit SmoothTminlp(const SmoothEvaluator& eval) : SmoothCallbacks(eval) { FillSosInfo(eval.Problem(), sos_); }

  bool get_variables_types(Ipopt::Index n, VariableType* types) override {
    const SmoothProblem& p = eval_.Problem();
    for (Ipopt::Index j = 0; j < n; ++j) {
      const auto k = static_cast<std::size_t>(j);
      if (!p.integer[k]) {
        types[j] = CONTINUOUS;
      } else {
        types[j] = p.colLower[k] >= 0 && p.colUpper[k] <= 1 ? BINARY : INTEGER;
      }
    }
    return true;
  }

  bool get_variables_linearity(Ipopt::Index n, Ipopt::TNLP::LinearityType* types) override {
    // Without the Hessian's structure every column may be nonlinear.
    std::fill(types, types + n, eval_.ApproximatesHessian() ? Ipopt::TNLP::NON_LINEAR : Ipopt::TNLP::LINEAR);
    for (std::size_t k = 0; k < eval_.HessRows().size(); ++k) {
      types[eval_.HessRows()[k]] = Ipopt::TNLP::NON_LINEAR;
      types[eval_.HessCols()[k]] = Ipopt::TNLP::NON_LINEAR;
    }
    return true;
  }

  bool get_constraints_linearity(Ipopt::Index m, Ipopt::TNLP::LinearityType* types) override {
    for (Ipopt::Index i = 0; i < m; ++i) {
      types[i] = i < eval_.Problem().LinearRows() ? Ipopt::TNLP::LINEAR : Ipopt::TNLP::NON_LINEAR;
    }
    return true;
  }

  void finalize_solution(TMINLP::SolverReturn, Ipopt::Index, const Ipopt::Number*, Ipopt::Number) override {}
  const BranchingInfo* branchingInfo() const override { return nullptr; }
  const SosInfo* sosConstraints() const override { return sos_.num > 0 ? &sos_ : nullptr; }

 private:
  SosInfo sos_;
};

// True for the outcomes of a node relaxation that say nothing about it: neither a solution nor
// a proof of infeasibility (iteration limit, failed restoration, evaluation errors, ...).
bool RelaxationFailed(Ipopt::SolverReturn status) {
  switch (status) {
    case Ipopt::SUCCESS:
    case Ipopt::STOP_AT_ACCEPTABLE_POINT:
    case Ipopt::LOCAL_INFEASIBILITY:
    case Ipopt::USER_REQUESTED_STOP:
    case Ipopt::FEASIBLE_POINT_FOUND:
      return false;
    default:
      return true;
  }
}

// The node relaxations as Ipopt sees them, stopping at the next iteration once the watch says so
// (and noting the stop in the record), and counting the relaxations that failed in *failures.
// Copies (Bonmin clones the node solver) share all three.
class StoppableTnlp : public Bonmin::TMINLP2TNLP {
 public:
  StoppableTnlp(const Ipopt::SmartPtr<Bonmin::TMINLP>& tminlp, StopWatch* watch, StopRecord* stops, int* failures)
      : Bonmin::TMINLP2TNLP(tminlp), watch_(watch), stops_(stops), failures_(failures) {}
  StoppableTnlp(const StoppableTnlp& other)
      : Bonmin::TMINLP2TNLP(other), watch_(other.watch_), stops_(other.stops_), failures_(other.failures_) {}
  Bonmin::TMINLP2TNLP* clone() const override { return new StoppableTnlp(*this); }

  void finalize_solution(Ipopt::SolverReturn status, Ipopt::Index n, const Ipopt::Number* x,
                         const Ipopt::Number* zL, const Ipopt::Number* zU, Ipopt::Index m, const Ipopt::Number* g,
                         const Ipopt::Number* lambda, Ipopt::Number obj, const Ipopt::IpoptData* data,
                         Ipopt::IpoptCalculatedQuantities* cq) override {
    if (RelaxationFailed(status)) ++*failures_;
    Bonmin::TMINLP2TNLP::finalize_solution(status, n, x, zL, zU, m, g, lambda, obj, data, cq);
  }

  bool intermediate_callback(Ipopt::AlgorithmMode mode, Ipopt::Index iter, Ipopt::Number obj, Ipopt::Number infPr,
                             Ipopt::Number infDu, Ipopt::Number mu, Ipopt::Number dNorm, Ipopt::Number reg,
                             Ipopt::Number alphaDu, Ipopt::Number alphaPr, Ipopt::Index ls,
                             const Ipopt::IpoptData* data, Ipopt::IpoptCalculatedQuantities* cq) override {
    if (watch_->Stop()) {
      stops_->NoteStop();
      return false;
    }
    return Bonmin::TMINLP2TNLP::intermediate_callback(mode, iter, obj, infPr, infDu, mu, dNorm, reg, alphaDu, alphaPr,
                                                      ls, data, cq);
  }

 private:
  StopWatch* watch_;
  StopRecord* stops_;
  int* failures_;
};

// Bonmin's search drives Cbc, whose driver keeps process-wide state: one search at a time.
std::mutex& SearchMutex() {
  static std::mutex mutex;
  return mutex;
}

void SetOptions(Bonmin::BonminSetup& setup, const ParamSet& params, const SmoothEvaluator& eval, const Logger& log) {
  Ipopt::OptionsList& o = *setup.options();
  const int level = EngineLogLevel(params);
  o.SetStringValue("bonmin.algorithm", "B-BB");
  o.SetIntegerValue("bonmin.bb_log_level", std::min(level, 2));
  o.SetIntegerValue("bonmin.nlp_log_level", level >= 3 ? 1 : 0);
  o.SetIntegerValue("print_level", level >= 3 ? static_cast<int>(IpoptPrintLevel(level)) : 0);
  o.SetStringValue("sb", "yes");
  if (const double t = params.Dbl(DblParam::TimeLimit); t < 1e9) o.SetNumericValue("bonmin.time_limit", t);
  if (const int nodes = params.Int(IntParam::NodeLimit); nodes >= 0) o.SetIntegerValue("bonmin.node_limit", nodes);
  o.SetNumericValue("bonmin.allowable_gap", params.Dbl(DblParam::AbsGap));
  o.SetNumericValue("bonmin.allowable_fraction_gap", params.Dbl(DblParam::RelGap));
  o.SetNumericValue("bonmin.integer_tolerance", params.Dbl(DblParam::IntTol));
  if (eval.ApproximatesHessian() && params.Int(IntParam::LogLevel) >= 1) {
    log.Printf("Branch and bound: %s", eval.HessianNote().c_str());
  }
  for (const IpoptSetting& s : IpoptSettings(params, eval)) {
    if (!ApplyIpoptSetting(o, s)) log.Printf("Branch and bound: option %s not accepted", s.name);
  }
}

// The outcome of a search that ended without a proof: which limit stopped it.
int StoppedStatus(const StopWatch& watch, const ParamSet& params, int nodes) {
  if (watch.Interrupted()) return TARQ_STATUS_INTERRUPTED;
  if (watch.TimedOut() || watch.SecondsLeft() <= 0) return TARQ_STATUS_TIMEOUT;
  const int limit = params.Int(IntParam::NodeLimit);
  if (limit >= 0 && nodes >= limit) return TARQ_STATUS_NODELIMIT;
  return TARQ_STATUS_UNFINISHED;
}

int StatusFromBonmin(Bonmin::Bab::MipStatuses status, const StopWatch& watch, const ParamSet& params, int nodes) {
  switch (status) {
    case Bonmin::Bab::FeasibleOptimal: return TARQ_STATUS_OPTIMAL;
    case Bonmin::Bab::ProvenInfeasible: return TARQ_STATUS_INFEASIBLE;
    case Bonmin::Bab::UnboundedOrInfeasible: return TARQ_STATUS_INF_OR_UNB;
    default: return StoppedStatus(watch, params, nodes);
  }
}

int Run(const SmoothEvaluator& eval, const EngineContext& ctx, StopWatch& watch, SmoothResult& out) {
  LogRelay relay(ctx.log, EngineLogLevel(ctx.params));
  StopRecord stops(ctx.interrupt);
  CbcInterrupt cbcInterrupt(stops);
  Bonmin::BonminSetup setup(&relay);
  setup.initializeOptionsAndJournalist();
  setup.readOptionsString("");  // and so no options file is read
  setup.journalist()->DeleteAllJournals();
  const Ipopt::EJournalLevel level = IpoptPrintLevel(EngineLogLevel(ctx.params));
  setup.journalist()->AddJournal(new IpoptLogJournal(ctx.log, level));
  SetOptions(setup, ctx.params, eval, ctx.log);

  Ipopt::SmartPtr<Bonmin::TMINLP> tminlp = new SmoothTminlp(eval);
  Bonmin::OsiTMINLPInterface nlp;
  nlp.initialize(setup.roptions(), setup.options(), setup.journalist(), "bonmin.", tminlp);
  int failures = 0;
  nlp.use(new StoppableTnlp(tminlp, &watch, &stops, &failures));
  nlp.passInMessageHandler(&relay);  // the search's handler is made from this one
  setup.initialize(nlp);

  std::lock_guard<std::mutex> lock(SearchMutex());
  Bonmin::Bab bab;
  bab.model().passInEventHandler(&cbcInterrupt);
  stops.SetSearch(&bab.model());
  bab(setup);
  stops.SetSearch(nullptr);
  out.nodes = bab.numNodes();
  out.iterations = bab.iterationCount();
  const int sense = eval.Problem().sense;
  out.bound = sense > 0 ? -TARQ_INFINITY : TARQ_INFINITY;
  // After a stop (the interrupt, or the deadline cutting a node's relaxation short) the run ends
  // interrupted or at the time limit, its solution is kept only when it checks out, and its
  // bound is the one recorded before the first stop, if any.
  const bool stopped = stops.Stopped();
  if (stopped) {
    out.status = watch.TimedOut() && !stops.Raised() ? TARQ_STATUS_TIMEOUT : TARQ_STATUS_INTERRUPTED;
  } else {
    out.status = StatusFromBonmin(bab.mipStatus(), watch, ctx.params, out.nodes);
  }
  // A node whose relaxation failed is pruned as if infeasible, so infeasibility is not proven.
  if (failures > 0 && (out.status == TARQ_STATUS_INFEASIBLE || out.status == TARQ_STATUS_INF_OR_UNB)) {
    ctx.log.Printf("Branch and bound found no solution, but %d node relaxation(s) failed without a proof of "
                   "infeasibility: the problem is not reported infeasible", failures);
    out.status = TARQ_STATUS_NUMERICAL;
  }
  const double* best = bab.bestSolution();
  const double tol = std::max({kCheckTolerance, ctx.params.Dbl(DblParam::FeasTol), ctx.params.Dbl(DblParam::IntTol)});
  if (best != nullptr && (!stopped || eval.Meets(best, tol))) {
    out.values.assign(best, best + eval.Cols());
    out.hasSolution = true;
    CompleteSmoothSolution(eval, out);
  } else if (best != nullptr) {
    ctx.log.Line("Branch and bound was stopped; its last solution misses the bounds, rows or integrality and is not "
                 "kept");
  }
  double bound = 0;
  if (stopped) {
    if (!stops.Bound(bound)) return TARQ_RETCODE_OK;
  } else if (out.status == TARQ_STATUS_OPTIMAL && out.hasSolution) {
    out.bound = out.objective;
    return TARQ_RETCODE_OK;
  } else if (out.status != TARQ_STATUS_INFEASIBLE && out.status != TARQ_STATUS_INF_OR_UNB) {
    bound = bab.bestBound();
  } else {
    return TARQ_RETCODE_OK;
  }
  if (std::isfinite(bound) && std::fabs(bound) < 1e19) out.bound = sense * bound;
  return TARQ_RETCODE_OK;
}

}  // namespace

int SolveSmoothMip(const SmoothProblem& problem, const EngineContext& ctx, SmoothResult& out) {
  out = SmoothResult();
  const SmoothEvaluator eval(problem);
  StopWatch watch(ctx.interrupt, ctx.params.Dbl(DblParam::TimeLimit));
  if (watch.Stop()) {
    out.status = watch.TimedOut() ? TARQ_STATUS_TIMEOUT : TARQ_STATUS_INTERRUPTED;
    return TARQ_RETCODE_OK;
  }
  try {
    return Run(eval, ctx, watch, out);
  } catch (const std::bad_alloc&) {
    return TARQ_RETCODE_MEMORY;
  } catch (const CoinError& e) {
    ctx.log.Printf("Branch and bound: the engine failed: %s", e.message().c_str());
  } catch (...) {
    ctx.log.Line("Branch and bound: the engine failed");
  }
  return TARQ_RETCODE_INTERNAL;
}

}  // namespace tarq_solver
