// The conic benchmark format (".cbf", versions 1 to 3), read into columns, linear rows, cones
// and semidefinite parts.
//
// The file states  min/max  c'x + sum_j <C_j, X_j> + c0  such that  x lies in the VAR domains,
// every X_j (PSDVAR) is positive semidefinite, the rows  A x + sum_j <F_ij, X_j> + b  lie in the
// CON domains and the matrices  sum_j x_j H_ij + D_i  (PSDCON) are positive semidefinite. Each
// domain is a run of consecutive variables or rows of one kind:
//   F free, L+ nonnegative, L- nonpositive, L= zero,
//   Q   (v_1, ..., v_n):  v_1 >= ||(v_2, ..., v_n)||,
//   QR  (v_1, ..., v_n):  2 v_1 v_2 >= ||(v_3, ..., v_n)||^2, v_1, v_2 >= 0,
//   EXP (v_1, v_2, v_3):  v_1 >= v_2 exp(v_3 / v_2), v_2 > 0 (closure),
//   EXP* (v_1, v_2, v_3): v_1 >= -v_3 exp(v_2 / v_3 - 1), v_3 < 0 (closure).
// These are TARQ_CONE_QUAD, TARQ_CONE_RQUAD, TARQ_EXPCONE_PRIMAL and TARQ_EXPCONE_DUAL with the
// members in the same order, so members map one to one.
//
// What a file becomes: variable j is column j, with bounds from its linear domain or free in a
// cone domain (which adds the cone over those columns). A row in a linear domain becomes a linear
// row (a'x + b >= 0 is a'x >= -b, and so on; F gives a free row). A row in a cone domain becomes
// a cone member: the variable itself when the row is exactly 1 x_j with b = 0 and x_j is in no
// cone yet, otherwise a new free column s with the row a'x - s = -b. Degenerate cones hold
// nothing but signs and become bounds or rows: Q of size 1 (v_1 >= 0) and QR of size 2
// (v_1, v_2 >= 0).
//
// Semidefinite parts: PSD variable j is PSD column j. The matrices C_j (OBJFCOORD) form the PSD
// objective. A row with FCOORD entries becomes a PSD row instead of a linear row, with the same
// bounds and its ACOORD entries as scalar terms; in a cone domain it always gets its new column
// s (the PSD row a'x + <F, X> - s = -b). PSD constraint i becomes LMI row i, with H_ij (HCOORD)
// the matrix of column j and D_i (DCOORD) its constant. Matrix entries (k, l) are given in the
// lower triangle (k >= l) and stand for both symmetric positions, as stored matrices do, so
// inner products carry over unchanged. Stored matrices are numbered in this order: objective
// matrices by PSD column, then the PSD rows' matrices by row and PSD column, then for each LMI
// row its terms by column and its constant.
//
// Power cones are refused as not supported. Every fault is reported with its line.
//
// Cost: O(lines + n + m) time apart from reading numbers and sorting the matrix entries of the
// semidefinite sections (O(e log e)); 16 bytes per matrix entry and 32 per semidefinite entry
// while the file is being read, plus the parsed problem.
#include <algorithm>
#include <charconv>
#include <climits>

#include "io/formats.h"
#include "io/parsed_problem.h"
#include "store/checks.h"

namespace tarq_solver {

namespace {

enum class Kind : std::uint8_t { kFree, kNonneg, kNonpos, kZero, kQuad, kRQuad, kExp, kExpDual };

struct Domain {
  Kind kind;
  int dim;
};

struct Triplet {
  int row;
  int col;
  double val;
};

// One entry of a semidefinite section: matrix element (k, l), k >= l, of the matrix that the
// indices a and b name (OBJFCOORD: PSD variable a; FCOORD: row a, PSD variable b; HCOORD: PSD
// constraint a, variable b; DCOORD: PSD constraint a; b is 0 where unused).
struct MatEntry {
  int a;
  int b;
  int k;
  int l;
  double val;
  std::int64_t line;
};

bool ParseInt(std::string_view t, long long& v) {
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size();
}

bool IsCone(Kind k) { return k >= Kind::kQuad; }

// The rows that hold FCOORD entries, which become PSD rows: the PSD row of each file row (-1 for
// none), and each PSD row's bounds and new cone column (-1 for none).
struct PsdRows {
  std::vector<int> of;
  std::vector<double> lower;
  std::vector<double> upper;
  std::vector<int> aux;
};

class CbfParser {
 public:
  CbfParser(std::string_view text, IoError& err) : lines_(text), err_(err) {}

  int Parse(Problem& problem);

