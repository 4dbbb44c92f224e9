// Geometric reservation for growing vectors: appending n elements in many small steps costs
// O(n) in all, while the spare capacity stays below half of the size.
#pragma once

#include <algorithm>
#include <cstddef>

namespace tarq_solver {

template <class Vec>
void ReserveFor(Vec& v, std::size_t extra) {
  const std::size_t need = v.size() + extra;
  if (need <= v.capacity()) return;
  v.reserve(std::max(need, v.capacity() + v.capacity() / 2));
}

}  // namespace tarq_solver
