#include "io/mps_sos_cone.h"

#include <algorithm>
#include <cmath>

#include "store/checks.h"
#include "store/tables.h"

namespace tarq_solver {

namespace {

bool EqualNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  }
  return true;
}

int SosType(std::string_view t) {
  if (EqualNoCaseAscii(t, "S1")) return TARQ_SOS_TYPE1;
  if (EqualNoCaseAscii(t, "S2")) return TARQ_SOS_TYPE2;
  return 0;
}

}  // namespace

int MpsSosCone::SosLine(std::string_view line, std::int64_t at, IoError& err) {
  std::string_view f[4];
  const size_t n = SplitFields(line, f);
  double w = 0;
  // Members: "column:weight" or "column weight".
  std::string_view col, weight;
  if (n == 1) {
    const size_t colon = f[0].rfind(':');
    if (colon == 0) return Fail(err, TARQ_RETCODE_INVALID, at, "expected a member column:weight, found " + Quote(line));
    col = f[0].substr(0, colon);
    if (colon != std::string_view::npos) weight = f[0].substr(colon + 1);
  } else if (n == 2 && ParseNumber(f[1], w)) {
    col = f[0];
    weight = f[1];
  }
  if (!col.empty()) {
    if (sosType_.empty()) return Fail(err, TARQ_RETCODE_INVALID, at, "an SOS member before any set");
    if (weight.empty() && f[0].find(':') == std::string_view::npos) {
      w = static_cast<double>(sosBegin_.back() - sosBegin_[sosBegin_.size() - 2] + 1);  // its position
    } else if (!ParseNumber(weight, w) || !ValidCoef(w)) {
      return Fail(err, TARQ_RETCODE_INVALID, at, "invalid SOS weight " + Quote(weight));
    }
    sosCol_.push_back(col);
    sosWeight_.push_back(w);
    sosColLine_.push_back(at);
    ++sosBegin_.back();
    return TARQ_RETCODE_OK;
  }
  // Set headers: "S1 SOS name [priority]", "S1 name" or "name S1".
  int type = 0;
  if ((n == 3 || n == 4) && EqualNoCaseAscii(f[1], "SOS")) {
    type = SosType(f[0]);
  } else if (n == 2) {
    type = SosType(f[0]) != 0 ? SosType(f[0]) : SosType(f[1]);
  }
  if (type == 0) return Fail(err, TARQ_RETCODE_INVALID, at, "expected an SOS set (S1 or S2) or a member, found " + Quote(line));
  sosType_.push_back(type);
  sosLine_.push_back(at);
  sosBegin_.push_back(sosBegin_.back());
  return TARQ_RETCODE_OK;
}

int MpsSosCone::IndicatorLine(std::string_view line, std::int64_t at, IoError& err) {
  std::string_view f[4];
  if (SplitFields(line, f) != 4 || !EqualNoCaseAscii(f[0], "IF")) {
    return Fail(err, TARQ_RETCODE_INVALID, at, "expected IF row column value, found " + Quote(line));
  }
  double v = 0;
  if (!ParseNumber(f[3], v) || (v != 0 && v != 1)) {
    return Fail(err, TARQ_RETCODE_INVALID, at, "an indicator value must be 0 or 1, found " + Quote(f[3]));
  }
  indRow_.push_back(f[1]);
  indCol_.push_back(f[2]);
  indVal_.push_back(v == 1 ? 1 : 0);
  indLine_.push_back(at);
  return TARQ_RETCODE_OK;
}

int MpsSosCone::ConeHeader(std::string_view line, std::int64_t at, IoError& err) {
  std::string_view f[5];
  double param = 0;
  if (SplitFields(line, f) != 4 || !ParseNumber(f[2], param)) {
    return Fail(err, TARQ_RETCODE_INVALID, at, "expected CSECTION name parameter QUAD or RQUAD, found " + Quote(line));
  }
  int type = 0;
  if (EqualNoCaseAscii(f[3], "QUAD")) type = TARQ_CONE_QUAD;
  if (EqualNoCaseAscii(f[3], "RQUAD")) type = TARQ_CONE_RQUAD;
  if (type == 0) return Fail(err, TARQ_RETCODE_INVALID, at, "cone type " + Quote(f[3]) + " is not supported (QUAD and RQUAD are)");
  coneType_.push_back(type);
  coneLine_.push_back(at);
  coneBegin_.push_back(coneBegin_.back());
  return TARQ_RETCODE_OK;
}

