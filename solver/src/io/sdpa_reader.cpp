// The SDPA sparse format (".dat-s"), read into m free columns, one LMI row per block of positive
// size and one row per diagonal entry of a block of negative size (see tarq_psd.h).
//
// Layout: comment lines beginning with '"' or '*' before anything else; the number of matrices m
// (the first number of its line, the rest of the line is ignored); the number of blocks (the
// same); the block sizes and the m objective coefficients, each list possibly spread over lines
// and separated by blanks, ',', '{', '}', '(' or ')'; then one line per matrix entry, "matrix
// block row column value" (matrix 0 is F_0, rows and columns from 1). An entry and its mirror
// are the same entry; an entry given twice, an entry off the diagonal of a diagonal block, an
// index out of range, a size of 0 and a line of other than five numbers are refused with the
// line's number. Entries of value 0 are skipped. Diagonal blocks may not have more rows than 16
// per byte of the file.
//
// Cost: O(entries log entries) time (entries are sorted by block and matrix), 32 bytes per entry.
#include <algorithm>
#include <charconv>

#include "io/formats.h"
#include "store/checks.h"

namespace tarq_solver {

namespace {

// Splits a line at blanks and the separators ",{}()".
template <class Fn>
void ForEachToken(std::string_view line, Fn&& fn) {
  auto sep = [](char c) { return IsBlank(c) || c == ',' || c == '{' || c == '}' || c == '(' || c == ')'; };
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && sep(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !sep(line[i])) ++i;
    if (i > start) fn(line.substr(start, i - start));
  }
}

bool ParseInt(std::string_view t, long long& v) {
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size();
}

struct Entry {
  int mat;
  int block;
  int row;  // 0-based, row >= col
  int col;
  double val;
  std::int64_t line;
};

class SdpaParser {
 public:
  SdpaParser(std::string_view text, IoError& err) : lines_(text), err_(err), textSize_(text.size()) {}

  int Parse(Problem& problem);

 private:
  int Error(std::int64_t line, std::string what) { return Fail(err_, TARQ_RETCODE_INVALID, line, std::move(what)); }
  // The next line that holds a token, skipping the leading comments; false at the end.
  bool NextContentLine(std::string_view& line);
  // The first number of the next content line, as a count.
  int ReadCount(const char* what, long long lo, long long hi, long long& out);
  // count numbers spread over lines.
  template <class T, class ToValue>
  int ReadList(const char* what, long long count, std::vector<T>& out, ToValue&& parse);
  int ReadEntries();
  int Build(Problem& problem);

