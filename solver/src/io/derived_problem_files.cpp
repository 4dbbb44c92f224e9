// Files that hold a problem derived from the stored one: the IIS subsystem (.iis) and the
// feasibility relaxation (.relax). Each builds the derived problem in a scratch Problem and
// writes it with the LP or MPS writer.
#include <memory>

#include "io/formats.h"
#include "io/solution_files.h"
#include "relax/feas_relax.h"

namespace tarq_solver {
namespace {

// A derived problem by columns, ready for Problem::Load.
struct Derived {
  int sense = 1;
  std::vector<double> obj, colLower, colUpper, rowLower, rowUpper;
  std::vector<char> types;
  std::vector<int> beg{0}, idx;
  std::vector<double> val;
  std::vector<std::string> colNames, rowNames;
  QuadTerms quadObj;  // quadratic objective terms, if any

  int Write(bool lp, OutBuffer& out, IoError& err) const {
    std::vector<const char*> cn, rn;
    for (const auto& n : colNames) cn.push_back(n.c_str());
    for (const auto& n : rowNames) rn.push_back(n.c_str());
    LoadArgs args;
    args.nCol = static_cast<int>(obj.size());
    args.nRow = static_cast<int>(rowLower.size());
    args.objSense = sense;
    args.obj = obj.data();
    args.cols.beg = beg.data();
    args.cols.idx = idx.data();
    args.cols.val = val.data();
    args.types = types.data();
    args.colLower = colLower.data();
    args.colUpper = colUpper.data();
    args.rowBound = rowLower.data();
    args.rowUpper = rowUpper.data();
    args.colNames = cn.data();
    args.rowNames = rn.data();
    Problem scratch(std::make_shared<const EnvCore>());
    scratch.Params().Set(IntParam::Logging, 0);
    if (scratch.Load(args) != TARQ_RETCODE_OK ||
        scratch.SetQuadObj(quadObj.Size(), quadObj.row.data(), quadObj.col.data(), quadObj.val.data()) !=
            TARQ_RETCODE_OK) {
      return Fail(err, TARQ_RETCODE_INTERNAL, 0, "the derived problem is invalid");
    }
    return lp ? WriteLp(scratch, out, err) : WriteMps(scratch, out, err);
  }
};

}  // namespace

int WriteIis(Problem& p, OutBuffer& out, IoError& err) {
  const ColumnTable& cols = p.Cols();
  const int nCol = cols.Size(), nRow = p.Rows().Size();
  Results& r = p.Result();
  if (!r.HasIis(nCol, nRow)) return Fail(err, TARQ_RETCODE_INVALID, 0, "the problem has no IIS");
  const std::vector<int> colLow = r.colLowerIis, colUp = r.colUpperIis;
  const std::vector<int> rowLow = r.rowLowerIis, rowUp = r.rowUpperIis;
  // Rows of the IIS, and the columns in them or with a bound in the IIS.
  std::vector<int> rowNew(static_cast<size_t>(nRow), -1);
  Derived d;
  NameTable& rowNames = p.Names(Axis::kRow);
  for (int i = 0; i < nRow; ++i) {
    if (!rowLow[i] && !rowUp[i]) continue;
    rowNew[i] = static_cast<int>(d.rowLower.size());
    d.rowLower.push_back(rowLow[i] ? p.Rows().lower[i] : -TARQ_INFINITY);
    d.rowUpper.push_back(rowUp[i] ? p.Rows().upper[i] : TARQ_INFINITY);
    d.rowNames.push_back(rowNames.Display(i));
  }
  SparseMatrix& m = p.Matrix();
  m.Consolidate(Axis::kCol);
  NameTable& colNames = p.Names(Axis::kCol);
  for (int j = 0; j < nCol; ++j) {
    const VectorView v = m.Vector(j);
    const size_t before = d.idx.size();
    for (std::int64_t k = 0; k < v.len; ++k) {
      if (rowNew[v.idx[k]] < 0) continue;
      d.idx.push_back(rowNew[v.idx[k]]);
      d.val.push_back(v.val[k]);
    }
    if (d.idx.size() == before && !colLow[j] && !colUp[j]) continue;
    d.beg.push_back(static_cast<int>(d.idx.size()));
    d.obj.push_back(0.0);
    d.colLower.push_back(colLow[j] ? cols.lower[j] : -TARQ_INFINITY);
    d.colUpper.push_back(colUp[j] ? cols.upper[j] : TARQ_INFINITY);
    d.types.push_back(cols.type[j] == 'C' ? 'C' : 'I');  // binaries would bring back their bounds
    d.colNames.push_back(colNames.Display(j));
  }
  return d.Write(true, out, err);
}

int WriteRelax(Problem& p, OutBuffer& out, IoError& err) {
  LpData data;
  std::vector<std::string> addedCols, addedRows;
  QuadTerms squares;
  if (BuildStoredRelaxation(p, data, addedCols, addedRows, squares) != TARQ_RETCODE_OK) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "no feasibility relaxation has been run on the problem as it stands");
  }
  const int nCol0 = p.Cols().Size(), nRow0 = p.Rows().Size();
  Derived d;
  d.sense = data.sense;
  d.obj = data.obj;
  d.quadObj = std::move(squares);
  d.colLower = data.colLower;
  d.colUpper = data.colUpper;
  for (char c : data.integer) d.types.push_back(c ? 'I' : 'C');
  // Matrix rows first, then the added rows, transposed into the columns.
  const int rows = data.Rows();
  std::vector<std::vector<std::pair<int, double>>> extra(static_cast<size_t>(data.nCol));
  for (size_t a = 0; a + 1 < data.addStart.size(); ++a) {
    for (CoinBigIndex k = data.addStart[a]; k < data.addStart[a + 1]; ++k) {
      extra[data.addIndex[k]].emplace_back(data.nRow + static_cast<int>(a), data.addValue[k]);
    }
  }
  for (int j = 0; j < data.nCol; ++j) {
    for (CoinBigIndex k = data.start[j]; k < data.start[j + 1]; ++k) {
      d.idx.push_back(data.index[k]);
      d.val.push_back(data.value[k]);
    }
    for (auto [row, v] : extra[j]) {
      d.idx.push_back(row);
      d.val.push_back(v);
    }
    d.beg.push_back(static_cast<int>(d.idx.size()));
  }
  d.rowLower = data.rowLower;
  d.rowUpper = data.rowUpper;
  d.rowLower.insert(d.rowLower.end(), data.addLower.begin(), data.addLower.end());
  d.rowUpper.insert(d.rowUpper.end(), data.addUpper.begin(), data.addUpper.end());
  NameTable& colNames = p.Names(Axis::kCol);
  NameTable& rowNames = p.Names(Axis::kRow);
  for (int j = 0; j < nCol0; ++j) d.colNames.push_back(colNames.Display(j));
  d.colNames.insert(d.colNames.end(), addedCols.begin(), addedCols.end());
  for (int i = 0; i < nRow0; ++i) d.rowNames.push_back(rowNames.Display(i));
  d.rowNames.insert(d.rowNames.end(), addedRows.begin(), addedRows.end());
  if (static_cast<int>(d.colNames.size()) != data.nCol || static_cast<int>(d.rowNames.size()) != rows) {
    return Fail(err, TARQ_RETCODE_INTERNAL, 0, "the relaxed problem's names do not match its size");
  }
  return d.Write(p.Params().Int(IntParam::RelaxFileType) == 1, out, err);
}

}  // namespace tarq_solver
