// N-dimensional arrays of numbers: T is char, int, long long or double, N is 0..3.
//
// An array is a shape (sizes, strides, offsets) over a storage block that several arrays may
// share: views, transposes, contiguous flattenings and reshapes share the storage of the array
// they come from, so SetItem and Fill on any of them are seen by all. Every array, shape or view
// an operation returns is a new object owned by the caller.
//
// Failures never throw. An operation that cannot be carried out still returns an object of the
// promised type, carrying code 3 and a message (GetErrorCode, GetErrorMsg); a result built from
// an array or shape that carries an error carries that error's message. Item and SetItem with an
// index outside 0..GetSize()-1 record code 3 on the array itself and read 0 or write nothing.
// An array without storage (made from a null element pointer) reads as zeros; writing to it
// records code 3 and changes nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tarq/ndim.h"
#include "tarq/view.h"

namespace Tarq {

template <class T, int N>
class INdArray {
 public:
  template <int M>
  using Same = INdArray<T, M>;

  virtual ~INdArray() = default;
  virtual int GetND() const = 0;
  // As for shapes: 0 for an axis outside 0..N-1.
  virtual std::size_t GetDim(int axis) const = 0;
  virtual std::size_t GetSize() const = 0;
  // A copy of the array's shape, with its strides and offsets and the array's status.
  virtual INDim<N>* GetShape() const = 0;
  // The elements in row-major order under the new sizes; shares the storage when the array is
  // contiguous. A shape of another size gives an array of sizes 1 holding the first element.
  TARQ_DECLARE_RESHAPE(Same)
  // The elements in row-major order; a view when the array is contiguous, a copy otherwise.
  virtual INdArray<T, 1>* Flatten() const = 0;
  // Each element repeated along the axis (1 1 2 2 3 3); a new storage. Axis -N..N-1.
  virtual INdArray<T, N>* Repeat(std::int64_t repeats, int axis) const = 0;
  // The whole axis repeated (1 2 3 1 2 3); a new storage.
  virtual INdArray<T, N>* RepeatBlock(std::int64_t repeats, int axis) const = 0;
  // The sum of all elements, from 0, in the order they lie in storage (row-major order unless
  // the array is a transposed or reversed view). Integer sums wrap around.
  virtual INdArray<T, 0>* Sum() const = 0;
  // Axes in reverse order, sharing the storage.
  virtual INdArray<T, N>* Transpose() const = 0;
  // The element at a row-major flat index.
  virtual T Item(std::int64_t index) const = 0;
  // The view applied to this array's layout, sharing the storage. A view with more steps than N
  // gives an error array. A Scalar index outside its axis and a Slice step of 0 give code 3 and
  // an axis of size 0; slice bounds beyond the axis are clamped to it.
  virtual INdArray<T, N>* GetView(const IView* view) const = 0;
  // Element k of the result is the element at flat index indices[k]; a new storage.
  virtual INdArray<T, 1>* Pick(const INdArray<int, 1>* indices) const = 0;
  // Row k of the index array is one multi-index (N columns); a new storage.
  virtual INdArray<T, 1>* Pick(const INdArray<int, 2>* indices) const = 0;
  // Writes one element in place (seen by every array sharing the storage).
  virtual void SetItem(std::int64_t index, T value) = 0;
  // Writes every element in place.
  virtual void Fill(T value) = 0;
  // Nested brackets in row-major order, one line per innermost row; once about limit characters
  // are written the next element prints as "..." and printing stops. The text stays valid until
  // the next ToString on this object.
  virtual const char* ToString(std::int64_t limit) = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
