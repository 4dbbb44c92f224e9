// MPS reader, free and fixed form.
//
// Sections: NAME, OBJSENSE (or OBJSENS; MAX/MAXIMIZE/MIN/MINIMIZE on the header line or the
// next), ROWS, COLUMNS (with 'MARKER' 'INTORG'/'INTEND' integer sections), RHS, RANGES, BOUNDS,
// the quadratic sections below, ENDATA. Text after ENDATA is ignored, except the header of a
// quadratic section (some files append a second part with one) or of a section of another problem
// kind (SOS, ...), which is rejected. A file without ENDATA is rejected as truncated.
// Conventions this reader follows:
//  - The first N row is the objective; later N rows are kept as free rows. An RHS entry of the
//    objective row is minus the objective constant; RHS and RANGES entries of free rows are
//    ignored.
//  - RANGES: an L row becomes [rhs - |R|, rhs], a G row [rhs, rhs + |R|], an E row
//    [rhs, rhs + R] for R > 0 and [rhs + R, rhs] for R < 0.
//  - Only the first set named in RHS, RANGES and BOUNDS is read; lines of other sets are skipped.
//  - Bounds UP, LO, FX, FR, MI, PL, BV, LI, UI. A negative UP (or UI) bound on a column whose
//    lower bound is still the default 0 also sets the lower bound to -infinity. BV makes the
//    column binary with bounds [0, 1]; LI and UI make it integer. SC is rejected.
//  - Columns of integer sections are integer with default bounds [0, +infinity].
//  - Matrix and objective entries must be finite and below 1e30 in magnitude; an entry given
//    twice, a column whose entries are not contiguous, an unknown row or column, a duplicate row
//    name and an unknown section are errors.
//  - Quadratic objective, lines "column column value" with the objective c'x + x'Qx / 2:
//    QUADOBJ lists one triangle of Q (an off-diagonal value stands for Q_ij and Q_ji), QMATRIX
//    the whole matrix (both Q_ij and Q_ji). Both sections may appear; their terms add up.
//  - QCMATRIX <row>: the quadratic part x'Qx (no 1/2) of an L, G or E row, whole matrix. Such
//    a row becomes a quadratic row, keeping its COLUMNS entries, RHS and name; a range on it,
//    or a QCMATRIX for a free or unknown row or twice for one row, is an error.
//  - SOS, INDICATORS and CSECTION (cones): see mps_sos_cone.h. SOS markers in COLUMNS are refused.
// Free form separates fields by blanks; fixed form reads fields at their column positions, so
// names may contain blanks. A file is read as free form first; when that fails it is read again
// as fixed form, and the error of the form that got further is reported.
// Runs in time linear in the file size; names are views into the text until the problem loads.
#include <algorithm>
#include <cmath>
#include <utility>

#include "io/formats.h"
#include "io/mps_sos_cone.h"
#include "io/name_index.h"
#include "io/parsed_problem.h"
#include "store/checks.h"
#include "store/tables.h"