 private:
  int Error(std::int64_t line, std::string what) { return Fail(err_, TARQ_RETCODE_INVALID, line, std::move(what)); }
  int Error(std::string what) { return Error(lines_.Number(), std::move(what)); }
  // The next line that is neither blank nor a comment; false at the end of the file.
  bool NextLine(std::string_view& line);
  // The next line, which must hold exactly N fields; what names the line for messages.
  template <size_t N>
  int ReadFields(const char* section, const char* what, std::string_view (&out)[N]);
  int ReadCount(const char* section, const char* what, long long limit, long long& count);
  int Section(std::string_view name);
  int ReadVersion();
  int ReadObjSense();
  int ReadDomains(const char* section, std::vector<Domain>& domains, long long& total);
  int ReadInt();
  int ReadObjA();
  int ReadObjB();
  int ReadA();
  int ReadB();
  int ReadDims(const char* section, std::vector<int>& dims);
  // count entries of a semidefinite section, each nIdx indices (checked against sizes[]), then
  // k, l (checked against the dimension dimOf gives for the indices) and a value.
  template <size_t N, class DimOf>
  int ReadMatEntries(const char* section, const char* what, const long long* sizes, const char* const* names,
                     DimOf&& dimOf, std::vector<MatEntry>& out);
  // Sorts entries by matrix and position and refuses a position given twice.
  int SortMatEntries(const char* section, std::vector<MatEntry>& entries);
  int BuildPsd(PsdStore& psd, int nCol, const PsdRows& rows);
  int Index(std::string_view text, long long size, const char* what, int& out);
  int Value(std::string_view text, double& out);
  int Build(Problem& problem);

