// Storage for the modeling layer's handle objects (a handle with its value, see
// handle.h). A program holds millions of them in large models; from the C++ heap each costs a
// general allocation, and the heap grows by 4 KB pages, one page fault each. Here blocks of up to
// kSmallMax bytes come from size classes of 16 bytes carved out of 2 MB regions on transparent
// huge pages (huge_alloc.h); each thread keeps a free list per class and trades batches with a
// shared pool under a lock, so allocating and freeing are a few instructions without atomic
// operations. A block may be freed by any thread. Freed blocks are kept for reuse, not returned to
// the system. Under AddressSanitizer every block comes from operator new, so the sanitizer keeps
// checking them.
#pragma once

#include <cstddef>
#include <vector>

#include "frame/sized_allocator.h"

namespace Tarq::detail {

constexpr std::size_t kSmallMax = 512;

// Storage of `bytes` aligned to 16; larger requests go to operator new. Throws std::bad_alloc.
void* SmallNew(std::size_t bytes);
// Frees storage from SmallNew; `bytes` is the size it was asked for.
void SmallDelete(void* p, std::size_t bytes) noexcept;

// An allocator over SmallNew for arrays that are usually short (the terms of one expression):
// a short array costs a free-list pop and push instead of a general allocation, and a long one
// goes to operator new as before.
template <class T>
using SmallAllocator = SizedAllocator<T, SmallNew, SmallDelete>;

// A list whose storage comes from SmallAllocator.
template <class T>
using SmallVector = std::vector<T, SmallAllocator<T>>;

}  // namespace Tarq::detail