namespace tarq_solver {

namespace {

enum class Form { kFree, kFixed };
enum class Section {
  kNone, kName, kObjSense, kRows, kColumns, kRhs, kRanges, kBounds, kQuadObj, kQMatrix, kQcMatrix, kSos, kIndicators, kCone
};

constexpr int kObjRow = -1;
constexpr double kInf = TARQ_INFINITY;

// Fixed-form fields as [first, last) character positions.
struct FieldPos {
  size_t from, to;
};
constexpr FieldPos kF1{1, 3}, kF2{4, 12}, kF3{14, 22}, kF4{24, 36}, kF5{39, 47}, kF6{49, 61};

std::string_view FixedField(std::string_view line, FieldPos f) {
  if (f.from >= line.size()) return {};
  return Trim(line.substr(f.from, f.to - f.from));
}

// A line's name/value pairs and leading fields, as the section handlers need them.
struct Entry {
  std::string_view head;  // column name (COLUMNS), set name (RHS, RANGES, BOUNDS)
  std::string_view type;  // bound type (BOUNDS)
  std::string_view name[2];
  std::string_view value[2];
  int pairs = 0;
};

enum class BoundKind { kUp, kLo, kFx, kFr, kMi, kPl, kBv, kLi, kUi, kSc, kUnknown };

BoundKind BoundKindOf(std::string_view type) {
  static constexpr std::pair<std::string_view, BoundKind> kKinds[] = {
      {"UP", BoundKind::kUp}, {"LO", BoundKind::kLo}, {"FX", BoundKind::kFx}, {"FR", BoundKind::kFr},
      {"MI", BoundKind::kMi}, {"PL", BoundKind::kPl}, {"BV", BoundKind::kBv}, {"LI", BoundKind::kLi},
      {"UI", BoundKind::kUi}, {"SC", BoundKind::kSc}};
  for (const auto& [name, kind] : kKinds) {
    if (EqualNoCase(type, name)) return kind;
  }
  return BoundKind::kUnknown;
}

bool NeedsValue(BoundKind k) {
  return k == BoundKind::kUp || k == BoundKind::kLo || k == BoundKind::kFx || k == BoundKind::kLi ||
         k == BoundKind::kUi || k == BoundKind::kSc;
}

// Sections of other problem kinds, which this reader rejects rather than skips.
const char* UnsupportedSection(std::string_view word) {
  static constexpr const char* kNames[] = {"QSECTION", "SETS",     "OBJNAME",  "PWLOBJ",
                                           "GENCONS",  "LAZYCONS", "USERCUTS", "BRANCH"};
  for (const char* name : kNames) {
    if (EqualNoCase(word, name)) return name;
  }
  return nullptr;
}

class MpsParser {
 public:
  MpsParser(std::string_view text, Form form) : text_(text), form_(form) {}

  int Run(IoError& err);
  int Load(Problem& problem, IoError& err) { return data_.Load(problem, line_, err); }

 private:
  int Error(std::string what) { return Fail(*err_, TARQ_RETCODE_INVALID, line_, std::move(what)); }
  int Header(std::string_view line);
  int SetSense(std::string_view word);
  int RowLine(std::string_view line);
  int ColumnLine(std::string_view line);
  int Marker(std::string_view line, bool& isMarker);
  int SetLine(std::string_view line, bool ranges);
  int BoundLine(std::string_view line);
  // A line of QUADOBJ, QMATRIX or QCMATRIX: column, column, value.
  int QuadLine(std::string_view line);
  int StartQcMatrix(std::string_view line);
  // Moves the rows with a QCMATRIX out of the linear rows into the quadratic rows.
  int SplitQuadraticRows();
  int Number(std::string_view text, double& v);
  int FindRow(std::string_view name, int& row);
  int FindCol(std::string_view name, int& col);
  // After ENDATA: text there is ignored, except sections of other problem kinds (some files
  // append a quadratic objective after a second NAME), which are rejected.
  int CheckTail(LineReader& lines);
  int Finish();

  std::string_view text_;
  Form form_;
  IoError* err_ = nullptr;
  std::int64_t line_ = 0;
  Section section_ = Section::kNone;

