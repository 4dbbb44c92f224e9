#include "frame/huge_alloc.h"

#include <sys/mman.h>

#include <cstdint>

namespace Tarq::detail {

namespace {
std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
}  // namespace

void* MapHuge(std::size_t bytes) {
  const std::size_t size = Rounded(bytes);
  void* raw = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  // Trim the slack so that the mapping starts on a 2 MB boundary.
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t tail = aligned + size, end = start + size + kHugePage;
  if (end > tail) munmap(reinterpret_cast<void*>(tail), end - tail);
  void* p = reinterpret_cast<void*>(aligned);
  madvise(p, size, MADV_HUGEPAGE);
  return p;
}

void UnmapHuge(void* p, std::size_t bytes) noexcept { munmap(p, Rounded(bytes)); }

void* RemapHuge(void* p, std::size_t oldBytes, std::size_t newBytes) {
  const std::size_t from = Rounded(oldBytes);
  if (Rounded(newBytes) <= from) return p;
  void* target = MapHuge(newBytes);
  // The old pages replace the start of the new range; the rest of it stays fresh.
  void* moved = mremap(p, from, from, MREMAP_MAYMOVE | MREMAP_FIXED, target);
  if (moved == MAP_FAILED) {
    UnmapHuge(target, newBytes);
    throw std::bad_alloc();
  }
  return moved;
}

}  // namespace Tarq::detail
