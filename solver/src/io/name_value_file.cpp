#include "io/name_value_file.h"

#include "store/checks.h"

namespace tarq_solver {

int ParseNameValues(Problem& problem, std::string_view text, IoError& err, std::vector<int>& cols,
                    std::vector<double>& values) {
  NameTable& names = problem.Names(Axis::kCol);
  std::vector<char> seen(static_cast<size_t>(names.Size()), 0);
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    size_t cut = line.size();
    while (cut > 0 && !IsBlank(line[cut - 1])) --cut;
    const std::string_view name = Trim(line.substr(0, cut));
    const std::string_view valueText = line.substr(cut);
    if (name.empty()) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "expected a column name and a value");
    double v = 0;
    if (!ParseNumber(valueText, v)) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "bad number " + Quote(valueText));
    if (!ValidCoef(v)) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "value " + Quote(valueText) + " is out of range");
    const int col = names.Find(name);
    if (col < 0) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "unknown column " + Quote(name));
    if (seen[col]) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "column " + Quote(name) + " appears twice");
    seen[col] = 1;
    cols.push_back(col);
    values.push_back(v);
  }
  return TARQ_RETCODE_OK;
}

int WriteNameValues(Problem& problem, OutBuffer& out, IoError& err, std::string_view header,
                    const std::vector<int>& cols, const std::vector<double>& values) {
  NameTable& names = problem.Names(Axis::kCol);
  out.Put(header);
  for (size_t k = 0; k < cols.size(); ++k) {
    const std::string name = names.Display(cols[k]);
    const bool readable = !name.empty() && name[0] != '#' && !IsBlank(name.front()) && !IsBlank(name.back()) &&
                          name.find('\n') == std::string::npos && names.Find(name) == cols[k];
    if (!readable) {
      return Fail(err, TARQ_RETCODE_INVALID, 0, "the name of column " + std::to_string(cols[k]) + ", " + Quote(name) +
                                                    ", would not read back to that column");
    }
    out.Put(name);
    out.Put(' ');
    out.PutNum(values[k]);
    out.Put('\n');
  }
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
