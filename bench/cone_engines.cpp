// Which engine to use for continuous second-order-cone problems: the solver library's current
// route (Ipopt on the smooth perspective form of each cone, what TARQ_Solve does for a problem
// with cones) against DSDP with every cone written as a linear matrix inequality, on CBF files
// with published optima.
//
// For each instance: read it with TARQ_ReadCbf and solve it as it is (engine "ipopt"); then build
// the semidefinite form on a copy (every cone becomes one LMI row, the cones are deleted, the
// library routes the problem to DSDP) and solve that (engine "dsdp"). Instances with exponential
// cones have no such form and are reported as skipped for DSDP.
//
// Prints one line per instance and engine:
//   <instance> <engine>: status=<s> objective=<v> rel_err=<e> max_cone_violation=<c> time_s=<t>
//     primal_inf=<p>
// (one line). rel_err = |objective - published| / max(1, |published|). max_cone_violation is the
// largest violation of the original cones at the returned point, in the norm form of each cone
// (see ConeViolation), 0 when every cone holds; primal_inf is the library's "PrimalInfMax" (the
// largest row or bound violation). time_s is the wall time of TARQ_Solve alone; the time to build
// the LMI form is printed on a "#" line before the DSDP result. Values that do not exist (no
// solution) print as "none".
//
// Usage: cone_engines [--dir DIR] [--time-limit S] [--log DIR] [instance ...]
//   DIR defaults to /work/shared/data/cblib and must hold <instance>.cbf.gz and
//   cblib_optimal.csv; no instance names runs every instance the CSV lists, in its order.
//   --log writes each solve's engine log to DIR/<instance>.<engine>.log.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "bench_util.h"
#include "tarq.h"

namespace {

struct Instance {
  std::string name;
  double optimum;
};

std::vector<Instance> ReadOptima(const std::string& path) {
  std::vector<Instance> out;
  std::ifstream in(path);
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (header) {
      header = false;
      continue;
    }
    std::istringstream fields(line);
    std::string name, value;
    if (!std::getline(fields, name, ',') || !std::getline(fields, value, ',')) continue;
    out.push_back({name, std::strtod(value.c_str(), nullptr)});
  }
  return out;
}

const char* StatusName(int s) {
  switch (s) {
    case TARQ_STATUS_UNSTARTED: return "unstarted";
    case TARQ_STATUS_OPTIMAL: return "optimal";
    case TARQ_STATUS_INFEASIBLE: return "infeasible";
    case TARQ_STATUS_UNBOUNDED: return "unbounded";
    case TARQ_STATUS_INF_OR_UNB: return "inf_or_unb";
    case TARQ_STATUS_NUMERICAL: return "numerical";
    case TARQ_STATUS_NODELIMIT: return "nodelimit";
    case TARQ_STATUS_TIMEOUT: return "timeout";
    case TARQ_STATUS_INTERRUPTED: return "interrupted";
    case TARQ_STATUS_UNFINISHED: return "unfinished";
    case TARQ_STATUS_LOCALLY_OPTIMAL: return "locally_optimal";
    default: return "unknown";
  }
}

// The second-order cones of a problem, as TARQ_GetCones gives them.
struct Cones {
  std::vector<int> type, beg, cnt, idx;
  int Count() const { return static_cast<int>(type.size()); }
};

bool ReadCones(tarq_prob* prob, Cones& c) {
  int num = 0;
  if (TARQ_GetIntAttr(prob, "Cones", &num) != 0) return false;
  c.type.assign(num, 0);
  c.beg.assign(num, 0);
  c.cnt.assign(num, 0);
  c.idx.clear();
  if (num == 0) return true;
  int req = 0;
  if (TARQ_GetCones(prob, num, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &req) != 0) return false;
  c.idx.assign(req, 0);
  return TARQ_GetCones(prob, num, nullptr, c.type.data(), c.beg.data(), c.cnt.data(), c.idx.data(), req, &req) == 0;
}

