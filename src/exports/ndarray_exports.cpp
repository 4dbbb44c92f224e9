#include "matrix/ndarray.h"
#include "tarq/exports.h"

namespace {

template <class T, int N>
Tarq::INdArray<T, N>* CreateOverCallerData(T* data, const int (&sizes)[N], bool owned) {
  return Tarq::detail::NewNdArray(Tarq::detail::ArrayOverCallerData<T, N>(data, sizes, owned));
}

}  // namespace

#define TARQ_DEFINE_NDARRAY_CREATE(TNAME, T)                                                      \
  Tarq::INdArray<T, 1>* CreateNdArray##TNAME##1WithData(T* data, int d0) {                       \
    return CreateOverCallerData<T, 1>(data, {d0}, true);                                          \
  }                                                                                               \
  Tarq::INdArray<T, 2>* CreateNdArray##TNAME##2WithData(T* data, int d0, int d1) {               \
    return CreateOverCallerData<T, 2>(data, {d0, d1}, true);                                      \
  }                                                                                               \
  Tarq::INdArray<T, 3>* CreateNdArray##TNAME##3WithData(T* data, int d0, int d1, int d2) {       \
    return CreateOverCallerData<T, 3>(data, {d0, d1, d2}, true);                                  \
  }                                                                                               \
  Tarq::INdArray<T, 1>* CreateNdArray##TNAME##1WithExData(T* data, int d0) {                     \
    return CreateOverCallerData<T, 1>(data, {d0}, false);                                         \
  }                                                                                               \
  Tarq::INdArray<T, 2>* CreateNdArray##TNAME##2WithExData(T* data, int d0, int d1) {             \
    return CreateOverCallerData<T, 2>(data, {d0, d1}, false);                                     \
  }                                                                                               \
  Tarq::INdArray<T, 3>* CreateNdArray##TNAME##3WithExData(T* data, int d0, int d1, int d2) {     \
    return CreateOverCallerData<T, 3>(data, {d0, d1, d2}, false);                                 \
  }

extern "C" {

TARQ_DEFINE_NDARRAY_CREATE(Dbl, double)
TARQ_DEFINE_NDARRAY_CREATE(Int, int)
TARQ_DEFINE_NDARRAY_CREATE(Int64t, long long)

}  // extern "C"
