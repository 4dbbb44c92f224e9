// LP writer. What it writes reads back to the same problem:
//  - Columns are numbered by first appearance when read, so the objective lists every column up
//    to the last one that would otherwise appear out of order (with "0 x" terms where the
//    coefficient is 0); the columns after it first appear, in order, in the rows.
//  - Rows: "name: terms <= | >= | = value"; ranged and free rows as "lo <= terms <= up"; an
//    empty row as "0 x" of the first column.
//  - Bounds for every column whose bounds differ from its type's default ([0, +inf], binaries
//    [0, 1]); a negative upper bound is written with its lower bound.
//  - Numbers as the shortest text that reads back to the same double.
//  - Quadratic terms in brackets, repeated products summed: the objective's as "[ ... ] / 2"
//    (coefficients doubled), a quadratic row's as "[ ... ]" after its linear terms. When the
//    problem has quadratic terms the objective lists every column, so that no column first
//    appears inside a bracket out of order.
//  - Indicator rows among the rows as "name: b = 1 -> terms <= value"; SOS sets in an SOS
//    section, "s<k>: S1:: x:1 y:2". Cones cannot be written and fail the write with 3.
// Names that the LP format cannot hold (empty, starting with a digit or '.', with characters
// outside the name set, keywords such as "free" or "inf", longer than 255 characters) and
// repeated names are replaced as OutputNames describes. Lines are wrapped after about 80
// characters, continuation lines starting with a sign.
#include "io/formats.h"
#include "io/lp_lexer.h"
#include "io/output_names.h"

namespace tarq_solver {

namespace {

constexpr double kInf = TARQ_INFINITY;
constexpr size_t kWrap = 80;


class LpText {
 public:
  explicit LpText(OutBuffer& out) : out_(out) {}

  // One term: "[+|-] [coef] name", the sign omitted before the first term of a non-negative one.
  void Term(double coef, std::string_view name, bool first) {
    Wrap();
    const bool negative = coef < 0;
    const double mag = negative ? -coef : coef;
    if (!first) out_.Put(negative ? " - " : " + ");
    if (first && negative) out_.Put("- ");
    if (mag != 1) {
      out_.PutNum(mag);
      out_.Put(' ');
    }
    out_.Put(name);
  }
  void Constant(double v, bool first) {
    Wrap();
    if (!first) {
      out_.Put(v < 0 ? " - " : " + ");
      out_.PutNum(v < 0 ? -v : v);
    } else {
      out_.PutNum(v);
    }
  }
  void Value(double v) {
    if (v >= kInf || v <= -kInf) {
      out_.Put(v > 0 ? "inf" : "-inf");
    } else {
      out_.PutNum(v);
    }
  }
  // One quadratic term of a bracket: "[+|-] [coef] x ^ 2" (b empty) or "[+|-] [coef] x * y".
  void QuadTerm(double coef, std::string_view a, std::string_view b, bool first) {
    Term(coef, a, first);
    if (b.empty()) {
      out_.Put(" ^ 2");
    } else {
      out_.Put(" * ");
      out_.Put(b);
    }
  }
  void Put(std::string_view s) { out_.Put(s); }
  void Names(std::string_view name) {
    if (out_.LineLength() > kWrap) out_.Put('\n');
    out_.Put(' ');
    out_.Put(name);
  }

