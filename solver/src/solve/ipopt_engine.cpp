// The interior-point engine for continuous smooth problems: Ipopt over a SmoothEvaluator.
#include "solve/ipopt_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "solve/clp_engine.h"
#include "solve/smooth_callbacks.h"
#include "solve/smooth_engines.h"

#include <IpIpoptApplication.hpp>
#include <IpIpoptData.hpp>
#include <IpTNLP.hpp>

namespace tarq_solver {

// ------------------------------------------------------------------------------ shared pieces --

IpoptLogJournal::IpoptLogJournal(const Logger& log, Ipopt::EJournalLevel level)
    : Ipopt::Journal("tarq", level), log_(log) {}

IpoptLogJournal::~IpoptLogJournal() { FlushBufferImpl(); }

void IpoptLogJournal::PrintImpl(Ipopt::EJournalCategory, Ipopt::EJournalLevel, const char* str) {
  pending_ += str;
  for (std::size_t nl = pending_.find('\n'); nl != std::string::npos; nl = pending_.find('\n')) {
    log_.Line(std::string_view(pending_).substr(0, nl));
    pending_.erase(0, nl + 1);
  }
}

void IpoptLogJournal::PrintfImpl(Ipopt::EJournalCategory category, Ipopt::EJournalLevel level, const char* pformat,
                                 va_list ap) {
  char buf[4096];
  std::vsnprintf(buf, sizeof buf, pformat, ap);
  PrintImpl(category, level, buf);
}

void IpoptLogJournal::FlushBufferImpl() {
  if (!pending_.empty()) log_.Line(pending_);
  pending_.clear();
}

Ipopt::EJournalLevel IpoptPrintLevel(int logLevel) {
  switch (logLevel) {
    case 0: return Ipopt::J_NONE;
    case 1: return Ipopt::J_SUMMARY;
    case 2: return Ipopt::J_ITERSUMMARY;
    default: return Ipopt::J_DETAILED;
  }
}

StopWatch::StopWatch(const InterruptFlag& flag, double timeLimit)
    : flag_(flag), limited_(timeLimit < 1e9) {
  using Clock = std::chrono::steady_clock;
  const std::chrono::duration<double> span(limited_ ? std::max(timeLimit, 0.0) : 0.0);
  deadline_ = limited_ ? Clock::now() + std::chrono::duration_cast<Clock::duration>(span) : Clock::time_point::max();
}

bool StopWatch::Stop() {
  if (flag_.Raised()) interrupted_ = true;
  if (!interrupted_ && limited_ && std::chrono::steady_clock::now() >= deadline_) timedOut_ = true;
  return interrupted_ || timedOut_;
}

double StopWatch::SecondsLeft() const {
  if (!limited_) return TARQ_INFINITY;
  return std::max(0.0, std::chrono::duration<double>(deadline_ - std::chrono::steady_clock::now()).count());
}

std::vector<IpoptSetting> IpoptSettings(const ParamSet& params, const SmoothEvaluator& eval) {
  std::vector<IpoptSetting> s;
  // "NLPTol" is a relative tolerance on the optimum; Ipopt's own test is on the scaled
  // optimality conditions, which are run 100 times tighter to reach it.
  s.push_back(IpoptSetting::Number("tol", params.Dbl(DblParam::NLPTol) * 1e-2));
  s.push_back(IpoptSetting::Number("constr_viol_tol", params.Dbl(DblParam::FeasTol)));
  s.push_back(IpoptSetting::Integer("max_iter", params.Int(IntParam::NLPIterLimit)));
  s.push_back(IpoptSetting::Number("obj_scaling_factor", params.Dbl(DblParam::NLPObjScale)));
  s.push_back(IpoptSetting::Number("nlp_scaling_max_gradient", params.Dbl(DblParam::NLPMaxGrad)));
  s.push_back(IpoptSetting::Number("tau_min", params.Dbl(DblParam::NLPAlphaFac)));
  if (const int mu = params.Int(IntParam::NLPMuUpdate); mu >= 0) {
    s.push_back(IpoptSetting::Text("mu_strategy", mu == 1 ? "adaptive" : "monotone"));
  }
  if (eval.Problem().exactBounds) s.push_back(IpoptSetting::Number("bound_relax_factor", 0.0));
  if (eval.ApproximatesHessian()) {
    s.push_back(IpoptSetting::Text("hessian_approximation", "limited-memory"));
  } else if (eval.ConstantHessian()) {
    s.push_back(IpoptSetting::Text("hessian_constant", "yes"));
  }
  if (eval.LinearRowsOnly()) {
    s.push_back(IpoptSetting::Text("jac_c_constant", "yes"));
    s.push_back(IpoptSetting::Text("jac_d_constant", "yes"));
  }
  return s;
}

bool ApplyIpoptSetting(Ipopt::OptionsList& options, const IpoptSetting& s) {
  switch (s.kind) {
    case IpoptSetting::kText: return options.SetStringValue(s.name, s.text);
    case IpoptSetting::kNumber: return options.SetNumericValue(s.name, s.number);
    default: return options.SetIntegerValue(s.name, s.integer);
  }
}

// ----------------------------------------------------------------------------- the TNLP ------

namespace {

// The problem as Ipopt sees it: min sense * F(x). Stops at the next iteration once the watch
// says so.
class SmoothTnlp : public SmoothCallbacks<Ipopt::TNLP> {
 public:
  SmoothTnlp(const SmoothEvaluator& eval, StopWatch& watch, SmoothResult& out)
      : SmoothCallbacks(eval), watch_(watch), out_(out) {}

