// tarq-solve: reads a problem file (or builds a small example), solves it and prints a summary.
// Everything goes through the modeling layer's interfaces.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "example_model.h"
#include "options.h"
#include "tarq.h"
#include "tarq/tarq.hpp"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFile = 2;
constexpr int kExitSolve = 3;

class DiscardLog : public Tarq::ILogCallback {
 public:
  void Display(const char*) override {}
};

// Receives the solver's log lines: shows them while echo is on, and keeps the last one, which
// names the file and the fault when reading or writing fails.
class SolverLog : public Tarq::ILogCallback {
 public:
  void Display(const char* msg) override {
    last = msg;
    if (echo) {
      std::fputs(msg, stdout);
      std::fputc('\n', stdout);
      std::fflush(stdout);
    }
  }
  bool echo = false;
  std::string last;
};

const char* StatusWord(int status) {
  switch (status) {
    case TARQ_STATUS_UNSTARTED: return "unstarted";
    case TARQ_STATUS_OPTIMAL: return "optimal";
    case TARQ_STATUS_INFEASIBLE: return "infeasible";
    case TARQ_STATUS_UNBOUNDED: return "unbounded";
    case TARQ_STATUS_INF_OR_UNB: return "infeasible_or_unbounded";
    case TARQ_STATUS_NUMERICAL: return "numerical_trouble";
    case TARQ_STATUS_NODELIMIT: return "node_limit";
    case TARQ_STATUS_TIMEOUT: return "time_limit";
    case TARQ_STATUS_INTERRUPTED: return "interrupted";
    case TARQ_STATUS_UNFINISHED: return "unfinished";
    case TARQ_STATUS_LOCALLY_OPTIMAL: return "locally_optimal";
    default: return "unknown";
  }
}

std::string Message(const Tarq::IModel& model) {
  return model.GetErrorMsg() != nullptr ? model.GetErrorMsg() : "unknown error";
}

// Why a file operation failed: the solver's own line when it logged one, else the model's status.
std::string FileFailure(const Tarq::IModel& model, const SolverLog& log, const std::string& what,
                        const std::string& file) {
  if (!log.last.empty()) return log.last;
  return "cannot " + what + " " + file + ": " + Message(model);
}

int Fail(int code, const std::string& text) {
  std::fprintf(stderr, "tarq-solve: %s\n", text.c_str());
  return code;
}

// Sets one --param NAME=VALUE, checking the name's kind and the value's form; "" when it worked.
std::string SetParam(Tarq::IModel& model, const std::string& name, const std::string& value) {
  int kind = -1;
  try {
    kind = model.SearchParamAttr(name.c_str());
  } catch (const Tarq::Exception&) {
    kind = -1;
  }
  if (kind == 2 || kind == 3) return name + " is an attribute, not a parameter";
  if (kind != 0 && kind != 1) return "unknown parameter " + name;
  std::size_t used = 0;
  try {
    if (kind == 1) {
      const long long v = std::stoll(value, &used);
      if (used != value.size() || v < -2147483647LL - 1 || v > 2147483647LL) throw std::invalid_argument(value);
      model.SetIntParam(name.c_str(), static_cast<int>(v));
    } else {
      const double v = std::stod(value, &used);
      if (used != value.size()) throw std::invalid_argument(value);
      model.SetDblParam(name.c_str(), v);
    }
  } catch (const std::logic_error&) {
    return "parameter " + name + " takes " + (kind == 1 ? "an integer" : "a number") + ", got \"" + value + "\"";
  }
  if (model.GetErrorCode() != 0) return "cannot set " + name + " to " + value + ": " + Message(model);
  return "";
}

// "LP", "MIP", "QP", "QCP", "MIQP" or "MIQCP": the class of problem solved (a relaxation when lp);
// "SDP" when the model has semidefinite parts; "EXP" ("MIEXP") with exponential cones, else
// "SOCP" ("MISOCP") with second-order cones.
std::string ProblemClass(Tarq::IModel& model, bool mip) {
  const int semidefinite =
      model.GetIntAttr("PSDCols") + model.GetIntAttr("PSDConstrs") + model.GetIntAttr("LMIConstrs");
  if (semidefinite > 0) return "SDP";
  const std::string prefix = mip ? "MI" : "";
  if (model.GetIntAttr("ExpCones") > 0) return prefix + "EXP";
  if (model.GetIntAttr("Cones") > 0) return prefix + "SOCP";
  const bool qcp = model.GetIntAttr("QConstrs") > 0;
  const bool qp = model.GetIntAttr("HasQObj") == 1;
  return std::string(mip ? "MI" : "") + (qcp ? "QCP" : qp ? "QP" : mip ? "P" : "LP");
}

