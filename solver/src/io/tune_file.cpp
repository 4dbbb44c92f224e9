// Tuning result files: one block per result, "result <seconds> <label>" then "Name value" lines
// naming parameters of the table. Lines starting with '#' and blank lines are skipped.
#include <cmath>
#include <cstdio>

#include "io/solution_files.h"
#include "params/param_set.h"

namespace tarq_solver {

int WriteTuneResult(Problem& p, int index, OutBuffer& out, IoError& err) {
  Results& r = p.Result();
  if (index < 0 || index >= static_cast<int>(r.tune.size())) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "no tuning result " + std::to_string(index));
  }
  const TuneResult& t = r.tune[index];
  char head[64];
  std::snprintf(head, sizeof head, "result %.6g ", t.seconds);
  out.Put("# Tuning result ");
  out.PutInt(index);
  out.Put('\n');
  out.Put(head);
  out.Put(t.label);
  out.Put('\n');
  for (const auto& [id, value] : t.ints) {
    out.Put(Info(id).name);
    out.Put(' ');
    out.PutInt(value);
    out.Put('\n');
  }
  for (const auto& [id, value] : t.dbls) {
    out.Put(Info(id).name);
    out.Put(' ');
    out.PutNum(value);
    out.Put('\n');
  }
  return TARQ_RETCODE_OK;
}

int ParseTune(Problem& p, std::string_view text, IoError& err) {
  std::vector<TuneResult> results;
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::string_view f[3];
    const size_t n = SplitFields(line, f);
    if (n >= 2 && f[0] == "result") {
      TuneResult t;
      if (!ParseNumber(f[1], t.seconds) || t.seconds < 0) {
        return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "bad time " + Quote(f[1]));
      }
      const size_t at = line.find(f[1]) + f[1].size();
      t.label = std::string(Trim(line.substr(at)));
      results.push_back(std::move(t));
      continue;
    }
    if (n != 2) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "expected a parameter name and a value");
    if (results.empty())
      return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "a parameter before the first result line");
    auto ref = FindEntry(f[0]);
    double v = 0;
    if (!ref || (ref->kind != ParamKind::kIntParam && ref->kind != ParamKind::kDblParam)) {
      return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "unknown parameter " + Quote(f[0]));
    }
    if (!ParseNumber(f[1], v)) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "bad number " + Quote(f[1]));
    if (ref->kind == ParamKind::kIntParam) {
      const auto id = static_cast<IntParam>(ref->id);
      const bool whole = v >= -2147483648.0 && v <= 2147483647.0 && v == std::floor(v);
      if (!whole || !ParamSet::Accepts(id, static_cast<int>(v))) {
        return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "invalid value " + Quote(f[1]) + " of " + Quote(f[0]));
      }
      results.back().ints.emplace_back(id, static_cast<int>(v));
    } else {
      const auto id = static_cast<DblParam>(ref->id);
      if (!ParamSet::Accepts(id, v)) {
        return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "invalid value " + Quote(f[1]) + " of " + Quote(f[0]));
      }
      results.back().dbls.emplace_back(id, v);
    }
  }
  if (results.empty()) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "no tuning result in the file");
  Results& r = p.Result();
  r.tune = std::move(results);
  r.attrs[IntAttr::TuneResults] = static_cast<int>(r.tune.size());
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
