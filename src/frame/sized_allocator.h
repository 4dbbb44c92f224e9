// A standard allocator over a pair of functions that hand out and take back raw storage by size,
// for the library's own storage schemes (long arrays on huge pages, short arrays in the size
// classes of the small-object heap).
#pragma once

#include <cstddef>
#include <new>

namespace Tarq::detail {

template <class T, void* (*Take)(std::size_t), void (*Give)(void*, std::size_t) noexcept>
struct SizedAllocator {
  // Both schemes align as operator new does (16 bytes), not more.
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "storage is aligned as by operator new");
  using value_type = T;
  template <class U>
  struct rebind {
    using other = SizedAllocator<U, Take, Give>;
  };

  SizedAllocator() noexcept = default;
  template <class U>
  SizedAllocator(const SizedAllocator<U, Take, Give>&) noexcept {}  // NOLINT: allocators convert implicitly

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / (2 * sizeof(T))) throw std::bad_alloc();
    return static_cast<T*>(Take(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { Give(p, n * sizeof(T)); }

  template <class U>
  bool operator==(const SizedAllocator<U, Take, Give>&) const noexcept {
    return true;
  }
};

}  // namespace Tarq::detail
