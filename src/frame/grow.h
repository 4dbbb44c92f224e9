// Element access checks and growing lists ahead. Growing ahead: before appending k elements to a list of capacity c and size s, the list
// reserves c + k when 2c <= s + k, and otherwise relies on ordinary growth.
#pragma once

#include <cstddef>

namespace Tarq::detail {

// Whether i addresses an element of v.
template <class Vec>
bool InRange(const Vec& v, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < v.size();
}

template <class Vec>
void GrowAhead(Vec& v, std::size_t k) {
  const std::size_t c = v.capacity();
  if (2 * c <= v.size() + k) v.reserve(c + k);
}

}  // namespace Tarq::detail
