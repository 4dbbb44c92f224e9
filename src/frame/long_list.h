// A growable list of trivially copyable values for the model's per-object lists (one entry per
// variable, constraint, ...). Like LongVector, a list of 1 MB or more lives on huge pages of its
// own; unlike it, growing such a list moves its pages to a larger range (RemapHuge) instead of
// copying them, so a model built one object at a time writes each entry once and never holds a
// second copy of a long list while it grows. Capacity grows as std::vector's does (doubling on
// push_back, exact on reserve). Allocation failures throw std::bad_alloc and leave the list as it
// was.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "frame/huge_alloc.h"

namespace Tarq::detail {

template <class T>
class LongList {
  static_assert(std::is_trivially_copyable_v<T>, "LongList holds trivially copyable values only");

 public:
  LongList() = default;
  LongList(const LongList&) = delete;
  LongList& operator=(const LongList&) = delete;
  LongList(LongList&& other) noexcept { swap(other); }
  LongList& operator=(LongList&& other) noexcept {
    LongList gone(std::move(other));
    swap(gone);
    return *this;
  }
  ~LongList() {
    if (data_ != nullptr) FreeLong(data_, cap_ * sizeof(T));
  }

  std::size_t size() const noexcept { return size_; }
  std::size_t capacity() const noexcept { return cap_; }
  bool empty() const noexcept { return size_ == 0; }
  T& operator[](std::size_t i) noexcept { return data_[i]; }
  const T& operator[](std::size_t i) const noexcept { return data_[i]; }
  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + size_; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + size_; }
  T& back() noexcept { return data_[size_ - 1]; }
  const T& back() const noexcept { return data_[size_ - 1]; }

  void clear() noexcept { size_ = 0; }
  void reserve(std::size_t n) {
    if (n > cap_) Reallocate(n);
  }
  void push_back(const T& value) {
    if (size_ == cap_) {
      const T copy = value;  // value may live in this list
      Reallocate(std::max<std::size_t>(2 * cap_, 8));
      data_[size_++] = copy;
      return;
    }
    data_[size_++] = value;
  }
  void swap(LongList& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(cap_, other.cap_);
  }

 private:
  void Reallocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / (2 * sizeof(T))) throw std::bad_alloc();
    const std::size_t oldBytes = cap_ * sizeof(T), newBytes = n * sizeof(T);
    T* fresh = nullptr;
    if (oldBytes >= kLongBlock) {
      fresh = static_cast<T*>(RemapHuge(data_, oldBytes, newBytes));
    } else {
      fresh = static_cast<T*>(AllocateLong(newBytes));
      if (size_ > 0) std::memcpy(static_cast<void*>(fresh), data_, size_ * sizeof(T));
      if (data_ != nullptr) FreeLong(data_, oldBytes);
    }
    data_ = fresh;
    cap_ = n;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t cap_ = 0;
};

}  // namespace Tarq::detail
