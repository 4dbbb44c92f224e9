// MIP start files: "# MIP start", then "name value" lines (see name_value_file.h).
#include "io/formats.h"
#include "io/name_value_file.h"

namespace tarq_solver {

int ParseMst(Problem& problem, std::string_view text, IoError& err) {
  MipStartTable table;
  if (int rc = ParseNameValues(problem, text, err, table.col, table.value); rc != TARQ_RETCODE_OK) return rc;
  table.begin.push_back(static_cast<std::int64_t>(table.col.size()));
  problem.ReplaceMipStarts(std::move(table));
  return TARQ_RETCODE_OK;
}

int WriteMst(Problem& problem, OutBuffer& out, IoError& err) {
  // Writes the first stored MIP start. Once the problem holds solutions, the solve work switches
  // this to the incumbent solution, which is what a MIP start file then records.
  const MipStartTable& starts = problem.MipStarts();
  std::vector<int> cols;
  std::vector<double> values;
  if (starts.Size() > 0) {
    cols.assign(starts.col.begin(), starts.col.begin() + starts.begin[1]);
    values.assign(starts.value.begin(), starts.value.begin() + starts.begin[1]);
  }
  return WriteNameValues(problem, out, err, "# MIP start\n", cols, values);
}

}  // namespace tarq_solver
