// Shapes: the state behind TarqNDim<N>, the implementation class, and the reading of shapes that
// callers pass as arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "frame/handle.h"
#include "frame/status.h"
#include "matrix/shape.h"
#include "tarq/ndim.h"

namespace Tarq::detail {

template <int N>
struct NDimData {
  Shape<N> shape;
  Status status;
};

// A new shape object over a layout and a status, owned by the caller.
template <int N>
INDim<N>* NewShapeWithLayout(const Shape<N>& shape, Status status = {});

// A new row-major shape of these sizes; sizes whose strides or product do not fit in 63 bits
// carry code 3 "Shape %s is too large".
template <int N>
INDim<N>* NewShape(const Sizes<N>& sizes);

// A shape passed as an argument, read through its interface (so any implementation works).
template <int N>
struct ShapeArg {
  bool present = false;
  Sizes<N> sizes{};
  Status status;  // the shape's own status, copied
};

template <int N>
ShapeArg<N> ReadShapeArg(const INDim<N>* shape);

template <int N>
bool IsSameShape(const Shape<N>& shape, const INDim<N>* other);

}  // namespace Tarq::detail

// The operations of TarqNDim<NDIM>; see the interface for their meaning.
#define TARQ_NDIM_IMPLEMENTATION(NDIM, UNIFORM_PARAMS, UNIFORM_SIZE)                              \
 public:                                                                                         \
  using Handled::Handled;                                                                        \
  int GetND() const override { return NDIM; }                                                    \
  std::size_t GetDim(int axis) const override { return Data().shape.Dim(axis); }                 \
  std::size_t GetSize() const override { return Data().shape.Size(); }                           \
  std::int64_t GetStride(int axis) const override { return Data().shape.Stride(axis); }          \
  std::int64_t GetOffset(int axis) const override { return Data().shape.Offset(axis); }          \
  Tarq::INDim<NDIM>* Clone() const override {                                                    \
    return Tarq::detail::NewShapeWithLayout<NDIM>(Tarq::detail::RowMajor(Tarq::detail::SizesOf(Data().shape))); \
  }                                                                                              \
  Tarq::INDim<NDIM>* MakeUniform(UNIFORM_PARAMS) const override {                                \
    return Tarq::detail::NewShape<NDIM>(Tarq::detail::UniformSizes<NDIM>(UNIFORM_SIZE));         \
  }                                                                                              \
  const char* ToString(int mode) override {                                                      \
    text_ = Tarq::detail::FormatShape(Data().shape, mode);                                       \
    return text_.c_str();                                                                        \
  }                                                                                              \
  bool IsSame(const Tarq::INDim<NDIM>* other) const override {                                   \
    return Tarq::detail::IsSameShape(Data().shape, other);                                       \
  }                                                                                              \
  int GetErrorCode() const override { return Data().status.Code(); }                             \
  const char* GetErrorMsg() const override { return Data().status.Message(); }                   \
                                                                                                 \
 private:                                                                                        \
  std::string text_;

template <int N>
class TarqNDim final : public Tarq::detail::Handled<Tarq::INDim<N>, Tarq::detail::NDimData<N>> {
  using Handled = Tarq::detail::Handled<Tarq::INDim<N>, Tarq::detail::NDimData<N>>;
  using Handled::Data;
  TARQ_NDIM_IMPLEMENTATION(N, std::size_t n, n)
};

template <>
class TarqNDim<0> final : public Tarq::detail::Handled<Tarq::INDim<0>, Tarq::detail::NDimData<0>> {
  TARQ_NDIM_IMPLEMENTATION(0, , 0)
};

namespace Tarq::detail {

template <int N>
INDim<N>* NewShapeWithLayout(const Shape<N>& shape, Status status) {
  return new TarqNDim<N>(BlockRef<NDimData<N>>::Make(NDimData<N>{shape, std::move(status)}));
}

template <int N>
INDim<N>* NewShape(const Sizes<N>& sizes) {
  Status status;
  if (!LayoutFits<N>(sizes)) Record(status, 3, "Shape %s is too large", FormatShape(RowMajor(sizes)).c_str());
  return NewShapeWithLayout<N>(RowMajor(sizes), std::move(status));
}

template <int N>
ShapeArg<N> ReadShapeArg(const INDim<N>* shape) {
  ShapeArg<N> arg;
  if (shape == nullptr) return arg;
  arg.present = true;
  for (int k = 0; k < N; ++k) arg.sizes[k] = shape->GetDim(k);
  if (shape->GetErrorCode() != 0) {
    arg.status.Set(shape->GetErrorCode(), shape->GetErrorMsg());
  }
  return arg;
}

template <int N>
bool IsSameShape(const Shape<N>& shape, const INDim<N>* other) {
  if constexpr (N == 0) {
    return true;
  } else {
    if (other == nullptr) return false;
    for (int k = 0; k < N; ++k) {
      if (shape.Dim(k) != other->GetDim(k)) return false;
    }
    return shape.Stride(0) == other->GetStride(0) && shape.Offset(0) == other->GetOffset(0);
  }
}

}  // namespace Tarq::detail
