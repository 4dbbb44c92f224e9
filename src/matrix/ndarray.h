// Arrays of numbers: TarqNdArray<T, N> over the generic NdArray<T, N> block, for T in char, int,
// long long and double and N = 0..3. The sixteen classes are instantiated once, in ndarray.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "frame/handle.h"
#include "matrix/nd_array.h"
#include "matrix/ndim.h"
#include "tarq/ndarray.h"

// Overrides the three Reshape operations of an n-dimensional interface; each forwards to the
// class's member template ReshapeTo<M>.
#define TARQ_OVERRIDE_RESHAPE(RESULT)                                                           \
  RESULT<1>* Reshape(const ::Tarq::INDim<1>* shape) const override { return ReshapeTo<1>(shape); } \
  RESULT<2>* Reshape(const ::Tarq::INDim<2>* shape) const override { return ReshapeTo<2>(shape); } \
  RESULT<3>* Reshape(const ::Tarq::INDim<3>* shape) const override { return ReshapeTo<3>(shape); }

template <class T, int N>
class TarqNdArray final : public Tarq::detail::Handled<Tarq::INdArray<T, N>, Tarq::detail::NdArray<T, N>> {
  using Handled = Tarq::detail::Handled<Tarq::INdArray<T, N>, Tarq::detail::NdArray<T, N>>;

 public:
  template <int M>
  using Same = Tarq::INdArray<T, M>;

  using Handled::Data;
  using Handled::Handled;

  int GetND() const override { return N; }
  std::size_t GetDim(int axis) const override { return Data().shape.Dim(axis); }
  std::size_t GetSize() const override { return Data().shape.Size(); }
  Tarq::INDim<N>* GetShape() const override;
  TARQ_OVERRIDE_RESHAPE(Same)
  Tarq::INdArray<T, 1>* Flatten() const override;
  Tarq::INdArray<T, N>* Repeat(std::int64_t repeats, int axis) const override;
  Tarq::INdArray<T, N>* RepeatBlock(std::int64_t repeats, int axis) const override;
  Tarq::INdArray<T, 0>* Sum() const override;
  Tarq::INdArray<T, N>* Transpose() const override;
  T Item(std::int64_t index) const override;
  Tarq::INdArray<T, N>* GetView(const Tarq::IView* view) const override;
  Tarq::INdArray<T, 1>* Pick(const Tarq::INdArray<int, 1>* indices) const override;
  Tarq::INdArray<T, 1>* Pick(const Tarq::INdArray<int, 2>* indices) const override;
  void SetItem(std::int64_t index, T value) override;
  void Fill(T value) override;
  const char* ToString(std::int64_t limit) override;
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }

 private:
  template <int M>
  Tarq::INdArray<T, M>* ReshapeTo(const Tarq::INDim<M>* shape) const;

  std::string text_;
};

namespace Tarq::detail {

// A new array object over the given state, owned by the caller.
template <class T, int N>
INdArray<T, N>* NewNdArray(NdArray<T, N> array) {
  return new TarqNdArray<T, N>(BlockRef<NdArray<T, N>>::Make(std::move(array)));
}

// The state of an array this library made, or null for null or another implementation.
template <class T, int N>
const NdArray<T, N>* StateOf(const INdArray<T, N>* array) {
  const auto* own = dynamic_cast<const TarqNdArray<T, N>*>(array);
  return own != nullptr ? &own->Data() : nullptr;
}

// The state behind arrays made from caller data by the exported functions: a row-major shape of
// the given sizes over the caller's elements, owned (WithData) or borrowed (WithExData).
template <class T, int N>
NdArray<T, N> ArrayOverCallerData(T* data, const int (&sizes)[N], bool owned);

}  // namespace Tarq::detail

#define TARQ_NDARRAY_FOR_EACH_CLASS(X) \
  X(char, 0) X(char, 1) X(char, 2) X(char, 3) \
  X(int, 0) X(int, 1) X(int, 2) X(int, 3) \
  X(long long, 0) X(long long, 1) X(long long, 2) X(long long, 3) \
  X(double, 0) X(double, 1) X(double, 2) X(double, 3)

#define TARQ_NDARRAY_EXTERN(T, N) extern template class TarqNdArray<T, N>;
TARQ_NDARRAY_FOR_EACH_CLASS(TARQ_NDARRAY_EXTERN)
#undef TARQ_NDARRAY_EXTERN
