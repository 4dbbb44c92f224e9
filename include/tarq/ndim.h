// Shapes of n-dimensional objects (N = 0..3): the sizes of the axes and the layout (strides and
// offsets) through which an object's elements are reached in its storage.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tarq {

// The operations of Tarq::INDim<NDIM>, in slot order. MakeUniform takes one size per shape of one
// or more dimensions and nothing for a zero-dimensional shape, hence the macro.
#define TARQ_INDIM_OPERATIONS(NDIM, UNIFORM_PARAMS)                                            \
  virtual ~INDim() = default;                                                                  \
  virtual int GetND() const = 0;                                                               \
  /* Size of the axis; 0 for an axis outside 0..N-1. */                                        \
  virtual std::size_t GetDim(int axis) const = 0;                                              \
  /* Product of the sizes; 1 for N = 0. */                                                     \
  virtual std::size_t GetSize() const = 0;                                                     \
  /* Stride of the axis; 1 for an axis outside 0..N-1. */                                      \
  virtual std::int64_t GetStride(int axis) const = 0;                                          \
  /* Offset of the axis; 0 for an axis outside 0..N-1. */                                      \
  virtual std::int64_t GetOffset(int axis) const = 0;                                          \
  /* Same sizes, fresh row-major strides, offsets 0, no error. */                              \
  virtual INDim<NDIM>* Clone() const = 0;                                                      \
  /* A shape whose sizes all equal n. */                                                       \
  virtual INDim<NDIM>* MakeUniform(UNIFORM_PARAMS) const = 0;                                  \
  /* Mode 0: the sizes; 1: the strides; otherwise the offsets, as "(a, b, c)". The text stays  \
     valid until the next ToString on this object. */                                         \
  virtual const char* ToString(int mode) = 0;                                                  \
  /* True when the sizes and the stride and offset of axis 0 agree; always true for N = 0. */  \
  virtual bool IsSame(const INDim<NDIM>* other) const = 0;                                     \
  virtual int GetErrorCode() const = 0;                                                        \
  virtual const char* GetErrorMsg() const = 0;

template <int N>
class INDim {
 public:
  TARQ_INDIM_OPERATIONS(N, std::size_t n)
};

template <>
class INDim<0> {
 public:
  TARQ_INDIM_OPERATIONS(0, )
};

// Declares the three Reshape operations of an n-dimensional interface, to one, two and three
// dimensions, in slot order. RESULT is a template of one int (the new number of dimensions).
#define TARQ_DECLARE_RESHAPE(RESULT)                                           \
  virtual RESULT<1>* Reshape(const ::Tarq::INDim<1>* shape) const = 0;         \
  virtual RESULT<2>* Reshape(const ::Tarq::INDim<2>* shape) const = 0;         \
  virtual RESULT<3>* Reshape(const ::Tarq::INDim<3>* shape) const = 0;

}  // namespace Tarq
