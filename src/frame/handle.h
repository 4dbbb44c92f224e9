// Handle blocks and the standard implementation-object shape.
//
// Memory model: an implementation object whose internal object may be shared (TarqEnvr,
// TarqModel, lists, ...) is a vtable plus one BlockRef, i.e. one counted reference on a
// HandleBlock that owns the internal object; one whose value is its own (the handles on single
// objects and expressions, InlineHandled) holds that value itself. Internal
// objects hold BlockRefs on the blocks they depend on (a model on its environment's holder, an
// object record on its problem holder), so a dependency always outlives its dependants. The last
// release of a block destroys what it owns, then the block. Counts are atomic: objects sharing a
// block may be released on different threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#include "frame/small_heap.h"

namespace Tarq::detail {

// Raw storage for arrays of alignment Align: the plain allocation functions when they align
// enough (they are cheaper than the aligned ones), the aligned ones otherwise. Storage from
// RawNew<A> goes back through RawDelete<A>.
template <std::size_t Align>
void* RawNew(std::size_t bytes) {
  if constexpr (Align <= __STDCPP_DEFAULT_NEW_ALIGNMENT__) {
    return ::operator new(bytes);
  } else {
    return ::operator new(bytes, std::align_val_t(Align));
  }
}
template <std::size_t Align>
void RawDelete(void* p) noexcept {
  if constexpr (Align <= __STDCPP_DEFAULT_NEW_ALIGNMENT__) {
    ::operator delete(p);
  } else {
    ::operator delete(p, std::align_val_t(Align));
  }
}

// Storage for one handle object with its value, or one block with its object (see small_heap.h):
// freed with the size it was asked for.
template <std::size_t Align>
void* JointNew(std::size_t bytes) {
  if constexpr (Align <= 16) {
    return SmallNew(bytes);
  } else {
    return RawNew<Align>(bytes);
  }
}
template <std::size_t Align>
void JointDelete(void* p, std::size_t bytes) noexcept {
  if constexpr (Align <= 16) {
    SmallDelete(p, bytes);
  } else {
    RawDelete<Align>(p);
  }
}

template <class T>
struct HandleBlock {
  T* object;             // the owned object, or the first of an array; null owns nothing
  std::uint64_t count;   // 1: one object allocated singly; n: an array of n
  std::atomic<std::uint32_t> refs;

  // Takes ownership of a singly allocated object; one reference.
  static HandleBlock* Adopt(T* obj) { return new HandleBlock{obj, 1, 1}; }

  // Constructs one object in the same allocation as the block (one allocation instead of two);
  // nothing leaks when the constructor throws.
  template <class... Args>
  static HandleBlock* Make(Args&&... args) {
    void* raw = JointNew<alignof(Joint)>(sizeof(Joint));
    try {
      Joint* joint = static_cast<Joint*>(raw);
      T* obj = new (joint->slot) T(std::forward<Args>(args)...);
      return new (&joint->block) HandleBlock{obj, 1, 1};
    } catch (...) {
      JointDelete<alignof(Joint)>(raw, sizeof(Joint));
      throw;
    }
  }

  // Constructs n value-initialised objects (n == 1 allocates singly, n == 0 owns nothing).
  static HandleBlock* MakeArray(std::uint64_t n) {
    if (n == 1) return Make();
    if (n == 0) return new HandleBlock{nullptr, 0, 1};
    T* storage = static_cast<T*>(RawNew<alignof(T)>(sizeof(T) * n));
    std::uint64_t built = 0;
    try {
      for (; built < n; ++built) new (storage + built) T();
      return new HandleBlock{storage, n, 1};
    } catch (...) {
      DestroyArray(storage, built);
      throw;
    }
  }

  void Retain() noexcept { refs.fetch_add(1, std::memory_order_relaxed); }
  // Takes n references at once, for n owners made together (one atomic operation, not n).
  void Retain(std::uint32_t n) noexcept { refs.fetch_add(n, std::memory_order_relaxed); }

