// MPS writer. Writes free-form MPS whose fields sit at the fixed-form column positions whenever
// names have at most 8 characters (numbers are written in full, so long ones run past their
// field). Everything the reader reads back exactly:
//  - every number as the shortest text that reads back to the same double;
//  - the objective row first ("OBJ", or a variant no row uses), its RHS holding minus the
//    objective constant, OBJSENSE MAX for maximisation;
//  - every column in COLUMNS, an empty one with an explicit objective entry of 0;
//  - integer and binary columns inside 'MARKER' 'INTORG'/'INTEND' sections, binaries also
//    with a BV bound;
//  - ranged rows as G or L rows with a range chosen so that the reader's sum or difference
//    reproduces both bounds exactly;
//  - an explicit "LO 0" before a negative upper bound, which would otherwise free the lower one;
//  - the quadratic objective as QUADOBJ (one triangle of Q, the objective being c'x + x'Qx / 2)
//    and each quadratic row as a row of ROWS with its linear entries in COLUMNS, its
//    right-hand side in RHS and its quadratic part as QCMATRIX (the whole matrix, the row being
//    a'x + x'Qx); repeated products are summed. A quadratic row whose terms sum to nothing is
//    written without QCMATRIX and reads back as a linear row.
//  - indicator rows as rows of ROWS (their entries in COLUMNS, their bound in RHS) named in
//    INDICATORS; SOS sets in SOS (members as column:weight); cones as CSECTION sections (see
//    mps_sos_cone.h). Exponential cones cannot be written and fail the write with 3.
// Names that MPS cannot hold (empty, with blanks or control characters) and repeated names are
// replaced as OutputNames describes. A row whose lower bound exceeds its upper bound cannot be
// expressed and fails the write with 3.
#include <cmath>
#include <vector>

#include "io/formats.h"
#include "io/output_names.h"

namespace tarq_solver {

namespace {

constexpr double kInf = TARQ_INFINITY;


struct RowForm {
  char sense;  // 'N', 'L', 'G', 'E'
  double rhs;
  double range;  // 0: none
};

// Looks for a range within a few units in the last place of r that satisfies exact().
template <class Exact>
bool NearbyRange(double r, Exact exact, double& found) {
  double above = r, below = r;
  for (int step = 0; step < 4; ++step) {
    if (exact(above)) return found = above, true;
    if (exact(below)) return found = below, true;
    above = std::nextafter(above, kInf);
    below = std::nextafter(below, 0.0);
  }
  return false;
}

// Picks the sense, right-hand side and range whose reading gives exactly [lo, up].
RowForm FormOf(double lo, double up) {
  if (lo <= -kInf && up >= kInf) return {'N', 0, 0};
  if (lo <= -kInf) return {'L', up, 0};
  if (up >= kInf) return {'G', lo, 0};
  if (lo == up) return {'E', lo, 0};
  const double r = up - lo;
  double range = 0;
  if (NearbyRange(r, [&](double c) { return lo + c == up; }, range)) return {'G', lo, range};
  if (NearbyRange(r, [&](double c) { return up - c == lo; }, range)) return {'L', up, range};
  return {'G', lo, r};  // within a rounding of up; no exact range exists
}

// "    <name1>  <name2>  <value>" with the names padded to the fixed-form fields.
void DataLine(OutBuffer& out, std::string_view first, std::string_view second, double value) {
  out.Put("    ");
  out.PutPadded(first, 10);
  out.PutPadded(second, 10);
  out.PutNum(value);
  out.Put('\n');
}

void BoundLine(OutBuffer& out, const char* type, std::string_view set, std::string_view col) {
  out.Put(' ');
  out.Put(type);
  out.Put(' ');
  out.PutPadded(set, 10);
  out.Put(col);
  out.Put('\n');
}

void BoundLine(OutBuffer& out, const char* type, std::string_view set, std::string_view col, double value) {
  out.Put(' ');
  out.Put(type);
  out.Put(' ');
  out.PutPadded(set, 10);
  out.PutPadded(col, 10);
  out.PutNum(value);
  out.Put('\n');
}

void Marker(OutBuffer& out, bool begin) {
  out.Put(begin ? "    MARKER                 'MARKER'                 'INTORG'\n"
                : "    MARKER                 'MARKER'                 'INTEND'\n");
}

void WriteColumnBounds(OutBuffer& out, std::string_view set, std::string_view name, char type, double lo,
                       double up) {
  auto line = [&](const char* t) { BoundLine(out, t, set, name); };
  auto valued = [&](const char* t, double v) { BoundLine(out, t, set, name, v); };
  if (type == 'B') {
    line("BV");
    if (lo != 0) lo <= -kInf ? line("MI") : valued("LO", lo);
    if (up != 1) up >= kInf ? line("PL") : valued("UP", up);
    return;
  }
  if (lo == up) return valued("FX", lo);
  if (lo <= -kInf && up >= kInf) return line("FR");
  if (lo <= -kInf) {
    line("MI");
  } else if (lo != 0 || up < 0) {
    valued("LO", lo);
  }
  if (up < kInf) valued("UP", up);
}

// The linear entries of the quadratic rows by column: column j has [begin[j], begin[j + 1]).
struct QuadEntriesByColumn {
  std::vector<std::int64_t> begin;
  std::vector<int> row;
  std::vector<double> val;