  ParsedProblem data_;
  NameIndex rowIndex_;
  NameIndex colIndex_;
  bool haveObjRow_ = false;
  std::string_view objRowName_;
  std::vector<char> rowSense_;
  std::vector<double> rhs_;
  std::vector<double> range_;  // NaN: none
  std::vector<char> rhsSeen_;
  std::vector<int> stamp_;     // per row: the last column with an entry in it
  std::vector<char> objSeen_;  // per column
  std::vector<char> lowerSet_;
  int currentCol_ = -1;
  bool inInteger_ = false;
  bool objConstSeen_ = false;
  std::string_view activeSet_[3];
  bool haveSet_[3] = {false, false, false};
  // QCMATRIX terms: row, columns, value, in file order; the row of the current section.
  std::vector<int> qcRow_, qcFirst_, qcSecond_;
  std::vector<double> qcValue_;
  std::vector<char> rowQuad_;  // per row: has a QCMATRIX
  int currentQcRow_ = -1;
  MpsSosCone sos_cone_;
};

int MpsParser::Number(std::string_view text, double& v) {
  if (!ParseNumber(text, v)) return Error("bad number " + Quote(text));
  return TARQ_RETCODE_OK;
}

int MpsParser::FindRow(std::string_view name, int& row) {
  if (haveObjRow_ && name == objRowName_) {
    row = kObjRow;
    return TARQ_RETCODE_OK;
  }
  row = rowIndex_.Find(name);
  if (row < 0) return Error("unknown row " + Quote(name));
  return TARQ_RETCODE_OK;
}

int MpsParser::FindCol(std::string_view name, int& col) {
  col = colIndex_.Find(name);
  if (col < 0) return Error("unknown column " + Quote(name));
  return TARQ_RETCODE_OK;
}

int MpsParser::Run(IoError& err) {
  err_ = &err;
  LineReader lines(text_);
  std::string_view line;
  while (lines.Next(line)) {
    line_ = lines.Number();
    if (line.empty() || line[0] == '*' || Trim(line).empty()) continue;
    int rc = TARQ_RETCODE_OK;
    if (!IsBlank(line[0])) {
      std::string_view tok[2];
      SplitFields(line, tok);
      if (EqualNoCase(tok[0], "ENDATA")) {
        if (int rc = CheckTail(lines); rc != TARQ_RETCODE_OK) return rc;
        return Finish();
      }
      rc = Header(line);
    } else {
      switch (section_) {
        case Section::kRows: rc = RowLine(line); break;
        case Section::kColumns: rc = ColumnLine(line); break;
        case Section::kRhs: rc = SetLine(line, false); break;
        case Section::kRanges: rc = SetLine(line, true); break;
        case Section::kBounds: rc = BoundLine(line); break;
        case Section::kQuadObj: case Section::kQMatrix: case Section::kQcMatrix: rc = QuadLine(line); break;
        case Section::kSos: rc = sos_cone_.SosLine(line, line_, *err_); break;
        case Section::kIndicators: rc = sos_cone_.IndicatorLine(line, line_, *err_); break;
        case Section::kCone: rc = sos_cone_.ConeLine(line, line_, *err_); break;
        case Section::kObjSense: {
          std::string_view tok[2];
          rc = SplitFields(line, tok) == 1 ? SetSense(tok[0]) : Error("expected MAX or MIN");
          break;
        }
        default: rc = Error("data line outside a section"); break;
      }
    }
    if (rc != TARQ_RETCODE_OK) return rc;
  }
  line_ = lines.Number();
  return Error("missing ENDATA (the file may be truncated)");
}

int MpsParser::Header(std::string_view line) {
  std::string_view tok[3];
  const size_t n = SplitFields(line, tok);
  const std::string_view word = tok[0];
  if (EqualNoCase(word, "NAME")) {
    section_ = Section::kName;
  } else if (EqualNoCase(word, "ROWS")) {
    section_ = Section::kRows;
  } else if (EqualNoCase(word, "COLUMNS")) {
    section_ = Section::kColumns;
  } else if (EqualNoCase(word, "RHS")) {
    section_ = Section::kRhs;
  } else if (EqualNoCase(word, "RANGES")) {
    section_ = Section::kRanges;
  } else if (EqualNoCase(word, "BOUNDS")) {
    section_ = Section::kBounds;
  } else if (EqualNoCase(word, "QUADOBJ")) {
    section_ = Section::kQuadObj;
  } else if (EqualNoCase(word, "QMATRIX")) {
    section_ = Section::kQMatrix;
  } else if (EqualNoCase(word, "QCMATRIX")) {
    section_ = Section::kQcMatrix;
    return StartQcMatrix(line);
  } else if (EqualNoCase(word, "SOS")) {
    section_ = Section::kSos;
  } else if (EqualNoCase(word, "INDICATORS")) {
    section_ = Section::kIndicators;
  } else if (EqualNoCase(word, "CSECTION")) {
    section_ = Section::kCone;
    return sos_cone_.ConeHeader(line, line_, *err_);
  } else if (EqualNoCase(word, "OBJSENSE") || EqualNoCase(word, "OBJSENS")) {
    section_ = Section::kObjSense;
    if (n >= 2) return SetSense(tok[1]);
  } else {
    if (const char* name = UnsupportedSection(word)) return Error(std::string("the ") + name + " section is not supported");
    return Error("unknown section " + Quote(word));
  }
  if (section_ == Section::kColumns) currentCol_ = -1;
  return TARQ_RETCODE_OK;
}

int MpsParser::SetSense(std::string_view word) {
  if (EqualNoCase(word, "MAX") || EqualNoCase(word, "MAXIMIZE") || EqualNoCase(word, "MAXIMISE")) {
    data_.objSense = -1;
  } else if (EqualNoCase(word, "MIN") || EqualNoCase(word, "MINIMIZE") || EqualNoCase(word, "MINIMISE")) {
    data_.objSense = 1;
  } else {
    return Error("unknown objective sense " + Quote(word));
  }
  return TARQ_RETCODE_OK;
}

int MpsParser::RowLine(std::string_view line) {
  std::string_view type, name;
  if (form_ == Form::kFree) {
    std::string_view tok[2];
    if (SplitFields(line, tok) != 2) return Error("expected a row type and a row name");
    type = tok[0];
    name = tok[1];
  } else {
    type = FixedField(line, kF1);
    name = line.size() > kF2.from ? Trim(line.substr(kF2.from)) : std::string_view();
    if (type.empty() || name.empty()) return Error("expected a row type and a row name");
  }
  const char sense = type.size() == 1 ? static_cast<char>(type[0] & ~0x20) : '?';
  if (sense != 'N' && sense != 'L' && sense != 'G' && sense != 'E') return Error("unknown row type " + Quote(type));
  const bool objective = sense == 'N' && !haveObjRow_;
  const int pos = static_cast<int>(rowSense_.size());
  const bool taken = (haveObjRow_ && name == objRowName_) ||
                     (objective ? rowIndex_.Find(name) >= 0 : rowIndex_.FindOrInsert(name, pos) != pos);
  if (taken) return Error("duplicate row name " + Quote(name));
  if (objective) {
    haveObjRow_ = true;
    objRowName_ = name;
    return TARQ_RETCODE_OK;
  }
  data_.rowNames.push_back(name);
  rowQuad_.push_back(0);
  rowSense_.push_back(sense);
  rhs_.push_back(0.0);
  range_.push_back(NAN);
  rhsSeen_.push_back(0);
  stamp_.push_back(-1);
  return TARQ_RETCODE_OK;
}

int MpsParser::Marker(std::string_view line, bool& isMarker) {
  isMarker = false;
  if (line.find('\'') == std::string_view::npos) return TARQ_RETCODE_OK;
  std::string_view tok[6];
  const size_t n = std::min<size_t>(SplitFields(line, tok), 6);
  size_t k = 0;
  while (k < n && tok[k] != "'MARKER'") ++k;
  if (k == n) return TARQ_RETCODE_OK;
  isMarker = true;
  for (++k; k < n; ++k) {
    if (tok[k] == "'INTORG'") {
      inInteger_ = true;
      return TARQ_RETCODE_OK;
    }
    if (tok[k] == "'INTEND'") {
      inInteger_ = false;
      return TARQ_RETCODE_OK;
    }
    if (tok[k] == "'SOSORG'" || tok[k] == "'SOSEND'") return Error("SOS markers are not supported");
  }
  return Error("a marker line needs 'INTORG' or 'INTEND'");
}

int MpsParser::ColumnLine(std::string_view line) {
  bool isMarker = false;
  if (int rc = Marker(line, isMarker); rc != TARQ_RETCODE_OK || isMarker) return rc;
  Entry e;
  if (form_ == Form::kFree) {
    std::string_view tok[5];
    const size_t n = SplitFields(line, tok);
    if (n != 3 && n != 5) return Error("expected a column name and one or two row/value pairs");
    e = Entry{tok[0], {}, {tok[1], tok[3]}, {tok[2], tok[4]}, n == 3 ? 1 : 2};
  } else {
    e = Entry{FixedField(line, kF2), {}, {FixedField(line, kF3), FixedField(line, kF5)},
              {FixedField(line, kF4), FixedField(line, kF6)}, 0};
    e.pairs = e.name[1].empty() && e.value[1].empty() ? 1 : 2;
    if (e.head.empty() || e.name[0].empty() || e.value[0].empty() || (e.pairs == 2 && (e.name[1].empty() || e.value[1].empty()))) {
      return Error("expected a column name and one or two row/value pairs");
    }
  }
  if (currentCol_ < 0 || data_.colNames[currentCol_] != e.head) {
    const int col = static_cast<int>(data_.colNames.size());
    if (colIndex_.FindOrInsert(e.head, col) != col) {
      return Error("column " + Quote(e.head) + " appears again after other columns");
    }
    currentCol_ = col;
    data_.colNames.push_back(e.head);
    data_.obj.push_back(0.0);
    data_.colLower.push_back(0.0);
    data_.colUpper.push_back(kInf);
    data_.colType.push_back(inInteger_ ? 'I' : 'C');
    data_.colBegin.push_back(data_.colBegin.back());
    objSeen_.push_back(0);
    lowerSet_.push_back(0);
  }
  for (int k = 0; k < e.pairs; ++k) {
    int row = 0;
    double v = 0;
    if (int rc = FindRow(e.name[k], row); rc != TARQ_RETCODE_OK) return rc;
    if (int rc = Number(e.value[k], v); rc != TARQ_RETCODE_OK) return rc;
    if (!ValidCoef(v)) return Error("coefficient " + Quote(e.value[k]) + " is out of range");
    const bool dup = row == kObjRow ? objSeen_[currentCol_] != 0 : stamp_[row] == currentCol_;
    if (dup) return Error("duplicate entry for row " + Quote(e.name[k]) + " in column " + Quote(e.head));
    if (row == kObjRow) {
      objSeen_[currentCol_] = 1;
      data_.obj[currentCol_] = v;
      continue;
    }
    stamp_[row] = currentCol_;
    if (v == 0) continue;
    data_.rowIndex.push_back(row);
    data_.value.push_back(v);
    ++data_.colBegin.back();
  }
  return TARQ_RETCODE_OK;
}

// RHS and RANGES lines: [set] row value [row value].
int MpsParser::SetLine(std::string_view line, bool ranges) {
  Entry e;
  if (form_ == Form::kFree) {
    std::string_view tok[5];
    const size_t n = SplitFields(line, tok);
    if (n < 2 || n > 5) return Error("expected an optional set name and one or two row/value pairs");
    const size_t s = n % 2;  // odd counts start with the set name
    e.head = s == 1 ? tok[0] : std::string_view();
    e.pairs = static_cast<int>((n - s) / 2);
    for (int k = 0; k < e.pairs; ++k) {
      e.name[k] = tok[s + 2 * k];
      e.value[k] = tok[s + 2 * k + 1];
    }
  } else {
    e = Entry{FixedField(line, kF2), {}, {FixedField(line, kF3), FixedField(line, kF5)},
              {FixedField(line, kF4), FixedField(line, kF6)}, 0};
    e.pairs = e.name[1].empty() && e.value[1].empty() ? 1 : 2;
    if (e.name[0].empty() || e.value[0].empty() || (e.pairs == 2 && (e.name[1].empty() || e.value[1].empty()))) {
      return Error("expected an optional set name and one or two row/value pairs");
    }
  }
  const int set = ranges ? 1 : 0;
  if (!haveSet_[set]) {
    haveSet_[set] = true;
    activeSet_[set] = e.head;
  } else if (activeSet_[set] != e.head) {
    return TARQ_RETCODE_OK;
  }
  for (int k = 0; k < e.pairs; ++k) {
    int row = 0;
    double v = 0;
    if (int rc = FindRow(e.name[k], row); rc != TARQ_RETCODE_OK) return rc;
    if (int rc = Number(e.value[k], v); rc != TARQ_RETCODE_OK) return rc;
    const char* kind = ranges ? "RANGES" : "RHS";
    if (row == kObjRow) {
      if (ranges) continue;
      if (objConstSeen_) return Error("duplicate RHS entry for the objective row");
      if (!ValidCoef(v)) return Error("objective constant " + Quote(e.value[k]) + " is out of range");
      objConstSeen_ = true;
      data_.objConst = -v;
      continue;
    }
    const char sense = rowSense_[row];
    if (sense == 'N') continue;
    const char bit = ranges ? 2 : 1;
    if (rhsSeen_[row] & bit) return Error(std::string("duplicate ") + kind + " entry for row " + Quote(e.name[k]));
    rhsSeen_[row] |= bit;
    if (ranges) {
      range_[row] = v;
      continue;
    }
    if ((v >= kInf && sense != 'L') || (v <= -kInf && sense != 'G')) {
      return Error("infinite right-hand side " + Quote(e.value[k]) + " for row " + Quote(e.name[k]));
    }
    rhs_[row] = v;
  }
  return TARQ_RETCODE_OK;
}

int MpsParser::BoundLine(std::string_view line) {
  std::string_view tok[5];
  const size_t n = form_ == Form::kFree ? SplitFields(line, tok) : 0;
  const std::string_view type = form_ == Form::kFree ? tok[0] : FixedField(line, kF1);
  const BoundKind kind = BoundKindOf(type);
  if (kind == BoundKind::kUnknown) return Error("unknown bound type " + Quote(type));
  if (kind == BoundKind::kSc) return Error("semi-continuous bounds (SC) are not supported");
  const bool valued = NeedsValue(kind);
  std::string_view set, colName, valueText;
  if (form_ == Form::kFixed) {
    set = FixedField(line, kF2);
    colName = FixedField(line, kF3);
    valueText = FixedField(line, kF4);
  } else if (n < 2 || n > 4 || (valued && n == 2)) {
    return Error(valued ? "expected a bound type, an optional set name, a column and a value"
                        : "expected a bound type, an optional set name and a column");
  } else if (n == 4) {
    set = tok[1];
    colName = tok[2];
    valueText = tok[3];
  } else if (n == 2) {
    colName = tok[1];
  } else if (valued) {
    colName = tok[1];
    valueText = tok[2];
  } else {
    // Three fields of a bound without a value (BV may have one): "set column", unless only
    // "column value" names a column.
    double ignored = 0;
    if (colIndex_.Find(tok[2]) < 0 && colIndex_.Find(tok[1]) >= 0 && ParseNumber(tok[2], ignored)) {
      colName = tok[1];
      valueText = tok[2];
    } else {
      set = tok[1];
      colName = tok[2];
    }
  }
  if (colName.empty()) return Error("expected a column name");
  if (!haveSet_[2]) {
    haveSet_[2] = true;
    activeSet_[2] = set;
  } else if (activeSet_[2] != set) {
    return TARQ_RETCODE_OK;
  }
  int col = 0;
  if (int rc = FindCol(colName, col); rc != TARQ_RETCODE_OK) return rc;
  double v = 0;
  if (valued) {
    if (valueText.empty()) return Error("missing bound value");
    if (int rc = Number(valueText, v); rc != TARQ_RETCODE_OK) return rc;
  }
  double& lower = data_.colLower[col];
  double& upper = data_.colUpper[col];
  switch (kind) {
    case BoundKind::kFx:
      if (!ValidCoef(v)) return Error("fixed bound " + Quote(valueText) + " is not finite");
      lower = upper = v;
      break;
    case BoundKind::kFr:
      lower = -kInf;
      upper = kInf;
      break;
    case BoundKind::kMi: lower = -kInf; break;
    case BoundKind::kPl: upper = kInf; break;
    case BoundKind::kBv:
      data_.colType[col] = 'B';
      lower = 0;
      upper = 1;
      break;
    case BoundKind::kLo:
    case BoundKind::kLi:
      if (v >= kInf) return Error("lower bound " + Quote(valueText) + " is +infinity");
      lower = ClampInf(v);
      break;
    default:  // kUp, kUi
      if (v <= -kInf) return Error("upper bound " + Quote(valueText) + " is -infinity");
      upper = ClampInf(v);
      if (v < 0 && !lowerSet_[col] && lower == 0) lower = -kInf;
      break;
  }
  if (kind != BoundKind::kUp && kind != BoundKind::kUi && kind != BoundKind::kPl) lowerSet_[col] = 1;
  if ((kind == BoundKind::kLi || kind == BoundKind::kUi) && data_.colType[col] != 'B') data_.colType[col] = 'I';
  return TARQ_RETCODE_OK;
}

int MpsParser::StartQcMatrix(std::string_view line) {
  std::string_view name;
  if (form_ == Form::kFree) {
    std::string_view tok[3];
    if (SplitFields(line, tok) != 2) return Error("expected QCMATRIX and a row name");
    name = tok[1];
  } else {
    name = Trim(line.substr(std::min(line.size(), std::string_view("QCMATRIX").size())));
    if (name.empty()) return Error("expected QCMATRIX and a row name");
  }
  int row = 0;
  if (int rc = FindRow(name, row); rc != TARQ_RETCODE_OK) return rc;
  if (row == kObjRow || rowSense_[row] == 'N') return Error("QCMATRIX for the free row " + Quote(name));
  if (rowQuad_[row]) return Error("a second QCMATRIX for row " + Quote(name));
  rowQuad_[row] = 1;
  currentQcRow_ = row;
  return TARQ_RETCODE_OK;
}

int MpsParser::QuadLine(std::string_view line) {
  std::string_view first, second, valueText;
  if (form_ == Form::kFree) {
    std::string_view tok[3];
    if (SplitFields(line, tok) != 3) return Error("expected two column names and a value");
    first = tok[0];
    second = tok[1];
    valueText = tok[2];
  } else {
    first = FixedField(line, kF2);
    second = FixedField(line, kF3);
    valueText = FixedField(line, kF4);
    if (first.empty() || second.empty() || valueText.empty()) return Error("expected two column names and a value");
  }
  int i = 0, j = 0;
  double v = 0;
  if (int rc = FindCol(first, i); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = FindCol(second, j); rc != TARQ_RETCODE_OK) return rc;
  if (int rc = Number(valueText, v); rc != TARQ_RETCODE_OK) return rc;
  if (!ValidCoef(v)) return Error("quadratic coefficient " + Quote(valueText) + " is out of range");
  if (v == 0) return TARQ_RETCODE_OK;
  if (section_ == Section::kQcMatrix) {
    qcRow_.push_back(currentQcRow_);
    qcFirst_.push_back(i);
    qcSecond_.push_back(j);
    qcValue_.push_back(v);
    return TARQ_RETCODE_OK;
  }
  // x'Qx / 2: QUADOBJ's off-diagonal values count for both triangles, every other value once.
  QuadTerms& t = data_.quad.objective;
  t.row.push_back(i);
  t.col.push_back(j);
  t.val.push_back(section_ == Section::kQuadObj && i != j ? v : 0.5 * v);
  return TARQ_RETCODE_OK;
}

int MpsParser::SplitQuadraticRows() {
  const size_t m = rowSense_.size();
  std::vector<int> newRow(m, -1), quadRow(m, -1);
  int linear = 0, quad = 0;
  for (size_t i = 0; i < m; ++i) {
    if (!rowQuad_[i]) {
      newRow[i] = linear++;
      continue;
    }
    if (!std::isnan(range_[i])) {
      return Error("a range for the quadratic row " + Quote(data_.rowNames[i]) + ", which cannot have one");
    }
    if (!(rhs_[i] < kInf && rhs_[i] > -kInf)) {
      return Error("an infinite right-hand side for the quadratic row " + Quote(data_.rowNames[i]));
    }
    quadRow[i] = quad++;
  }
  if (quad == 0) return TARQ_RETCODE_OK;
  QuadRowTable& q = data_.quad.rows;
  // Linear entries of the quadratic rows, by row; the other entries stay, renumbered.
  std::vector<std::int64_t> count(static_cast<size_t>(quad) + 1, 0);
  for (int r : data_.rowIndex) {
    if (quadRow[r] >= 0) ++count[static_cast<size_t>(quadRow[r]) + 1];
  }
  for (size_t k = 1; k < count.size(); ++k) count[k] += count[k - 1];
  q.linBegin = count;
  q.linIdx.resize(static_cast<size_t>(count.back()));
  q.linVal.resize(static_cast<size_t>(count.back()));
  std::vector<std::int64_t> next(count.begin(), count.end() - 1);
  std::int64_t out = 0;
  const size_t n = data_.colBegin.size() - 1;
  std::int64_t from = 0;
  for (size_t j = 0; j < n; ++j) {
    const std::int64_t to = data_.colBegin[j + 1];
    data_.colBegin[j] = out;
    for (std::int64_t p = from; p < to; ++p) {
      const int r = data_.rowIndex[static_cast<size_t>(p)];
      if (quadRow[r] >= 0) {
        const auto at = static_cast<size_t>(next[static_cast<size_t>(quadRow[r])]++);
        q.linIdx[at] = static_cast<int>(j);
        q.linVal[at] = data_.value[static_cast<size_t>(p)];
      } else {
        data_.rowIndex[static_cast<size_t>(out)] = newRow[r];
        data_.value[static_cast<size_t>(out)] = data_.value[static_cast<size_t>(p)];
        ++out;
      }
    }
    from = to;
  }
  data_.colBegin[n] = out;
  data_.rowIndex.resize(static_cast<size_t>(out));
  data_.value.resize(static_cast<size_t>(out));
  // Quadratic terms grouped by row, in file order within a row.
  std::vector<size_t> order(qcRow_.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return quadRow[qcRow_[a]] < quadRow[qcRow_[b]]; });
  q.quadBegin.assign(1, 0);
  for (size_t k : order) {
    q.quadRow.push_back(qcFirst_[k]);
    q.quadCol.push_back(qcSecond_[k]);
    q.quadVal.push_back(qcValue_[k]);
  }
  std::vector<std::int64_t> perRow(static_cast<size_t>(quad) + 1, 0);
  for (int r : qcRow_) ++perRow[static_cast<size_t>(quadRow[r]) + 1];
  for (size_t k = 1; k < perRow.size(); ++k) perRow[k] += perRow[k - 1];
  q.quadBegin = perRow;
  // Senses, right-hand sides and names move; the linear rows close up.
  std::vector<std::string_view> names;
  std::vector<char> drop(m, 0);
  for (size_t i = 0; i < m; ++i) {
    if (quadRow[i] < 0) continue;
    q.sense.push_back(rowSense_[i]);
    q.rhs.push_back(rhs_[i]);
    names.push_back(data_.rowNames[i]);
    drop[i] = 1;
  }
  std::vector<std::string> owned(names.begin(), names.end());
  std::vector<const char*> pointers;
  for (const std::string& name : owned) pointers.push_back(name.c_str());
  q.names.Append(quad, pointers.data());
  EraseFlagged(data_.rowNames, drop);
  EraseFlagged(data_.rowLower, drop);
  EraseFlagged(data_.rowUpper, drop);
  return TARQ_RETCODE_OK;
}

int MpsParser::CheckTail(LineReader& lines) {
  std::string_view line;
  while (lines.Next(line)) {
    if (line.empty() || IsBlank(line[0])) continue;
    std::string_view tok[1];
    SplitFields(line, tok);
    // A quadratic section after ENDATA belongs to a second part (whose layout of Q differs
    // between writers): rejected rather than read or dropped.
    const char* name = UnsupportedSection(tok[0]);
    for (const char* quad : {"QUADOBJ", "QMATRIX", "QCMATRIX", "SOS", "INDICATORS", "CSECTION"}) {
      if (name == nullptr && EqualNoCase(tok[0], quad)) name = quad;
    }
    if (name != nullptr) {
      line_ = lines.Number();
      return Error(std::string("the ") + name + " section (after ENDATA) is not supported");
    }
  }
  return TARQ_RETCODE_OK;
}

int MpsParser::Finish() {
  const size_t m = rowSense_.size();
  data_.rowLower.resize(m);
  data_.rowUpper.resize(m);
  for (size_t i = 0; i < m; ++i) {
    const double b = rhs_[i], r = range_[i];
    const bool ranged = !std::isnan(r);
    double lo = -kInf, up = kInf;
    switch (rowSense_[i]) {
      case 'L':
        up = b;
        if (ranged) lo = b - std::fabs(r);
        break;
      case 'G':
        lo = b;
        if (ranged) up = b + std::fabs(r);
        break;
      case 'E':
        lo = up = b;
        if (ranged && r > 0) up = b + r;
        if (ranged && r < 0) lo = b + r;
        break;
      default: break;
    }
    if (std::isnan(lo) || std::isnan(up) || lo >= kInf || up <= -kInf) {
      return Error("the RHS and range of row " + Quote(data_.rowNames[i]) + " give no valid bounds");
    }
    data_.rowLower[i] = ClampInf(lo);
    data_.rowUpper[i] = ClampInf(up);
  }
  if (int rc = SplitQuadraticRows(); rc != TARQ_RETCODE_OK) return rc;
  if (sos_cone_.Empty()) return TARQ_RETCODE_OK;
  const MpsSosCone::RowInfo info{&rowIndex_, haveObjRow_ ? objRowName_ : std::string_view(), &rowSense_, &rhs_,
                                 &range_, &rowQuad_};
  return sos_cone_.Resolve(colIndex_, info, data_, *err_);
}

}  // namespace

int ParseMps(Problem& problem, std::string_view text, IoError& err) {
  IoError freeErr;
  {
    MpsParser parser(text, Form::kFree);
    if (parser.Run(freeErr) == TARQ_RETCODE_OK) return parser.Load(problem, err);
  }
  IoError fixedErr;
  MpsParser parser(text, Form::kFixed);
  if (parser.Run(fixedErr) == TARQ_RETCODE_OK) return parser.Load(problem, err);
  err = fixedErr.at > freeErr.at ? std::move(fixedErr) : std::move(freeErr);
  return err.code;
}

}  // namespace tarq_solver