  bool intermediate_callback(Ipopt::AlgorithmMode, Ipopt::Index, Ipopt::Number, Ipopt::Number, Ipopt::Number,
                             Ipopt::Number, Ipopt::Number, Ipopt::Number, Ipopt::Number, Ipopt::Number, Ipopt::Index,
                             const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {
    return !watch_.Stop();
  }

  void finalize_solution(Ipopt::SolverReturn, Ipopt::Index n, const Ipopt::Number* x, const Ipopt::Number*,
                         const Ipopt::Number*, Ipopt::Index m, const Ipopt::Number*, const Ipopt::Number* lambda,
                         Ipopt::Number, const Ipopt::IpoptData* data, Ipopt::IpoptCalculatedQuantities*) override {
    out_.values.assign(x, x + n);
    // Ipopt's multipliers satisfy grad(sense F) + J'lambda - zL + zU = 0; ours y = -sense lambda.
    out_.duals.resize(static_cast<std::size_t>(m));
    for (Ipopt::Index i = 0; i < m; ++i) out_.duals[static_cast<std::size_t>(i)] = -Sense() * lambda[i];
    if (data != nullptr) out_.iterations = data->iter_count();
  }

 private:
  StopWatch& watch_;
  SmoothResult& out_;
};

int StatusFromIpopt(Ipopt::ApplicationReturnStatus status, const StopWatch& watch) {
  switch (status) {
    case Ipopt::Solve_Succeeded:
    case Ipopt::Solved_To_Acceptable_Level:
    case Ipopt::Feasible_Point_Found:
      return TARQ_STATUS_OPTIMAL;
    case Ipopt::Infeasible_Problem_Detected:
      return TARQ_STATUS_INFEASIBLE;
    case Ipopt::Diverging_Iterates:
      return TARQ_STATUS_UNBOUNDED;
    case Ipopt::User_Requested_Stop:
      return watch.TimedOut() ? TARQ_STATUS_TIMEOUT : TARQ_STATUS_INTERRUPTED;
    case Ipopt::Maximum_CpuTime_Exceeded:
      return TARQ_STATUS_TIMEOUT;
    case Ipopt::Maximum_Iterations_Exceeded:
      return TARQ_STATUS_UNFINISHED;
    default:
      return TARQ_STATUS_NUMERICAL;
  }
}

}  // namespace

// Fills what a solution holds beyond the values: row values, reduced costs from the duals, the
// objective.
void CompleteSmoothSolution(const SmoothEvaluator& eval, SmoothResult& out) {
  const std::size_t n = static_cast<std::size_t>(eval.Cols());
  out.rowValues.assign(static_cast<std::size_t>(eval.Rows()), 0.0);
  eval.Values(out.values.data(), out.rowValues.data());
  eval.Objective(out.values.data(), &out.objective);
  if (!out.hasDuals) return;
  // d = grad F(x) - J(x)'y.
  out.redCosts.assign(n, 0.0);
  eval.Gradient(out.values.data(), out.redCosts.data());
  std::vector<double> jac(eval.JacRows().size());
  eval.Jacobian(out.values.data(), jac.data());
  for (std::size_t k = 0; k < jac.size(); ++k) {
    out.redCosts[static_cast<std::size_t>(eval.JacCols()[k])] -= jac[k] * out.duals[static_cast<std::size_t>(eval.JacRows()[k])];
  }
}

int SolveSmooth(const SmoothProblem& problem, const EngineContext& ctx, SmoothResult& out) {
  out = SmoothResult();
  const SmoothEvaluator eval(problem);
  StopWatch watch(ctx.interrupt, ctx.params.Dbl(DblParam::TimeLimit));
  if (watch.Stop()) {
    out.status = watch.TimedOut() ? TARQ_STATUS_TIMEOUT : TARQ_STATUS_INTERRUPTED;
    return TARQ_RETCODE_OK;
  }
  if (eval.Cols() == 0) {  // nothing to optimise: the rows are constants
    out.values.clear();
    out.duals.assign(static_cast<std::size_t>(eval.Rows()), 0.0);
    CompleteSmoothSolution(eval, out);
    bool feasible = true;
    for (int i = 0; i < eval.Rows(); ++i) {
      const auto k = static_cast<std::size_t>(i);
      feasible = feasible && eval.RowLower()[k] <= out.rowValues[k] && out.rowValues[k] <= eval.RowUpper()[k];
    }
    out.status = feasible ? TARQ_STATUS_OPTIMAL : TARQ_STATUS_INFEASIBLE;
    out.hasSolution = out.hasDuals = feasible;
    return TARQ_RETCODE_OK;
  }
  if (eval.ApproximatesHessian() && ctx.params.Int(IntParam::LogLevel) >= 1) {
    ctx.log.Printf("Interior point: %s", eval.HessianNote().c_str());
  }
  Ipopt::SmartPtr<Ipopt::IpoptApplication> app = new Ipopt::IpoptApplication(false, false);
  const Ipopt::EJournalLevel level = IpoptPrintLevel(EngineLogLevel(ctx.params));
  Ipopt::SmartPtr<Ipopt::Journal> journal = new IpoptLogJournal(ctx.log, level);
  app->Jnlst()->AddJournal(journal);
  Ipopt::OptionsList& options = *app->Options();
  options.SetStringValue("sb", "yes");
  options.SetIntegerValue("print_level", static_cast<int>(level));
  for (const IpoptSetting& s : IpoptSettings(ctx.params, eval)) {
    if (!ApplyIpoptSetting(options, s)) ctx.log.Printf("Interior point: option %s not accepted", s.name);
  }
  // An empty options file name: no ipopt.opt of the working directory is read.
  if (app->Initialize(std::string()) != Ipopt::Solve_Succeeded) return TARQ_RETCODE_INTERNAL;
  Ipopt::SmartPtr<Ipopt::TNLP> tnlp = new SmoothTnlp(eval, watch, out);
  const Ipopt::ApplicationReturnStatus status = app->OptimizeTNLP(tnlp);
  switch (status) {
    case Ipopt::Insufficient_Memory: return TARQ_RETCODE_MEMORY;
    case Ipopt::Invalid_Problem_Definition: case Ipopt::Invalid_Option: case Ipopt::Unrecoverable_Exception:
    case Ipopt::NonIpopt_Exception_Thrown: case Ipopt::Internal_Error:
      ctx.log.Printf("Interior point: the engine failed (code %d)", static_cast<int>(status));
      return TARQ_RETCODE_INTERNAL;
    default: break;
  }
  out.status = StatusFromIpopt(status, watch);
  if (status == Ipopt::Solved_To_Acceptable_Level) {
    ctx.log.Line("Interior point: solved to the acceptable level, not to the full tolerance");
  }
  if (out.status == TARQ_STATUS_OPTIMAL && out.values.size() == static_cast<std::size_t>(eval.Cols())) {
    out.hasSolution = true;
    out.hasDuals = out.duals.size() == static_cast<std::size_t>(eval.Rows());
    CompleteSmoothSolution(eval, out);
  }
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