  QuadEntriesByColumn(const QuadRowTable& q, int nCol) : begin(static_cast<size_t>(nCol) + 1, 0) {
    for (int j : q.linIdx) ++begin[static_cast<size_t>(j) + 1];
    for (size_t j = 0; j < static_cast<size_t>(nCol); ++j) begin[j + 1] += begin[j];
    row.resize(q.linIdx.size());
    val.resize(q.linIdx.size());
    std::vector<std::int64_t> next(begin.begin(), begin.end() - 1);
    for (int k = 0; k < q.Size(); ++k) {
      for (std::int64_t p = q.LinBegin(k); p < q.LinEnd(k); ++p) {
        const auto at = static_cast<size_t>(next[static_cast<size_t>(q.linIdx[static_cast<size_t>(p)])]++);
        row[at] = k;
        val[at] = q.linVal[static_cast<size_t>(p)];
      }
    }
  }
};

// QUADOBJ: Q = the Hessian of the objective terms, one triangle. QCMATRIX: Q = half the Hessian
// of the row's terms, both triangles.
void WriteQuadraticSections(Problem& problem, const OutputNames& colNames, const OutputNames& quadNames,
                            OutBuffer& out) {
  const QuadStore& q = problem.Quad();
  if (!q.objective.Empty()) {
    SymLowerList h;
    h.AppendHessian(q.objective.row.data(), q.objective.col.data(), q.objective.val.data(), 0, q.objective.Size());
    if (h.End(0) > 0) out.Put("QUADOBJ\n");
    for (size_t p = 0; p < h.val.size(); ++p) DataLine(out, colNames[h.col[p]], colNames[h.row[p]], h.val[p]);
  }
  const QuadRowTable& rows = q.rows;
  for (int k = 0; k < rows.Size(); ++k) {
    SymLowerList h;
    h.AppendHessian(rows.quadRow.data(), rows.quadCol.data(), rows.quadVal.data(), rows.QuadBegin(k), rows.QuadEnd(k));
    if (h.End(0) == 0) continue;
    out.Put("QCMATRIX   ");
    out.Put(quadNames[k]);
    out.Put('\n');
    for (size_t p = 0; p < h.val.size(); ++p) {
      const double half = 0.5 * h.val[p];
      DataLine(out, colNames[h.row[p]], colNames[h.col[p]], half);
      if (h.row[p] != h.col[p]) DataLine(out, colNames[h.col[p]], colNames[h.row[p]], half);
    }
  }
}

// Entries of the indicator rows grouped by column (k: the indicator).
struct IndicatorEntriesByColumn {
  std::vector<std::int64_t> begin;
  std::vector<int> row;
  std::vector<double> val;

