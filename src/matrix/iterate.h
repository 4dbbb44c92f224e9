// Walks over strided layouts. Each walker calls a caller-supplied function with storage
// positions (never with elements), so the same walkers serve every entry type. Loops are nested
// at compile time (K axes, K <= 4); an element costs one addition per position and one inlined
// call, with no allocation and no virtual call.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "matrix/shape.h"

namespace Tarq::detail {

template <int K>
using Strides = std::array<std::int64_t, K>;

template <int N>
Strides<N> StridesOf(const Shape<N>& shape) noexcept {
  Strides<N> strides{};
  for (int k = 0; k < N; ++k) strides[k] = shape.Stride(k);
  return strides;
}

namespace walk {

// Row-major nested loops over K axes with one position.
template <int K, class Fn>
inline void One(const std::size_t* dim, const std::int64_t* stride, std::int64_t pos, Fn& fn) {
  if constexpr (K == 0) {
    fn(pos);
  } else if constexpr (K == 1) {
    const std::size_t d = dim[0];
    const std::int64_t s = stride[0];
    for (std::size_t i = 0; i < d; ++i, pos += s) fn(pos);
  } else {
    for (std::size_t i = 0; i < dim[0]; ++i, pos += stride[0]) One<K - 1>(dim + 1, stride + 1, pos, fn);
  }
}

// Row-major nested loops over K axes with two positions, one per layout.
template <int K, class Fn>
inline void Two(const std::size_t* dim, const std::int64_t* sa, const std::int64_t* sb, std::int64_t pa,
                std::int64_t pb, Fn& fn) {
  if constexpr (K == 0) {
    fn(pa, pb);
  } else if constexpr (K == 1) {
    const std::size_t d = dim[0];
    const std::int64_t a = sa[0];
    const std::int64_t b = sb[0];
    for (std::size_t i = 0; i < d; ++i, pa += a, pb += b) fn(pa, pb);
  } else {
    for (std::size_t i = 0; i < dim[0]; ++i, pa += sa[0], pb += sb[0]) {
      Two<K - 1>(dim + 1, sa + 1, sb + 1, pa, pb, fn);
    }
  }
}

inline std::uint64_t Magnitude(std::int64_t s) noexcept {
  return s < 0 ? 0 - static_cast<std::uint64_t>(s) : static_cast<std::uint64_t>(s);
}

// Square tiles of this many indices keep both operands of a two-layout walk in the first-level
// cache when their fastest axes differ.
constexpr std::size_t kTile = 32;

}  // namespace walk

// Calls fn(position) for every element in row-major order of the shape.
template <int N, class Fn>
void ForEachRowMajor(const Shape<N>& shape, Fn&& fn) {
  const Sizes<N> dim = SizesOf(shape);
  const Strides<N> stride = StridesOf(shape);
  walk::One<N>(dim.data(), stride.data(), shape.TotalOffset(), fn);
}

// Calls fn(position) once for every element, in the order the elements lie in storage (axes by
// decreasing stride magnitude). For order-free work (filling, integer sums) on any layout this
// streams through memory as a contiguous loop would.
template <int K, class Fn>
void ForEachInStorageOrder(Sizes<K> dim, Strides<K> stride, std::int64_t base, Fn&& fn) {
  for (int i = 1; i < K; ++i) {  // stable insertion sort of at most four axes
    for (int j = i; j > 0 && walk::Magnitude(stride[j - 1]) < walk::Magnitude(stride[j]); --j) {
      std::swap(dim[j - 1], dim[j]);
      std::swap(stride[j - 1], stride[j]);
    }
  }
  walk::One<K>(dim.data(), stride.data(), base, fn);
}

// Calls fn(positionA, positionB) once for every multi-index of the sizes dim, with its positions
// under layout A (strides sa, base ba) and layout B (sb, bb), in no particular order. Loops run
// in A's storage order; when B's fastest axis differs from A's, those two axes are walked in
// tiles so that both layouts are read and written with cache locality (a transposing copy runs
// close to the speed of a contiguous one).
template <int K, class Fn>
void ForEachPair(const Sizes<K>& dim, const Strides<K>& sa, std::int64_t ba, const Strides<K>& sb,
                 std::int64_t bb, Fn&& fn) {
  // Order the axes by decreasing |stride in A|, axes of size 1 first (they cost nothing).
  struct Axis {
    std::size_t dim;
    std::int64_t a;
    std::int64_t b;
    std::uint64_t KeyA() const noexcept { return dim == 1 ? ~std::uint64_t{0} : walk::Magnitude(a); }
    std::uint64_t KeyB() const noexcept { return dim == 1 ? ~std::uint64_t{0} : walk::Magnitude(b); }
  };
  std::array<Axis, K> axes{};
  for (int k = 0; k < K; ++k) {
    if (dim[k] == 0) return;
    axes[k] = {dim[k], sa[k], sb[k]};
  }
  for (int i = 1; i < K; ++i) {  // stable insertion sort of at most four axes
    for (int j = i; j > 0 && axes[j - 1].KeyA() < axes[j].KeyA(); --j) std::swap(axes[j - 1], axes[j]);
  }
  // B's fastest axis; ties go to A's fastest, the last one.
  int fastB = K - 1;
  for (int k = 0; k < K; ++k) {
    if (axes[k].KeyB() < axes[fastB].KeyB()) fastB = k;
  }
  bool tiled = false;
  if constexpr (K >= 2) {
    if (fastB != K - 1) {
      // Move B's fastest axis next to A's fastest; the last two axes are then walked in tiles.
      for (int k = 0; k + 2 < K; ++k) {
        if (k >= fastB) std::swap(axes[k], axes[k + 1]);
      }
      tiled = true;
    }
  }
  Sizes<K> d{};
  Strides<K> a{};
  Strides<K> b{};
  for (int k = 0; k < K; ++k) {
    d[k] = axes[k].dim;
    a[k] = axes[k].a;
    b[k] = axes[k].b;
  }
  if constexpr (K >= 2) {
    if (tiled) {
      const std::size_t dB = d[K - 2];
      const std::size_t dA = d[K - 1];
      const std::int64_t aB = a[K - 2];
      const std::int64_t bB = b[K - 2];
      const std::int64_t aA = a[K - 1];
      const std::int64_t bA = b[K - 1];
      auto tiles = [&](std::int64_t pa, std::int64_t pb) {
        for (std::size_t t0 = 0; t0 < dB; t0 += walk::kTile) {
          const std::size_t e0 = std::min(dB, t0 + walk::kTile);
          for (std::size_t t1 = 0; t1 < dA; t1 += walk::kTile) {
            const std::size_t e1 = std::min(dA, t1 + walk::kTile);
            for (std::size_t i0 = t0; i0 < e0; ++i0) {
              std::int64_t qa = pa + static_cast<std::int64_t>(i0) * aB + static_cast<std::int64_t>(t1) * aA;
              std::int64_t qb = pb + static_cast<std::int64_t>(i0) * bB + static_cast<std::int64_t>(t1) * bA;
              for (std::size_t i1 = t1; i1 < e1; ++i1, qa += aA, qb += bA) fn(qa, qb);
            }
          }
        }
      };
      walk::Two<K - 2>(d.data(), a.data(), b.data(), ba, bb, tiles);
      return;
    }
  }
  walk::Two<K>(d.data(), a.data(), b.data(), ba, bb, fn);
}

}  // namespace Tarq::detail
