// A growable array of trivially copyable values for the store's large per-entry arrays.
//
// It behaves like std::vector for the operations the store uses, with one difference in cost:
// an array of 1 MB or more lives in its own memory mapping, and growing it moves the mapping
// (mremap) instead of copying the values into fresh memory. A model added one row at a time thus
// never copies its matrix, and capacity that was reserved but not written takes no memory.
// Smaller arrays use malloc/realloc. A mapping of 2 MB or more starts on a 2 MB boundary, is a
// whole number of 2 MB pages and asks the kernel for transparent huge pages, so filling it takes
// one page fault per 2 MB instead of one per 4 KB; growing it moves the mapping onto another
// aligned range, which keeps its huge pages whole. Allocation failures throw std::bad_alloc, and
// an operation that throws leaves the array as it was.
#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace tarq_solver {

template <class T>
class PodVector {
  static_assert(std::is_trivially_copyable_v<T>, "PodVector holds trivially copyable values only");

 public:
  using value_type = T;
  using size_type = std::size_t;
  using iterator = T*;
  using const_iterator = const T*;

  PodVector() = default;
  explicit PodVector(size_type n, const T& value = T()) { assign(n, value); }
  PodVector(std::initializer_list<T> values) { assign(values.begin(), values.end()); }
  template <class It, class = decltype(*std::declval<It>())>
  PodVector(It first, It last) {
    assign(first, last);
  }
  PodVector(const PodVector& other) { assign(other.begin(), other.end()); }
  PodVector(PodVector&& other) noexcept { swap(other); }
  PodVector& operator=(const PodVector& other) {
    if (this != &other) {
      PodVector copy(other);
      swap(copy);
    }
    return *this;
  }
  PodVector& operator=(PodVector&& other) noexcept {
    PodVector gone(std::move(other));
    swap(gone);
    return *this;
  }
  // Copies from a standard vector (readers fill those, then hand them over).
  PodVector& operator=(std::initializer_list<T> values) {
    assign(values.begin(), values.end());
    return *this;
  }
  PodVector& operator=(const std::vector<T>& values) {
    assign(values.begin(), values.end());
    return *this;
  }
  // A standard vector with the same values, for code that keeps its own copy.
  operator std::vector<T>() const { return std::vector<T>(begin(), end()); }
  ~PodVector() { Release(data_, cap_); }

