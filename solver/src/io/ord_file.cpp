// Branching order files: "# branching order", then "name factor" lines (see name_value_file.h).
#include "io/formats.h"
#include "io/name_value_file.h"

namespace tarq_solver {

int ParseOrd(Problem& problem, std::string_view text, IoError& err) {
  std::vector<int> cols;
  std::vector<double> values;
  if (int rc = ParseNameValues(problem, text, err, cols, values); rc != TARQ_RETCODE_OK) return rc;
  std::vector<double> factors(static_cast<size_t>(problem.Cols().Size()), 0.0);
  for (size_t k = 0; k < cols.size(); ++k) factors[cols[k]] = values[k];
  if (factors.empty()) return TARQ_RETCODE_OK;
  return problem.SetBranchFactors(static_cast<int>(factors.size()), nullptr, factors.data());
}

int WriteOrd(Problem& problem, OutBuffer& out, IoError& err) {
  const ColumnTable& cols = problem.Cols();
  std::vector<int> listed;
  std::vector<double> values;
  for (int j = 0; j < static_cast<int>(cols.branch.size()); ++j) {
    if (cols.branch[j] == 0) continue;
    listed.push_back(j);
    values.push_back(cols.branch[j]);
  }
  return WriteNameValues(problem, out, err, "# branching order\n", listed, values);
}

}  // namespace tarq_solver
