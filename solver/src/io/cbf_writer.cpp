// Writing a problem in the conic benchmark format (see cbf_reader.cpp for the conventions).
//
// Columns become variables: each cone over columns that no earlier cone took becomes one VAR
// domain over its members in cone order (so its columns are written together, at the place of
// its first column in column order); every other column gets the domain its bounds allow (F, L+,
// L-, L=) and a CON row for each bound that domain does not express. Linear rows become CON rows
// a'x + b in L+ (lower bound), L- (upper bound), L= (both equal) or F (neither); a row with two
// different finite bounds gives two. A cone whose columns an earlier cone took becomes a cone
// domain over the CON rows 1 x_j + 0. Reading the file back gives a problem with the same
// feasible points (in the written column order) and the same objective.
//
// Refused (3): quadratic, nonlinear and semidefinite parts, SOS constraints and indicator rows.
// Cost: O(columns + rows + nonzeros + cone members).
#include <algorithm>

#include "io/formats.h"

namespace tarq_solver {

namespace {

enum Dom : char { kF, kLPlus, kLMinus, kLZero, kQ, kQR, kExp, kExpDual };

const char* const kDomName[] = {"F", "L+", "L-", "L=", "Q", "QR", "EXP", "EXP*"};

// One CON row: a matrix row (row >= 0) or a single column (col >= 0), with its constant.
struct OutRow {
  Dom dom;
  int row;
  int col;
  double b;
};

void PutDomains(OutBuffer& out, const std::vector<std::pair<Dom, int>>& domains) {
  for (const auto& [d, n] : domains) {
    out.Put(kDomName[d]);
    out.Put(' ');
    out.PutInt(n);
    out.Put('\n');
  }
}

// Appends n members of domain d, merging with the last run of the same linear domain.
void AddRun(std::vector<std::pair<Dom, int>>& domains, Dom d, int n, bool mergeable) {
  if (mergeable && !domains.empty() && domains.back().first == d) {
    domains.back().second += n;
  } else {
    domains.emplace_back(d, n);
  }
}

}  // namespace

int WriteCbf(Problem& problem, OutBuffer& out, IoError& err) {
  if (!problem.Quad().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "quadratic objectives and quadratic rows cannot be written in the CBF format");
  }
  if (!problem.Nl().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "nonlinear rows and a nonlinear objective cannot be written in the CBF format");
  }
  if (!problem.Psd().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "semidefinite parts cannot be written in the CBF format");
  }
  const SpecialStore& special = problem.Special();
  if (special.sos.Size() > 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "SOS constraints cannot be written in the CBF format");
  if (special.indicators.Size() > 0) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "indicator rows cannot be written in the CBF format");
  }
  const ColumnTable& cols = problem.Cols();
  const RowTable& rows = problem.Rows();
  const int n = cols.Size();
  const ConeTable& cones = special.cones;
  const ExpConeTable& exps = special.expCones;

  // Which cone takes each column as a VAR domain: cones first, then exponential cones (index
  // cones.Size() + k); -1 for none.
  const int nCones = cones.Size() + exps.Size();
  std::vector<int> owner(static_cast<size_t>(n), -1);
  std::vector<char> asVar(static_cast<size_t>(nCones), 0);
  auto members = [&](int c, const int*& first, int& count) {
    if (c < cones.Size()) {
      first = cones.col.data() + cones.Begin(c);
      count = static_cast<int>(cones.End(c) - cones.Begin(c));
    } else {
      first = exps.col.data() + 3 * static_cast<std::int64_t>(c - cones.Size());
      count = 3;
    }
  };
  auto coneDom = [&](int c) {
    if (c < cones.Size()) return cones.type[c] == TARQ_CONE_QUAD ? kQ : kQR;
    return exps.type[c - cones.Size()] == TARQ_EXPCONE_PRIMAL ? kExp : kExpDual;
  };
  for (int c = 0; c < nCones; ++c) {
    const int* first = nullptr;
    int count = 0;
    members(c, first, count);
    if (std::any_of(first, first + count, [&](int j) { return owner[j] >= 0; })) continue;
    asVar[c] = 1;
    for (int k = 0; k < count; ++k) owner[first[k]] = c;
  }

  // Written order of the columns, VAR domains and the CON rows for bounds.
  std::vector<int> order;
  order.reserve(static_cast<size_t>(n));
  std::vector<int> pos(static_cast<size_t>(n), -1);
  std::vector<std::pair<Dom, int>> varDomains, conDomains;
  std::vector<OutRow> boundRows;
  auto boundsAsRows = [&](int j, bool lower, bool upper) {
    const double lo = cols.lower[j], up = cols.upper[j];
    if (lower && upper && lo == up) {
      boundRows.push_back({kLZero, -1, j, lo == 0 ? 0.0 : -lo});
      return;
    }
    if (lower && lo > -TARQ_INFINITY) boundRows.push_back({kLPlus, -1, j, lo == 0 ? 0.0 : -lo});
    if (upper && up < TARQ_INFINITY) boundRows.push_back({kLMinus, -1, j, up == 0 ? 0.0 : -up});
  };
  for (int j = 0; j < n; ++j) {
    if (pos[j] >= 0) continue;
    const int c = owner[j];
    if (c >= 0) {
      const int* first = nullptr;
      int count = 0;
      members(c, first, count);
      for (int k = 0; k < count; ++k) {
        pos[first[k]] = static_cast<int>(order.size());
        order.push_back(first[k]);
        boundsAsRows(first[k], true, true);
      }
      AddRun(varDomains, coneDom(c), count, false);
      continue;
    }
    pos[j] = static_cast<int>(order.size());
    order.push_back(j);
    const double lo = cols.lower[j], up = cols.upper[j];
    Dom d = kF;
    if (lo == 0 && up == 0) {
      d = kLZero;
    } else if (lo == 0) {
      d = kLPlus;
    } else if (up == 0) {
      d = kLMinus;
    }
    boundsAsRows(j, d == kF || d == kLMinus, d == kF || d == kLPlus);
    AddRun(varDomains, d, 1, true);
  }

  // CON rows: matrix rows, bound rows, then the cones written over rows.
  std::vector<OutRow> conRows;
  conRows.reserve(static_cast<size_t>(rows.Size()) + boundRows.size());
  for (int i = 0; i < rows.Size(); ++i) {
    const double lo = rows.lower[i], up = rows.upper[i];
    if (lo == up) {
      conRows.push_back({kLZero, i, -1, lo == 0 ? 0.0 : -lo});
    } else if (lo <= -TARQ_INFINITY && up >= TARQ_INFINITY) {
      conRows.push_back({kF, i, -1, 0.0});
    } else {
      if (lo > -TARQ_INFINITY) conRows.push_back({kLPlus, i, -1, lo == 0 ? 0.0 : -lo});
      if (up < TARQ_INFINITY) conRows.push_back({kLMinus, i, -1, up == 0 ? 0.0 : -up});
    }
  }
  conRows.insert(conRows.end(), boundRows.begin(), boundRows.end());
  for (const OutRow& r : conRows) AddRun(conDomains, r.dom, 1, true);
  for (int c = 0; c < nCones; ++c) {
    if (asVar[c]) continue;
    const int* first = nullptr;
    int count = 0;
    members(c, first, count);
    for (int k = 0; k < count; ++k) conRows.push_back({coneDom(c), -1, first[k], 0.0});
    AddRun(conDomains, coneDom(c), count, false);
  }

  // The matrix by rows with each row's entries in written column order: a pass over the columns
  // in that order. O(nonzeros).
  SparseMatrix& matrix = problem.Matrix();
  matrix.Consolidate(Axis::kCol);
  std::vector<std::int64_t> rowStart(static_cast<size_t>(rows.Size()) + 1, 0);
  for (int j = 0; j < n; ++j) {
    const VectorView v = matrix.Vector(j);
    for (std::int64_t k = 0; k < v.len; ++k) ++rowStart[static_cast<size_t>(v.idx[k]) + 1];
  }
  for (int i = 0; i < rows.Size(); ++i) rowStart[i + 1] += rowStart[i];
  std::vector<int> rowPos(static_cast<size_t>(rowStart.back()));
  std::vector<double> rowVal(static_cast<size_t>(rowStart.back()));
  {
    std::vector<std::int64_t> fill(rowStart.begin(), rowStart.end() - 1);
    for (int p = 0; p < n; ++p) {
      const VectorView v = matrix.Vector(order[p]);
      for (std::int64_t k = 0; k < v.len; ++k) {
        const std::int64_t at = fill[v.idx[k]]++;
        rowPos[at] = p;
        rowVal[at] = v.val[k];
      }
    }
  }
  std::int64_t nnz = 0, nB = 0;
  for (const OutRow& r : conRows) {
    nnz += r.row >= 0 ? rowStart[r.row + 1] - rowStart[r.row] : 1;
    if (r.b != 0) ++nB;
  }

  const bool exponential = exps.Size() > 0;
  out.Put("# written by tarq\nVER\n");
  out.Put(exponential ? "3\n\n" : "1\n\n");
  out.Put("OBJSENSE\n");
  out.Put(problem.ObjSense() < 0 ? "MAX\n\n" : "MIN\n\n");
  out.Put("VAR\n");
  out.PutInt(n);
  out.Put(' ');
  out.PutInt(static_cast<std::int64_t>(varDomains.size()));
  out.Put('\n');
  PutDomains(out, varDomains);
  out.Put('\n');

  std::int64_t nInt = 0;
  for (int j = 0; j < n; ++j) nInt += cols.type[order[j]] != 'C';
  if (nInt > 0) {
    out.Put("INT\n");
    out.PutInt(nInt);
    out.Put('\n');
    for (int p = 0; p < n; ++p) {
      if (cols.type[order[p]] == 'C') continue;
      out.PutInt(p);
      out.Put('\n');
    }
    out.Put('\n');
  }
  if (!conRows.empty()) {
    out.Put("CON\n");
    out.PutInt(static_cast<std::int64_t>(conRows.size()));
    out.Put(' ');
    out.PutInt(static_cast<std::int64_t>(conDomains.size()));
    out.Put('\n');
    PutDomains(out, conDomains);
    out.Put('\n');
  }

  std::int64_t nObj = 0;
  for (int j = 0; j < n; ++j) nObj += cols.obj[j] != 0;
  if (nObj > 0) {
    out.Put("OBJACOORD\n");
    out.PutInt(nObj);
    out.Put('\n');
    for (int p = 0; p < n; ++p) {
      const double v = cols.obj[order[p]];
      if (v == 0) continue;
      out.PutInt(p);
      out.Put(' ');
      out.PutNum(v);
      out.Put('\n');
    }
    out.Put('\n');
  }
  if (problem.ObjConst() != 0) {
    out.Put("OBJBCOORD\n");
    out.PutNum(problem.ObjConst());
    out.Put("\n\n");
  }
  if (nnz > 0) {
    out.Put("ACOORD\n");
    out.PutInt(nnz);
    out.Put('\n');
    for (size_t r = 0; r < conRows.size(); ++r) {
      const OutRow& o = conRows[r];
      auto entry = [&](int p, double v) {
        out.PutInt(static_cast<std::int64_t>(r));
        out.Put(' ');
        out.PutInt(p);
        out.Put(' ');
        out.PutNum(v);
        out.Put('\n');
      };
      if (o.row < 0) {
        entry(pos[o.col], 1.0);
        continue;
      }
      for (std::int64_t k = rowStart[o.row]; k < rowStart[o.row + 1]; ++k) entry(rowPos[k], rowVal[k]);
    }
    out.Put('\n');
  }
  if (nB > 0) {
    out.Put("BCOORD\n");
    out.PutInt(nB);
    out.Put('\n');
    for (size_t r = 0; r < conRows.size(); ++r) {
      if (conRows[r].b == 0) continue;
      out.PutInt(static_cast<std::int64_t>(r));
      out.Put(' ');
      out.PutNum(conRows[r].b);
      out.Put('\n');
    }
  }
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