// Violation of one cone at x, in norm form so that both types read on the same scale:
//   quadratic  x0 >= ||(x1, ..., x_{n-1})||:        ||(x1, ...)|| - x0;
//   rotated    2 x0 x1 >= ||(x2, ..., x_{n-1})||^2, x0, x1 >= 0, which is the quadratic cone
//              (x0 + x1)/sqrt2 >= ||((x0 - x1)/sqrt2, x2, ...)|| (expand the squares:
//              (x0 + x1)^2/2 - (x0 - x1)^2/2 = 2 x0 x1, and the norm bound gives x0 + x1 >= 0
//              together with |x0 - x1| <= x0 + x1, i.e. x0, x1 >= 0):
//              ||((x0 - x1)/sqrt2, x2, ...)|| - (x0 + x1)/sqrt2.
// Clamped at 0 below.
double ConeViolation(const Cones& c, int k, const std::vector<double>& x) {
  const int* m = c.idx.data() + c.beg[k];
  const int n = c.cnt[k];
  double sq = 0, head;
  if (c.type[k] == TARQ_CONE_QUAD) {
    head = x[m[0]];
    for (int i = 1; i < n; ++i) sq += x[m[i]] * x[m[i]];
  } else {
    const double r = std::sqrt(0.5);
    head = r * (x[m[0]] + x[m[1]]);
    const double d = r * (x[m[0]] - x[m[1]]);
    sq = d * d;
    for (int i = 2; i < n; ++i) sq += x[m[i]] * x[m[i]];
  }
  return std::max(0.0, std::sqrt(sq) - head);
}

double MaxConeViolation(const Cones& c, const std::vector<double>& x) {
  double worst = 0;
  for (int k = 0; k < c.Count(); ++k) worst = std::max(worst, ConeViolation(c, k, x));
  return worst;
}

// Stored symmetric matrices of the arrow forms, shared by every cone of the same dimension: the
// identity, 2 E00, diag(0, 1, ..., 1) and the arrow entries E_{i0} + E_{0i} of each dimension.
class ArrowMatrices {
 public:
  explicit ArrowMatrices(tarq_prob* prob) : prob_(prob) {}

  int Identity(int dim) { return Cached(identity_, dim, [&] { return Diagonal(dim, 0, 1.0); }); }
  int TwiceCorner(int dim) {
    return Cached(corner_, dim, [&] {
      int r = 0, c = 0;
      double v = 2.0;
      return Add(dim, 1, &r, &c, &v);
    });
  }
  int TailIdentity(int dim) { return Cached(tail_, dim, [&] { return Diagonal(dim, 1, 1.0); }); }
  // Matrix with 1 at (i, 0) and (0, i), 1 <= i < dim.
  int Arrow(int dim, int i) {
    std::vector<int>& row = arrow_[dim];
    if (row.empty()) row.assign(dim, -1);
    if (row[i] < 0) {
      int r = i, c = 0;
      double v = 1.0;
      row[i] = Add(dim, 1, &r, &c, &v);
    }
    return row[i];
  }
  bool Failed() const { return failed_; }

 private:
  template <class Make>
  int Cached(std::map<int, int>& cache, int dim, Make make) {
    auto it = cache.find(dim);
    if (it != cache.end()) return it->second;
    const int id = make();
    cache.emplace(dim, id);
    return id;
  }
  int Diagonal(int dim, int from, double v) {
    std::vector<int> rc;
    for (int i = from; i < dim; ++i) rc.push_back(i);
    std::vector<double> vals(rc.size(), v);
    return Add(dim, static_cast<int>(rc.size()), rc.data(), rc.data(), vals.data());
  }
  int Add(int dim, int n, const int* r, const int* c, const double* v) {
    int before = 0;
    TARQ_GetIntAttr(prob_, "SymMats", &before);
    if (TARQ_AddSymMat(prob_, dim, n, r, c, v) != 0) failed_ = true;
    return before;
  }

  tarq_prob* prob_;
  std::map<int, int> identity_, corner_, tail_;
  std::map<int, std::vector<int>> arrow_;
  bool failed_ = false;
};

