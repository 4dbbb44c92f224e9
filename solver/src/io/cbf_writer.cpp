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
// Semidefinite parts: PSD columns become PSDVAR entries in their order and the PSD objective
// OBJFCOORD. A PSD row becomes CON rows after the linear ones, with the bounds written as for
// linear rows, its scalar terms in ACOORD and its matrices in FCOORD. LMI rows become PSDCON
// entries, their terms HCOORD and their constants DCOORD. Matrices are written as stored (the
// lower triangle), so every term reads back as the same matrix; matrices that nothing refers to
// are not written. The version is 3 with exponential cones, else 2 with LMI rows, else 1.
//
// Refused (3): quadratic and nonlinear parts, SOS constraints and indicator rows.
// Cost: O(columns + rows + nonzeros + cone members + matrix elements of the terms).
#include <algorithm>

#include "io/formats.h"

namespace tarq_solver {

namespace {

enum Dom : char { kF, kLPlus, kLMinus, kLZero, kQ, kQR, kExp, kExpDual };

const char* const kDomName[] = {"F", "L+", "L-", "L=", "Q", "QR", "EXP", "EXP*"};

// One CON row: a matrix row (row >= 0), a single column (col >= 0) or a PSD row (psd >= 0), with
// its constant.
struct OutRow {
  Dom dom;
  int row;
  int col;
  double b;
  int psd = -1;
};

// The CON rows of a row with bounds lo and up, appended to rows: one row (L=, F) or one per
// finite bound (L+, L-). row and psd say which row it is.
void BoundRows(double lo, double up, int row, int psd, std::vector<OutRow>& rows) {
  if (lo == up) {
    rows.push_back({kLZero, row, -1, lo == 0 ? 0.0 : -lo, psd});
  } else if (lo <= -TARQ_INFINITY && up >= TARQ_INFINITY) {
    rows.push_back({kF, row, -1, 0.0, psd});
  } else {
    if (lo > -TARQ_INFINITY) rows.push_back({kLPlus, row, -1, lo == 0 ? 0.0 : -lo, psd});
    if (up < TARQ_INFINITY) rows.push_back({kLMinus, row, -1, up == 0 ? 0.0 : -up, psd});
  }
}

// Writes "<prefix> k l value" for every stored element of matrix mat; prefix ends with a blank.
void PutMatrix(OutBuffer& out, const SymMatTable& mats, int mat, const std::string& prefix) {
  for (std::int64_t e = mats.begin[mat]; e < mats.begin[mat + 1]; ++e) {
    out.Put(prefix);
    out.PutInt(mats.row[e]);
    out.Put(' ');
    out.PutInt(mats.col[e]);
    out.Put(' ');
    out.PutNum(mats.val[e]);
    out.Put('\n');
  }
}

void PutDims(OutBuffer& out, const char* section, const std::vector<int>& dims) {
  out.Put(section);
  out.Put('\n');
  out.PutInt(static_cast<std::int64_t>(dims.size()));
  out.Put('\n');
  for (int d : dims) {
    out.PutInt(d);
    out.Put('\n');
  }
  out.Put('\n');
}

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
  const SosConeStore& sosCones = problem.SosCone();
  if (sosCones.sos.Size() > 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "SOS constraints cannot be written in the CBF format");
  if (sosCones.indicators.Size() > 0) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "indicator rows cannot be written in the CBF format");
  }
  const ColumnTable& cols = problem.Cols();
  const RowTable& rows = problem.Rows();
  const int n = cols.Size();
  const ConeTable& cones = sosCones.cones;
  const ExpConeTable& exps = sosCones.expCones;

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
  for (int i = 0; i < rows.Size(); ++i) BoundRows(rows.lower[i], rows.upper[i], i, -1, conRows);
  const PsdStore& psd = problem.Psd();
  const PsdRowTable& psdRows = psd.Rows();
  for (int r = 0; r < psdRows.Size(); ++r) BoundRows(psdRows.lower[r], psdRows.upper[r], -1, r, conRows);
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
  std::int64_t nnz = 0, nB = 0, nF = 0;
  for (const OutRow& r : conRows) {
    if (r.psd >= 0) {
      nnz += psdRows.lin.Count(r.psd);
      for (std::int64_t k = psdRows.psd.begin[r.psd]; k < psdRows.psd.begin[r.psd + 1]; ++k) {
        nF += psd.Mats().Count(psdRows.psd.payload[k]);
      }
    } else {
      nnz += r.row >= 0 ? rowStart[r.row + 1] - rowStart[r.row] : 1;
    }
    if (r.b != 0) ++nB;
  }

  const PsdColTable& psdCols = psd.Cols();
  const LmiRowTable& lmis = psd.Lmis();
  const SymMatTable& mats = psd.Mats();
  out.Put("# written by tarq\nVER\n");
  out.Put(exps.Size() > 0 ? "3\n\n" : lmis.Size() > 0 ? "2\n\n" : "1\n\n");
  out.Put("OBJSENSE\n");
  out.Put(problem.ObjSense() < 0 ? "MAX\n\n" : "MIN\n\n");
  if (psdCols.Size() > 0) PutDims(out, "PSDVAR", psdCols.dim);
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
  if (lmis.Size() > 0) PutDims(out, "PSDCON", lmis.dim);
  if (!conRows.empty()) {
    out.Put("CON\n");
    out.PutInt(static_cast<std::int64_t>(conRows.size()));
    out.Put(' ');
    out.PutInt(static_cast<std::int64_t>(conDomains.size()));
    out.Put('\n');
    PutDomains(out, conDomains);
    out.Put('\n');
  }

  std::int64_t nObjF = 0;
  for (int j = 0; j < psdCols.Size(); ++j) nObjF += psdCols.objMat[j] >= 0 ? mats.Count(psdCols.objMat[j]) : 0;
  if (nObjF > 0) {
    out.Put("OBJFCOORD\n");
    out.PutInt(nObjF);
    out.Put('\n');
    for (int j = 0; j < psdCols.Size(); ++j) {
      if (psdCols.objMat[j] >= 0) PutMatrix(out, mats, psdCols.objMat[j], std::to_string(j) + ' ');
    }
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
  if (nF > 0) {
    out.Put("FCOORD\n");
    out.PutInt(nF);
    out.Put('\n');
    for (size_t r = 0; r < conRows.size(); ++r) {
      const int p = conRows[r].psd;
      if (p < 0) continue;
      for (std::int64_t k = psdRows.psd.begin[p]; k < psdRows.psd.begin[p + 1]; ++k) {
        const std::string prefix = std::to_string(r) + ' ' + std::to_string(psdRows.psd.index[k]) + ' ';
        PutMatrix(out, mats, psdRows.psd.payload[k], prefix);
      }
    }
    out.Put('\n');
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
      if (o.psd >= 0) {
        for (std::int64_t k = psdRows.lin.begin[o.psd]; k < psdRows.lin.begin[o.psd + 1]; ++k) {
          entry(pos[psdRows.lin.index[k]], psdRows.lin.payload[k]);
        }
        continue;
      }
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
  std::int64_t nH = 0, nD = 0;
  for (int i = 0; i < lmis.Size(); ++i) {
    for (std::int64_t k = lmis.terms.begin[i]; k < lmis.terms.begin[i + 1]; ++k) {
      nH += mats.Count(lmis.terms.payload[k]);
    }
    if (lmis.constMat[i] >= 0) nD += mats.Count(lmis.constMat[i]);
  }
  if (nH > 0) {
    out.Put("\nHCOORD\n");
    out.PutInt(nH);
    out.Put('\n');
    for (int i = 0; i < lmis.Size(); ++i) {
      for (std::int64_t k = lmis.terms.begin[i]; k < lmis.terms.begin[i + 1]; ++k) {
        const std::string prefix = std::to_string(i) + ' ' + std::to_string(pos[lmis.terms.index[k]]) + ' ';
        PutMatrix(out, mats, lmis.terms.payload[k], prefix);
      }
    }
  }
  if (nD > 0) {
    out.Put("\nDCOORD\n");
    out.PutInt(nD);
    out.Put('\n');
    for (int i = 0; i < lmis.Size(); ++i) {
      if (lmis.constMat[i] >= 0) PutMatrix(out, mats, lmis.constMat[i], std::to_string(i) + ' ');
    }
  }
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
