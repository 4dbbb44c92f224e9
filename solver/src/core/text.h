// Text helpers shared across the solver library.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarq_solver {

constexpr unsigned char LowerAscii(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Equal texts without regard to ASCII letter case.
constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(static_cast<unsigned char>(a[i])) != LowerAscii(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace tarq_solver