// Replaces every second-order cone of prob by one LMI row that holds exactly when the cone does.
//   Quadratic cone over (x0, x1, ..., x_m): the arrow matrix
//       [ x0  x' ]
//       [ x   x0 I_m ]   (dimension m + 1)
//   is PSD iff x0 >= ||x||: for x0 > 0 its Schur complement is x0 - x'x/x0 >= 0; for x0 = 0 the
//   zero diagonal forces x = 0; x0 < 0 makes a diagonal entry negative. As an LMI:
//   x0 I + sum_i x_i (E_{i0} + E_{0i}).
//   Rotated cone over (x0, x1, y_1, ..., y_m), 2 x0 x1 >= ||y||^2, x0, x1 >= 0: the arrow matrix
//       [ 2 x0  y' ]
//       [ y     x1 I_m ]   (dimension m + 1)
//   is PSD iff the cone holds: its diagonal gives x0, x1 >= 0; for x1 > 0 the Schur complement
//   2 x0 - y'y/x1 >= 0 is 2 x0 x1 >= ||y||^2; for x1 = 0 the zero diagonal block forces y = 0,
//   as the cone does. As an LMI: x0 (2 E00) + x1 diag(0, 1, ..., 1) + sum_i y_i (E_{i0} + E_{0i}).
// Returns false when the library refused a step.
bool ConesToLmi(tarq_prob* prob, const Cones& c) {
  ArrowMatrices mats(prob);
  std::vector<int> cols, ids;
  for (int k = 0; k < c.Count(); ++k) {
    const int* m = c.idx.data() + c.beg[k];
    const int n = c.cnt[k];
    cols.assign(m, m + n);
    ids.clear();
    int dim;
    if (c.type[k] == TARQ_CONE_QUAD) {
      dim = n;
      ids.push_back(mats.Identity(dim));
      for (int i = 1; i < n; ++i) ids.push_back(mats.Arrow(dim, i));
    } else {
      dim = n - 1;
      ids.push_back(mats.TwiceCorner(dim));
      ids.push_back(mats.TailIdentity(dim));
      for (int i = 2; i < n; ++i) ids.push_back(mats.Arrow(dim, i - 1));
    }
    if (mats.Failed()) return false;
    if (TARQ_AddLMIConstr(prob, dim, n, cols.data(), ids.data(), -1, nullptr) != 0) return false;
  }
  return TARQ_DelCones(prob, c.Count(), nullptr) == 0;
}

void Report(const char* inst, const char* engine, tarq_prob* prob, double seconds, const Cones& cones,
            double optimum) {
  int status = 0, hasSol = 0, cols = 0;
  double obj = 0, pinf = 0;
  TARQ_GetIntAttr(prob, "LpStatus", &status);
  TARQ_GetIntAttr(prob, "HasLpSol", &hasSol);
  TARQ_GetIntAttr(prob, "Cols", &cols);
  TARQ_GetDblAttr(prob, "PrimalInfMax", &pinf);
  std::vector<double> x(cols);
  if (hasSol && TARQ_GetLpSolution(prob, x.data(), nullptr, nullptr, nullptr) != 0) hasSol = 0;
  if (!hasSol) {
    std::printf("%s %s: status=%s objective=none rel_err=none max_cone_violation=none time_s=%.2f primal_inf=none\n",
                inst, engine, StatusName(status), seconds);
  } else {
    TARQ_GetDblAttr(prob, "LpObjval", &obj);
    const double err = std::fabs(obj - optimum) / std::max(1.0, std::fabs(optimum));
    std::printf("%s %s: status=%s objective=%.10g rel_err=%.2e max_cone_violation=%.2e time_s=%.2f primal_inf=%.2e\n",
                inst, engine, StatusName(status), obj, err, MaxConeViolation(cones, x), seconds, pinf);
  }
  std::fflush(stdout);
}

void Configure(tarq_prob* prob, double timeLimit, const std::string& logDir, const std::string& inst,
               const char* engine) {
  TARQ_SetIntParam(prob, "LogToConsole", 0);
  TARQ_SetDblParam(prob, "TimeLimit", timeLimit);
  if (!logDir.empty()) {
    const std::string path = logDir + "/" + inst + "." + engine + ".log";
    TARQ_SetLogFile(prob, path.c_str());
  } else {
    TARQ_SetLogFile(prob, nullptr);
  }
}