int MpsSosCone::ConeLine(std::string_view line, std::int64_t at, IoError& err) {
  std::string_view f[2];
  if (SplitFields(line, f) != 1) return Fail(err, TARQ_RETCODE_INVALID, at, "expected one column name, found " + Quote(line));
  coneCol_.push_back(f[0]);
  coneColLine_.push_back(at);
  ++coneBegin_.back();
  return TARQ_RETCODE_OK;
}

int MpsSosCone::Resolve(const NameIndex& cols, const RowInfo& info, ParsedProblem& data, IoError& err) {
  SosConeStore& s = data.sosCones;
  const int nCol = static_cast<int>(data.obj.size());
  std::vector<int> stamp(static_cast<size_t>(nCol), -1);
  auto column = [&](std::string_view name, std::int64_t at, int& j) {
    j = cols.Find(name);
    if (j < 0) return Fail(err, TARQ_RETCODE_INVALID, at, "unknown column " + Quote(name));
    return TARQ_RETCODE_OK;
  };

  for (size_t k = 0; k < sosType_.size(); ++k) {
    if (sosBegin_[k + 1] == sosBegin_[k]) return Fail(err, TARQ_RETCODE_INVALID, sosLine_[k], "an SOS set without members");
    s.sos.type.push_back(sosType_[k]);
    const size_t first = s.sos.col.size();
    for (std::int64_t p = sosBegin_[k]; p < sosBegin_[k + 1]; ++p) {
      int j = 0;
      if (int rc = column(sosCol_[p], sosColLine_[p], j); rc != TARQ_RETCODE_OK) return rc;
      if (stamp[j] == static_cast<int>(k)) {
        return Fail(err, TARQ_RETCODE_INVALID, sosColLine_[p], "column " + Quote(sosCol_[p]) + " twice in one SOS set");
      }
      stamp[j] = static_cast<int>(k);
      s.sos.col.push_back(j);
      s.sos.weight.push_back(sosWeight_[p]);
    }
    s.sos.begin.push_back(static_cast<std::int64_t>(s.sos.col.size()));
    std::vector<double> w(s.sos.weight.begin() + static_cast<std::ptrdiff_t>(first), s.sos.weight.end());
    std::sort(w.begin(), w.end());
    if (std::adjacent_find(w.begin(), w.end()) != w.end()) {
      return Fail(err, TARQ_RETCODE_INVALID, sosLine_[k], "two members of one SOS set have the same weight");
    }
  }

  std::fill(stamp.begin(), stamp.end(), -1);
  for (size_t k = 0; k < coneType_.size(); ++k) {
    const std::int64_t n = coneBegin_[k + 1] - coneBegin_[k];
    if (n < (coneType_[k] == TARQ_CONE_QUAD ? 2 : 3)) {
      return Fail(err, TARQ_RETCODE_INVALID, coneLine_[k],
                  std::string("a ") + (coneType_[k] == TARQ_CONE_QUAD ? "QUAD cone needs 2" : "RQUAD cone needs 3") +
                      " or more columns, it has " + std::to_string(n));
    }
    s.cones.type.push_back(coneType_[k]);
    for (std::int64_t p = coneBegin_[k]; p < coneBegin_[k + 1]; ++p) {
      int j = 0;
      if (int rc = column(coneCol_[p], coneColLine_[p], j); rc != TARQ_RETCODE_OK) return rc;
      if (stamp[j] == static_cast<int>(k)) {
        return Fail(err, TARQ_RETCODE_INVALID, coneColLine_[p], "column " + Quote(coneCol_[p]) + " twice in one cone");
      }
      stamp[j] = static_cast<int>(k);
      s.cones.col.push_back(j);
    }
    s.cones.begin.push_back(static_cast<std::int64_t>(s.cones.col.size()));
  }

  if (indRow_.empty()) return TARQ_RETCODE_OK;
  // Indicator rows: original row -> linear row (the quadratic rows are gone), and which
  // indicator takes it.
  const size_t m = info.sense->size();
  std::vector<int> linear(m, -1);
  int nLinear = 0;
  for (size_t i = 0; i < m; ++i) {
    if (!(*info.quad)[i]) linear[i] = nLinear++;
  }
  std::vector<int> indOf(static_cast<size_t>(nLinear), -1);
  IndicatorTable& ind = s.indicators;
  for (size_t k = 0; k < indRow_.size(); ++k) {
    const std::int64_t at = indLine_[k];
    const int i = indRow_[k] == info.objRow ? -1 : info.rows->Find(indRow_[k]);
    if (i < 0) return Fail(err, TARQ_RETCODE_INVALID, at, "unknown row " + Quote(indRow_[k]));
    const char sense = (*info.sense)[i];
    if (sense == 'N') return Fail(err, TARQ_RETCODE_INVALID, at, "the free row " + Quote(indRow_[k]) + " cannot be an indicator row");
    if ((*info.quad)[i]) return Fail(err, TARQ_RETCODE_INVALID, at, "the quadratic row " + Quote(indRow_[k]) + " cannot be an indicator row");
    if (!std::isnan((*info.range)[i])) return Fail(err, TARQ_RETCODE_INVALID, at, "the ranged row " + Quote(indRow_[k]) + " cannot be an indicator row");
    const double rhs = (*info.rhs)[i];
    if (!ValidCoef(rhs)) return Fail(err, TARQ_RETCODE_INVALID, at, "the indicator row " + Quote(indRow_[k]) + " needs a finite right-hand side");
    if (indOf[linear[i]] >= 0) return Fail(err, TARQ_RETCODE_INVALID, at, "a second IF for row " + Quote(indRow_[k]));
    int b = 0;
    if (int rc = column(indCol_[k], at, b); rc != TARQ_RETCODE_OK) return rc;
    const char t = data.colType[b];
    if (t != 'B' && !(t == 'I' && data.colLower[b] >= 0 && data.colUpper[b] <= 1)) {
      return Fail(err, TARQ_RETCODE_INVALID, at, "the indicator column " + Quote(indCol_[k]) + " is not binary");
    }
    indOf[linear[i]] = static_cast<int>(k);
    ind.type.push_back(0);
    ind.binCol.push_back(b);
    ind.binVal.push_back(indVal_[k]);
    ind.sense.push_back(sense);
    ind.bound.push_back(rhs);
  }
  // Entries of the indicator rows, by indicator; the other rows close up.
  const size_t nInd = indRow_.size();
  std::vector<std::int64_t> count(nInd + 1, 0);
  for (int r : data.rowIndex) {
    if (indOf[r] >= 0) ++count[static_cast<size_t>(indOf[r]) + 1];
  }
  for (size_t k = 1; k < count.size(); ++k) count[k] += count[k - 1];
  ind.begin = count;
  ind.col.resize(static_cast<size_t>(count.back()));
  ind.val.resize(static_cast<size_t>(count.back()));
  std::vector<std::int64_t> next(count.begin(), count.end() - 1);
  std::vector<int> newRow(static_cast<size_t>(nLinear), -1);
  int kept = 0;
  for (int r = 0; r < nLinear; ++r) {
    if (indOf[r] < 0) newRow[r] = kept++;
  }
  std::int64_t out = 0, from = 0;
  for (int j = 0; j < nCol; ++j) {
    const std::int64_t to = data.colBegin[j + 1];
    data.colBegin[j] = out;
    for (std::int64_t p = from; p < to; ++p) {
      const int r = data.rowIndex[p];
      if (indOf[r] >= 0) {
        const std::int64_t q = next[indOf[r]]++;
        ind.col[q] = j;
        ind.val[q] = data.value[p];
      } else {
        data.rowIndex[out] = newRow[r];
        data.value[out] = data.value[p];
        ++out;
      }
    }
    from = to;
  }
  data.colBegin[nCol] = out;
  data.rowIndex.resize(static_cast<size_t>(out));
  data.value.resize(static_cast<size_t>(out));
  std::vector<char> drop(static_cast<size_t>(nLinear), 0);
  std::vector<std::string> names(nInd);
  for (int r = 0; r < nLinear; ++r) {
    if (indOf[r] < 0) continue;
    drop[r] = 1;
    names[indOf[r]] = std::string(data.rowNames[r]);
  }
  std::vector<const char*> pointers;
  for (const std::string& name : names) pointers.push_back(name.c_str());
  ind.names.Append(static_cast<int>(nInd), pointers.data());
  EraseFlagged(data.rowNames, drop);
  EraseFlagged(data.rowLower, drop);
  EraseFlagged(data.rowUpper, drop);
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
