// JSON solution files.
#include "io/json_value.h"
#include "io/solution_files.h"
#include "solve/solution.h"
#include "store/checks.h"

namespace tarq_solver {
namespace {

void PutNumber(OutBuffer& out, double v) {
  char buf[40];
  out.Put(std::string_view(buf, FormatNumber(v, buf)));
}

// Reads name -> number pairs of the listed member from an array of objects into dense vectors.
// One entry per column or row: its name, its value and, when second is not null, a second value.
void PutEntries(OutBuffer& out, NameTable& names, int count, const char* first, const double* firstValues,
                const char* second, const double* secondValues) {
  for (int k = 0; k < count; ++k) {
    out.Put(k == 0 ? "\n    {\"name\": " : ",\n    {\"name\": ");
    out.Put(JsonQuote(names.Display(k)));
    out.Put(", \"");
    out.Put(first);
    out.Put("\": ");
    PutNumber(out, firstValues[k]);
    if (second != nullptr) {
      out.Put(", \"");
      out.Put(second);
      out.Put("\": ");
      PutNumber(out, secondValues[k]);
    }
    out.Put('}');
  }
}

int ReadEntries(const JsonValue* list, NameTable& names, std::string_view field, std::vector<double>& dense,
                std::vector<char>& given, IoError& err) {
  if (list == nullptr) return TARQ_RETCODE_OK;
  if (list->kind != JsonValue::Kind::kArray) return Fail(err, TARQ_RETCODE_INVALID, 0, "expected an array");
  for (const JsonValue& item : list->items) {
    const JsonValue* name = item.Find("name");
    if (name == nullptr || name->kind != JsonValue::Kind::kString) {
      return Fail(err, TARQ_RETCODE_INVALID, 0, "an entry without a \"name\"");
    }
    const int k = names.Find(name->text);
    if (k < 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "unknown name " + Quote(name->text));
    const JsonValue* v = item.Find(field);
    if (v == nullptr) continue;
    if (v->kind != JsonValue::Kind::kNumber || !ValidCoef(v->number)) {
      return Fail(err, TARQ_RETCODE_INVALID, 0, "bad \"" + std::string(field) + "\" of " + Quote(name->text));
    }
    dense[k] = v->number;
    given[k] = 1;
  }
  return TARQ_RETCODE_OK;
}

bool All(const std::vector<char>& given) {
  for (char g : given) {
    if (!g) return false;
  }
  return true;
}

}  // namespace

int WriteJsonSol(Problem& p, OutBuffer& out, IoError& err) {
  const int cols = p.Cols().Size(), rows = p.Rows().Size();
  Results& r = p.Result();
  if (!r.HasSolution(cols, rows)) return Fail(err, TARQ_RETCODE_INVALID, 0, "the problem has no solution");
  const bool duals = r.HasDuals(cols, rows);
  double objective = p.ObjConst();
  for (int j = 0; j < cols; ++j) objective += p.Cols().obj[j] * r.values[j];
  NameTable& colNames = p.Names(Axis::kCol);
  NameTable& rowNames = p.Names(Axis::kRow);
  out.Put("{\n  \"objective\": ");
  PutNumber(out, objective);
  out.Put(",\n  \"status\": {\"lp\": ");
  out.PutInt(r.attrs[IntAttr::LpStatus]);
  out.Put(", \"mip\": ");
  out.PutInt(r.attrs[IntAttr::MipStatus]);
  out.Put("},\n  \"columns\": [");
  PutEntries(out, colNames, cols, "value", r.values.data(), duals ? "redcost" : nullptr, r.redCosts.data());
  out.Put("\n  ],\n  \"rows\": [");
  PutEntries(out, rowNames, rows, "activity", r.activity.data(), duals ? "dual" : nullptr, r.duals.data());
  out.Put("\n  ],\n  \"pool\": [");
  for (int k = 0; k < r.PoolSize(); ++k) {
    out.Put(k == 0 ? "\n    {\"objective\": " : ",\n    {\"objective\": ");
    PutNumber(out, r.poolObj[k]);
    out.Put(", \"values\": [");
    const double* x = r.poolValues.data() + static_cast<size_t>(k) * cols;
    for (int j = 0; j < cols; ++j) {
      if (j > 0) out.Put(", ");
      PutNumber(out, x[j]);
    }
    out.Put("]}");
  }
  out.Put("\n  ]\n}\n");
  return TARQ_RETCODE_OK;
}

int ParseJsonSol(Problem& p, std::string_view text, IoError& err) {
  JsonValue doc;
  long long line = 0;
  std::string what;
  if (!ParseJson(text, doc, line, what)) return Fail(err, TARQ_RETCODE_INVALID, line, what);
  if (doc.kind != JsonValue::Kind::kObject) return Fail(err, TARQ_RETCODE_INVALID, 1, "expected an object");
  const JsonValue* columns = doc.Find("columns");
  if (columns == nullptr) return Fail(err, TARQ_RETCODE_INVALID, 0, "no \"columns\" member");
  const size_t cols = static_cast<size_t>(p.Cols().Size()), rows = static_cast<size_t>(p.Rows().Size());
  std::vector<double> x(cols, 0.0), act(rows, 0.0), y(rows, 0.0);
  std::vector<char> xGiven(cols, 0), actGiven(rows, 0), yGiven(rows, 0);
  NameTable& colNames = p.Names(Axis::kCol);
  NameTable& rowNames = p.Names(Axis::kRow);
  if (int rc = ReadEntries(columns, colNames, "value", x, xGiven, err); rc != TARQ_RETCODE_OK) return rc;
  const JsonValue* rowList = doc.Find("rows");
  if (int rc = ReadEntries(rowList, rowNames, "activity", act, actGiven, err); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = ReadEntries(rowList, rowNames, "dual", y, yGiven, err); rc != TARQ_RETCODE_OK) return rc;
  const bool withAct = rows > 0 && All(actGiven), withDuals = rows > 0 && All(yGiven);
  return InstallLpSolution(p, x.data(), withAct ? act.data() : nullptr, withDuals ? y.data() : nullptr, nullptr);
}

}  // namespace tarq_solver
