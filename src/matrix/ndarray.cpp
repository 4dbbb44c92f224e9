#include "matrix/ndarray.h"

#include <cctype>
#include <iomanip>
#include <ostream>
#include <type_traits>

#include "matrix/view.h"

namespace Tarq::detail {
namespace {

// Numbers print with the standard stream formatting; a char prints as itself when printable and
// as \xHH otherwise.
struct WriteNumber {
  template <class T>
  void operator()(std::ostream& os, T value) const {
    if constexpr (std::is_same_v<T, char>) {
      const auto code = static_cast<unsigned char>(value);
      if (std::isprint(code)) {
        os << value;
      } else {
        os << "\\x" << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(code) << std::dec
           << std::setfill(' ');
      }
    } else {
      os << value;
    }
  }
};

// Integers are summed as unsigned values, which wrap around instead of overflowing.
template <class T, bool = std::is_integral_v<T>>
struct Accumulator {
  using type = T;
};
template <class T>
struct Accumulator<T, true> {
  using type = std::make_unsigned_t<T>;
};

template <class T, int N>
T SumInStorageOrder(const NdArray<T, N>& a) {
  using Acc = typename Accumulator<T>::type;
  const T* elements = a.storage.Elements();
  if (elements == nullptr) return T{};
  Acc total = 0;
  ForEachInStorageOrder<N>(SizesOf(a.shape), StridesOf(a.shape), a.shape.TotalOffset(),
                           [&total, elements](std::int64_t pos) { total += static_cast<Acc>(elements[pos]); });
  return static_cast<T>(total);
}

const ViewData* ViewStateOf(const IView* view) {
  const auto* own = dynamic_cast<const TarqView*>(view);
  return own != nullptr ? &own->Data() : nullptr;
}

}  // namespace

template <class T, int N>
NdArray<T, N> ArrayOverCallerData(T* data, const int (&sizes)[N], bool owned) {
  NdArray<T, N> out;
  Sizes<N> dims{};
  for (int k = 0; k < N; ++k) {
    if (sizes[k] < 0) {
      Record(out.status, 3, "Negative dimension size %d at axis %d", sizes[k], k);
      return out;
    }
    dims[k] = static_cast<std::size_t>(sizes[k]);
  }
  out.shape = RowMajor(dims);
  if (!LayoutFits<N>(dims)) {
    Record(out.status, 3, "Shape %s is too large", FormatShape(out.shape).c_str());
    out.shape = RowMajor(Sizes<N>{});
    return out;
  }
  if (data != nullptr) {
    out.storage = owned ? StorageRef<T>::Adopt(data, out.shape.Size()) : StorageRef<T>::Borrow(data);
  }
  return out;
}

#define TARQ_NDARRAY_OVER_CALLER_DATA(T, N) \
  template NdArray<T, N> ArrayOverCallerData<T, N>(T*, const int (&)[N], bool);
TARQ_NDARRAY_OVER_CALLER_DATA(int, 1)
TARQ_NDARRAY_OVER_CALLER_DATA(int, 2)
TARQ_NDARRAY_OVER_CALLER_DATA(int, 3)
TARQ_NDARRAY_OVER_CALLER_DATA(long long, 1)
TARQ_NDARRAY_OVER_CALLER_DATA(long long, 2)
TARQ_NDARRAY_OVER_CALLER_DATA(long long, 3)
TARQ_NDARRAY_OVER_CALLER_DATA(double, 1)
TARQ_NDARRAY_OVER_CALLER_DATA(double, 2)
TARQ_NDARRAY_OVER_CALLER_DATA(double, 3)
#undef TARQ_NDARRAY_OVER_CALLER_DATA

}  // namespace Tarq::detail

namespace nd = Tarq::detail;

template <class T, int N>
Tarq::INDim<N>* TarqNdArray<T, N>::GetShape() const {
  return nd::NewShapeWithLayout<N>(Data().shape, Data().status);
}