  LineReader lines_;
  IoError& err_;
  size_t textSize_;
  bool inHeader_ = true;
  long long m_ = 0;
  std::vector<long long> sizes_;
  std::vector<double> c_;
  std::vector<Entry> entries_;
};

bool SdpaParser::NextContentLine(std::string_view& line) {
  while (lines_.Next(line)) {
    const std::string_view t = Trim(line);
    if (inHeader_ && !t.empty() && (t.front() == '"' || t.front() == '*')) continue;
    bool any = false;
    ForEachToken(t, [&](std::string_view) { any = true; });
    if (any) return true;
  }
  return false;
}

int SdpaParser::ReadCount(const char* what, long long lo, long long hi, long long& out) {
  std::string_view line;
  if (!NextContentLine(line)) return Error(lines_.Number(), std::string("the file ends before the ") + what);
  inHeader_ = false;
  std::string_view first;
  ForEachToken(line, [&](std::string_view t) {
    if (first.empty()) first = t;
  });
  if (!ParseInt(first, out) || out < lo || out > hi) {
    return Error(lines_.Number(), std::string("invalid ") + what + " " + Quote(first));
  }
  return TARQ_RETCODE_OK;
}

template <class T, class ToValue>
int SdpaParser::ReadList(const char* what, long long count, std::vector<T>& out, ToValue&& parse) {
  out.clear();
  out.reserve(static_cast<size_t>(std::min<long long>(count, 1 << 20)));
  std::string_view line;
  while (static_cast<long long>(out.size()) < count) {
    if (!NextContentLine(line)) return Error(lines_.Number(), std::string("the file ends within the ") + what);
    int rc = TARQ_RETCODE_OK;
    ForEachToken(line, [&](std::string_view t) {
      if (rc != TARQ_RETCODE_OK) return;
      if (static_cast<long long>(out.size()) == count) {
        rc = Error(lines_.Number(), std::string("more numbers than expected in the ") + what);
        return;
      }
      T v{};
      if (!parse(t, v)) {
        rc = Error(lines_.Number(), std::string("invalid number ") + Quote(t) + " in the " + what);
        return;
      }
      out.push_back(v);
    });
    if (rc != TARQ_RETCODE_OK) return rc;
  }
  return TARQ_RETCODE_OK;
}

int SdpaParser::ReadEntries() {
  std::string_view line;
  while (NextContentLine(line)) {
    std::string_view tok[6];
    int n = 0;
    ForEachToken(line, [&](std::string_view t) {
      if (n < 6) tok[n] = t;
      ++n;
    });
    const std::int64_t at = lines_.Number();
    if (n != 5) return Error(at, "an entry needs five numbers (matrix block row column value), found " + std::to_string(n));
    long long mat = 0, blk = 0, i = 0, j = 0;
    double v = 0;
    if (!ParseInt(tok[0], mat) || !ParseInt(tok[1], blk) || !ParseInt(tok[2], i) || !ParseInt(tok[3], j) ||
        !ParseNumber(tok[4], v)) {
      return Error(at, "invalid entry " + Quote(line));
    }
    if (mat < 0 || mat > m_) return Error(at, "matrix number " + std::to_string(mat) + " out of range 0.." + std::to_string(m_));
    if (blk < 1 || blk > static_cast<long long>(sizes_.size())) {
      return Error(at, "block number " + std::to_string(blk) + " out of range 1.." + std::to_string(sizes_.size()));
    }
    const long long size = sizes_[blk - 1];
    const long long dim = size < 0 ? -size : size;
    if (i < 1 || i > dim || j < 1 || j > dim) {
      return Error(at, "entry (" + std::to_string(i) + ", " + std::to_string(j) + ") outside block " + std::to_string(blk) +
                           " of size " + std::to_string(dim));
    }
    if (size < 0 && i != j) return Error(at, "off-diagonal entry in diagonal block " + std::to_string(blk));
    if (!ValidCoef(v)) return Error(at, "invalid value " + Quote(tok[4]));
    if (v == 0.0) continue;
    entries_.push_back({static_cast<int>(mat), static_cast<int>(blk - 1), static_cast<int>(std::max(i, j) - 1),
                        static_cast<int>(std::min(i, j) - 1), v, at});
  }
  return TARQ_RETCODE_OK;
}

int SdpaParser::Parse(Problem& problem) {
  long long nBlocks = 0;
  if (int rc = ReadCount("number of matrices", 0, INT32_MAX - 1, m_); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = ReadCount("number of blocks", 1, INT32_MAX, nBlocks); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = ReadList("block sizes", nBlocks, sizes_, ParseInt); rc != TARQ_RETCODE_OK) return rc;
  // A diagonal block's rows are made whether entries mention them or not, so its size is bounded
  // by what a file of this length can describe (rows without entries say 0 >= 0).
  long long diagonal = 0;
  for (long long s : sizes_) {
    if (s == 0 || s < -INT32_MAX || s > INT32_MAX) return Error(lines_.Number(), "invalid block size " + std::to_string(s));
    if (s < 0) diagonal -= s;
  }
  if (diagonal > 16 * static_cast<long long>(textSize_) + 4096) {
    return Error(lines_.Number(), "diagonal blocks of " + std::to_string(diagonal) + " rows are larger than the file describes");
  }
  if (int rc = ReadList("objective", m_, c_, ParseNumber); rc != TARQ_RETCODE_OK) return rc;
  for (double v : c_) {
    if (!ValidCoef(v)) return Error(lines_.Number(), "invalid objective coefficient");
  }
  if (int rc = ReadEntries(); rc != TARQ_RETCODE_OK) return rc;
  return Build(problem);
}

int SdpaParser::Build(Problem& problem) {
  std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    if (a.block != b.block) return a.block < b.block;
    if (a.mat != b.mat) return a.mat < b.mat;
    return a.col != b.col ? a.col < b.col : a.row < b.row;
  });
  for (size_t k = 1; k < entries_.size(); ++k) {
    const Entry& a = entries_[k - 1];
    const Entry& b = entries_[k];
    if (a.block == b.block && a.mat == b.mat && a.row == b.row && a.col == b.col) {
      return Error(std::max(a.line, b.line), "entry (" + std::to_string(b.row + 1) + ", " + std::to_string(b.col + 1) +
                                                 ") of matrix " + std::to_string(b.mat) + " in block " +
                                                 std::to_string(b.block + 1) + " given twice");
    }
  }
  const int m = static_cast<int>(m_);
  PsdStore psd;
  // Diagonal blocks: one row sum_i F_i[d][d] x_i >= F_0[d][d] per diagonal position, by columns.
  std::vector<std::vector<std::pair<int, double>>> colEntries(static_cast<size_t>(m));
  std::vector<double> rowLower;
  std::vector<int> rowOfBlock(sizes_.size(), 0);
  for (size_t b = 0; b < sizes_.size(); ++b) {
    if (sizes_[b] > 0) continue;
    rowOfBlock[b] = static_cast<int>(rowLower.size());
    rowLower.resize(rowLower.size() + static_cast<size_t>(-sizes_[b]), 0.0);
  }
  std::vector<int> rows, cols, lmiCols, lmiMats;
  std::vector<double> vals;
  size_t k = 0;
  for (size_t b = 0; b < sizes_.size(); ++b) {
    const size_t first = k;
    while (k < entries_.size() && entries_[k].block == static_cast<int>(b)) ++k;
    if (sizes_[b] < 0) {
      for (size_t e = first; e < k; ++e) {
        const Entry& x = entries_[e];
        if (x.mat == 0) {
          rowLower[rowOfBlock[b] + x.row] = x.val;
        } else {
          colEntries[x.mat - 1].emplace_back(rowOfBlock[b] + x.row, x.val);
        }
      }
      continue;
    }
    // One matrix per matrix number present; the constant is -F_0.
    int constMat = -1;
    lmiCols.clear();
    lmiMats.clear();
    for (size_t e = first; e < k;) {
      const int mat = entries_[e].mat;
      rows.clear();
      cols.clear();
      vals.clear();
      for (; e < k && entries_[e].mat == mat; ++e) {
        rows.push_back(entries_[e].row);
        cols.push_back(entries_[e].col);
        vals.push_back(mat == 0 ? -entries_[e].val : entries_[e].val);
      }
      const int index = psd.Mats().Size();
      if (psd.AddSymMat(static_cast<int>(sizes_[b]), static_cast<int>(rows.size()), rows.data(), cols.data(),
                        vals.data()) != TARQ_RETCODE_OK) {
        return Error(entries_[e - 1].line, "invalid matrix " + std::to_string(mat) + " of block " + std::to_string(b + 1));
      }
      if (mat == 0) {
        constMat = index;
      } else {
        lmiCols.push_back(mat - 1);
        lmiMats.push_back(index);
      }
    }
    if (psd.AddLmiRow(m, static_cast<int>(sizes_[b]), static_cast<int>(lmiCols.size()), lmiCols.data(),
                      lmiMats.data(), constMat, nullptr) != TARQ_RETCODE_OK) {
      return Error(lines_.Number(), "invalid block " + std::to_string(b + 1));
    }
  }

  std::vector<int> beg(static_cast<size_t>(m) + 1, 0), idx;
  std::vector<double> val;
  for (int j = 0; j < m; ++j) {
    auto& ce = colEntries[j];
    std::sort(ce.begin(), ce.end());
    for (auto [r, v] : ce) {
      idx.push_back(r);
      val.push_back(v);
    }
    beg[j + 1] = static_cast<int>(idx.size());
  }
  const std::vector<double> lower(static_cast<size_t>(m), -TARQ_INFINITY);
  const std::vector<double> upper(static_cast<size_t>(m), TARQ_INFINITY);
  const std::vector<double> rowUpper(rowLower.size(), TARQ_INFINITY);
  LoadArgs args;
  args.nCol = m;
  args.nRow = static_cast<int>(rowLower.size());
  args.obj = c_.data();
  args.cols = VectorList{m, beg.data(), nullptr, idx.data(), val.data()};
  args.colLower = lower.data();
  args.colUpper = upper.data();
  args.rowBound = rowLower.data();
  args.rowUpper = rowUpper.data();
  if (problem.Load(args) != TARQ_RETCODE_OK) return Error(0, "the problem data is not valid");
  problem.ReplacePsd(std::move(psd));
  return TARQ_RETCODE_OK;
}

}  // namespace

int ParseSdpa(Problem& problem, std::string_view text, IoError& err) {
  SdpaParser parser(text, err);
  return parser.Parse(problem);
}

}  // namespace tarq_solver
