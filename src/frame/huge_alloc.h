// An allocator for the model's long arrays (object lists, arrays of objects, record chunks): a
// block of 1 MB or more gets a mapping of its own, a whole number of 2 MB pages aligned to 2 MB
// and advised for transparent huge pages, so filling it takes one page fault per 2 MB instead of
// one per 4 KB (a block of 1 to 2 MB thus holds up to twice its size). Smaller blocks come from
// operator new. The advice is a hint: where the kernel gives no huge pages the mapping works as
// usual.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

#include "frame/sized_allocator.h"

namespace Tarq::detail {

constexpr std::size_t kHugePage = std::size_t{1} << 21;

// A mapping of at least `bytes` (rounded up to whole 2 MB pages); throws std::bad_alloc.
void* MapHuge(std::size_t bytes);
void UnmapHuge(void* p, std::size_t bytes) noexcept;
// Grows a mapping of MapHuge(oldBytes) to one of at least newBytes (> oldBytes): in place when
// the old one's whole pages already cover it, otherwise by moving its pages to the start of a
// fresh aligned range, without copying them. Returns the (possibly moved) start; on failure
// throws std::bad_alloc and the old mapping stays as it was.
void* RemapHuge(void* p, std::size_t oldBytes, std::size_t newBytes);

constexpr std::size_t kLongBlock = kHugePage / 2;

inline void* AllocateLong(std::size_t bytes) { return bytes >= kLongBlock ? MapHuge(bytes) : ::operator new(bytes); }
inline void FreeLong(void* p, std::size_t bytes) noexcept {
  if (bytes >= kLongBlock) {
    UnmapHuge(p, bytes);
  } else {
    ::operator delete(p);
  }
}

template <class T>
using HugeAllocator = SizedAllocator<T, AllocateLong, FreeLong>;

template <class T>
using LongVector = std::vector<T, HugeAllocator<T>>;

}  // namespace Tarq::detail
