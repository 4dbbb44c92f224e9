// Tokens of the LP format. Blanks and line breaks separate tokens; "\" starts a comment that runs
// to the end of the line, "\*" one that runs to the next "*\". A name is a run of letters,
// digits and the characters !"#$%&()/,.;?@_`'{}|~ (and bytes above 127) that does not begin
// with a digit; a number is a run of digits with an optional fraction and exponent and no sign.
// The lexer keeps two tokens of look-ahead and never copies text.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarq_solver {

enum class LpTok : std::uint8_t {
  kEnd, kNumber, kName, kPlus, kMinus, kColon, kLe, kGe, kEq, kLBracket, kRBracket, kStar, kCaret, kOther
};

struct LpToken {
  LpTok kind = LpTok::kEnd;
  std::string_view text;
  double number = 0;
  std::int64_t line = 0;
  bool lineStart = false;  // the first token of its line
};

inline bool IsLpNameChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u >= 0x80) return true;
  switch (c) {
    case '!': case '"': case '#': case '$': case '%': case '&': case '(': case ')': case '/': case ',':
    case '.': case ';': case '?': case '@': case '_': case '`': case '\'': case '{': case '}': case '|':
    case '~': return true;
    default: return false;
  }
}

class LpLexer {
 public:
  explicit LpLexer(std::string_view text) : text_(text) {
    cur_ = Scan();
    next_ = Scan();
  }
  const LpToken& Cur() const { return cur_; }
  const LpToken& Next() const { return next_; }
  void Advance() {
    cur_ = next_;
    next_ = Scan();
  }
  // The line the lexer has reached (for errors at the end of the text).
  std::int64_t Line() const { return line_; }

 private:
  LpToken Scan();

  std::string_view text_;
  size_t pos_ = 0;
  std::int64_t line_ = 1;
  bool atLineStart_ = true;
  LpToken cur_;
  LpToken next_;
};

}  // namespace tarq_solver
