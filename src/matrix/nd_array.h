// The n-dimensional block behind every matrix object: NdArray<E, N> is a Shape<N> layout over a
// shared Storage<E> block, plus the object's status. Layout arithmetic, views, iteration and the
// structural operations below are written once for any entry type E.
//
// How an entry type plugs in: numbers (TarqNdArray<T, N>) are the first; variables, expressions
// and constraints use the same templates with their own E. E must be default-constructible and
// copy-assignable (new storage is made with new E[n] and filled by assignment). An
// implementation class holds a BlockRef<NdArray<E, N>> and forwards its structural operations
// (GetView, Transpose, Flatten, Reshape, Repeat, RepeatBlock, Pick, Item, SetItem, ToString) to
// the functions here, passing its own entry writer to Print. Operations whose meaning depends on
// the entry (Sum, Fill, arithmetic) walk the layout with ForEachRowMajor, ForEachInStorageOrder
// or ForEachPair (matrix/iterate.h) and act on the entries themselves.
//
// Every function returns a new NdArray by value and reports failures in the result's status
// (code 3); a result built from an operand that carries an error carries that operand's message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frame/status.h"
#include "matrix/iterate.h"
#include "matrix/shape.h"
#include "matrix/storage.h"
#include "matrix/view.h"

namespace Tarq::detail {

template <class E, int N>
struct NdArray {
  Shape<N> shape;
  StorageRef<E> storage;  // empty: no storage; elements read as E{} and cannot be written
  Status status;
};

// A fresh row-major array over a storage of shape.Size() elements.
template <class E, int N>
NdArray<E, N> MakeRowMajor(const Sizes<N>& sizes, StorageRef<E> storage) {
  return {RowMajor(sizes), std::move(storage), {}};
}

// When an operand carries an error, the result carries code 3 and the first such operand's whole
// message, whatever the operation itself recorded.
inline void CarryErrors(Status& result, std::initializer_list<const Status*> operands) {
  for (const Status* operand : operands) {
    if (operand->Ok()) continue;
    Record(result, 3, "%s", operand->Message() != nullptr ? operand->Message() : "");
    return;
  }
}

// Checks a row-major flat index and gives its position; records the failure on status.
template <class E, int N>
bool FlatPosition(const NdArray<E, N>& a, std::int64_t index, std::int64_t& pos, Status& status) {
  const std::size_t size = a.shape.Size();
  if (index < 0 || static_cast<std::uint64_t>(index) >= size) {
    Record(status, 3, "Index %lld is out of bounds for NdArray of size %zu", static_cast<long long>(index), size);
    return false;
  }
  pos = PositionOfFlat(a.shape, static_cast<std::size_t>(index));
  return true;
}

// The entry at a flat index, or null when the index is outside the array (recorded on the
// array's status) or the array has no storage.
template <class E, int N>
const E* EntryAt(NdArray<E, N>& a, std::int64_t index) {
  std::int64_t pos = 0;
  if (!FlatPosition(a, index, pos, a.status) || !a.storage.Elements()) return nullptr;
  return a.storage.Elements() + pos;
}

// The writable entry at a flat index, or null after recording why (outside the array, or no
// storage to write to).
template <class E, int N>
E* MutableEntryAt(NdArray<E, N>& a, std::int64_t index) {
  std::int64_t pos = 0;
  if (!FlatPosition(a, index, pos, a.status)) return nullptr;
  if (!a.storage.Elements()) {
    Record(a.status, 3, "Cannot write to NdArray without storage");
    return nullptr;
  }
  return a.storage.Elements() + pos;
}

template <class E, int N>
NdArray<E, N> ViewOf(const NdArray<E, N>& a, const ViewData* view) {
  NdArray<E, N> out{a.shape, a.storage, {}};
  if (view == nullptr) {
    Record(out.status, 3, "Invalid view argument");
  } else {
    ApplyView(*view, out.shape, out.status);
  }
  CarryErrors(out.status, {&a.status});
  return out;
}

template <class E, int N>
NdArray<E, N> TransposeOf(const NdArray<E, N>& a) {
  NdArray<E, N> out{Reversed(a.shape), a.storage, {}};
  CarryErrors(out.status, {&a.status});
  return out;
}

// A new owned storage holding the elements in row-major order (none when a has no storage).
template <class E, int N>
StorageRef<E> CopyRowMajor(const NdArray<E, N>& a) {
  const E* src = a.storage.Elements();
  const std::size_t size = a.shape.Size();
  if (src == nullptr || size == 0) return {};
  StorageRef<E> storage = StorageRef<E>::Allocate(size);
  E* dst = storage.Elements();
  const Sizes<N> sizes = SizesOf(a.shape);
  ForEachPair<N>(sizes, StridesOf(RowMajor(sizes)), 0, StridesOf(a.shape), a.shape.TotalOffset(),
                 [dst, src](std::int64_t to, std::int64_t from) { dst[to] = src[from]; });
  return storage;
}

// A contiguous array is seen through a one-dimensional layout starting at its first element;
// any other is copied.
template <class E, int N>
NdArray<E, 1> FlattenOf(const NdArray<E, N>& a) {
  const std::size_t size = a.shape.Size();
  NdArray<E, 1> out;
  if (IsRowMajorContiguous(a.shape)) {
    out.shape = RowMajor<1>({size});
    out.shape.offset = a.shape.TotalOffset();
    out.storage = a.storage;
  } else {
    out = MakeRowMajor<E, 1>({size}, CopyRowMajor(a));
  }
  CarryErrors(out.status, {&a.status});
  return out;
}

// The flattened elements under a fresh row-major shape of the new sizes. Sizes of another
// product (or no sizes) give an array of sizes 1 that sees the first element (none when a is
// empty).
template <int M, class E, int N>
NdArray<E, M> ReshapeOf(const NdArray<E, N>& a, const Sizes<M>* sizes, const Status& shapeStatus) {
  NdArray<E, M> out;
  const std::size_t size = a.shape.Size();
  if (sizes != nullptr && LayoutFits<M>(*sizes) && RowMajor(*sizes).Size() == size) {
    NdArray<E, 1> flat = FlattenOf(a);
    out.shape = RowMajor(*sizes);
    out.shape.offset = flat.shape.TotalOffset();
    out.storage = std::move(flat.storage);
  } else {
    out.shape = RowMajor(UniformSizes<M>(1));
    if (size != 0) {
      out.shape.offset = a.shape.TotalOffset();
      out.storage = a.storage;
    }
    if (sizes == nullptr) {
      Record(out.status, 3, "Invalid shape argument");
    } else {
      Record(out.status, 3, "Cannot reshape NdArray of size %zu to new shape %s", size,
             FormatShape(RowMajor(*sizes)).c_str());
    }
  }
  CarryErrors(out.status, {&a.status, &shapeStatus});
  return out;
}

// Checks the arguments of Repeat and RepeatBlock and grows sizes[axis] by the repeats; a
// negative axis has N added. Records the failure on status.
template <int N>
bool RepeatedSizes(Sizes<N>& sizes, std::int64_t repeats, int& axis, Status& status) {
  if constexpr (N == 0) {
    Record(status, 3, "Cannot repeat for NdArray of shape ()");
    return false;
  } else {
    if (axis < -N || axis >= N) {
      Record(status, 3, "Axis %d is out of bounds for array of dimension %d", axis, N);
      return false;
    }
    if (axis < 0) axis += N;
    if (repeats < 0) {
      Record(status, 3, "Repeats cannot be negative (%lld)", static_cast<long long>(repeats));
      return false;
    }
    std::size_t grown = 0;
    if (__builtin_mul_overflow(sizes[axis], static_cast<std::uint64_t>(repeats), &grown) ||
        !LayoutFits<N>((sizes[axis] = grown, sizes))) {
      Record(status, 3, "Repeats %lld make NdArray too large", static_cast<long long>(repeats));
      return false;
    }
    return true;
  }
}

// Repeat (block = false): each element r times in a row along the axis, as in 1 1 2 2 3 3.
// RepeatBlock (block = true): the whole axis r times, as in 1 2 3 1 2 3. The result has a new
// storage. Failures (N = 0, axis outside -N..N-1, negative or oversized repeats) give a view of
// a itself carrying the error.
template <class E, int N>
NdArray<E, N> RepeatOf(const NdArray<E, N>& a, std::int64_t repeats, int axis, bool block) {
  NdArray<E, N> out{a.shape, a.storage, {}};
  Sizes<N> sizes = SizesOf(a.shape);
  if (RepeatedSizes<N>(sizes, repeats, axis, out.status)) {
    // The source seen with the repeated axis split in two, the added part with stride 0.
    Sizes<N + 1> split{};
    Strides<N + 1> from{};
    for (int k = 0, j = 0; k < N; ++k, ++j) {
      const std::size_t d = a.shape.Dim(k);
      const std::int64_t s = a.shape.Stride(k);
      if (k != axis) {
        split[j] = d;
        from[j] = s;
      } else if (block) {
        split[j] = static_cast<std::size_t>(repeats);
        split[++j] = d;
        from[j] = s;
      } else {
        split[j] = d;
        from[j] = s;
        split[++j] = static_cast<std::size_t>(repeats);
      }
    }
    out = MakeRowMajor<E, N>(sizes, {});
    const E* src = a.storage.Elements();
    if (src != nullptr && out.shape.Size() != 0) {
      out.storage = StorageRef<E>::Allocate(out.shape.Size());
      E* dst = out.storage.Elements();
      ForEachPair<N + 1>(split, StridesOf(RowMajor(split)), 0, from, a.shape.TotalOffset(),
                         [dst, src](std::int64_t to, std::int64_t fromPos) { dst[to] = src[fromPos]; });
    }
  }
  CarryErrors(out.status, {&a.status});
  return out;
}

namespace pick {

// Calls fn(value) for each index value in row-major order (0s when idx has no storage).
template <int K, class Fn>
void ForEachIndex(const NdArray<int, K>& idx, Fn&& fn) {
  const int* values = idx.storage.Elements();
  ForEachRowMajor(idx.shape, [&](std::int64_t pos) { fn(values != nullptr ? values[pos] : 0); });
}

// The picked entries at the given positions, as a new one-dimensional array.
template <class E, int N>
NdArray<E, 1> Gather(const NdArray<E, N>& a, const std::vector<std::int64_t>& positions) {
  NdArray<E, 1> out = MakeRowMajor<E, 1>({positions.size()}, {});
  const E* src = a.storage.Elements();
  if (src == nullptr || positions.empty()) return out;
  out.storage = StorageRef<E>::Allocate(positions.size());
  E* dst = out.storage.Elements();
  for (std::size_t k = 0; k < positions.size(); ++k) dst[k] = src[positions[k]];
  return out;
}

}  // namespace pick

// Element k of the result is the element at flat index idx[k] (idx read in row-major order).
// An index outside 0..size-1, or no index array, gives an empty array carrying the error.
template <class E, int N>
NdArray<E, 1> PickFlat(const NdArray<E, N>& a, const NdArray<int, 1>* indices) {
  NdArray<E, 1> out = MakeRowMajor<E, 1>({0}, {});
  if (indices == nullptr) {
    Record(out.status, 3, "Invalid index array argument");
    CarryErrors(out.status, {&a.status});
    return out;
  }
  const NdArray<int, 1>& idx = *indices;
  std::vector<std::int64_t> positions;
  positions.reserve(idx.shape.Size());
  bool ok = true;
  pick::ForEachIndex(idx, [&](int value) {
    if (ok) ok = FlatPosition(a, value, positions.emplace_back(), out.status);
  });
  if (ok) out = pick::Gather(a, positions);
  CarryErrors(out.status, {&a.status, &idx.status});
  return out;
}

// Row k of idx (N columns) is a multi-index; element k of the result is the element there.
// A row of another length, an index outside its axis, or no index array gives an empty array
// carrying the error.
template <class E, int N>
NdArray<E, 1> PickMulti(const NdArray<E, N>& a, const NdArray<int, 2>* indices) {
  NdArray<E, 1> out = MakeRowMajor<E, 1>({0}, {});
  if (indices == nullptr) {
    Record(out.status, 3, "Invalid index array argument");
    CarryErrors(out.status, {&a.status});
    return out;
  }
  const NdArray<int, 2>& idx = *indices;
  const std::size_t rows = idx.shape.Dim(0);
  const std::size_t cols = idx.shape.Dim(1);
  if (cols != static_cast<std::size_t>(N)) {
    Record(out.status, 3, "Pick needs %d indices per row, got %zu", N, cols);
  } else {
    std::vector<std::int64_t> positions(rows, a.shape.TotalOffset());
    std::size_t k = 0;
    bool ok = true;
    pick::ForEachIndex(idx, [&](int value) {
      if (!ok) return;
      const int axis = static_cast<int>(k % cols);
      const std::size_t d = a.shape.Dim(axis);
      if (value < 0 || static_cast<std::size_t>(value) >= d) {
        Record(out.status, 3, "Index %lld is out of bounds for axis %d with size %zu", static_cast<long long>(value),
               axis, d);
        ok = false;
        return;
      }
      positions[k / cols] += value * a.shape.Stride(axis);
      ++k;
    });
    if (ok) out = pick::Gather(a, positions);
  }
  CarryErrors(out.status, {&a.status, &idx.status});
  return out;
}

namespace print {

// The recursive printer: one level per axis, each carrying a line prefix. A prefix that starts
// with the marker F continues the current line.
template <class E, class Writer>
struct Printer {
  std::ostringstream os;
  std::int64_t limit;
  const E* elements;
  Writer& write;
  bool stopped = false;

