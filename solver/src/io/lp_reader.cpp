// LP reader.
//
//   Minimize | Maximize (also Min, Minimum, Minimise, Max, ...)
//    [name:] terms [+ constant]
//   Subject To | Such That | st | s.t.
//    [name:] terms <= | >= | = value                 (=<, =>, < and > too)
//    [name:] value <= terms <= value                  (a ranged row; or both >=)
//   Bounds
//    x <= 4   x >= -2   x = 3   -inf <= x <= 5   x free   2 <= x
//   General | Generals | Gen | Integer | Integers     names
//   Binary | Binaries | Bin                           names
//   End
// Keywords are recognised without regard to case as the first token of a line, unless the same
// line goes on with an operator, a sign or a colon (then the word is a name). Columns are numbered in the order they first appear and
// start with bounds [0, +inf]. Repeated terms of one row are summed; constants are moved to the
// right-hand side. Values are numbers, "inf" or "infinity" (with a sign). Binary columns get
// bounds [0, 1] except for the sides the Bounds section sets. No other bound changes another:
// a negative upper bound leaves the lower bound at 0. Quadratic terms come in brackets,
// "[ 2 x ^ 2 + 3 x * y - y ^ 2 ]", in the objective as "[ ... ] / 2" (the bracket halved) and in
// rows as they are ("/ 2" after a row's bracket halves it as well); a row with quadratic terms
// becomes a quadratic row and cannot be ranged. Semi-continuous sections are rejected; so are a
// duplicate row name, variables on the right-hand side and a file without End.
// Indicator rows stand among the rows as "[name:] b = 1 -> terms <= value" (b a binary column,
// the value 0 or 1, any of the three operators). SOS sets stand in an SOS section, one per line:
// "[name:] S1:: x:1 y:2" (S1 or S2, then column:weight pairs; set names are not kept).
// Time and memory are linear in the file size.
#include <algorithm>
#include <cmath>

#include "io/formats.h"
#include "io/lp_lexer.h"
#include "io/name_index.h"
#include "io/parsed_problem.h"
#include "store/checks.h"

namespace tarq_solver {

namespace {

constexpr double kInf = TARQ_INFINITY;

enum class Keyword { kNone, kMin, kMax, kSubjectTo, kBounds, kGeneral, kBinary, kEnd, kSemi, kSos, kOtherSection };

Keyword KeywordOf(std::string_view w) {
  struct Entry {
    std::string_view word;
    Keyword kw;
  };
  static constexpr Entry kWords[] = {
      {"minimize", Keyword::kMin},      {"minimise", Keyword::kMin},      {"minimum", Keyword::kMin},
      {"min", Keyword::kMin},           {"maximize", Keyword::kMax},      {"maximise", Keyword::kMax},
      {"maximum", Keyword::kMax},       {"max", Keyword::kMax},           {"subject", Keyword::kSubjectTo},
      {"such", Keyword::kSubjectTo},    {"st", Keyword::kSubjectTo},      {"s.t.", Keyword::kSubjectTo},
      {"st.", Keyword::kSubjectTo},     {"bounds", Keyword::kBounds},     {"bound", Keyword::kBounds},
      {"general", Keyword::kGeneral},   {"generals", Keyword::kGeneral},  {"gen", Keyword::kGeneral},
      {"integer", Keyword::kGeneral},   {"integers", Keyword::kGeneral},  {"binary", Keyword::kBinary},
      {"binaries", Keyword::kBinary},   {"bin", Keyword::kBinary},        {"end", Keyword::kEnd},
      {"semi", Keyword::kSemi},         {"semis", Keyword::kSemi},        {"semi-continuous", Keyword::kSemi},
      {"sos", Keyword::kSos},           {"lazy", Keyword::kOtherSection}, {"user", Keyword::kOtherSection},
      {"pwlobj", Keyword::kOtherSection}};
  if (w.size() > 15) return Keyword::kNone;
  for (const Entry& e : kWords) {
    if (EqualNoCase(w, e.word)) return e.kw;
  }
  return Keyword::kNone;
}

bool IsOp(LpTok k) { return k == LpTok::kLe || k == LpTok::kGe || k == LpTok::kEq; }
bool IsInfName(const LpToken& t) {
  return t.kind == LpTok::kName && (EqualNoCase(t.text, "inf") || EqualNoCase(t.text, "infinity"));
}

class LpParser {
 public:
  explicit LpParser(std::string_view text) : lex_(text) {}
  int Run(IoError& err);
  int Load(Problem& problem, IoError& err);

