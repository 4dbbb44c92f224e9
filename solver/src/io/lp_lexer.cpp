#include "io/lp_lexer.h"

#include "io/io_common.h"

namespace tarq_solver {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

LpToken LpLexer::Scan() {
  // Skip blanks, line breaks and comments.
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      atLineStart_ = true;
      ++pos_;
    } else if (IsBlank(c)) {
      ++pos_;
    } else if (c == '\\') {
      if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
        const size_t close = text_.find("*\\", pos_ + 2);
        const size_t stop = close == std::string_view::npos ? text_.size() : close + 2;
        for (size_t k = pos_; k < stop; ++k) line_ += text_[k] == '\n';
        pos_ = stop;
      } else {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      }
    } else {
      break;
    }
  }
  LpToken t;
  t.line = line_;
  t.lineStart = atLineStart_;
  atLineStart_ = false;
  if (pos_ >= text_.size()) return t;
  const size_t start = pos_;
  const char c = text_[pos_];
  const char d = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
  auto single = [&](LpTok kind, size_t len) {
    pos_ += len;
    t.kind = kind;
    t.text = text_.substr(start, len);
    return t;
  };
  if (IsDigit(c) || (c == '.' && IsDigit(d))) {
    size_t i = pos_;
    while (i < text_.size() && IsDigit(text_[i])) ++i;
    if (i < text_.size() && text_[i] == '.') {
      ++i;
      while (i < text_.size() && IsDigit(text_[i])) ++i;
    }
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
      size_t k = i + 1;
      if (k < text_.size() && (text_[k] == '+' || text_[k] == '-')) ++k;
      if (k < text_.size() && IsDigit(text_[k])) {
        while (k < text_.size() && IsDigit(text_[k])) ++k;
        i = k;
      }
    }
    t.kind = LpTok::kNumber;
    t.text = text_.substr(start, i - start);
    pos_ = i;
    if (!ParseNumber(t.text, t.number)) t.kind = LpTok::kOther;
    return t;
  }
  if (IsLpNameChar(c)) {
    size_t i = pos_;
    while (i < text_.size() && IsLpNameChar(text_[i])) ++i;
    return single(LpTok::kName, i - pos_);
  }
  switch (c) {
    case '+': return single(LpTok::kPlus, 1);
    case '-': return single(LpTok::kMinus, 1);
    case ':': return single(LpTok::kColon, 1);
    case '[': return single(LpTok::kLBracket, 1);
    case ']': return single(LpTok::kRBracket, 1);
    case '^': return single(LpTok::kCaret, 1);
    case '*': return single(LpTok::kStar, 1);
    case '<': return single(LpTok::kLe, d == '=' ? 2 : 1);
    case '>': return single(LpTok::kGe, d == '=' ? 2 : 1);
    case '=':
      if (d == '<') return single(LpTok::kLe, 2);
      if (d == '>') return single(LpTok::kGe, 2);
      return single(LpTok::kEq, 1);
    default: return single(LpTok::kOther, 1);
  }
}

}  // namespace tarq_solver