 private:
  void Wrap() {
    if (out_.LineLength() > kWrap) out_.Put("\n  ");
  }
  OutBuffer& out_;
};

// The last column that must appear in the objective so that reading numbers every column as it
// is numbered here; O(nonzeros).
int LastObjectiveColumn(const ColumnTable& cols, SparseMatrix& matrix, int m) {
  const int n = cols.Size();
  int last = -1;
  for (int j = 0; j < n; ++j) {
    if (cols.obj[j] != 0) last = j;
  }
  for (int i = 0; i < m && last < 0 && n > 0; ++i) {
    if (matrix.Vector(i).len == 0) last = 0;  // an empty row names the first column
  }
  // First appearances in the rows of the columns after `last`, in the order they are written.
  std::vector<char> seen(static_cast<size_t>(n), 0);
  std::vector<int> order;
  for (int i = 0; i < m; ++i) {
    const VectorView v = matrix.Vector(i);
    for (std::int64_t p = 0; p < v.len; ++p) {
      const int j = v.idx[p];
      if (j > last && !seen[j]) {
        seen[j] = 1;
        order.push_back(j);
      }
    }
  }
  // The longest tail of `order` that is exactly ..., n-2, n-1 can stay in the rows.
  int expected = n - 1;
  for (size_t k = order.size(); k > 0 && order[k - 1] == expected; --k) --expected;
  return std::max(last, expected);
}

// " [ ... ]" of the Hessian entries [from, to): diagonal entries times diagScale as squares,
// the others times offScale as products.
void WriteBracket(LpText& text, const SymLowerList& h, std::int64_t from, std::int64_t to, double diagScale,
                  double offScale, const OutputNames& names) {
  text.Put(" [ ");
  for (std::int64_t p = from; p < to; ++p) {
    const auto k = static_cast<size_t>(p);
    const int i = h.row[k], j = h.col[k];
    if (i == j) {
      text.QuadTerm(h.val[k] * diagScale, names[i], {}, p == from);
    } else {
      text.QuadTerm(h.val[k] * offScale, names[j], names[i], p == from);
    }
  }
  text.Put(" ]");
}

// The quadratic rows after the linear ones: "name: linear + [ quadratic ] <sense> rhs".
void WriteQuadRows(LpText& text, const QuadRowTable& q, const OutputNames& colNames, const OutputNames& quadNames) {
  for (int k = 0; k < q.Size(); ++k) {
    SymLowerList h;
    h.AppendHessian(q.quadRow.data(), q.quadCol.data(), q.quadVal.data(), q.QuadBegin(k), q.QuadEnd(k));
    text.Put(" ");
    text.Put(quadNames[k]);
    text.Put(":");
    for (std::int64_t p = q.LinBegin(k); p < q.LinEnd(k); ++p) {
      const auto at = static_cast<size_t>(p);
      text.Put(p == q.LinBegin(k) ? " " : "");
      text.Term(q.linVal[at], colNames[q.linIdx[at]], p == q.LinBegin(k));
    }
    if (h.End(0) > 0) {
      if (q.LinEnd(k) > q.LinBegin(k)) text.Put(" +");
      WriteBracket(text, h, 0, h.End(0), 0.5, 1.0, colNames);
    } else if (q.LinEnd(k) == q.LinBegin(k)) {
      text.Put(" 0 ");
      text.Put(colNames[0]);
    }
    const char sense = q.sense[static_cast<size_t>(k)];
    text.Put(sense == 'L' ? " <= " : sense == 'G' ? " >= " : " = ");
    text.Value(q.rhs[static_cast<size_t>(k)]);
    text.Put("\n");
  }
}

void WriteBounds(LpText& text, const ColumnTable& cols, const OutputNames& names) {
  bool header = false;
  for (int j = 0; j < cols.Size(); ++j) {
    const double lo = cols.lower[j], up = cols.upper[j];
    const bool binary = cols.type[j] == 'B';
    if (binary ? (lo == 0 && up == 1) : (lo == 0 && up >= kInf)) continue;
    if (!header) text.Put("Bounds\n");
    header = true;
    text.Put(" ");
    if (lo <= -kInf && up >= kInf && !binary) {
      text.Put(names[j]);
      text.Put(" free\n");
    } else if (lo == up) {
      text.Put(names[j]);
      text.Put(" = ");
      text.Value(lo);
      text.Put("\n");
    } else if (!binary && up >= kInf) {
      text.Put(names[j]);
      text.Put(" >= ");
      text.Value(lo);
      text.Put("\n");
    } else if (!binary && lo == 0 && up >= 0) {
      text.Put(names[j]);
      text.Put(" <= ");
      text.Value(up);
      text.Put("\n");
    } else {
      text.Value(lo);
      text.Put(" <= ");
      text.Put(names[j]);
      text.Put(" <= ");
      text.Value(up);
      text.Put("\n");
    }
  }
}

void WriteTypeSection(LpText& text, const ColumnTable& cols, const OutputNames& names, char type,
                      const char* header) {
  bool any = false;
  for (int j = 0; j < cols.Size(); ++j) {
    if (cols.type[j] != type) continue;
    if (!any) text.Put(header);
    any = true;
    text.Names(names[j]);
  }
  if (any) text.Put("\n");
}

}  // namespace

bool ValidLpName(std::string_view name) {
  static constexpr std::string_view kReserved[] = {
      "min",      "max",      "minimize", "minimise", "minimum", "maximize", "maximise", "maximum",
      "st",       "s.t.",     "st.",      "subject",  "such",    "bounds",   "bound",    "general",
      "generals", "gen",      "integer",  "integers", "binary",  "binaries", "bin",      "end",
      "semi",     "semis",    "sos",      "free",     "inf",     "infinity", "lazy",     "user", "pwlobj"};
  if (name.empty() || name.size() > 255) return false;
  if ((name[0] >= '0' && name[0] <= '9') || name[0] == '.') return false;
  for (char c : name) {
    if (!IsLpNameChar(c)) return false;
  }
  for (std::string_view r : kReserved) {
    if (EqualNoCase(name, r)) return false;
  }
  return true;
}

int WriteLp(Problem& problem, OutBuffer& out, IoError& err) {
  if (!problem.Nl().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0,
                "the LP format cannot hold nonlinear rows or a nonlinear objective (write an .nl file)");
  }
  if (problem.Psd().HasParts()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0,
                "the LP format cannot hold PSD columns, PSD rows or LMI rows (write a binary or .dat-s file)");
  }
  const SosConeStore& sosCones = problem.SosCone();
  if (sosCones.cones.Size() > 0 || sosCones.expCones.Size() > 0) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "the LP format cannot hold cones (write an MPS, CBF or binary file)");
  }
  const ColumnTable& cols = problem.Cols();
  const RowTable& rows = problem.Rows();
  const int n = cols.Size(), m = rows.Size();
  const OutputNames colNames(cols.names, 'C', ValidLpName);
  const OutputNames rowNames(rows.names, 'R', ValidLpName);
  SparseMatrix& matrix = problem.Matrix();
  matrix.Consolidate(Axis::kRow);
  LpText text(out);

  const QuadStore& quad = problem.Quad();
  const OutputNames quadNames(quad.rows.names, 'Q', ValidLpName, &rowNames);
  const IndicatorTable& ind = sosCones.indicators;
  const OutputNames indNames(ind.names, 'G', ValidLpName, &quadNames);
  text.Put(problem.ObjSense() == TARQ_MAXIMIZE ? "Maximize\n obj:" : "Minimize\n obj:");
  // Quadratic terms, indicators and sets may name columns out of order: then list them all.
  const int last = quad.Empty() && sosCones.Empty() ? LastObjectiveColumn(cols, matrix, m) : n - 1;
  for (int j = 0; j <= last; ++j) {
    text.Put(j == 0 ? " " : "");
    text.Term(cols.obj[j], colNames[j], j == 0);
  }
  if (!quad.objective.Empty()) {
    SymLowerList h;
    h.AppendHessian(quad.objective.row.data(), quad.objective.col.data(), quad.objective.val.data(), 0,
                    quad.objective.Size());
    if (h.End(0) > 0) {
      text.Put(" +");
      WriteBracket(text, h, 0, h.End(0), 1.0, 2.0, colNames);
      text.Put(" / 2");
    }
  }
  if (problem.ObjConst() != 0 || last < 0) {
    if (last < 0) text.Put(" ");
    text.Constant(problem.ObjConst(), last < 0);
  }
  text.Put("\nSubject To\n");
  for (int i = 0; i < m; ++i) {
    const double lo = rows.lower[i], up = rows.upper[i];
    const bool ranged = lo != up && (lo > -kInf) == (up < kInf);  // both finite, both infinite, or lo > up
    text.Put(" ");
    text.Put(rowNames[i]);
    text.Put(":");
    if (ranged) {
      text.Put(" ");
      text.Value(lo);
      text.Put(" <=");
    }
    const VectorView v = matrix.Vector(i);
    for (std::int64_t p = 0; p < v.len; ++p) {
      text.Put(p == 0 ? " " : "");
      text.Term(v.val[p], colNames[v.idx[p]], p == 0);
    }
    if (v.len == 0 && n > 0) {
      text.Put(" 0 ");
      text.Put(colNames[0]);
    }
    if (ranged) {
      text.Put(" <= ");
      text.Value(up);
    } else if (lo == up) {
      text.Put(" = ");
      text.Value(lo);
    } else if (lo <= -kInf) {
      text.Put(" <= ");
      text.Value(up);
    } else {
      text.Put(" >= ");
      text.Value(lo);
    }
    text.Put("\n");
  }
  WriteQuadRows(text, quad.rows, colNames, quadNames);
  for (int k = 0; k < ind.Size(); ++k) {
    text.Put(" ");
    text.Put(indNames[k]);
    text.Put(": ");
    text.Put(colNames[ind.binCol[k]]);
    text.Put(ind.binVal[k] != 0 ? " = 1 ->" : " = 0 ->");
    for (std::int64_t p = ind.Begin(k); p < ind.End(k); ++p) {
      text.Put(p == ind.Begin(k) ? " " : "");
      text.Term(ind.val[p], colNames[ind.col[p]], p == ind.Begin(k));
    }
    if (ind.Begin(k) == ind.End(k)) {
      text.Put(" 0 ");
      text.Put(colNames[ind.binCol[k]]);
    }
    text.Put(ind.sense[k] == 'L' ? " <= " : ind.sense[k] == 'G' ? " >= " : " = ");
    text.Value(ind.bound[k]);
    text.Put("\n");
  }
  WriteBounds(text, cols, colNames);
  WriteTypeSection(text, cols, colNames, 'I', "Generals\n");
  WriteTypeSection(text, cols, colNames, 'B', "Binaries\n");
  if (sosCones.sos.Size() > 0) {
    text.Put("SOS\n");
    for (int k = 0; k < sosCones.sos.Size(); ++k) {
      out.Put(" s");
      out.PutInt(k);
      out.Put(sosCones.sos.type[k] == TARQ_SOS_TYPE1 ? ": S1::" : ": S2::");
      for (std::int64_t p = sosCones.sos.Begin(k); p < sosCones.sos.End(k); ++p) {
        out.Put(' ');
        out.Put(colNames[sosCones.sos.col[p]]);
        out.Put(':');
        out.PutNum(sosCones.sos.weight[p]);
      }
      out.Put('\n');
    }
  }
  text.Put("End\n");
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
