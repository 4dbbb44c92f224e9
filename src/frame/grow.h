// Growing lists ahead: before appending k elements to a list of capacity c and size s, the list
// reserves c + k when 2c <= s + k, and otherwise relies on ordinary growth.
#pragma once

#include <cstddef>

namespace Tarq::detail {

template <class Vec>
void GrowAhead(Vec& v, std::size_t k) {
  const std::size_t c = v.capacity();
  if (2 * c <= v.size() + k) v.reserve(c + k);
}

}  // namespace Tarq::detail