 private:
  // A fault at the current token.
  int Error(std::string what) { return Fail(*err_, TARQ_RETCODE_INVALID, lex_.Cur().line, std::move(what)); }
  // A fault of the statement as a whole, reported at the line where it began.
  int StatementError(std::string what) { return Fail(*err_, TARQ_RETCODE_INVALID, statementLine_, std::move(what)); }
  int Expected(const char* what) {
    const LpToken& t = lex_.Cur();
    return Error(std::string("expected ") + what + (t.kind == LpTok::kEnd ? " at the end of the file" : ", found " + Quote(t.text)));
  }
  Keyword HeaderAtCur() const;
  int Section(Keyword kw);
  int ParseObjective();
  int ParseRow();
  int ParseBound();
  int ParseNames(char type);
  // The rest of "b = v -> terms op value" once "b = v" was read into the terms.
  int ParseIndicator(std::string_view name, LpTok op, double right, double constant, bool ranged);
  int ParseSos();
  // Reads terms until an operator, a section keyword or the end; `sign` applies to the first.
  int ParseTerms(double sign, bool signGiven, double& constant);
  // Reads "[ terms ]" and an optional "/ 2" into qRow_/qCol_/qVal_, each term times sign.
  int ParseQuadratic(double sign);
  // Stores the row read into termCol_/termVal_ and qRow_/qCol_/qVal_ as a quadratic row.
  int AddQuadRow(std::string_view name, LpTok op, double right, double constant);
  // Reads [sign] (number | inf | infinity).
  int ParseValue(double& v);
  bool AtValueThenOp() const;
  int Column(std::string_view name);
  void AddTerm(int col, double coef);
  void ClearTerms();
  int SetBound(int col, LpTok op, double v);
  int EndOfStatement();

  LpLexer lex_;
  IoError* err_ = nullptr;
  Keyword section_ = Keyword::kNone;
  bool sawObjective_ = false;
  std::int64_t statementLine_ = 0;

