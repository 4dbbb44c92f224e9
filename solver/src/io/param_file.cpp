#include "io/param_file.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>
#include <type_traits>

#include "io/io_common.h"
#include "params/param_set.h"
#include "store/problem.h"

namespace tarq_solver {
namespace detail {

constexpr std::size_t kMaxLineLength = 65536;

// Splits off the next blank-separated token of rest.
std::string_view NextToken(std::string_view& rest) {
  std::size_t b = 0;
  while (b < rest.size() && IsBlank(rest[b])) ++b;
  std::size_t e = b;
  while (e < rest.size() && !IsBlank(rest[e])) ++e;
  std::string_view token = rest.substr(b, e - b);
  rest.remove_prefix(e);
  return token;
}

enum class NumParse { kOk, kNotNumber, kNotInteger, kOutOfRange };

// A decimal numeral as std::from_chars reads it ("inf" and "nan" included), with an optional
// leading "+". Independent of the locale.
NumParse ParseDouble(std::string_view t, double* out) {
  if (!t.empty() && t[0] == '+') {
    t.remove_prefix(1);
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) return NumParse::kNotNumber;
  }
  if (t.empty()) return NumParse::kNotNumber;
  double v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (end != t.data() + t.size()) return NumParse::kNotNumber;
  if (ec == std::errc::result_out_of_range) return NumParse::kOutOfRange;
  if (ec != std::errc()) return NumParse::kNotNumber;
  *out = v;
  return NumParse::kOk;
}

// An integer numeral, or a decimal numeral whose value is a whole number ("1e3", "2.0").
NumParse ParseInt(std::string_view t, int* out) {
  std::string_view digits = t;
  const bool plus = !digits.empty() && digits[0] == '+';
  if (plus) digits.remove_prefix(1);
  if (!digits.empty() && !(plus && digits[0] == '-')) {
    long long v = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (end == digits.data() + digits.size()) {
      if (ec == std::errc::result_out_of_range || (ec == std::errc() && (v < INT_MIN || v > INT_MAX))) {
        return NumParse::kOutOfRange;
      }
      if (ec == std::errc()) {
        *out = static_cast<int>(v);
        return NumParse::kOk;
      }
    }
  }
  double d = 0;
  NumParse r = ParseDouble(t, &d);
  if (r != NumParse::kOk) return r;
  if (std::isnan(d) || (std::isfinite(d) && d != std::floor(d))) return NumParse::kNotInteger;
  if (!(d >= INT_MIN && d <= INT_MAX)) return NumParse::kOutOfRange;
  *out = static_cast<int>(d);
  return NumParse::kOk;
}

// Shortest text that reads back as v; for limits in messages.
std::string ShortText(double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : std::string("?");
}
std::string ShortText(int v) { return std::to_string(v); }

// Full-precision text of a double: 17 significant digits, like printf's %.17g in the C locale.
void AppendFull(std::string& out, double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
  out.append(buf, ec == std::errc() ? end : buf);
}
void AppendFull(std::string& out, int v) { out += std::to_string(v); }

// s in double quotes, with control bytes written as \xNN so a log line stays one printable line.
std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

template <class Id>
int SetFromText(Id id, std::string_view text, ParamSet& params, std::string* what) {
  const auto& info = Info(id);
  ValueOf<Id> value{};
  NumParse parsed;
  if constexpr (std::is_same_v<ValueOf<Id>, int>) {
    parsed = ParseInt(text, &value);
  } else {
    parsed = ParseDouble(text, &value);
  }
  const std::string subject = "value " + Quoted(text) + " of " + Quoted(info.name);
  switch (parsed) {
    case NumParse::kOk: break;
    case NumParse::kNotNumber: *what = subject + " is not a number"; return 3;
    case NumParse::kNotInteger: *what = subject + " is not an integer"; return 3;
    case NumParse::kOutOfRange:
      *what = subject + (std::is_same_v<ValueOf<Id>, int> ? " is out of the range of an int"
                                                            : " is out of the range of a double");
      return 3;
  }
  if (params.Set(id, value) != 0) {
    *what = subject + " is outside [" + ShortText(info.min) + ", " + ShortText(info.max) + "]";
    return 3;
  }
  return 0;
}

template <class Id>
void AppendChanged(std::string& out, const ParamSet& params) {
  for (std::size_t i = 0; i < IdTraits<Id>::Table().size(); ++i) {
    Id id = static_cast<Id>(i);
    if (params.Get(id) == params.Default(id)) continue;
    out += Info(id).name;
    out += ' ';
    AppendFull(out, params.Get(id));
    out += '\n';
  }
}

}  // namespace detail

std::string FormatParamFile(const ParamSet& params) {
  std::string out = "# Tarq parameter file: the parameters that differ from their defaults\n";
  detail::AppendChanged<DblParam>(out, params);
  detail::AppendChanged<IntParam>(out, params);
  return out;
}

int ApplyParamLine(std::string_view line, ParamSet& params, std::string* what) {
  line = line.substr(0, line.find('#'));
  std::string_view name = detail::NextToken(line);
  if (name.empty()) return 0;
  std::string_view value = detail::NextToken(line);
  std::string_view extra = detail::NextToken(line);
  auto ref = FindEntry(name);
  if (!ref) {
    *what = "unknown parameter " + detail::Quoted(name);
    return 3;
  }
  const char* canonical = NameOf(*ref);
  if (ref->kind != ParamKind::kDblParam && ref->kind != ParamKind::kIntParam) {
    *what = detail::Quoted(canonical) + " is an attribute, not a parameter";
    return 3;
  }
  if (value.empty()) {
    *what = "missing value of " + detail::Quoted(canonical);
    return 3;
  }
  if (!extra.empty()) {
    *what = "unexpected text after the value of " + detail::Quoted(canonical);
    return 3;
  }
  if (ref->kind == ParamKind::kDblParam) {
    return detail::SetFromText(static_cast<DblParam>(ref->id), value, params, what);
  }
  return detail::SetFromText(static_cast<IntParam>(ref->id), value, params, what);
}

int ReadParamFile(Problem& problem, const char* filename) {
  std::string text;
  IoError err;
  if (ReadWholeFile(filename, text, err) != TARQ_RETCODE_OK) {
    problem.Log().Printf("Parameter file \"%s\": %s", filename, err.what.c_str());
    return TARQ_RETCODE_FILE;
  }
  ParamSet staged = problem.Params();
  std::string what;
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    // A UTF-8 byte-order mark before the first line is skipped.
    if (lines.Number() == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    if (line.size() > detail::kMaxLineLength) {
      what = "line longer than " + std::to_string(detail::kMaxLineLength) + " characters";
    } else if (ApplyParamLine(line, staged, &what) == 0) {
      continue;
    }
    problem.Log().Printf("Parameter file \"%s\", line %lld: %s", filename, static_cast<long long>(lines.Number()),
                         what.c_str());
    return TARQ_RETCODE_INVALID;
  }
  problem.Params() = staged;
  ApplyLogParams(problem.Params(), problem.Log());
  return TARQ_RETCODE_OK;
}

int WriteParamFile(const Problem& problem, const char* filename) {
  OutBuffer out;
  IoError err;
  int rc = out.Open(filename, err);
  if (rc == TARQ_RETCODE_OK) {
    out.Put(FormatParamFile(problem.Params()));
    rc = out.Close(err);
  }
  if (rc != TARQ_RETCODE_OK) {
    problem.Log().Printf("Parameter file \"%s\": cannot be written (%s)", filename, err.what.c_str());
    return TARQ_RETCODE_FILE;
  }
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