void PrintSummary(Tarq::IModel& model, bool lp) {
  const bool mip = !lp && model.GetIntAttr("IsMIP") == 1;
  std::printf("Model: %d columns, %d rows, %d nonzeros", model.GetIntAttr("Cols"), model.GetIntAttr("Rows"),
              model.GetIntAttr("Elems"));
  if (const int q = model.GetIntAttr("QConstrs"); q > 0) std::printf(", %d quadratic rows", q);
  if (const int q = model.GetIntAttr("QElems"); q > 0) std::printf(", %d quadratic objective terms", q);
  if (const int c = model.GetIntAttr("Cones"); c > 0) std::printf(", %d cones", c);
  if (const int c = model.GetIntAttr("ExpCones"); c > 0) std::printf(", %d exponential cones", c);
  std::printf(" (%s)\n", ProblemClass(model, mip).c_str());
  const int status = model.GetIntAttr(mip ? "MipStatus" : "LpStatus");
  std::printf("Status: %s\n", StatusWord(status));
  const bool has = model.GetIntAttr(mip ? "HasMipSol" : "HasLpSol") == 1;
  if (has) std::printf("Objective: %.10g\n", model.GetDblAttr(mip ? "BestObj" : "LpObjval"));
  std::printf("Solving time: %.3f s\n", model.GetDblAttr("SolvingTime"));
}

int Run(const tarqsolve::Options& opt) {
  DiscardLog discard;
  std::unique_ptr<Tarq::IEnvr> env(CreateEnvr(opt.quiet ? &discard : nullptr));
  if (env->GetErrorCode() != 0) return Fail(kExitSolve, std::string("cannot start: ") + env->GetErrorMsg());
  std::unique_ptr<Tarq::IModel> model(env->CreateModel(opt.file.empty() ? "example" : opt.file.c_str()));
  if (model->GetErrorCode() != 0) return Fail(kExitSolve, "cannot create a model: " + Message(*model));
  // The solver's lines come through the log sink; they are shown while solving.
  SolverLog log;
  model->SetIntParam("LogToConsole", 0);
  model->SetLogCallback(&log);

  if (opt.file.empty()) {
    std::string error;
    if (!tarqsolve::BuildExample(*model, error)) return Fail(kExitSolve, "cannot build the example: " + error);
  } else if (tarqsolve::EndsWithAny(opt.file, {".qps", ".qps.gz"})) {
    // The public QP sets use .qps for MPS with quadratic sections; the modeling layer's Read keeps
    // to its own suffixes, so such files go to the MPS reader directly.
    model->ReadMps(opt.file.c_str());
    if (model->GetErrorCode() != 0) return Fail(kExitFile, FileFailure(*model, log, "read", opt.file));
  } else {
    model->Read(opt.file.c_str());
    if (model->GetErrorCode() != 0) return Fail(kExitFile, FileFailure(*model, log, "read", opt.file));
  }
  for (const auto& [name, value] : opt.params) {
    const std::string error = SetParam(*model, name, value);
    if (!error.empty()) return Fail(kExitUsage, error);
  }
  if (opt.timeLimit) {
    model->SetDblParam("TimeLimit", *opt.timeLimit);
    if (model->GetErrorCode() != 0) return Fail(kExitUsage, "cannot set the time limit: " + Message(*model));
  }
  if (!opt.writeFile.empty()) {
    log.last.clear();
    model->Write(opt.writeFile.c_str());
    if (model->GetErrorCode() != 0) return Fail(kExitFile, FileFailure(*model, log, "write", opt.writeFile));
  }

  log.echo = !opt.quiet;
  log.last.clear();
  if (opt.lp) {
    model->SolveLp();
  } else {
    model->Solve();
  }
  if (model->GetErrorCode() != 0) {
    // The solver's last line says why (a nonconvex part, an engine failure).
    const std::string why = log.last.empty() ? "" : ": " + log.last;
    return Fail(kExitSolve, "the solve could not run: " + Message(*model) + why);
  }
  log.echo = false;
  log.last.clear();

  if (!opt.solutionFile.empty()) {
    model->Write(opt.solutionFile.c_str());
    if (model->GetErrorCode() != 0) return Fail(kExitFile, FileFailure(*model, log, "write", opt.solutionFile));
  }
  if (!opt.iisFile.empty()) {
    const bool mip = !opt.lp && model->GetIntAttr("IsMIP") == 1;
    if (model->GetIntAttr(mip ? "MipStatus" : "LpStatus") == TARQ_STATUS_INFEASIBLE) {
      model->ComputeIIS();
      if (model->GetErrorCode() == 0) model->WriteIIS(opt.iisFile.c_str());
      if (model->GetErrorCode() != 0) return Fail(kExitFile, FileFailure(*model, log, "write", opt.iisFile));
      std::printf("IIS written to %s\n", opt.iisFile.c_str());
    } else {
      std::printf("No IIS: the model is not infeasible\n");
    }
  }
  PrintSummary(*model, opt.lp);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  tarqsolve::Options opt;
  std::string error;
  if (!tarqsolve::ParseOptions(argc, argv, opt, error)) {
    std::fprintf(stderr, "tarq-solve: %s (see tarq-solve --help)\n", error.c_str());
    return kExitUsage;
  }
  if (opt.help) {
    std::fputs(tarqsolve::UsageText(), stdout);
    return 0;
  }
  if (opt.version) {
    std::printf("tarq-solve %d.%d.%d\n", GetTarqVersion(0), GetTarqVersion(1), GetTarqVersion(2));
    return 0;
  }
  try {
    return Run(opt);
  } catch (const std::exception& e) {
    return Fail(kExitSolve, e.what());
  }
}
