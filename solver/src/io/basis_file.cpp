// Basis files in the classic MPS basis form. Rows' statuses are those of their activities.
#include "io/solution_files.h"

namespace tarq_solver {
namespace {

bool Writable(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (IsBlank(c) || c == '\n') return false;
  }
  return true;
}

int DefaultColumnStatus(const ColumnTable& cols, int j) {
  if (cols.lower[j] > -TARQ_INFINITY) return TARQ_BASIS_LOWER;
  return cols.upper[j] < TARQ_INFINITY ? TARQ_BASIS_UPPER : TARQ_BASIS_SUPERBASIC;
}

}  // namespace

int WriteBasis(Problem& p, OutBuffer& out, IoError& err) {
  const int cols = p.Cols().Size(), rows = p.Rows().Size();
  Results& r = p.Result();
  if (!r.HasBasis(cols, rows)) return Fail(err, TARQ_RETCODE_INVALID, 0, "the problem has no basis");
  NameTable& colNames = p.Names(Axis::kCol);
  NameTable& rowNames = p.Names(Axis::kRow);
  std::vector<std::string> cn(static_cast<size_t>(cols)), rn(static_cast<size_t>(rows));
  for (int j = 0; j < cols; ++j) {
    cn[j] = colNames.Display(j);
    if (!Writable(cn[j])) return Fail(err, TARQ_RETCODE_INVALID, 0, "column name " + Quote(cn[j]) + " has blanks");
  }
  for (int i = 0; i < rows; ++i) {
    rn[i] = rowNames.Display(i);
    if (!Writable(rn[i])) return Fail(err, TARQ_RETCODE_INVALID, 0, "row name " + Quote(rn[i]) + " has blanks");
  }
  auto line = [&out](const char* code, const std::string& a, const std::string* b) {
    out.Put(' ');
    out.Put(code);
    out.Put(' ');
    out.Put(a);
    if (b != nullptr) {
      out.Put(' ');
      out.Put(*b);
    }
    out.Put('\n');
  };
  out.Put("NAME          basis\n");
  // Pair each basic column with a nonbasic row; what is left over is written on its own.
  std::vector<int> basicCols, nonbasicRows;
  for (int j = 0; j < cols; ++j) {
    if (r.colBasis[j] == TARQ_BASIS_BASIC) basicCols.push_back(j);
  }
  for (int i = 0; i < rows; ++i) {
    if (r.rowBasis[i] != TARQ_BASIS_BASIC) nonbasicRows.push_back(i);
  }
  const size_t pairs = std::min(basicCols.size(), nonbasicRows.size());
  for (size_t k = 0; k < pairs; ++k) {
    const int i = nonbasicRows[k];
    line(r.rowBasis[i] == TARQ_BASIS_UPPER ? "XU" : "XL", cn[basicCols[k]], &rn[i]);
  }
  for (size_t k = pairs; k < basicCols.size(); ++k) line("BS", cn[basicCols[k]], nullptr);
  for (size_t k = pairs; k < nonbasicRows.size(); ++k) {
    const int i = nonbasicRows[k];
    line(r.rowBasis[i] == TARQ_BASIS_UPPER        ? "UL"
         : r.rowBasis[i] == TARQ_BASIS_SUPERBASIC ? "SB"
                                                  : "LL",
         rn[i], nullptr);
  }
  for (int j = 0; j < cols; ++j) {
    switch (r.colBasis[j]) {
      case TARQ_BASIS_UPPER:
        line("UL", cn[j], nullptr);
        break;
      case TARQ_BASIS_SUPERBASIC:
        line("SB", cn[j], nullptr);
        break;
      case TARQ_BASIS_LOWER:
      case TARQ_BASIS_FIXED:
        if (DefaultColumnStatus(p.Cols(), j) != TARQ_BASIS_LOWER) line("LL", cn[j], nullptr);
        break;
      default:
        break;
    }
  }
  out.Put("ENDATA\n");
  return TARQ_RETCODE_OK;
}

int ParseBasis(Problem& p, std::string_view text, IoError& err) {
  const ColumnTable& cols = p.Cols();
  const int nCol = cols.Size(), nRow = p.Rows().Size();
  if (nCol + nRow == 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "the problem is empty");
  std::vector<int> colBasis(static_cast<size_t>(nCol)), rowBasis(static_cast<size_t>(nRow), TARQ_BASIS_BASIC);
  for (int j = 0; j < nCol; ++j) colBasis[j] = DefaultColumnStatus(cols, j);
  NameTable& colNames = p.Names(Axis::kCol);
  NameTable& rowNames = p.Names(Axis::kRow);
  LineReader lines(text);
  std::string_view ln;
  bool named = false, ended = false;
  while (lines.Next(ln)) {
    if (Trim(ln).empty() || ln[0] == '*') continue;
    std::string_view f[3];
    const size_t n = SplitFields(ln, f);
    if (!named) {
      if (n < 1 || !EqualNoCase(f[0], "NAME")) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "expected NAME");
      named = true;
      continue;
    }
    if (n == 1 && EqualNoCase(f[0], "ENDATA")) {
      ended = true;
      break;
    }
    const std::string_view code = f[0];
    const bool pair = code == "XU" || code == "XL";
    const bool single = code == "UL" || code == "LL" || code == "BS" || code == "SB";
    if ((!pair && !single) || n != (pair ? 3u : 2u)) {
      return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "bad basis line " + Quote(Trim(ln)));
    }
    const int col = colNames.Find(f[1]);
    if (pair) {
      const int row = rowNames.Find(f[2]);
      if (col < 0 || row < 0)
        return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "unknown name in " + Quote(Trim(ln)));
      colBasis[col] = TARQ_BASIS_BASIC;
      rowBasis[row] = code == "XU" ? TARQ_BASIS_UPPER : TARQ_BASIS_LOWER;
      continue;
    }
    const int status = code == "UL"   ? TARQ_BASIS_UPPER
                       : code == "LL" ? TARQ_BASIS_LOWER
                       : code == "BS" ? TARQ_BASIS_BASIC
                                      : TARQ_BASIS_SUPERBASIC;
    if (col >= 0) {
      colBasis[col] = status;
    } else if (int row = rowNames.Find(f[1]); row >= 0) {
      rowBasis[row] = status;
    } else {
      return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "unknown name " + Quote(f[1]));
    }
  }
  if (!ended) return Fail(err, TARQ_RETCODE_INVALID, lines.Number(), "missing ENDATA");
  Results& r = p.Result();
  r.colBasis = std::move(colBasis);
  r.rowBasis = std::move(rowBasis);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