  IndicatorEntriesByColumn(const IndicatorTable& t, int nCol) : begin(static_cast<size_t>(nCol) + 1, 0) {
    for (int j : t.col) ++begin[static_cast<size_t>(j) + 1];
    for (size_t j = 0; j < static_cast<size_t>(nCol); ++j) begin[j + 1] += begin[j];
    row.resize(t.col.size());
    val.resize(t.col.size());
    std::vector<std::int64_t> next(begin.begin(), begin.end() - 1);
    for (int k = 0; k < t.Size(); ++k) {
      for (std::int64_t p = t.Begin(k); p < t.End(k); ++p) {
        const auto at = static_cast<size_t>(next[static_cast<size_t>(t.col[static_cast<size_t>(p)])]++);
        row[at] = k;
        val[at] = t.val[static_cast<size_t>(p)];
      }
    }
  }
};

void WriteSosConeSections(const SosConeStore& s, const OutputNames& colNames, const OutputNames& indNames,
                          OutBuffer& out) {
  if (s.sos.Size() > 0) {
    out.Put("SOS\n");
    for (int k = 0; k < s.sos.Size(); ++k) {
      out.Put(s.sos.type[static_cast<size_t>(k)] == TARQ_SOS_TYPE1 ? " S1 SOS s" : " S2 SOS s");
      out.PutInt(k);
      out.Put('\n');
      for (std::int64_t p = s.sos.Begin(k); p < s.sos.End(k); ++p) {
        out.Put("    ");
        out.Put(colNames[s.sos.col[static_cast<size_t>(p)]]);
        out.Put(':');
        out.PutNum(s.sos.weight[static_cast<size_t>(p)]);
        out.Put('\n');
      }
    }
  }
  if (s.indicators.Size() > 0) {
    out.Put("INDICATORS\n");
    for (int k = 0; k < s.indicators.Size(); ++k) {
      out.Put(" IF ");
      out.Put(indNames[k]);
      out.Put(' ');
      out.Put(colNames[s.indicators.binCol[static_cast<size_t>(k)]]);
      out.Put(s.indicators.binVal[static_cast<size_t>(k)] != 0 ? " 1\n" : " 0\n");
    }
  }
  for (int k = 0; k < s.cones.Size(); ++k) {
    out.Put("CSECTION   K");
    out.PutInt(k);
    out.Put(s.cones.type[static_cast<size_t>(k)] == TARQ_CONE_QUAD ? " 0 QUAD\n" : " 0 RQUAD\n");
    for (std::int64_t p = s.cones.Begin(k); p < s.cones.End(k); ++p) {
      out.Put("    ");
      out.Put(colNames[s.cones.col[static_cast<size_t>(p)]]);
      out.Put('\n');
    }
  }
}

}  // namespace

bool ValidMpsName(std::string_view name) {
  if (name.empty() || name == "'MARKER'") return false;
  for (char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7f) return false;
  }
  return true;
}