  size_type size() const { return size_; }
  size_type capacity() const { return cap_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T& operator[](size_type i) { return data_[i]; }
  const T& operator[](size_type i) const { return data_[i]; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& front() { return data_[0]; }
  const T& front() const { return data_[0]; }
  T& back() { return data_[size_ - 1]; }
  const T& back() const { return data_[size_ - 1]; }

  void reserve(size_type n) {
    if (n > cap_) Reallocate(n);
  }
  void shrink_to_fit() {
    if (cap_ > size_) Reallocate(size_);
  }
  void clear() { size_ = 0; }
  // Takes the first n <= capacity() elements as the contents, after the caller wrote those
  // beyond size() through data().
  void SetSize(size_type n) { size_ = n; }
  void push_back(const T& value) {
    if (size_ == cap_) {
      const T copy = value;  // value may live in this array
      Reallocate(Grown(size_ + 1));
      data_[size_++] = copy;
      return;
    }
    data_[size_++] = value;
  }
  template <class... Args>
  T& emplace_back(Args&&... args) {
    push_back(T{std::forward<Args>(args)...});
    return back();
  }
  void pop_back() { --size_; }
  void resize(size_type n, const T& value = T()) {
    if (n > cap_) Reallocate(Grown(n));
    if (n > size_) std::fill(data_ + size_, data_ + n, value);
    size_ = n;
  }
  void assign(size_type n, const T& value) {
    if (n > cap_) Reallocate(n);
    std::fill(data_, data_ + n, value);
    size_ = n;
  }
  template <class It, class = decltype(*std::declval<It>())>
  void assign(It first, It last) {
    clear();
    insert(end(), first, last);
  }
  // Inserts [first, last) before pos; the source must not lie in this array.
  template <class It, class = decltype(*std::declval<It>())>
  T* insert(T* pos, It first, It last) {
    const auto at = static_cast<size_type>(pos - data_);
    const auto n = static_cast<size_type>(std::distance(first, last));
    if (n == 0) return data_ + at;
    if (size_ + n > cap_) Reallocate(Grown(size_ + n));
    if (at < size_) std::memmove(data_ + at + n, data_ + at, (size_ - at) * sizeof(T));
    std::copy(first, last, data_ + at);
    size_ += n;
    return data_ + at;
  }
  T* insert(T* pos, size_type n, const T& value) {
    const auto at = static_cast<size_type>(pos - data_);
    const T copy = value;
    if (n == 0) return data_ + at;
    if (size_ + n > cap_) Reallocate(Grown(size_ + n));
    if (at < size_) std::memmove(data_ + at + n, data_ + at, (size_ - at) * sizeof(T));
    std::fill(data_ + at, data_ + at + n, copy);
    size_ += n;
    return data_ + at;
  }
  T* insert(T* pos, const T& value) { return insert(pos, 1, value); }
  T* erase(T* first, T* last) {
    const auto at = static_cast<size_type>(first - data_);
    const auto n = static_cast<size_type>(last - first);
    if (n > 0) std::memmove(data_ + at, data_ + at + n, (size_ - at - n) * sizeof(T));
    size_ -= n;
    return data_ + at;
  }
  T* erase(T* pos) { return erase(pos, pos + 1); }
  void swap(PodVector& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(cap_, other.cap_);
  }
  friend bool operator==(const PodVector& a, const PodVector& b) {
    return a.size_ == b.size_ && std::equal(a.begin(), a.end(), b.begin());
  }
  friend bool operator==(const PodVector& a, const std::vector<T>& b) {
    return a.size_ == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }

 private:
  static constexpr size_type kMapBytes = size_type{1} << 20;
  static constexpr size_type kPage = 4096;
  static constexpr size_type kHugePage = size_type{1} << 21;

  // Capacity for need elements when growing: at least twice the current one.
  size_type Grown(size_type need) const { return std::max({need, 2 * cap_, size_type{8}}); }
  static size_type Bytes(size_type cap) { return cap * sizeof(T); }
  static bool Mapped(size_type cap) { return Bytes(cap) >= kMapBytes; }
  static size_type MapBytes(size_type cap) {
    const size_type unit = Bytes(cap) >= kHugePage ? kHugePage : kPage;
    return (Bytes(cap) + unit - 1) / unit * unit;
  }

  // A fresh mapping of `bytes` (a MapBytes value), aligned to 2 MB and advised for huge pages
  // when it spans one; null when the address space is exhausted.
  static void* Map(size_type bytes) {
    if (bytes < kHugePage) {
      void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      return p == MAP_FAILED ? nullptr : p;
    }
    void* raw = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t tail = aligned + bytes, end = start + bytes + kHugePage;
    if (end > tail) munmap(reinterpret_cast<void*>(tail), end - tail);
    void* p = reinterpret_cast<void*>(aligned);
    madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without huge pages the mapping still works
    return p;
  }

  static void Release(T* p, size_type cap) noexcept {
    if (p == nullptr) return;
    if (Mapped(cap)) {
      munmap(p, MapBytes(cap));
    } else {
      std::free(p);
    }
  }

  // Moves the values into storage for cap elements (cap >= size_).
  void Reallocate(size_type cap) {
    if (cap > static_cast<size_type>(-1) / (2 * sizeof(T))) throw std::bad_alloc();
    void* fresh = nullptr;
    if (cap == 0) {
      Release(data_, cap_);
      data_ = nullptr;
      cap_ = 0;
      return;
    }
    if (Mapped(cap)) {
      if (data_ != nullptr && Mapped(cap_)) {
        if (MapBytes(cap) == MapBytes(cap_)) {
          cap_ = cap;
          return;
        }
        // Into a range of the new size that Map aligned: the pages move, none is copied.
        void* target = Map(MapBytes(cap));
        if (target == nullptr) throw std::bad_alloc();
        fresh = mremap(data_, MapBytes(cap_), MapBytes(cap), MREMAP_MAYMOVE | MREMAP_FIXED, target);
        if (fresh == MAP_FAILED) {
          munmap(target, MapBytes(cap));
          throw std::bad_alloc();
        }
        if (MapBytes(cap) >= kHugePage) madvise(fresh, MapBytes(cap), MADV_HUGEPAGE);
        data_ = static_cast<T*>(fresh);
        cap_ = cap;
        return;
      }
      fresh = Map(MapBytes(cap));
      if (fresh == nullptr) throw std::bad_alloc();
    } else if (data_ != nullptr && !Mapped(cap_)) {
      fresh = std::realloc(data_, Bytes(cap));
      if (fresh == nullptr) throw std::bad_alloc();
      data_ = static_cast<T*>(fresh);
      cap_ = cap;
      return;
    } else {
      fresh = std::malloc(Bytes(cap));
      if (fresh == nullptr) throw std::bad_alloc();
    }
    if (size_ > 0) std::memcpy(fresh, data_, Bytes(size_));
    Release(data_, cap_);
    data_ = static_cast<T*>(fresh);
    cap_ = cap;
  }

  T* data_ = nullptr;
  size_type size_ = 0;
  size_type cap_ = 0;
};

}  // namespace tarq_solver