  // Writes the element, or "..." and stops once the text has reached the limit.
  bool Element(std::int64_t pos) {
    if (static_cast<std::int64_t>(os.tellp()) >= limit) {
      os << "...";
      stopped = true;
      return false;
    }
    write(os, elements != nullptr ? elements[pos] : E{});
    return true;
  }

  template <int K>
  void Level(const std::size_t* dim, const std::int64_t* stride, std::int64_t pos, std::string& prefix) {
    if (!prefix.empty() && prefix[0] == 'F') {
      prefix.erase(0, 1);
    } else {
      os << prefix;
    }
    os << '[';
    if constexpr (K == 1) {
      for (std::size_t i = 0; i < dim[0]; ++i, pos += stride[0]) {
        if (!Element(pos)) return;
        if (i + 1 < dim[0]) os << ", ";
      }
      os << "]\n";
    } else {
      for (std::size_t i = 0; i < dim[0]; ++i, pos += stride[0]) {
        std::string child = (i == 0 ? "F " : " ") + prefix;
        Level<K - 1>(dim + 1, stride + 1, pos, child);
        if (stopped) return;
      }
      os << prefix << "]\n";
    }
  }
};

}  // namespace print

// Nested brackets in row-major order (see INdArray::ToString); write(os, entry) prints one entry.
// A zero-dimensional array prints as its element and a newline.
template <class E, int N, class Writer>
std::string Print(const NdArray<E, N>& a, std::int64_t limit, Writer&& write) {
  print::Printer<E, Writer> printer{{}, limit, a.storage.Elements(), write};
  const std::int64_t base = a.shape.TotalOffset();
  if constexpr (N == 0) {
    if (printer.Element(base)) printer.os << '\n';
  } else {
    const Sizes<N> dim = SizesOf(a.shape);
    const Strides<N> stride = StridesOf(a.shape);
    std::string prefix;
    printer.template Level<N>(dim.data(), stride.data(), base, prefix);
  }
  return std::move(printer.os).str();
}

}  // namespace Tarq::detail
