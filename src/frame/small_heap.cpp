#include "frame/small_heap.h"

#include <cstdint>
#include <mutex>
#include <new>

#include "frame/huge_alloc.h"

#if defined(__SANITIZE_ADDRESS__)
#define TARQ_SMALL_HEAP_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARQ_SMALL_HEAP_OFF 1
#endif
#endif

namespace Tarq::detail {

#ifdef TARQ_SMALL_HEAP_OFF

void* SmallNew(std::size_t bytes) { return ::operator new(bytes); }
void SmallDelete(void* p, std::size_t) noexcept { ::operator delete(p); }

#else

namespace {

constexpr std::size_t kGrain = 16;
constexpr std::size_t kClasses = kSmallMax / kGrain;
constexpr int kBatch = 64;       // blocks a thread takes from the pool at once
constexpr int kKeepMax = 256;    // a thread's free list beyond this goes back to the pool, half of it

struct FreeBlock {
  FreeBlock* next;
};

std::size_t ClassOf(std::size_t bytes) { return (bytes + kGrain - 1) / kGrain - 1; }

// The blocks no thread holds: a free list per class and the unused end of the current region.
struct Pool {
  std::mutex lock;
  FreeBlock* head[kClasses] = {};
  unsigned char* next = nullptr;
  unsigned char* end = nullptr;

  // Links up to kBatch blocks of class c for a thread; returns the first, count in *n.
  FreeBlock* Take(std::size_t c, int* n) {
    std::lock_guard<std::mutex> guard(lock);
    FreeBlock* first = head[c];
    int got = 0;
    FreeBlock* last = nullptr;
    for (FreeBlock* b = first; b != nullptr && got < kBatch; b = b->next) {
      last = b;
      ++got;
    }
    if (got > 0) {
      head[c] = last->next;
      last->next = nullptr;
      *n = got;
      return first;
    }
    const std::size_t size = (c + 1) * kGrain;
    if (next == nullptr || static_cast<std::size_t>(end - next) < size * kBatch) {
      next = static_cast<unsigned char*>(MapHuge(kHugePage));  // the rest of the old region stays unused
      end = next + kHugePage;
    }
    FreeBlock* chain = nullptr;
    for (int k = kBatch - 1; k >= 0; --k) {
      auto* b = reinterpret_cast<FreeBlock*>(next + static_cast<std::size_t>(k) * size);
      b->next = chain;
      chain = b;
    }
    next += size * kBatch;
    *n = kBatch;
    return chain;
  }

  void Give(std::size_t c, FreeBlock* first, FreeBlock* last) {
    std::lock_guard<std::mutex> guard(lock);
    last->next = head[c];
    head[c] = first;
  }
};

Pool& ThePool() {
  static Pool* pool = new Pool;  // never destroyed: blocks may be freed during exit
  return *pool;
}

struct ThreadCache {
  FreeBlock* head[kClasses] = {};
  int count[kClasses] = {};

  // Gives half of class c's list back to the pool.
  [[gnu::noinline]] void Spill(std::size_t c) {
    FreeBlock* first = head[c];
    FreeBlock* last = first;
    for (int k = 1; k < kKeepMax / 2; ++k) last = last->next;
    head[c] = last->next;
    count[c] -= kKeepMax / 2;
    ThePool().Give(c, first, last);
  }
  void GiveAll() {
    for (std::size_t c = 0; c < kClasses; ++c) {
      if (head[c] == nullptr) continue;
      FreeBlock* last = head[c];
      while (last->next != nullptr) last = last->next;
      ThePool().Give(c, head[c], last);
      head[c] = nullptr;
      count[c] = 0;
    }
  }
};

// The thread's cache: null before its first use, kGone once its thread has passed its exit
// handlers (blocks freed after that go straight to the pool). Initial-exec: reached without a
// call into the dynamic linker.
ThreadCache* const kGone = reinterpret_cast<ThreadCache*>(std::uintptr_t{1});
[[gnu::tls_model("initial-exec")]] thread_local ThreadCache* cache = nullptr;

struct CacheOwner {
  ThreadCache* owned = nullptr;
  ~CacheOwner() {
    if (owned == nullptr) return;
    owned->GiveAll();
    delete owned;
    cache = kGone;
  }
};

ThreadCache* MyCache() {
  ThreadCache* c = cache;
  if (c != nullptr) return c;
  thread_local CacheOwner owner;
  owner.owned = new ThreadCache;
  cache = owner.owned;
  return cache;
}

// The thread's cache when it can be used (made and not yet gone), else null.
ThreadCache* LiveCache() noexcept {
  ThreadCache* c = cache;
  return reinterpret_cast<std::uintptr_t>(c) > reinterpret_cast<std::uintptr_t>(kGone) ? c : nullptr;
}

// Sizes SmallNew hands to operator new: 0 and anything above kSmallMax (0 wraps around).
bool Large(std::size_t bytes) noexcept { return bytes - 1 >= kSmallMax; }

// SmallNew when the thread's list of class c is empty or the thread has no usable cache: kept
// out of line, so that the common path saves no registers.
[[gnu::noinline]] void* SmallNewSlow(std::size_t c) {
  ThreadCache* tc = MyCache();
  if (tc == kGone) {
    int n = 0;
    FreeBlock* chain = ThePool().Take(c, &n);
    if (n > 1) {
      FreeBlock* last = chain->next;
      while (last->next != nullptr) last = last->next;
      ThePool().Give(c, chain->next, last);
    }
    return chain;
  }
  FreeBlock* b = tc->head[c];
  if (b == nullptr) b = ThePool().Take(c, &tc->count[c]);
  tc->head[c] = b->next;
  --tc->count[c];
  return b;
}

// SmallDelete on a thread without a usable cache: the block goes straight to the pool.
[[gnu::noinline]] void SmallDeleteToPool(FreeBlock* b, std::size_t c) noexcept {
  b->next = nullptr;
  ThePool().Give(c, b, b);
}

}  // namespace

void* SmallNew(std::size_t bytes) {
  if (Large(bytes)) [[unlikely]] return ::operator new(bytes);
  const std::size_t c = ClassOf(bytes);
  if (ThreadCache* tc = LiveCache()) [[likely]] {
    if (FreeBlock* b = tc->head[c]) [[likely]] {
      tc->head[c] = b->next;
      --tc->count[c];
      return b;
    }
  }
  return SmallNewSlow(c);
}

void SmallDelete(void* p, std::size_t bytes) noexcept {
  if (p == nullptr) return;
  if (Large(bytes)) [[unlikely]] {
    ::operator delete(p);
    return;
  }
  const std::size_t c = ClassOf(bytes);
  auto* b = static_cast<FreeBlock*>(p);
  ThreadCache* tc = LiveCache();
  if (tc == nullptr) [[unlikely]] {
    SmallDeleteToPool(b, c);
    return;
  }
  b->next = tc->head[c];
  tc->head[c] = b;
  if (++tc->count[c] > kKeepMax) [[unlikely]] tc->Spill(c);
}

#endif

}  // namespace Tarq::detail
