// The layout of an n-dimensional object, level by level.
//
// Shape<N> holds the size of its first axis, the complete Shape<N-1> of the remaining axes, then
// the stride and offset of its first axis. The innermost level, Shape<0>, holds the word 0, the
// stride 1 and the offset 0; a query for an axis outside 0..N-1 walks down to it, which is why
// such queries answer size 0, stride 1 and offset 0. Element (i0, i1, ...) lies at position
// offset0 + offset1 + ... + i0*stride0 + i1*stride1 + ... of the storage. The levels carry no
// status of their own: the object that holds the shape (a shape object, an array, a matrix
// object) holds the one status that is reported.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace Tarq::detail {

constexpr std::uint64_t kMaxExtent = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

template <int N>
using Sizes = std::array<std::size_t, N>;

template <int N>
struct Shape {
  static_assert(N > 0);
  std::size_t dim = 0;
  Shape<N - 1> inner;
  std::int64_t stride = 1;
  std::int64_t offset = 0;

  std::size_t Dim(int axis) const noexcept { return axis == 0 ? dim : inner.Dim(axis - 1); }
  std::int64_t Stride(int axis) const noexcept { return axis == 0 ? stride : inner.Stride(axis - 1); }
  std::int64_t Offset(int axis) const noexcept { return axis == 0 ? offset : inner.Offset(axis - 1); }
  // Sets one axis; an axis outside 0..N-1 changes nothing.
  void SetAxis(int axis, std::size_t d, std::int64_t s, std::int64_t o) noexcept {
    if (axis == 0) {
      dim = d;
      stride = s;
      offset = o;
    } else {
      inner.SetAxis(axis - 1, d, s, o);
    }
  }
  // Product of the sizes (wraps around for a shape that does not fit; see LayoutFits).
  std::size_t Size() const noexcept { return dim * inner.Size(); }
  std::int64_t TotalOffset() const noexcept { return offset + inner.TotalOffset(); }
};

template <>
struct Shape<0> {
  std::uint64_t zero = 0;
  std::int64_t stride = 1;
  std::int64_t offset = 0;

  std::size_t Dim(int) const noexcept { return zero; }
  std::int64_t Stride(int) const noexcept { return stride; }
  std::int64_t Offset(int) const noexcept { return offset; }
  void SetAxis(int, std::size_t, std::int64_t, std::int64_t) noexcept {}
  std::size_t Size() const noexcept { return 1; }
  std::int64_t TotalOffset() const noexcept { return offset; }
};

// True when every row-major stride and the total size of these sizes fit in 63 bits, so that
// positions computed from them cannot overflow.
template <int N>
bool LayoutFits(const Sizes<N>& sizes) noexcept {
  std::uint64_t product = 1;
  for (int k = N - 1; k >= 0; --k) {
    std::uint64_t d = sizes[k];
    if (d > kMaxExtent) return false;
    if (product != 0 && d > kMaxExtent / product) return false;
    product *= d;
  }
  return true;
}

template <int N>
Sizes<N> SizesOf(const Shape<N>& shape) noexcept {
  Sizes<N> sizes{};
  for (int k = 0; k < N; ++k) sizes[k] = shape.Dim(k);
  return sizes;
}

// A fresh row-major shape: the last stride 1, each other the product of the sizes after it,
// offsets 0. Strides wrap around (without undefined behaviour) when the sizes do not fit.
template <std::size_t K>
Shape<static_cast<int>(K)> RowMajor(const std::array<std::size_t, K>& sizes) noexcept {
  Shape<static_cast<int>(K)> shape;
  std::uint64_t stride = 1;
  for (int k = static_cast<int>(K) - 1; k >= 0; --k) {
    shape.SetAxis(k, sizes[k], static_cast<std::int64_t>(stride), 0);
    stride *= sizes[k];
  }
  return shape;
}

template <int N>
Sizes<N> UniformSizes(std::size_t n) noexcept {
  Sizes<N> sizes{};
  sizes.fill(n);
  return sizes;
}

// True when the row-major walk of the shape visits consecutive positions (axes of size 1 may
// have any stride). Then the elements are TotalOffset() .. TotalOffset() + Size() - 1.
template <int N>
bool IsRowMajorContiguous(const Shape<N>& shape) noexcept {
  std::int64_t expected = 1;
  for (int k = N - 1; k >= 0; --k) {
    std::size_t d = shape.Dim(k);
    if (d == 0) return true;
    if (d != 1 && shape.Stride(k) != expected) return false;
    expected *= static_cast<std::int64_t>(d);
  }
  return true;
}

// Axes in reverse order, each with its size, stride and offset.
template <int N>
Shape<N> Reversed(const Shape<N>& shape) noexcept {
  Shape<N> out;
  for (int k = 0; k < N; ++k) out.SetAxis(N - 1 - k, shape.Dim(k), shape.Stride(k), shape.Offset(k));
  return out;
}

// "(v0, v1, ...)": mode 0 the sizes, 1 the strides, any other the offsets; "()" for N = 0.
template <int N>
std::string FormatShape(const Shape<N>& shape, int mode = 0) {
  std::string text = "(";
  for (int k = 0; k < N; ++k) {
    if (k > 0) text += ", ";
    if (mode == 0) {
      text += std::to_string(shape.Dim(k));
    } else {
      text += std::to_string(mode == 1 ? shape.Stride(k) : shape.Offset(k));
    }
  }
  text += ")";
  return text;
}

// Position in storage of the element at a row-major flat index (0 <= flat < Size()).
template <int N>
std::int64_t PositionOfFlat(const Shape<N>& shape, std::size_t flat) noexcept {
  std::int64_t pos = shape.TotalOffset();
  for (int k = N - 1; k >= 0; --k) {
    std::size_t d = shape.Dim(k);
    pos += static_cast<std::int64_t>(flat % d) * shape.Stride(k);
    flat /= d;
  }
  return pos;
}

}  // namespace Tarq::detail