template <class T, int N>
template <int M>
Tarq::INdArray<T, M>* TarqNdArray<T, N>::ReshapeTo(const Tarq::INDim<M>* shape) const {
  const nd::ShapeArg<M> arg = nd::ReadShapeArg(shape);
  return nd::NewNdArray(nd::ReshapeOf<M>(Data(), arg.present ? &arg.sizes : nullptr, arg.status));
}

template <class T, int N>
Tarq::INdArray<T, 1>* TarqNdArray<T, N>::Flatten() const {
  return nd::NewNdArray(nd::FlattenOf(Data()));
}

template <class T, int N>
Tarq::INdArray<T, N>* TarqNdArray<T, N>::Repeat(std::int64_t repeats, int axis) const {
  return nd::NewNdArray(nd::RepeatOf(Data(), repeats, axis, false));
}

template <class T, int N>
Tarq::INdArray<T, N>* TarqNdArray<T, N>::RepeatBlock(std::int64_t repeats, int axis) const {
  return nd::NewNdArray(nd::RepeatOf(Data(), repeats, axis, true));
}

// Elements are added in the order they lie in storage, so the sum of a transposed view streams
// through memory; integers are added as unsigned values, so overflow wraps around.
template <class T, int N>
Tarq::INdArray<T, 0>* TarqNdArray<T, N>::Sum() const {
  const auto& a = Data();
  nd::NdArray<T, 0> out{{}, nd::StorageRef<T>::Allocate(1), {}};
  *out.storage.Elements() = nd::SumInStorageOrder(a);
  nd::CarryErrors(out.status, {&a.status});
  return nd::NewNdArray(std::move(out));
}

template <class T, int N>
Tarq::INdArray<T, N>* TarqNdArray<T, N>::Transpose() const {
  return nd::NewNdArray(nd::TransposeOf(Data()));
}

template <class T, int N>
T TarqNdArray<T, N>::Item(std::int64_t index) const {
  const T* entry = nd::EntryAt(Data(), index);
  return entry != nullptr ? *entry : T{};
}

template <class T, int N>
Tarq::INdArray<T, N>* TarqNdArray<T, N>::GetView(const Tarq::IView* view) const {
  return nd::NewNdArray(nd::ViewOf(Data(), nd::ViewStateOf(view)));
}

template <class T, int N>
Tarq::INdArray<T, 1>* TarqNdArray<T, N>::Pick(const Tarq::INdArray<int, 1>* indices) const {
  return nd::NewNdArray(nd::PickFlat(Data(), nd::StateOf(indices)));
}

template <class T, int N>
Tarq::INdArray<T, 1>* TarqNdArray<T, N>::Pick(const Tarq::INdArray<int, 2>* indices) const {
  return nd::NewNdArray(nd::PickMulti(Data(), nd::StateOf(indices)));
}

template <class T, int N>
void TarqNdArray<T, N>::SetItem(std::int64_t index, T value) {
  if (T* entry = nd::MutableEntryAt(Data(), index)) *entry = value;
}

template <class T, int N>
void TarqNdArray<T, N>::Fill(T value) {
  auto& a = Data();
  if (a.shape.Size() == 0) return;
  T* elements = a.storage.Elements();
  if (elements == nullptr) {
    nd::Record(a.status, 3, "Cannot write to NdArray without storage");
    return;
  }
  nd::ForEachInStorageOrder<N>(nd::SizesOf(a.shape), nd::StridesOf(a.shape), a.shape.TotalOffset(),
                               [elements, value](std::int64_t pos) { elements[pos] = value; });
}

template <class T, int N>
const char* TarqNdArray<T, N>::ToString(std::int64_t limit) {
  text_ = nd::Print(Data(), limit, nd::WriteNumber{});
  return text_.c_str();
}

#define TARQ_NDARRAY_INSTANTIATE(T, N) template class TarqNdArray<T, N>;
TARQ_NDARRAY_FOR_EACH_CLASS(TARQ_NDARRAY_INSTANTIATE)
#undef TARQ_NDARRAY_INSTANTIATE