  ParsedProblem data_;
  NameIndex colIndex_;
  NameIndex rowIndex_;
  std::vector<char> boundSet_;  // per column: 1 lower set, 2 upper set
  // Rows by rows; turned into columns by Load.
  std::vector<std::int64_t> rowBegin_{0};
  std::vector<int> rowCol_;
  std::vector<double> rowVal_;
  // Terms of the expression being read, with their position per column for summing repeats.
  std::vector<int> termCol_;
  std::vector<double> termVal_;
  std::vector<std::int64_t> slot_;
  // Quadratic terms of the expression being read.
  std::vector<int> qRow_, qCol_;
  std::vector<double> qVal_;
  std::vector<std::string_view> quadNames_;
  std::vector<std::string_view> indNames_;
  std::vector<std::int64_t> indLine_;
};

Keyword LpParser::HeaderAtCur() const {
  const LpToken& t = lex_.Cur();
  if (t.kind != LpTok::kName || !t.lineStart) return Keyword::kNone;
  const Keyword kw = KeywordOf(t.text);
  if (kw == Keyword::kNone) return kw;
  const LpTok n = lex_.Next().kind;
  if (n == LpTok::kEnd || lex_.Next().lineStart) return kw;  // alone on its line
  if (kw == Keyword::kSemi && n == LpTok::kMinus) return kw;  // "Semi-Continuous"
  if (n == LpTok::kColon || n == LpTok::kPlus || n == LpTok::kMinus || IsOp(n) || n == LpTok::kLBracket ||
      n == LpTok::kStar) {
    return Keyword::kNone;
  }
  return kw;
}

int LpParser::Column(std::string_view name) {
  const int next = static_cast<int>(data_.colNames.size());
  const int col = colIndex_.FindOrInsert(name, next);
  if (col == next) {
    data_.colNames.push_back(name);
    data_.obj.push_back(0.0);
    data_.colLower.push_back(0.0);
    data_.colUpper.push_back(kInf);
    data_.colType.push_back('C');
    boundSet_.push_back(0);
    slot_.push_back(-1);
  }
  return col;
}

void LpParser::AddTerm(int col, double coef) {
  if (slot_[col] >= 0) {
    termVal_[static_cast<size_t>(slot_[col])] += coef;
    return;
  }
  slot_[col] = static_cast<std::int64_t>(termCol_.size());
  termCol_.push_back(col);
  termVal_.push_back(coef);
}

void LpParser::ClearTerms() {
  for (int c : termCol_) slot_[c] = -1;
  termCol_.clear();
  termVal_.clear();
}

int LpParser::ParseValue(double& v) {
  double sign = 1;
  while (lex_.Cur().kind == LpTok::kPlus || lex_.Cur().kind == LpTok::kMinus) {
    if (lex_.Cur().kind == LpTok::kMinus) sign = -sign;
    lex_.Advance();
  }
  const LpToken& t = lex_.Cur();
  if (t.kind == LpTok::kNumber) {
    v = sign * t.number;
  } else if (IsInfName(t)) {
    v = sign * kInf;
  } else {
    return Expected("a number");
  }
  lex_.Advance();
  v = ClampInf(v);
  return TARQ_RETCODE_OK;
}

// True when the tokens ahead are [sign] value operator; only one sign is looked through.
bool LpParser::AtValueThenOp() const {
  const LpToken& a = lex_.Cur();
  return (a.kind == LpTok::kNumber || IsInfName(a)) && IsOp(lex_.Next().kind);
}

int LpParser::ParseTerms(double sign, bool signGiven, double& constant) {
  for (bool first = true;; first = false, signGiven = false) {
    if (!signGiven) {
      sign = 1;
      while (lex_.Cur().kind == LpTok::kPlus || lex_.Cur().kind == LpTok::kMinus) {
        if (lex_.Cur().kind == LpTok::kMinus) sign = -sign;
        signGiven = true;
        lex_.Advance();
      }
    }
    if (!signGiven) {
      const LpToken& t = lex_.Cur();
      if (t.kind == LpTok::kEnd || IsOp(t.kind) || HeaderAtCur() != Keyword::kNone) return TARQ_RETCODE_OK;
      if (!first) return Expected("+, - or an operator");
    }
    if (lex_.Cur().kind == LpTok::kLBracket) {
      if (int rc = ParseQuadratic(sign); rc != TARQ_RETCODE_OK) return rc;
      continue;
    }
    double coef = 1;
    bool haveCoef = false;
    if (lex_.Cur().kind == LpTok::kNumber) {
      coef = lex_.Cur().number;
      haveCoef = true;
      lex_.Advance();
      if (lex_.Cur().kind == LpTok::kStar) lex_.Advance();
    }
    if (lex_.Cur().kind == LpTok::kName && HeaderAtCur() == Keyword::kNone) {
      if (!ValidCoef(coef)) return Error("coefficient out of range");
      AddTerm(Column(lex_.Cur().text), sign * coef);
      lex_.Advance();
    } else if (haveCoef) {
      if (!ValidCoef(coef) || !ValidCoef(constant + sign * coef)) return Error("constant out of range");
      constant += sign * coef;
    } else {
      return Expected("a term");
    }
  }
}

int LpParser::ParseQuadratic(double sign) {
  lex_.Advance();  // [
  const size_t first = qVal_.size();
  for (bool firstTerm = true;; firstTerm = false) {
    double s = sign;
    bool signed_ = false;
    while (lex_.Cur().kind == LpTok::kPlus || lex_.Cur().kind == LpTok::kMinus) {
      if (lex_.Cur().kind == LpTok::kMinus) s = -s;
      signed_ = true;
      lex_.Advance();
    }
    if (lex_.Cur().kind == LpTok::kRBracket && !signed_) break;
    if (!firstTerm && !signed_) return Expected("+, - or ]");
    double coef = 1;
    if (lex_.Cur().kind == LpTok::kNumber) {
      coef = lex_.Cur().number;
      lex_.Advance();
      if (lex_.Cur().kind == LpTok::kStar) lex_.Advance();
    }
    if (lex_.Cur().kind != LpTok::kName) return Expected("a variable in a quadratic term");
    const int i = Column(lex_.Cur().text);
    lex_.Advance();
    int j = i;
    if (lex_.Cur().kind == LpTok::kCaret) {
      lex_.Advance();
      if (lex_.Cur().kind != LpTok::kNumber || lex_.Cur().number != 2) return Expected("the exponent 2");
      lex_.Advance();
    } else if (lex_.Cur().kind == LpTok::kStar) {
      lex_.Advance();
      if (lex_.Cur().kind != LpTok::kName) return Expected("a variable after *");
      j = Column(lex_.Cur().text);
      lex_.Advance();
    } else {
      return Expected("^ 2 or * and a variable");
    }
    if (!ValidCoef(coef)) return Error("quadratic coefficient out of range");
    if (coef == 0) continue;
    qRow_.push_back(i);
    qCol_.push_back(j);
    qVal_.push_back(s * coef);
  }
  lex_.Advance();  // ]
  // "/ 2" (or "/2", one name token: '/' is a name character).
  const LpToken& t = lex_.Cur();
  if (t.kind == LpTok::kName && (t.text == "/" || t.text == "/2")) {
    const bool joined = t.text == "/2";
    lex_.Advance();
    if (!joined) {
      if (lex_.Cur().kind != LpTok::kNumber || lex_.Cur().number != 2) return Expected("2 after /");
      lex_.Advance();
    }
    for (size_t k = first; k < qVal_.size(); ++k) qVal_[k] *= 0.5;
  }
  return TARQ_RETCODE_OK;
}

int LpParser::AddQuadRow(std::string_view name, LpTok op, double right, double constant) {
  if (!(right > -kInf && right < kInf)) return StatementError("a quadratic row needs a finite right-hand side");
  const double rhs = right - constant;
  if (!ValidCoef(rhs)) return StatementError("right-hand side out of range");
  QuadRowTable& q = data_.quad.rows;
  for (size_t k = 0; k < termCol_.size(); ++k) {
    if (termVal_[k] == 0) continue;
    if (!ValidCoef(termVal_[k])) return StatementError("coefficient out of range");
    q.linIdx.push_back(termCol_[k]);
    q.linVal.push_back(termVal_[k]);
  }
  q.linBegin.push_back(static_cast<std::int64_t>(q.linIdx.size()));
  q.quadRow.insert(q.quadRow.end(), qRow_.begin(), qRow_.end());
  q.quadCol.insert(q.quadCol.end(), qCol_.begin(), qCol_.end());
  q.quadVal.insert(q.quadVal.end(), qVal_.begin(), qVal_.end());
  q.quadBegin.push_back(static_cast<std::int64_t>(q.quadVal.size()));
  q.sense.push_back(op == LpTok::kLe ? 'L' : op == LpTok::kGe ? 'G' : 'E');
  q.rhs.push_back(rhs);
  quadNames_.push_back(name);
  ClearTerms();
  qRow_.clear();
  qCol_.clear();
  qVal_.clear();
  return EndOfStatement();
}

int LpParser::EndOfStatement() {
  const LpToken& t = lex_.Cur();
  if (t.kind == LpTok::kEnd || t.lineStart) return TARQ_RETCODE_OK;
  return Error("unexpected " + Quote(t.text) + " after the end of a statement");
}

int LpParser::ParseObjective() {
  if (sawObjective_) return Error("a second objective");
  sawObjective_ = true;
  statementLine_ = lex_.Cur().line;
  if (lex_.Cur().kind == LpTok::kName && lex_.Next().kind == LpTok::kColon && HeaderAtCur() == Keyword::kNone) {
    lex_.Advance();
    lex_.Advance();
  }
  double constant = 0;
  if (int rc = ParseTerms(1, false, constant); rc != TARQ_RETCODE_OK) return rc;
  if (IsOp(lex_.Cur().kind)) return Error("the objective has no operator " + Quote(lex_.Cur().text));
  for (size_t k = 0; k < termCol_.size(); ++k) {
    if (!ValidCoef(termVal_[k])) return StatementError("objective coefficient out of range");
    data_.obj[termCol_[k]] = termVal_[k];
  }
  data_.objConst = constant;
  ClearTerms();
  QuadTerms& q = data_.quad.objective;
  q.row = std::move(qRow_);
  q.col = std::move(qCol_);
  q.val = std::move(qVal_);
  qRow_.clear();
  qCol_.clear();
  qVal_.clear();
  return TARQ_RETCODE_OK;
}

int LpParser::ParseRow() {
  std::string_view name;
  if (lex_.Cur().kind == LpTok::kName && lex_.Next().kind == LpTok::kColon) {
    name = lex_.Cur().text;
    const int row = static_cast<int>(data_.rowLower.size());
    if (rowIndex_.FindOrInsert(name, row) != row) {
      return Error("duplicate row name " + Quote(name));
    }
    lex_.Advance();
    lex_.Advance();
  }
  double sign = 1;
  bool signGiven = false;
  while (lex_.Cur().kind == LpTok::kPlus || lex_.Cur().kind == LpTok::kMinus) {
    if (lex_.Cur().kind == LpTok::kMinus) sign = -sign;
    signGiven = true;
    lex_.Advance();
  }
  bool ranged = false;
  double left = 0;
  LpTok leftOp = LpTok::kEq;
  if (AtValueThenOp()) {
    ranged = true;
    left = ClampInf(sign * (lex_.Cur().kind == LpTok::kNumber ? lex_.Cur().number : kInf));
    lex_.Advance();
    leftOp = lex_.Cur().kind;
    lex_.Advance();
    sign = 1;
    signGiven = false;
  }
  double constant = 0;
  if (int rc = ParseTerms(sign, signGiven, constant); rc != TARQ_RETCODE_OK) return rc;
  if (!IsOp(lex_.Cur().kind)) return Expected("<=, >= or =");
  const LpTok op = lex_.Cur().kind;
  lex_.Advance();
  double right = 0;
  if (lex_.Cur().kind == LpTok::kName && !IsInfName(lex_.Cur())) return Error("variables on the right-hand side are not supported");
  if (int rc = ParseValue(right); rc != TARQ_RETCODE_OK) return rc;
  if (lex_.Cur().kind == LpTok::kMinus && !lex_.Cur().lineStart && lex_.Next().kind == LpTok::kGe) {
    return ParseIndicator(name, op, right, constant, ranged);
  }
  if (!qVal_.empty()) {
    if (ranged) return StatementError("a ranged row cannot have quadratic terms");
    return AddQuadRow(name, op, right, constant);
  }
  double lo = -kInf, up = kInf;
  if (ranged) {
    if (op != leftOp || op == LpTok::kEq) return StatementError("a ranged row needs two <= or two >= operators");
    lo = op == LpTok::kLe ? left : right;
    up = op == LpTok::kLe ? right : left;
  } else if (op == LpTok::kLe) {
    up = right;
  } else if (op == LpTok::kGe) {
    lo = right;
  } else {
    lo = up = right;
  }
  if (lo > -kInf) lo = ClampInf(lo - constant);
  if (up < kInf) up = ClampInf(up - constant);
  if (lo >= kInf || up <= -kInf) return StatementError("the row's bounds are infinite on the wrong side");
  for (size_t k = 0; k < termCol_.size(); ++k) {
    if (termVal_[k] == 0) continue;
    if (!ValidCoef(termVal_[k])) return StatementError("coefficient out of range");
    rowCol_.push_back(termCol_[k]);
    rowVal_.push_back(termVal_[k]);
  }
  ClearTerms();
  rowBegin_.push_back(static_cast<std::int64_t>(rowCol_.size()));
  data_.rowNames.push_back(name);
  data_.rowLower.push_back(lo);
  data_.rowUpper.push_back(up);
  return EndOfStatement();
}

int LpParser::ParseIndicator(std::string_view name, LpTok op, double right, double constant, bool ranged) {
  if (ranged || !qVal_.empty() || op != LpTok::kEq || constant != 0 || termCol_.size() != 1 || termVal_[0] != 1 ||
      (right != 0 && right != 1)) {
    return StatementError("an indicator needs \"column = 0\" or \"column = 1\" before ->");
  }
  const int bin = termCol_[0];
  ClearTerms();
  lex_.Advance();  // -
  lex_.Advance();  // >
  double constant2 = 0;
  if (int rc = ParseTerms(1, false, constant2); rc != TARQ_RETCODE_OK) return rc;
  if (!qVal_.empty()) return StatementError("an indicator's row cannot have quadratic terms");
  if (!IsOp(lex_.Cur().kind)) return Expected("<=, >= or =");
  const LpTok op2 = lex_.Cur().kind;
  lex_.Advance();
  if (lex_.Cur().kind == LpTok::kName && !IsInfName(lex_.Cur())) return Error("variables on the right-hand side are not supported");
  double bound = 0;
  if (int rc = ParseValue(bound); rc != TARQ_RETCODE_OK) return rc;
  bound -= constant2;
  if (!ValidCoef(bound)) return StatementError("an indicator's row needs a finite right-hand side");
  IndicatorTable& ind = data_.sosCones.indicators;
  for (size_t k = 0; k < termCol_.size(); ++k) {
    if (termVal_[k] == 0) continue;
    if (!ValidCoef(termVal_[k])) return StatementError("coefficient out of range");
    ind.col.push_back(termCol_[k]);
    ind.val.push_back(termVal_[k]);
  }
  ClearTerms();
  ind.type.push_back(0);
  ind.binCol.push_back(bin);
  ind.binVal.push_back(right == 1 ? 1 : 0);
  ind.begin.push_back(static_cast<std::int64_t>(ind.col.size()));
  ind.sense.push_back(op2 == LpTok::kLe ? 'L' : op2 == LpTok::kGe ? 'G' : 'E');
  ind.bound.push_back(bound);
  indNames_.push_back(name);
  indLine_.push_back(statementLine_);
  return EndOfStatement();
}

int LpParser::ParseSos() {
  // [name :] S1 | S2 :: column : weight ...
  if (lex_.Cur().kind != LpTok::kName || lex_.Next().kind != LpTok::kColon) return Expected("an SOS set");
  std::string_view type = lex_.Cur().text;
  lex_.Advance();
  lex_.Advance();
  if (lex_.Cur().kind == LpTok::kName && lex_.Next().kind == LpTok::kColon) {
    type = lex_.Cur().text;
    lex_.Advance();
    lex_.Advance();
  }
  if (lex_.Cur().kind != LpTok::kColon) return Expected("::");
  lex_.Advance();
  const int t = EqualNoCase(type, "S1") ? TARQ_SOS_TYPE1 : EqualNoCase(type, "S2") ? TARQ_SOS_TYPE2 : 0;
  if (t == 0) return StatementError("unknown SOS type " + Quote(type) + " (S1 or S2)");
  SosTable& sos = data_.sosCones.sos;
  const size_t first = sos.col.size();
  while (lex_.Cur().kind == LpTok::kName && !lex_.Cur().lineStart) {
    const int col = Column(lex_.Cur().text);
    lex_.Advance();
    if (lex_.Cur().kind != LpTok::kColon) return Expected(":");
    lex_.Advance();
    double w = 0;
    if (int rc = ParseValue(w); rc != TARQ_RETCODE_OK) return rc;
    if (!ValidCoef(w)) return StatementError("an SOS weight must be finite");
    if (slot_[col] >= 0) return StatementError("column " + Quote(data_.colNames[col]) + " twice in one SOS set");
    slot_[col] = 0;
    sos.col.push_back(col);
    sos.weight.push_back(w);
  }
  for (size_t k = first; k < sos.col.size(); ++k) slot_[sos.col[k]] = -1;
  if (sos.col.size() == first) return Expected("column:weight");
  std::vector<double> w(sos.weight.begin() + static_cast<std::ptrdiff_t>(first), sos.weight.end());
  std::sort(w.begin(), w.end());
  if (std::adjacent_find(w.begin(), w.end()) != w.end()) return StatementError("two members of one SOS set have the same weight");
  sos.type.push_back(t);
  sos.begin.push_back(static_cast<std::int64_t>(sos.col.size()));
  return EndOfStatement();
}

int LpParser::SetBound(int col, LpTok op, double v) {
  if (op == LpTok::kLe || op == LpTok::kEq) {
    if (v <= -kInf) return StatementError("an upper bound of -infinity");
    data_.colUpper[col] = v;
    boundSet_[col] |= 2;
  }
  if (op == LpTok::kGe || op == LpTok::kEq) {
    if (v >= kInf) return StatementError("a lower bound of +infinity");
    data_.colLower[col] = v;
    boundSet_[col] |= 1;
  }
  return TARQ_RETCODE_OK;
}

int LpParser::ParseBound() {
  const LpToken& first = lex_.Cur();
  const bool valueFirst = first.kind == LpTok::kNumber || first.kind == LpTok::kPlus ||
                          first.kind == LpTok::kMinus || (IsInfName(first) && IsOp(lex_.Next().kind));
  if (valueFirst) {
    double v = 0;
    if (int rc = ParseValue(v); rc != TARQ_RETCODE_OK) return rc;
    const LpTok op = lex_.Cur().kind;
    if (!IsOp(op)) return Expected("<=, >= or =");
    lex_.Advance();
    if (lex_.Cur().kind != LpTok::kName) return Expected("a column name");
    const int col = Column(lex_.Cur().text);
    lex_.Advance();
    const LpTok flipped = op == LpTok::kLe ? LpTok::kGe : op == LpTok::kGe ? LpTok::kLe : op;
    if (int rc = SetBound(col, flipped, v); rc != TARQ_RETCODE_OK) return rc;
    if (IsOp(lex_.Cur().kind)) {
      const LpTok op2 = lex_.Cur().kind;
      lex_.Advance();
      if (int rc = ParseValue(v); rc != TARQ_RETCODE_OK) return rc;
      if (int rc = SetBound(col, op2, v); rc != TARQ_RETCODE_OK) return rc;
    }
    return EndOfStatement();
  }
  if (first.kind != LpTok::kName) return Expected("a bound");
  const int col = Column(first.text);
  lex_.Advance();
  if (lex_.Cur().kind == LpTok::kName && EqualNoCase(lex_.Cur().text, "free")) {
    lex_.Advance();
    data_.colLower[col] = -kInf;
    data_.colUpper[col] = kInf;
    boundSet_[col] = 3;
    return EndOfStatement();
  }
  const LpTok op = lex_.Cur().kind;
  if (!IsOp(op)) return Expected("<=, >=, = or free");
  lex_.Advance();
  double v = 0;
  if (int rc = ParseValue(v); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = SetBound(col, op, v); rc != TARQ_RETCODE_OK) return rc;
  return EndOfStatement();
}

int LpParser::ParseNames(char type) {
  const LpToken& t = lex_.Cur();
  if (t.kind != LpTok::kName) return Expected("a column name");
  data_.colType[Column(t.text)] = type;
  lex_.Advance();
  return TARQ_RETCODE_OK;
}

int LpParser::Section(Keyword kw) {
  switch (kw) {
    case Keyword::kSemi: return Error("semi-continuous sections are not supported");
    case Keyword::kOtherSection: return Error("the section " + Quote(lex_.Cur().text) + " is not supported");
    default: break;
  }
  const std::string_view word = lex_.Cur().text;
  if (kw != Keyword::kMin && kw != Keyword::kMax && !sawObjective_) {
    return Error("expected Minimize or Maximize before " + Quote(word));
  }
  lex_.Advance();
  if (kw == Keyword::kSubjectTo && (EqualNoCase(word, "subject") || EqualNoCase(word, "such"))) {
    const bool subject = EqualNoCase(word, "subject");
    if (lex_.Cur().kind != LpTok::kName || !EqualNoCase(lex_.Cur().text, subject ? "to" : "that")) {
      return Expected(subject ? "\"To\"" : "\"That\"");
    }
    lex_.Advance();
  }
  if ((kw == Keyword::kMin || kw == Keyword::kMax)) {
    data_.objSense = kw == Keyword::kMax ? -1 : 1;
    section_ = kw;
    return ParseObjective();
  }
  section_ = kw;
  return TARQ_RETCODE_OK;
}

int LpParser::Run(IoError& err) {
  err_ = &err;
  while (true) {
    const LpToken& t = lex_.Cur();
    if (t.kind == LpTok::kEnd) {
      return Fail(err, TARQ_RETCODE_INVALID, lex_.Line(), "missing End (the file may be truncated)");
    }
    const Keyword kw = HeaderAtCur();
    if (kw == Keyword::kEnd) break;
    int rc = TARQ_RETCODE_OK;
    statementLine_ = t.line;
    if (kw != Keyword::kNone) {
      rc = Section(kw);
    } else {
      switch (section_) {
        case Keyword::kSubjectTo: rc = ParseRow(); break;
        case Keyword::kBounds: rc = ParseBound(); break;
        case Keyword::kGeneral: rc = ParseNames('I'); break;
        case Keyword::kBinary: rc = ParseNames('B'); break;
        case Keyword::kSos: rc = ParseSos(); break;
        case Keyword::kNone: rc = Expected("Minimize or Maximize"); break;
        default: rc = Error("unexpected " + Quote(t.text) + " after the objective"); break;
      }
    }
    if (rc != TARQ_RETCODE_OK) return rc;
  }
  const size_t n = data_.colNames.size();
  for (size_t j = 0; j < n; ++j) {
    if (data_.colType[j] != 'B') continue;
    if (!(boundSet_[j] & 1)) data_.colLower[j] = 0;
    if (!(boundSet_[j] & 2)) data_.colUpper[j] = 1;
  }
  return TARQ_RETCODE_OK;
}

int LpParser::Load(Problem& problem, IoError& err) {
  // Turn the rows into columns: count, offset, then place entries in row order.
  const size_t n = data_.colNames.size();
  const size_t m = data_.rowLower.size();
  data_.colBegin.assign(n + 1, 0);
  for (int c : rowCol_) ++data_.colBegin[static_cast<size_t>(c) + 1];
  for (size_t j = 0; j < n; ++j) data_.colBegin[j + 1] += data_.colBegin[j];
  data_.rowIndex.resize(rowCol_.size());
  data_.value.resize(rowCol_.size());
  std::vector<std::int64_t> next(data_.colBegin.begin(), data_.colBegin.end() - 1);
  for (size_t i = 0; i < m; ++i) {
    for (std::int64_t p = rowBegin_[i]; p < rowBegin_[i + 1]; ++p) {
      const std::int64_t q = next[static_cast<size_t>(rowCol_[p])]++;
      data_.rowIndex[q] = static_cast<int>(i);
      data_.value[q] = rowVal_[p];
    }
  }
  // Names of the quadratic rows, terminated for the name table.
  std::vector<std::string> names(quadNames_.begin(), quadNames_.end());
  std::vector<const char*> pointers;
  for (const std::string& n2 : names) pointers.push_back(n2.c_str());
  data_.quad.rows.names.Append(static_cast<int>(pointers.size()), pointers.data());
  IndicatorTable& ind = data_.sosCones.indicators;
  for (int k = 0; k < ind.Size(); ++k) {
    const int b = ind.binCol[k];
    const char t = data_.colType[b];
    if (t != 'B' && !(t == 'I' && data_.colLower[b] >= 0 && data_.colUpper[b] <= 1)) {
      return Fail(err, TARQ_RETCODE_INVALID, indLine_[k], "the indicator column " + Quote(data_.colNames[b]) + " is not binary");
    }
  }
  std::vector<std::string> indNames(indNames_.begin(), indNames_.end());
  pointers.clear();
  for (const std::string& n2 : indNames) pointers.push_back(n2.c_str());
  ind.names.Append(static_cast<int>(pointers.size()), pointers.data());
  return data_.Load(problem, lex_.Cur().line, err);
}

}  // namespace

int ParseLp(Problem& problem, std::string_view text, IoError& err) {
  LpParser parser(text);
  if (int rc = parser.Run(err); rc != TARQ_RETCODE_OK) return rc;
  return parser.Load(problem, err);
}

}  // namespace tarq_solver
