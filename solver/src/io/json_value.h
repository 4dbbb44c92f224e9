// A small JSON reader for solution files: parses a whole text into a tree of values. Numbers are
// doubles; strings are unescaped (\uXXXX to UTF-8). Nesting is limited to 64 levels so that no
// input can exhaust the stack.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarq_solver {

struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue, std::less<>> members;

  // Member by key, or null when this is not an object or has no such member.
  const JsonValue* Find(std::string_view key) const;
};

// Parses text; returns false with the 1-based line and a message when it is not valid JSON.
bool ParseJson(std::string_view text, JsonValue& out, long long& line, std::string& what);

// Writes s as a JSON string literal (with quotes).
std::string JsonQuote(std::string_view s);

}  // namespace tarq_solver
