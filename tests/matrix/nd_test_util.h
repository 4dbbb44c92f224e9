// Helpers of the matrix tests: arrays made from values, read back in row-major order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "matrix/ndarray.h"
#include "matrix/view.h"

namespace tarq_test {

template <class T, int N>
using ArrayPtr = std::unique_ptr<Tarq::INdArray<T, N>>;

// An owned row-major array holding values (one per element, row-major).
template <class T, int N>
ArrayPtr<T, N> MakeArray(const Tarq::detail::Sizes<N>& sizes, const std::vector<T>& values) {
  auto storage = Tarq::detail::StorageRef<T>::Allocate(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) storage.Elements()[i] = values[i];
  return ArrayPtr<T, N>(Tarq::detail::NewNdArray<T, N>(Tarq::detail::MakeRowMajor<T, N>(sizes, std::move(storage))));
}

// An owned row-major array holding 1, 2, 3, ... (converted to T).
template <class T, int N>
ArrayPtr<T, N> Iota(const Tarq::detail::Sizes<N>& sizes) {
  std::vector<T> values(Tarq::detail::RowMajor(sizes).Size());
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<T>(i + 1);
  return MakeArray<T, N>(sizes, values);
}

// Every element through Item, in row-major order, as long long.
template <class T, int N>
std::vector<long long> Items(const Tarq::INdArray<T, N>& array) {
  std::vector<long long> out;
  for (std::size_t k = 0; k < array.GetSize(); ++k) out.push_back(static_cast<long long>(array.Item(static_cast<std::int64_t>(k))));
  return out;
}

template <class T, int N>
std::string ShapeText(const Tarq::INdArray<T, N>& array, int mode = 0) {
  std::unique_ptr<Tarq::INDim<N>> shape(array.GetShape());
  return shape->ToString(mode);
}

template <class T, int N>
const Tarq::detail::Storage<T>* StorageOf(const Tarq::INdArray<T, N>& array) {
  return Tarq::detail::StateOf(&array)->storage.Block();
}

template <class T, int N>
std::string Message(const Tarq::INdArray<T, N>& array) {
  return array.GetErrorMsg() != nullptr ? array.GetErrorMsg() : "";
}

// A view built by chaining; the intermediate views are released.
class ViewBuilder {
 public:
  ViewBuilder() : view_(Tarq::detail::NewView()) {}
  ViewBuilder& Full() { return Keep(view_->AddFull()); }
  ViewBuilder& Scalar(std::int64_t i) { return Keep(view_->AddScalar(i)); }
  ViewBuilder& Slice(std::int64_t start, std::int64_t stop, std::int64_t step, int flags = 0) {
    return Keep(view_->AddSlice(start, stop, step, flags));
  }
  const Tarq::IView* Get() const { return view_.get(); }

 private:
  ViewBuilder& Keep(Tarq::IView* grown) {
    view_.reset(grown);
    return *this;
  }
  std::unique_ptr<Tarq::IView> view_;
};

}  // namespace tarq_test
