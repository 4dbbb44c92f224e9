// Solution files: "name value" lines per column after comment lines.
#include <cstdio>

#include "io/name_value_file.h"
#include "io/solution_files.h"
#include "solve/solution.h"

namespace tarq_solver {
namespace {

int WriteValues(Problem& p, OutBuffer& out, IoError& err, double objective, const double* x) {
  char header[96];
  std::snprintf(header, sizeof header, "# Objective value = %.17g\n", objective);
  const int cols = p.Cols().Size();
  std::vector<int> list(static_cast<size_t>(cols));
  for (int j = 0; j < cols; ++j) list[j] = j;
  std::vector<double> values(x, x + cols);
  out.Put("# Solution\n");
  return WriteNameValues(p, out, err, header, list, values);
}

}  // namespace

int ParseSol(Problem& p, std::string_view text, IoError& err) {
  std::vector<int> cols;
  std::vector<double> values;
  if (int rc = ParseNameValues(p, text, err, cols, values); rc != TARQ_RETCODE_OK) return rc;
  std::vector<double> x(static_cast<size_t>(p.Cols().Size()), 0.0);
  for (size_t k = 0; k < cols.size(); ++k) x[cols[k]] = values[k];
  return InstallLpSolution(p, x.data(), nullptr, nullptr, nullptr);
}

int WriteSol(Problem& p, OutBuffer& out, IoError& err) {
  Results& r = p.Result();
  if (!r.HasSolution(p.Cols().Size(), p.Rows().Size())) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "the problem has no solution");
  }
  double objective = p.ObjConst();
  for (int j = 0; j < p.Cols().Size(); ++j) objective += p.Cols().obj[j] * r.values[j];
  return WriteValues(p, out, err, objective, r.values.data());
}

int WritePoolSol(Problem& p, int index, OutBuffer& out, IoError& err) {
  Results& r = p.Result();
  if (index < 0 || index >= r.PoolSize()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "no pool solution " + std::to_string(index));
  }
  return WriteValues(p, out, err, r.poolObj[index], r.poolValues.data() + static_cast<size_t>(index) * p.Cols().Size());
}

}  // namespace tarq_solver