  // Drops one reference; the last one destroys the owned object(s) and the block.
  void Release() noexcept {
    if (refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    if (IsJoint()) {
      object->~T();
      this->~HandleBlock();
      JointDelete<alignof(Joint)>(static_cast<void*>(this), sizeof(Joint));
      return;
    }
    if (object != nullptr) {
      if (count == 1) {
        delete object;
      } else {
        DestroyArray(object, count);
      }
    }
    delete this;
  }

 private:
  // A block and its object in one allocation, the block first.
  struct Joint {
    HandleBlock block;
    alignas(T) unsigned char slot[sizeof(T)];
  };

  bool IsJoint() const noexcept {
    return count == 1 && static_cast<const void*>(object) ==
                             static_cast<const void*>(reinterpret_cast<const unsigned char*>(this) + offsetof(Joint, slot));
  }

  // Destroys the elements in order, then frees the storage.
  static void DestroyArray(T* storage, std::uint64_t n) noexcept {
    for (std::uint64_t i = 0; i < n; ++i) storage[i].~T();
    RawDelete<alignof(T)>(storage);
  }
};

// One counted reference on a HandleBlock; the size of a pointer. Copies retain, destruction
// releases. An empty BlockRef refers to nothing.
template <class T>
class BlockRef {
 public:
  BlockRef() noexcept = default;
  // Takes over a reference the caller already owns.
  explicit BlockRef(HandleBlock<T>* block) noexcept : block_(block) {}
  BlockRef(const BlockRef& other) noexcept : block_(other.block_) {
    if (block_ != nullptr) block_->Retain();
  }
  BlockRef(BlockRef&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  BlockRef& operator=(BlockRef other) noexcept {
    std::swap(block_, other.block_);
    return *this;
  }
  ~BlockRef() {
    if (block_ != nullptr) block_->Release();
  }

  template <class... Args>
  static BlockRef Make(Args&&... args) {
    return BlockRef(HandleBlock<T>::Make(std::forward<Args>(args)...));
  }

  T* Get() const noexcept { return block_ != nullptr ? block_->object : nullptr; }
  T* operator->() const noexcept { return Get(); }
  T& operator*() const noexcept { return *Get(); }
  explicit operator bool() const noexcept { return Get() != nullptr; }
  HandleBlock<T>* Block() const noexcept { return block_; }
  // Gives up the reference without releasing it: the caller takes it over.
  HandleBlock<T>* Detach() noexcept { return std::exchange(block_, nullptr); }

 private:
  HandleBlock<T>* block_ = nullptr;
};

// Base of every stateful implementation class: the interface's vtable, then one block
// reference. Operations that receive another library object reach its state through Data().
template <class Iface, class T>
class Handled : public Iface {
 public:
  using DataType = T;

  explicit Handled(BlockRef<T> ref) noexcept : ref_(std::move(ref)) {}
  Handled(const Handled&) = delete;
  Handled& operator=(const Handled&) = delete;

  T& Data() const noexcept { return *ref_; }
  const BlockRef<T>& Ref() const noexcept { return ref_; }

 protected:
  BlockRef<T> ref_;
};

// An implementation class that holds its value itself: [object | value], no block and no count.
// For values that no other object ever shares (each handle on one object, expression, builder or
// list is made from a value of its own): a handle then costs one small-heap allocation of the
// vtable and the value, and reaching the value is an offset from the object. Programs hold
// millions of variable handles (one per variable of a list), so their size is most of the memory
// the modeling layer adds to a model.
template <class Iface, class T>
class InlineHandled : public Iface {
 public:
  using DataType = T;

  explicit InlineHandled(const T& value) : value_(value) {}
  explicit InlineHandled(T&& value) noexcept(std::is_nothrow_move_constructible_v<T>) : value_(std::move(value)) {}
  // The value made from args in place.
  template <class... Args>
  explicit InlineHandled(std::in_place_t, Args&&... args) : value_(std::forward<Args>(args)...) {}
  InlineHandled(const InlineHandled&) = delete;
  InlineHandled& operator=(const InlineHandled&) = delete;

  static void* operator new(std::size_t size) { return JointNew<alignof(T)>(size); }
  static void operator delete(void* p, std::size_t size) noexcept { JointDelete<alignof(T)>(p, size); }

  T& Data() const noexcept { return value_; }

 private:
  mutable T value_;
};

// A fresh, empty value: one per thread, made anew at every call, so that nothing done to it lasts.
template <class Impl>
[[gnu::noinline]] typename Impl::DataType& FreshValue() {
  thread_local typename Impl::DataType empty;
  empty = typename Impl::DataType();
  return empty;
}

// The value behind a caller's interface pointer. A null pointer stands for a fresh, empty value.
template <class Impl, class Iface>
inline typename Impl::DataType& DataOf(const Iface* p) {
  if (p == nullptr) [[unlikely]] return FreshValue<Impl>();
  return static_cast<const Impl*>(p)->Data();
}

}  // namespace Tarq::detail
