#include "io/json_value.h"

#include <cstdio>

#include "io/io_common.h"

namespace tarq_solver {

const JsonValue* JsonValue::Find(std::string_view key) const {
  if (kind != Kind::kObject) return nullptr;
  auto it = members.find(key);
  return it == members.end() ? nullptr : &it->second;
}

namespace {

constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  bool Document(JsonValue& out) {
    if (!Value(out, 0)) return false;
    Skip();
    return pos_ == s_.size() || Error("unexpected text after the value");
  }
  long long Line() const {
    long long line = 1;
    for (size_t i = 0; i < pos_ && i < s_.size(); ++i) line += s_[i] == '\n';
    return line;
  }
  const std::string& What() const { return what_; }

 private:
  bool Error(std::string what) {
    if (what_.empty()) what_ = std::move(what);
    return false;
  }
  void Skip() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) ++pos_;
  }
  bool Eat(char c) {
    Skip();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return Error("unknown literal");
    pos_ += word.size();
    return true;
  }

  bool Value(JsonValue& out, int depth) {
    if (depth > kMaxDepth) return Error("nesting too deep");
    Skip();
    if (pos_ >= s_.size()) return Error("unexpected end of text");
    const char c = s_[pos_];
    if (c == '{') return Object(out, depth);
    if (c == '[') return Array(out, depth);
    if (c == '"') {
      out.kind = JsonValue::Kind::kString;
      return String(out.text);
    }
    if (c == 't' || c == 'f') {
      out.kind = JsonValue::Kind::kBool;
      out.boolean = c == 't';
      return Literal(c == 't' ? "true" : "false");
    }
    if (c == 'n') return Literal("null");
    return Number(out);
  }

  bool Number(JsonValue& out) {
    const size_t start = pos_;
    while (pos_ < s_.size() && std::string_view("+-0123456789.eE").find(s_[pos_]) != std::string_view::npos) ++pos_;
    if (start == pos_ || !ParseNumber(s_.substr(start, pos_ - start), out.number)) return Error("bad number");
    out.kind = JsonValue::Kind::kNumber;
    return true;
  }

  static void PutUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  bool String(std::string& out) {
    ++pos_;  // opening quote
    out.clear();
    while (pos_ < s_.size()) {
      const char c = s_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Error("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) break;
      const char e = s_[pos_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          if (pos_ + 4 > s_.size()) return Error("short \\u escape");
          unsigned cp = 0;
          for (int k = 0; k < 4; ++k) {
            const char h = s_[pos_++];
            cp <<= 4;
            if (h >= '0' && h <= '9')
              cp |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
              cp |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
              cp |= static_cast<unsigned>(h - 'A' + 10);
            else
              return Error("bad \\u escape");
          }
          PutUtf8(out, cp);
          break;
        }
        default:
          return Error("bad escape in a string");
      }
    }
    return Error("unterminated string");
  }

  bool Array(JsonValue& out, int depth) {
    ++pos_;
    out.kind = JsonValue::Kind::kArray;
    if (Eat(']')) return true;
    do {
      out.items.emplace_back();
      if (!Value(out.items.back(), depth + 1)) return false;
    } while (Eat(','));
    return Eat(']') || Error("expected ',' or ']'");
  }

  bool Object(JsonValue& out, int depth) {
    ++pos_;
    out.kind = JsonValue::Kind::kObject;
    if (Eat('}')) return true;
    do {
      Skip();
      if (pos_ >= s_.size() || s_[pos_] != '"') return Error("expected a member name");
      std::string key;
      if (!String(key)) return false;
      if (!Eat(':')) return Error("expected ':'");
      JsonValue value;
      if (!Value(value, depth + 1)) return false;
      out.members[key] = std::move(value);
    } while (Eat(','));
    return Eat('}') || Error("expected ',' or '}'");
  }

  std::string_view s_;
  size_t pos_ = 0;
  std::string what_;
};

}  // namespace

bool ParseJson(std::string_view text, JsonValue& out, long long& line, std::string& what) {
  Parser parser(text);
  out = JsonValue();
  if (parser.Document(out)) return true;
  line = parser.Line();
  what = parser.What();
  return false;
}

std::string JsonQuote(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace tarq_solver