int RunInstance(tarq_env* env, const std::string& dir, const Instance& in, double timeLimit,
                const std::string& logDir) {
  const char* name = in.name.c_str();
  tarq_prob* prob = nullptr;
  if (TARQ_CreateProb(env, &prob) != 0) return 1;
  TARQ_SetIntParam(prob, "LogToConsole", 0);
  const std::string file = dir + "/" + in.name + ".cbf.gz";
  if (int rc = TARQ_ReadCbf(prob, file.c_str()); rc != 0) {
    std::printf("%s: cannot read %s (code %d)\n", name, file.c_str(), rc);
    TARQ_DeleteProb(&prob);
    return 1;
  }
  Cones cones;
  if (!ReadCones(prob, cones)) {
    std::printf("%s: cannot read the cones\n", name);
    TARQ_DeleteProb(&prob);
    return 1;
  }
  int cols = 0, rows = 0, expCones = 0, largest = 0;
  TARQ_GetIntAttr(prob, "Cols", &cols);
  TARQ_GetIntAttr(prob, "Rows", &rows);
  TARQ_GetIntAttr(prob, "ExpCones", &expCones);
  for (int n : cones.cnt) largest = std::max(largest, n);
  std::printf("# %s: cols=%d rows=%d cones=%d largest_cone=%d exp_cones=%d published=%.10g\n", name, cols, rows,
              cones.Count(), largest, expCones, in.optimum);

  // DSDP form on a copy made before the first solve, so both start from the same data.
  tarq_prob* lmi = nullptr;
  const int copyRc = TARQ_CreateCopy(prob, &lmi);

  Configure(prob, timeLimit, logDir, in.name, "ipopt");
  double t0 = bench::Seconds();
  int rc = TARQ_Solve(prob);
  double t = bench::Seconds() - t0;
  if (rc != 0)
    std::printf("%s ipopt: solve returned code %d time_s=%.2f\n", name, rc, t);
  else
    Report(name, "ipopt", prob, t, cones, in.optimum);
  TARQ_DeleteProb(&prob);

  if (copyRc != 0) {
    std::printf("%s dsdp: cannot copy the problem (code %d)\n", name, copyRc);
    return 1;
  }
  if (expCones > 0) {
    std::printf("%s dsdp: skipped: %d exponential cones have no LMI form\n", name, expCones);
    TARQ_DeleteProb(&lmi);
    return 0;
  }
  t0 = bench::Seconds();
  const bool built = ConesToLmi(lmi, cones);
  const double buildS = bench::Seconds() - t0;
  int lmiRows = 0, lmiLens = 0;
  TARQ_GetIntAttr(lmi, "LMIConstrs", &lmiRows);
  TARQ_GetIntAttr(lmi, "LMILens", &lmiLens);
  std::printf("# %s dsdp form: lmi_rows=%d lmi_lens=%d build_s=%.2f\n", name, lmiRows, lmiLens, buildS);
  if (!built) {
    std::printf("%s dsdp: the library refused the LMI form\n", name);
    TARQ_DeleteProb(&lmi);
    return 1;
  }
  Configure(lmi, timeLimit, logDir, in.name, "dsdp");
  t0 = bench::Seconds();
  rc = TARQ_Solve(lmi);
  t = bench::Seconds() - t0;
  if (rc != 0)
    std::printf("%s dsdp: solve returned code %d time_s=%.2f\n", name, rc, t);
  else
    Report(name, "dsdp", lmi, t, cones, in.optimum);
  TARQ_DeleteProb(&lmi);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = "/work/shared/data/cblib", logDir;
  double timeLimit = 300;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
      dir = argv[++i];
    } else if (std::strcmp(argv[i], "--time-limit") == 0 && i + 1 < argc) {
      timeLimit = std::strtod(argv[++i], nullptr);
    } else if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc) {
      logDir = argv[++i];
    } else if (argv[i][0] == '-') {
      std::fprintf(stderr, "usage: %s [--dir DIR] [--time-limit S] [--log DIR] [instance ...]\n", argv[0]);
      return 2;
    } else {
      names.push_back(argv[i]);
    }
  }
  const std::vector<Instance> all = ReadOptima(dir + "/cblib_optimal.csv");
  if (all.empty()) {
    std::fprintf(stderr, "no published optima in %s/cblib_optimal.csv\n", dir.c_str());
    return 2;
  }
  std::vector<Instance> run;
  if (names.empty()) run = all;
  for (const std::string& n : names) {
    auto it = std::find_if(all.begin(), all.end(), [&](const Instance& x) { return x.name == n; });
    if (it == all.end()) {
      std::fprintf(stderr, "%s: no published optimum\n", n.c_str());
      return 2;
    }
    run.push_back(*it);
  }
  tarq_env* env = nullptr;
  if (TARQ_CreateEnvWithPath(nullptr, &env) != 0) return 1;
  int failures = 0;
  for (const Instance& in : run) failures += RunInstance(env, dir, in, timeLimit, logDir);
  TARQ_DeleteEnv(&env);
  return failures == 0 ? 0 : 1;
}