int WriteMps(Problem& problem, OutBuffer& out, IoError& err) {
  if (!problem.Nl().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0,
                "the MPS format cannot hold nonlinear rows or a nonlinear objective (write an .nl file)");
  }
  if (problem.Psd().HasParts()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0,
                "the MPS format cannot hold PSD columns, PSD rows or LMI rows (write a binary or .dat-s file)");
  }
  const ColumnTable& cols = problem.Cols();
  const RowTable& rows = problem.Rows();
  const int n = cols.Size(), m = rows.Size();
  for (int i = 0; i < m; ++i) {
    if (rows.lower[i] > rows.upper[i]) {
      return Fail(err, TARQ_RETCODE_INVALID, 0,
                  "row " + Quote(rows.names.Display(i)) + " has a lower bound above its upper bound, which MPS cannot express");
    }
  }
  const OutputNames colNames(cols.names, 'C', ValidMpsName);
  const OutputNames rowNames(rows.names, 'R', ValidMpsName);
  if (problem.SosCone().expCones.Size() > 0) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "the MPS format cannot hold exponential cones (write a CBF or binary file)");
  }
  const QuadRowTable& quad = problem.Quad().rows;
  const int mq = quad.Size();
  const OutputNames quadNames(quad.names, 'Q', ValidMpsName, &rowNames);
  const IndicatorTable& ind = problem.SosCone().indicators;
  const int mi = ind.Size();
  const OutputNames indNames(ind.names, 'G', ValidMpsName, &quadNames);
  const std::string objName = rowNames.Unused("OBJ", &indNames);
  const std::string boundSet = colNames.Unused("BND");

  out.Put("NAME\n");
  if (problem.ObjSense() == TARQ_MAXIMIZE) out.Put("OBJSENSE\n    MAX\n");
  out.Put("ROWS\n N  ");
  out.Put(objName);
  out.Put('\n');
  std::vector<RowForm> forms(static_cast<size_t>(m));
  for (int i = 0; i < m; ++i) {
    forms[i] = FormOf(rows.lower[i], rows.upper[i]);
    out.Put(' ');
    out.Put(forms[i].sense);
    out.Put("  ");
    out.Put(rowNames[i]);
    out.Put('\n');
  }
  for (int k = 0; k < mq; ++k) {
    out.Put(' ');
    out.Put(quad.sense[static_cast<size_t>(k)]);
    out.Put("  ");
    out.Put(quadNames[k]);
    out.Put('\n');
  }
  for (int k = 0; k < mi; ++k) {
    out.Put(' ');
    out.Put(ind.sense[static_cast<size_t>(k)]);
    out.Put("  ");
    out.Put(indNames[k]);
    out.Put('\n');
  }
  const QuadEntriesByColumn quadLinear(quad, n);
  const IndicatorEntriesByColumn indLinear(ind, n);

  out.Put("COLUMNS\n");
  SparseMatrix& matrix = problem.Matrix();
  matrix.Consolidate(Axis::kCol);
  bool inInteger = false;
  for (int j = 0; j < n; ++j) {
    const bool integer = cols.type[j] != 'C';
    if (integer != inInteger) Marker(out, integer);
    inInteger = integer;
    const VectorView v = matrix.Vector(j);
    if (cols.obj[j] != 0 || v.len == 0) DataLine(out, colNames[j], objName, cols.obj[j]);
    for (std::int64_t p = 0; p < v.len; ++p) DataLine(out, colNames[j], rowNames[v.idx[p]], v.val[p]);
    for (std::int64_t p = quadLinear.begin[static_cast<size_t>(j)]; p < quadLinear.begin[static_cast<size_t>(j) + 1]; ++p) {
      DataLine(out, colNames[j], quadNames[quadLinear.row[static_cast<size_t>(p)]],
               quadLinear.val[static_cast<size_t>(p)]);
    }
    for (std::int64_t p = indLinear.begin[static_cast<size_t>(j)]; p < indLinear.begin[static_cast<size_t>(j) + 1]; ++p) {
      DataLine(out, colNames[j], indNames[indLinear.row[static_cast<size_t>(p)]], indLinear.val[static_cast<size_t>(p)]);
    }
  }
  if (inInteger) Marker(out, false);

  out.Put("RHS\n");
  if (problem.ObjConst() != 0) DataLine(out, "RHS", objName, -problem.ObjConst());
  for (int i = 0; i < m; ++i) {
    if (forms[i].sense != 'N' && forms[i].rhs != 0) DataLine(out, "RHS", rowNames[i], forms[i].rhs);
  }
  for (int k = 0; k < mq; ++k) {
    const double rhs = quad.rhs[static_cast<size_t>(k)];
    if (rhs != 0) DataLine(out, "RHS", quadNames[k], rhs);
  }
  for (int k = 0; k < mi; ++k) {
    const double rhs = ind.bound[static_cast<size_t>(k)];
    if (rhs != 0) DataLine(out, "RHS", indNames[k], rhs);
  }
  bool anyRange = false;
  for (int i = 0; i < m && !anyRange; ++i) anyRange = forms[i].range != 0;
  if (anyRange) {
    out.Put("RANGES\n");
    for (int i = 0; i < m; ++i) {
      if (forms[i].range != 0) DataLine(out, "RNG", rowNames[i], forms[i].range);
    }
  }

  bool anyBound = false;
  for (int j = 0; j < n && !anyBound; ++j) {
    anyBound = cols.type[j] == 'B' || cols.lower[j] != 0 || cols.upper[j] < kInf;
  }
  if (anyBound) {
    out.Put("BOUNDS\n");
    for (int j = 0; j < n; ++j) {
      WriteColumnBounds(out, boundSet, colNames[j], cols.type[j], cols.lower[j], cols.upper[j]);
    }
  }
  WriteQuadraticSections(problem, colNames, quadNames, out);
  WriteSosConeSections(problem.SosCone(), colNames, indNames, out);
  out.Put("ENDATA\n");
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