  LineReader lines_;
  IoError& err_;
  int version_ = 0;
  int objSense_ = 1;
  std::vector<Domain> varDomains_, conDomains_;
  long long nVar_ = 0, nCon_ = 0;
  bool haveVar_ = false, haveCon_ = false;
  std::vector<int> ints_;
  std::vector<std::pair<int, double>> objA_;
  std::vector<std::int64_t> objLine_;
  double objB_ = 0;
  std::vector<Triplet> a_;
  std::vector<std::int64_t> aLine_;
  std::vector<double> b_;
  std::vector<std::int64_t> bLine_;  // line of each row's b entry, 0 when it has none
  std::vector<int> psdVarDims_, psdConDims_;
  bool havePsdVar_ = false, havePsdCon_ = false;
  std::vector<MatEntry> objF_, f_, h_, d_;
  std::vector<std::string> seen_;
};

bool CbfParser::NextLine(std::string_view& line) {
  while (lines_.Next(line)) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    return true;
  }
  return false;
}

template <size_t N>
int CbfParser::ReadFields(const char* section, const char* what, std::string_view (&out)[N]) {
  std::string_view line;
  if (!NextLine(line)) return Error(std::string("the file ends within the ") + section + " section");
  const size_t n = SplitFields(line, out);
  if (n != N) {
    return Error(std::string(section) + ": expected " + what + ", found " + Quote(line));
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadCount(const char* section, const char* what, long long limit, long long& count) {
  std::string_view f[1];
  if (int rc = ReadFields(section, what, f); rc != TARQ_RETCODE_OK) return rc;
  if (!ParseInt(f[0], count) || count < 0 || count > limit) {
    std::string_view noun(what);
    if (noun.substr(0, 2) == "a ") noun.remove_prefix(2);
    return Error(std::string(section) + ": invalid " + std::string(noun) + " " + Quote(f[0]));
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::Index(std::string_view text, long long size, const char* what, int& out) {
  long long v = 0;
  if (!ParseInt(text, v)) return Error("invalid " + std::string(what) + " index " + Quote(text));
  if (v < 0 || v >= size) {
    return Error(std::string(what) + " index " + std::to_string(v) + " out of range 0.." + std::to_string(size - 1));
  }
  out = static_cast<int>(v);
  return TARQ_RETCODE_OK;
}

int CbfParser::Value(std::string_view text, double& out) {
  if (!ParseNumber(text, out) || !ValidCoef(out)) return Error("invalid value " + Quote(text));
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadVersion() {
  long long v = 0;
  if (int rc = ReadCount("VER", "a version number", INT_MAX, v); rc != TARQ_RETCODE_OK) return rc;
  if (v < 1 || v > 3) return Error("CBF version " + std::to_string(v) + " is not supported (versions 1 to 3 are)");
  version_ = static_cast<int>(v);
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadObjSense() {
  std::string_view f[1];
  if (int rc = ReadFields("OBJSENSE", "MIN or MAX", f); rc != TARQ_RETCODE_OK) return rc;
  if (f[0] == "MIN") {
    objSense_ = 1;
  } else if (f[0] == "MAX") {
    objSense_ = -1;
  } else {
    return Error("OBJSENSE: expected MIN or MAX, found " + Quote(f[0]));
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadDomains(const char* section, std::vector<Domain>& domains, long long& total) {
  std::string_view f[2];
  if (int rc = ReadFields(section, "a count and a number of domains", f); rc != TARQ_RETCODE_OK) return rc;
  long long k = 0;
  if (!ParseInt(f[0], total) || total < 0 || total >= INT_MAX) {
    return Error(std::string(section) + ": invalid count " + Quote(f[0]));
  }
  if (!ParseInt(f[1], k) || k < 0 || k > total) {
    return Error(std::string(section) + ": invalid number of domains " + Quote(f[1]));
  }
  long long sum = 0;
  domains.reserve(static_cast<size_t>(k));
  for (long long d = 0; d < k; ++d) {
    if (int rc = ReadFields(section, "a domain and its size", f); rc != TARQ_RETCODE_OK) return rc;
    long long dim = 0;
    if (!ParseInt(f[1], dim) || dim < 1 || dim > total) {
      return Error(std::string(section) + ": invalid domain size " + Quote(f[1]));
    }
    Kind kind;
    const std::string_view name = f[0];
    if (name == "F") {
      kind = Kind::kFree;
    } else if (name == "L+") {
      kind = Kind::kNonneg;
    } else if (name == "L-") {
      kind = Kind::kNonpos;
    } else if (name == "L=") {
      kind = Kind::kZero;
    } else if (name == "Q") {
      kind = Kind::kQuad;
    } else if (name == "QR") {
      kind = Kind::kRQuad;
      if (dim < 2) return Error(std::string(section) + ": a QR domain needs at least 2 members");
    } else if (name == "EXP" || name == "EXP*") {
      kind = name == "EXP" ? Kind::kExp : Kind::kExpDual;
      if (dim != 3) return Error(std::string(section) + ": an " + std::string(name) + " domain has 3 members, not " + std::to_string(dim));
    } else if (name.find("POW") != std::string_view::npos) {
      return Error(std::string(section) + ": power cones (" + Quote(name) + ") are not supported");
    } else {
      return Error(std::string(section) + ": unknown domain " + Quote(name));
    }
    sum += dim;
    if (sum > total) break;
    domains.push_back({kind, static_cast<int>(dim)});
  }
  if (sum != total) {
    return Error(std::string(section) + ": the domains cover " + std::to_string(sum) + " members, the count is " +
                 std::to_string(total));
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadInt() {
  long long count = 0;
  if (int rc = ReadCount("INT", "a count", nVar_, count); rc != TARQ_RETCODE_OK) return rc;
  ints_.reserve(static_cast<size_t>(count));
  for (long long k = 0; k < count; ++k) {
    std::string_view f[1];
    if (int rc = ReadFields("INT", "a variable index", f); rc != TARQ_RETCODE_OK) return rc;
    int j = 0;
    if (int rc = Index(f[0], nVar_, "variable", j); rc != TARQ_RETCODE_OK) return rc;
    ints_.push_back(j);
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadObjA() {
  long long count = 0;
  if (int rc = ReadCount("OBJACOORD", "a count", nVar_, count); rc != TARQ_RETCODE_OK) return rc;
  objA_.reserve(static_cast<size_t>(count));
  for (long long k = 0; k < count; ++k) {
    std::string_view f[2];
    if (int rc = ReadFields("OBJACOORD", "a variable index and a value", f); rc != TARQ_RETCODE_OK) return rc;
    int j = 0;
    double v = 0;
    if (int rc = Index(f[0], nVar_, "variable", j); rc != TARQ_RETCODE_OK) return rc;
    if (int rc = Value(f[1], v); rc != TARQ_RETCODE_OK) return rc;
    objA_.emplace_back(j, v);
    objLine_.push_back(lines_.Number());
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadObjB() {
  std::string_view f[1];
  if (int rc = ReadFields("OBJBCOORD", "a value", f); rc != TARQ_RETCODE_OK) return rc;
  return Value(f[0], objB_);
}

int CbfParser::ReadA() {
  long long count = 0;
  // No more entries than the matrix has places (bounded by what an int64 holds).
  const long long places = nVar_ == 0 || nCon_ <= LLONG_MAX / nVar_ ? nVar_ * nCon_ : LLONG_MAX;
  if (int rc = ReadCount("ACOORD", "a count", places, count); rc != TARQ_RETCODE_OK) return rc;
  a_.reserve(static_cast<size_t>(std::min<long long>(count, 1 << 24)));
  for (long long k = 0; k < count; ++k) {
    std::string_view f[3];
    if (int rc = ReadFields("ACOORD", "a row index, a variable index and a value", f); rc != TARQ_RETCODE_OK) return rc;
    Triplet t{};
    if (int rc = Index(f[0], nCon_, "row", t.row); rc != TARQ_RETCODE_OK) return rc;
    if (int rc = Index(f[1], nVar_, "variable", t.col); rc != TARQ_RETCODE_OK) return rc;
    if (int rc = Value(f[2], t.val); rc != TARQ_RETCODE_OK) return rc;
    a_.push_back(t);
    aLine_.push_back(lines_.Number());
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadB() {
  long long count = 0;
  if (int rc = ReadCount("BCOORD", "a count", nCon_, count); rc != TARQ_RETCODE_OK) return rc;
  b_.assign(static_cast<size_t>(nCon_), 0.0);
  bLine_.assign(static_cast<size_t>(nCon_), 0);
  for (long long k = 0; k < count; ++k) {
    std::string_view f[2];
    if (int rc = ReadFields("BCOORD", "a row index and a value", f); rc != TARQ_RETCODE_OK) return rc;
    int i = 0;
    double v = 0;
    if (int rc = Index(f[0], nCon_, "row", i); rc != TARQ_RETCODE_OK) return rc;
    if (int rc = Value(f[1], v); rc != TARQ_RETCODE_OK) return rc;
    if (bLine_[i] != 0) return Error("BCOORD: row " + std::to_string(i) + " given twice (also on line " + std::to_string(bLine_[i]) + ")");
    b_[i] = v;
    bLine_[i] = lines_.Number();
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::ReadDims(const char* section, std::vector<int>& dims) {
  long long count = 0;
  if (int rc = ReadCount(section, "a count", INT_MAX - 1, count); rc != TARQ_RETCODE_OK) return rc;
  dims.reserve(static_cast<size_t>(std::min<long long>(count, 1 << 20)));
  for (long long k = 0; k < count; ++k) {
    std::string_view f[1];
    if (int rc = ReadFields(section, "a dimension", f); rc != TARQ_RETCODE_OK) return rc;
    long long dim = 0;
    if (!ParseInt(f[0], dim) || dim < 1 || dim > INT_MAX) {
      return Error(std::string(section) + ": invalid dimension " + Quote(f[0]) + " (at least 1)");
    }
    dims.push_back(static_cast<int>(dim));
  }
  return TARQ_RETCODE_OK;
}

template <size_t N, class DimOf>
int CbfParser::ReadMatEntries(const char* section, const char* what, const long long* sizes, const char* const* names,
                              DimOf&& dimOf, std::vector<MatEntry>& out) {
  constexpr size_t kIdx = N - 3;
  long long count = 0;
  if (int rc = ReadCount(section, "a count", LLONG_MAX, count); rc != TARQ_RETCODE_OK) return rc;
  out.reserve(static_cast<size_t>(std::min<long long>(count, 1 << 20)));
  for (long long e = 0; e < count; ++e) {
    std::string_view f[N];
    if (int rc = ReadFields(section, what, f); rc != TARQ_RETCODE_OK) return rc;
    int idx[2] = {0, 0};
    for (size_t p = 0; p < kIdx; ++p) {
      if (int rc = Index(f[p], sizes[p], names[p], idx[p]); rc != TARQ_RETCODE_OK) return rc;
    }
    const long long dim = dimOf(idx[0], idx[1]);
    long long k = 0, l = 0;
    if (!ParseInt(f[kIdx], k) || !ParseInt(f[kIdx + 1], l)) {
      return Error(std::string(section) + ": invalid matrix position (" + std::string(f[kIdx]) + ", " +
                   std::string(f[kIdx + 1]) + ")");
    }
    auto position = [&] { return ": position (" + std::to_string(k) + ", " + std::to_string(l) + ")"; };
    if (k < 0 || l < 0 || k >= dim || l >= dim) {
      return Error(section + position() + " outside the matrix of dimension " + std::to_string(dim));
    }
    if (k < l) return Error(section + position() + " lies above the diagonal (the lower triangle is given)");
    double v = 0;
    if (int rc = Value(f[kIdx + 2], v); rc != TARQ_RETCODE_OK) return rc;
    if (v == 0.0) continue;
    out.push_back({idx[0], idx[1], static_cast<int>(k), static_cast<int>(l), v, lines_.Number()});
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::SortMatEntries(const char* section, std::vector<MatEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const MatEntry& x, const MatEntry& y) {
    if (x.a != y.a) return x.a < y.a;
    if (x.b != y.b) return x.b < y.b;
    if (x.l != y.l) return x.l < y.l;
    if (x.k != y.k) return x.k < y.k;
    return x.line < y.line;
  });
  for (size_t e = 1; e < entries.size(); ++e) {
    const MatEntry& x = entries[e - 1];
    const MatEntry& y = entries[e];
    if (x.a == y.a && x.b == y.b && x.k == y.k && x.l == y.l) {
      return Error(y.line, std::string(section) + ": position (" + std::to_string(y.k) + ", " + std::to_string(y.l) +
                               ") of this matrix given twice (also on line " + std::to_string(x.line) + ")");
    }
  }
  return TARQ_RETCODE_OK;
}

int CbfParser::Section(std::string_view name) {
  const std::string key(name);
  if (version_ == 0 && key != "VER") return Error("the file must begin with VER, found " + Quote(name));
  if (std::find(seen_.begin(), seen_.end(), key) != seen_.end()) return Error("a second " + key + " section");
  if (key == "POWCONES" || key == "POW*CONES") return Error("power cones (" + key + " section) are not supported");
  auto needs = [&](bool have, const char* before) {
    return have ? TARQ_RETCODE_OK : Error("the " + key + " section needs a " + before + " section before it");
  };
  int rc = TARQ_RETCODE_OK;
  if (key == "VER") {
    rc = ReadVersion();
  } else if (key == "OBJSENSE") {
    rc = ReadObjSense();
  } else if (key == "VAR") {
    rc = ReadDomains("VAR", varDomains_, nVar_);
    haveVar_ = true;
  } else if (key == "CON") {
    rc = ReadDomains("CON", conDomains_, nCon_);
    haveCon_ = true;
  } else if (key == "INT") {
    if (rc = needs(haveVar_, "VAR"); rc == TARQ_RETCODE_OK) rc = ReadInt();
  } else if (key == "OBJACOORD") {
    if (rc = needs(haveVar_, "VAR"); rc == TARQ_RETCODE_OK) rc = ReadObjA();
  } else if (key == "OBJBCOORD") {
    rc = ReadObjB();
  } else if (key == "ACOORD") {
    if (rc = needs(haveVar_, "VAR"); rc == TARQ_RETCODE_OK) rc = needs(haveCon_, "CON");
    if (rc == TARQ_RETCODE_OK) rc = ReadA();
  } else if (key == "BCOORD") {
    if (rc = needs(haveCon_, "CON"); rc == TARQ_RETCODE_OK) rc = ReadB();
  } else if (key == "PSDVAR") {
    rc = ReadDims("PSDVAR", psdVarDims_);
    havePsdVar_ = true;
  } else if (key == "PSDCON") {
    rc = ReadDims("PSDCON", psdConDims_);
    havePsdCon_ = true;
  } else if (key == "OBJFCOORD") {
    if (rc = needs(havePsdVar_, "PSDVAR"); rc == TARQ_RETCODE_OK) {
      const long long sizes[] = {static_cast<long long>(psdVarDims_.size())};
      const char* const names[] = {"PSD variable"};
      rc = ReadMatEntries<4>("OBJFCOORD", "a PSD variable index, a position and a value", sizes, names,
                             [&](int j, int) { return psdVarDims_[j]; }, objF_);
    }
  } else if (key == "FCOORD") {
    if (rc = needs(havePsdVar_, "PSDVAR"); rc == TARQ_RETCODE_OK) rc = needs(haveCon_, "CON");
    if (rc == TARQ_RETCODE_OK) {
      const long long sizes[] = {nCon_, static_cast<long long>(psdVarDims_.size())};
      const char* const names[] = {"row", "PSD variable"};
      rc = ReadMatEntries<5>("FCOORD", "a row index, a PSD variable index, a position and a value", sizes, names,
                             [&](int, int j) { return psdVarDims_[j]; }, f_);
    }
  } else if (key == "HCOORD") {
    if (rc = needs(havePsdCon_, "PSDCON"); rc == TARQ_RETCODE_OK) rc = needs(haveVar_, "VAR");
    if (rc == TARQ_RETCODE_OK) {
      const long long sizes[] = {static_cast<long long>(psdConDims_.size()), nVar_};
      const char* const names[] = {"PSD constraint", "variable"};
      rc = ReadMatEntries<5>("HCOORD", "a PSD constraint index, a variable index, a position and a value", sizes,
                             names, [&](int i, int) { return psdConDims_[i]; }, h_);
    }
  } else if (key == "DCOORD") {
    if (rc = needs(havePsdCon_, "PSDCON"); rc == TARQ_RETCODE_OK) {
      const long long sizes[] = {static_cast<long long>(psdConDims_.size())};
      const char* const names[] = {"PSD constraint"};
      rc = ReadMatEntries<4>("DCOORD", "a PSD constraint index, a position and a value", sizes, names,
                             [&](int i, int) { return psdConDims_[i]; }, d_);
    }
  } else {
    return Error("unknown section " + Quote(name));
  }
  if (rc == TARQ_RETCODE_OK) seen_.push_back(key);
  return rc;
}

int CbfParser::Parse(Problem& problem) {
  std::string_view line;
  while (NextLine(line)) {
    std::string_view f[2];
    if (SplitFields(line, f) != 1) return Error("expected a section name, found " + Quote(line));
    if (int rc = Section(f[0]); rc != TARQ_RETCODE_OK) return rc;
  }
  if (version_ == 0) return Error("the file has no VER section");
  if (b_.empty()) {
    b_.assign(static_cast<size_t>(nCon_), 0.0);
    bLine_.assign(static_cast<size_t>(nCon_), 0);
  }
  return Build(problem);
}

int CbfParser::Build(Problem& problem) {
  const int n = static_cast<int>(nVar_);
  const int m = static_cast<int>(nCon_);
  ParsedProblem pp;
  pp.objSense = objSense_;
  pp.objConst = objB_;
  pp.obj.assign(static_cast<size_t>(n), 0.0);
  pp.colLower.assign(static_cast<size_t>(n), -TARQ_INFINITY);
  pp.colUpper.assign(static_cast<size_t>(n), TARQ_INFINITY);
  pp.colType.assign(static_cast<size_t>(n), 'C');
  std::vector<char> seen(static_cast<size_t>(n), 0);
  for (size_t k = 0; k < objA_.size(); ++k) {
    const int j = objA_[k].first;
    if (seen[j]) return Error(objLine_[k], "OBJACOORD: variable " + std::to_string(j) + " given twice");
    seen[j] = 1;
    pp.obj[j] = objA_[k].second;
  }
  for (int j : ints_) pp.colType[j] = 'I';

  SosConeStore sosCones;
  std::vector<char> inCone(static_cast<size_t>(n), 0);
  auto addCone = [&](Kind kind, const int* members, int dim) {
    if (kind == Kind::kExp || kind == Kind::kExpDual) {
      sosCones.expCones.type.push_back(kind == Kind::kExp ? TARQ_EXPCONE_PRIMAL : TARQ_EXPCONE_DUAL);
      sosCones.expCones.col.insert(sosCones.expCones.col.end(), members, members + 3);
    } else {
      sosCones.cones.type.push_back(kind == Kind::kQuad ? TARQ_CONE_QUAD : TARQ_CONE_RQUAD);
      sosCones.cones.col.insert(sosCones.cones.col.end(), members, members + dim);
      sosCones.cones.begin.push_back(static_cast<std::int64_t>(sosCones.cones.col.size()));
    }
  };
  // Cones that hold only signs: Q of size 1 and QR of size 2.
  auto onlySigns = [](const Domain& d) {
    return (d.kind == Kind::kQuad && d.dim == 1) || (d.kind == Kind::kRQuad && d.dim == 2);
  };

  // Variable domains.
  std::vector<int> members;
  int j0 = 0;
  for (const Domain& d : varDomains_) {
    const bool signs = onlySigns(d);
    for (int j = j0; j < j0 + d.dim; ++j) {
      if (d.kind == Kind::kNonneg || d.kind == Kind::kZero || signs) pp.colLower[j] = 0;
      if (d.kind == Kind::kNonpos || d.kind == Kind::kZero) pp.colUpper[j] = 0;
    }
    if (IsCone(d.kind) && !signs) {
      members.clear();
      for (int j = j0; j < j0 + d.dim; ++j) {
        members.push_back(j);
        inCone[j] = 1;
      }
      addCone(d.kind, members.data(), d.dim);
    }
    j0 += d.dim;
  }

  // Entries per row, and the one entry of rows that have exactly one.
  std::vector<int> rowCount(static_cast<size_t>(m) + 1, 0);
  std::vector<int> single(static_cast<size_t>(m), -1);
  for (size_t k = 0; k < a_.size(); ++k) {
    if (a_[k].val == 0.0) continue;
    ++rowCount[a_[k].row];
    single[a_[k].row] = static_cast<int>(k);
  }

  // Rows with semidefinite terms.
  PsdRows psdRows;
  psdRows.of.assign(static_cast<size_t>(m), -1);
  std::vector<char> hasPsd(static_cast<size_t>(m), 0);
  for (const MatEntry& e : f_) hasPsd[e.a] = 1;
  auto addPsdRow = [&](int i, double lo, double up, int aux) {
    psdRows.of[i] = static_cast<int>(psdRows.lower.size());
    psdRows.lower.push_back(lo);
    psdRows.upper.push_back(up);
    psdRows.aux.push_back(aux);
  };

  // Constraint domains: linear rows, PSD rows, and cone members that are variables or new
  // columns.
  std::vector<int> newRow(static_cast<size_t>(m), -1);
  std::vector<int> auxRow;  // the linear row of each new column, -1 for that of a PSD row
  int nRow = 0;
  int i0 = 0;
  for (const Domain& d : conDomains_) {
    const bool signs = onlySigns(d);
    if (!IsCone(d.kind) || signs) {
      for (int i = i0; i < i0 + d.dim; ++i) {
        const double rhs = b_[i] == 0.0 ? 0.0 : -b_[i];
        double lo = -TARQ_INFINITY, up = TARQ_INFINITY;
        if (d.kind == Kind::kNonneg || d.kind == Kind::kZero || signs) lo = rhs;
        if (d.kind == Kind::kNonpos || d.kind == Kind::kZero) up = rhs;
        if (hasPsd[i]) {
          addPsdRow(i, lo, up, -1);
          continue;
        }
        newRow[i] = nRow++;
        pp.rowLower.push_back(lo);
        pp.rowUpper.push_back(up);
      }
    } else {
      members.clear();
      for (int i = i0; i < i0 + d.dim; ++i) {
        if (!hasPsd[i] && rowCount[i] == 1 && b_[i] == 0.0 && a_[single[i]].val == 1.0 && !inCone[a_[single[i]].col]) {
          const int j = a_[single[i]].col;
          inCone[j] = 1;
          members.push_back(j);
          continue;
        }
        const int s = n + static_cast<int>(auxRow.size());
        members.push_back(s);
        if (hasPsd[i]) {
          const double rhs = b_[i] == 0.0 ? 0.0 : -b_[i];
          addPsdRow(i, rhs, rhs, s);
          auxRow.push_back(-1);
          continue;
        }
        newRow[i] = nRow++;
        auxRow.push_back(newRow[i]);
        const double rhs = b_[i] == 0.0 ? 0.0 : -b_[i];
        pp.rowLower.push_back(rhs);
        pp.rowUpper.push_back(rhs);
      }
      addCone(d.kind, members.data(), d.dim);
    }
    i0 += d.dim;
  }
  if (static_cast<long long>(n) + static_cast<long long>(auxRow.size()) >= INT_MAX) {
    return Error("the problem is too large");
  }
  const int nAux = static_cast<int>(auxRow.size());
  const int nCol = n + nAux;
  pp.obj.resize(static_cast<size_t>(nCol), 0.0);
  pp.colLower.resize(static_cast<size_t>(nCol), -TARQ_INFINITY);
  pp.colUpper.resize(static_cast<size_t>(nCol), TARQ_INFINITY);
  pp.colType.resize(static_cast<size_t>(nCol), 'C');

  // The matrix by rows (counting sort), checked for repeated entries, then by columns with each
  // column's rows in order.
  std::vector<std::int64_t> rowStart(static_cast<size_t>(nRow) + 1, 0);
  for (size_t k = 0; k < a_.size(); ++k) {
    if (a_[k].val != 0.0 && newRow[a_[k].row] >= 0) ++rowStart[newRow[a_[k].row] + 1];
  }
  for (int r = 0; r < nAux; ++r) {
    if (auxRow[r] >= 0) ++rowStart[auxRow[r] + 1];
  }
  for (int r = 0; r < nRow; ++r) rowStart[r + 1] += rowStart[r];
  std::vector<std::int64_t> fill(rowStart.begin(), rowStart.end() - 1);
  std::vector<int> byRowCol(static_cast<size_t>(rowStart.back()));
  std::vector<double> byRowVal(static_cast<size_t>(rowStart.back()));
  std::vector<std::int64_t> byRowLine(static_cast<size_t>(rowStart.back()));
  for (size_t k = 0; k < a_.size(); ++k) {
    if (a_[k].val == 0.0 || newRow[a_[k].row] < 0) continue;
    const std::int64_t p = fill[newRow[a_[k].row]]++;
    byRowCol[p] = a_[k].col;
    byRowVal[p] = a_[k].val;
    byRowLine[p] = aLine_[k];
  }
  for (int r = 0; r < nAux; ++r) {
    if (auxRow[r] < 0) continue;
    const std::int64_t p = fill[auxRow[r]]++;
    byRowCol[p] = n + r;
    byRowVal[p] = -1.0;
    byRowLine[p] = 0;
  }
  std::vector<int> stamp(static_cast<size_t>(nCol), -1);
  std::vector<std::int64_t> colStart(static_cast<size_t>(nCol) + 1, 0);
  for (int r = 0; r < nRow; ++r) {
    for (std::int64_t p = rowStart[r]; p < rowStart[r + 1]; ++p) {
      const int j = byRowCol[p];
      if (stamp[j] == r) return Error(byRowLine[p], "ACOORD: entry of variable " + std::to_string(j) + " in this row given twice");
      stamp[j] = r;
      ++colStart[j + 1];
    }
  }
  for (int j = 0; j < nCol; ++j) colStart[j + 1] += colStart[j];
  pp.colBegin = colStart;
  std::vector<std::int64_t> colFill(colStart.begin(), colStart.end() - 1);
  pp.rowIndex.resize(static_cast<size_t>(colStart.back()));
  pp.value.resize(static_cast<size_t>(colStart.back()));
  for (int r = 0; r < nRow; ++r) {
    for (std::int64_t p = rowStart[r]; p < rowStart[r + 1]; ++p) {
      const std::int64_t q = colFill[byRowCol[p]]++;
      pp.rowIndex[q] = r;
      pp.value[q] = byRowVal[p];
    }
  }
  PsdStore psd;
  if (int rc = BuildPsd(psd, nCol, psdRows); rc != TARQ_RETCODE_OK) return rc;
  pp.colNames.assign(static_cast<size_t>(nCol), std::string_view());
  pp.rowNames.assign(static_cast<size_t>(nRow), std::string_view());
  pp.sosCones = std::move(sosCones);
  const int rc = pp.Load(problem, lines_.Number(), err_);
  if (rc == TARQ_RETCODE_OK) problem.ReplacePsd(std::move(psd));
  return rc;
}

int CbfParser::BuildPsd(PsdStore& psd, int nCol, const PsdRows& rows) {
  if (int rc = SortMatEntries("OBJFCOORD", objF_); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = SortMatEntries("FCOORD", f_); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = SortMatEntries("HCOORD", h_); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = SortMatEntries("DCOORD", d_); rc != TARQ_RETCODE_OK) return rc;
  const int nPsdVar = static_cast<int>(psdVarDims_.size());
  if (nPsdVar > 0 && psd.AddPsdCols(nPsdVar, psdVarDims_.data(), nullptr) != TARQ_RETCODE_OK) {
    return Error("PSDVAR: the PSD variables cannot be stored");
  }
  // The end of the group of entries starting at e that share a and b.
  auto groupEnd = [](const std::vector<MatEntry>& es, size_t e) {
    size_t end = e + 1;
    while (end < es.size() && es[end].a == es[e].a && es[end].b == es[e].b) ++end;
    return end;
  };
  std::vector<int> mr, mc;
  std::vector<double> mv;
  // Stores the matrix of entries [first, last) and gives its number.
  auto addMat = [&](const char* section, const std::vector<MatEntry>& es, size_t first, size_t last, int dim,
                    int& number) {
    mr.clear();
    mc.clear();
    mv.clear();
    for (size_t e = first; e < last; ++e) {
      mr.push_back(es[e].k);
      mc.push_back(es[e].l);
      mv.push_back(es[e].val);
    }
    number = psd.Mats().Size();
    if (psd.AddSymMat(dim, static_cast<int>(mr.size()), mr.data(), mc.data(), mv.data()) != TARQ_RETCODE_OK) {
      return Error(es[first].line, std::string(section) + ": the matrix cannot be stored");
    }
    return TARQ_RETCODE_OK;
  };

  // The PSD objective.
  std::vector<int> idx, mats;
  for (size_t e = 0; e < objF_.size();) {
    const size_t end = groupEnd(objF_, e);
    int mat = -1;
    if (int rc = addMat("OBJFCOORD", objF_, e, end, psdVarDims_[objF_[e].a], mat); rc != TARQ_RETCODE_OK) return rc;
    idx.push_back(objF_[e].a);
    mats.push_back(mat);
    e = end;
  }
  if (!idx.empty() && psd.ReplaceObj(static_cast<int>(idx.size()), idx.data(), mats.data()) != TARQ_RETCODE_OK) {
    return Error(objF_.front().line, "OBJFCOORD: the objective cannot be stored");
  }

  // PSD rows: their ACOORD entries by row (counting sort), checked for repeats, then the terms.
  const int nPsdRow = static_cast<int>(rows.lower.size());
  std::vector<std::int64_t> start(static_cast<size_t>(nPsdRow) + 1, 0);
  for (const Triplet& t : a_) {
    if (t.val != 0.0 && rows.of[t.row] >= 0) ++start[rows.of[t.row] + 1];
  }
  for (int r = 0; r < nPsdRow; ++r) start[r + 1] += start[r];
  std::vector<std::int64_t> fill(start.begin(), start.end() - 1);
  std::vector<size_t> byRow(static_cast<size_t>(start.back()));
  for (size_t k = 0; k < a_.size(); ++k) {
    if (a_[k].val != 0.0 && rows.of[a_[k].row] >= 0) byRow[fill[rows.of[a_[k].row]]++] = k;
  }
  std::vector<int> stamp(static_cast<size_t>(nCol), -1), linCols;
  std::vector<double> linVals;
  size_t e = 0;
  for (int r = 0; r < nPsdRow; ++r) {
    linCols.clear();
    linVals.clear();
    for (std::int64_t p = start[r]; p < start[r + 1]; ++p) {
      const Triplet& t = a_[byRow[p]];
      if (stamp[t.col] == r) {
        return Error(aLine_[byRow[p]],
                     "ACOORD: entry of variable " + std::to_string(t.col) + " in this row given twice");
      }
      stamp[t.col] = r;
      linCols.push_back(t.col);
      linVals.push_back(t.val);
    }
    if (rows.aux[r] >= 0) {
      linCols.push_back(rows.aux[r]);
      linVals.push_back(-1.0);
    }
    idx.clear();
    mats.clear();
    for (; e < f_.size() && rows.of[f_[e].a] == r;) {
      const size_t end = groupEnd(f_, e);
      int mat = -1;
      if (int rc = addMat("FCOORD", f_, e, end, psdVarDims_[f_[e].b], mat); rc != TARQ_RETCODE_OK) return rc;
      idx.push_back(f_[e].b);
      mats.push_back(mat);
      e = end;
    }
    if (psd.AddPsdRow(nCol, static_cast<int>(linCols.size()), linCols.data(), linVals.data(),
                      static_cast<int>(idx.size()), idx.data(), mats.data(), 0, rows.lower[r], rows.upper[r],
                      nullptr) != TARQ_RETCODE_OK) {
      return Error("CON: a row with semidefinite terms cannot be stored");
    }
  }

  // LMI rows: the terms of PSD constraint i by variable, then its constant.
  size_t eh = 0, ed = 0;
  for (int i = 0; i < static_cast<int>(psdConDims_.size()); ++i) {
    const int dim = psdConDims_[i];
    idx.clear();
    mats.clear();
    for (; eh < h_.size() && h_[eh].a == i;) {
      const size_t end = groupEnd(h_, eh);
      int mat = -1;
      if (int rc = addMat("HCOORD", h_, eh, end, dim, mat); rc != TARQ_RETCODE_OK) return rc;
      idx.push_back(h_[eh].b);
      mats.push_back(mat);
      eh = end;
    }
    int constMat = -1;
    if (ed < d_.size() && d_[ed].a == i) {
      const size_t end = groupEnd(d_, ed);
      if (int rc = addMat("DCOORD", d_, ed, end, dim, constMat); rc != TARQ_RETCODE_OK) return rc;
      ed = end;
    }
    if (psd.AddLmiRow(nCol, dim, static_cast<int>(idx.size()), idx.data(), mats.data(), constMat, nullptr) !=
        TARQ_RETCODE_OK) {
      return Error("PSDCON: PSD constraint " + std::to_string(i) + " cannot be stored");
    }
  }
  return TARQ_RETCODE_OK;
}

}  // namespace

int ParseCbf(Problem& problem, std::string_view text, IoError& err) {
  CbfParser parser(text, err);
  return parser.Parse(problem);
}

}  // namespace tarq_solver
