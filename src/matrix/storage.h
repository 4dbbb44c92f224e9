// The storage block shared by every n-dimensional object that sees the same elements.
//
// Memory model: a Storage<E> block owns its elements unless it borrows them (count 0). Each
// n-dimensional object holds one StorageRef on its block; views, transposes, contiguous
// flattenings and reshapes take a further reference instead of copying. The last reference
// releases owned elements (one element with delete, more with delete[]) and frees the block.
// Counts are atomic, so objects sharing a block may be released on different threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

namespace Tarq::detail {

template <class E>
struct Storage {
  E* elements;
  std::uint64_t count;  // 0: borrowed, never released; 1: made by new E; n: made by new E[n]
  std::atomic<std::uint32_t> refs;
};

template <class E>
class StorageRef {
 public:
  StorageRef() noexcept = default;
  StorageRef(const StorageRef& other) noexcept : block_(other.block_) {
    if (block_ != nullptr) block_->refs.fetch_add(1, std::memory_order_relaxed);
  }
  StorageRef(StorageRef&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  StorageRef& operator=(StorageRef other) noexcept {
    std::swap(block_, other.block_);
    return *this;
  }
  ~StorageRef() { Release(); }

  // Takes ownership of elements made by new E (count 1) or new E[count]; count 0 borrows.
  // Nothing leaks when the block cannot be allocated.
  static StorageRef Adopt(E* elements, std::uint64_t count) {
    try {
      return StorageRef(new Storage<E>{elements, count, 1});
    } catch (...) {
      Free(elements, count);
      throw;
    }
  }
  static StorageRef Borrow(E* elements) { return StorageRef(new Storage<E>{elements, 0, 1}); }
  // n default-initialised elements owned by the block; no block for n = 0.
  static StorageRef Allocate(std::uint64_t n) {
    if (n == 0) return StorageRef();
    return Adopt(n == 1 ? new E : new E[n], n);
  }

  E* Elements() const noexcept { return block_ != nullptr ? block_->elements : nullptr; }
  const Storage<E>* Block() const noexcept { return block_; }

 private:
  explicit StorageRef(Storage<E>* block) noexcept : block_(block) {}

  static void Free(E* elements, std::uint64_t count) noexcept {
    if (count == 1) {
      delete elements;
    } else if (count > 1) {
      delete[] elements;
    }
  }
  void Release() noexcept {
    if (block_ == nullptr || block_->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    Free(block_->elements, block_->count);
    delete block_;
  }

  Storage<E>* block_ = nullptr;
};

}  // namespace Tarq::detail
