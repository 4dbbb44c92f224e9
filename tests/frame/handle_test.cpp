#include "frame/handle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using Tarq::detail::BlockRef;
using Tarq::detail::DataOf;
using Tarq::detail::HandleBlock;
using Tarq::detail::InlineHandled;

// Counts constructions and destructions and remembers the order of destruction.
struct Tracked {
  static inline int alive = 0;
  static inline int destroyed = 0;
  static inline std::vector<int> order;
  static inline int next = 0;
  static inline int throwAt = -1;  // the construction number that throws

  int id;
  Tracked() : id(next++) {
    if (id == throwAt) throw std::runtime_error("construction failed");
    ++alive;
  }
  ~Tracked() {
    --alive;
    ++destroyed;
    order.push_back(id);
  }
  static void Reset() {
    alive = destroyed = next = 0;
    throwAt = -1;
    order.clear();
  }
};

TEST(HandleBlock, SharedBlockDestroysObjectOnceOnLastRelease) {
  Tracked::Reset();
  {
    auto a = BlockRef<Tracked>::Make();
    EXPECT_EQ(a.Block()->count, 1u);
    EXPECT_EQ(a.Block()->refs.load(), 1u);
    BlockRef<Tracked> b = a;
    EXPECT_EQ(a.Block(), b.Block());
    EXPECT_EQ(a.Block()->refs.load(), 2u);
    a = BlockRef<Tracked>();
    EXPECT_EQ(Tracked::destroyed, 0);
    EXPECT_EQ(b.Block()->refs.load(), 1u);
  }
  EXPECT_EQ(Tracked::destroyed, 1);
  EXPECT_EQ(Tracked::alive, 0);
}

TEST(HandleBlock, ConcurrentReleasesDestroyExactlyOnce) {
  Tracked::Reset();
  constexpr int kRounds = 2000;
  for (int round = 0; round < kRounds; ++round) {
    auto* block = HandleBlock<Tracked>::Make();
    block->Retain();
    std::atomic<bool> go{false};
    std::thread t([&] {
      while (!go.load()) {
      }
      block->Release();
    });
    go.store(true);
    block->Release();
    t.join();
  }
  EXPECT_EQ(Tracked::destroyed, kRounds);
  EXPECT_EQ(Tracked::alive, 0);
}

TEST(HandleBlock, ArrayBlockDestroysEveryElementInOrder) {
  Tracked::Reset();
  auto* block = HandleBlock<Tracked>::MakeArray(3);
  EXPECT_EQ(block->count, 3u);
  EXPECT_EQ(Tracked::alive, 3);
  EXPECT_EQ(block->object[2].id, 2);
  block->Release();
  EXPECT_EQ(Tracked::alive, 0);
  EXPECT_EQ(Tracked::order, (std::vector<int>{0, 1, 2}));
}

TEST(HandleBlock, ArrayOfOneIsSingleAndEmptyArrayOwnsNothing) {
  Tracked::Reset();
  auto* one = HandleBlock<Tracked>::MakeArray(1);
  EXPECT_EQ(one->count, 1u);
  one->Release();
  EXPECT_EQ(Tracked::destroyed, 1);

  auto* none = HandleBlock<Tracked>::MakeArray(0);
  EXPECT_EQ(none->object, nullptr);
  none->Release();
  EXPECT_EQ(Tracked::destroyed, 1);
}

TEST(HandleBlock, FailedArrayConstructionDestroysWhatWasBuilt) {
  Tracked::Reset();
  Tracked::throwAt = 2;
  EXPECT_THROW(HandleBlock<Tracked>::MakeArray(4), std::runtime_error);
  EXPECT_EQ(Tracked::alive, 0);
  EXPECT_EQ(Tracked::order, (std::vector<int>{0, 1}));
}

TEST(HandleBlock, ThrowingConstructionLeavesNothingAlive) {
  Tracked::Reset();
  Tracked::throwAt = 0;
  EXPECT_THROW(HandleBlock<Tracked>::Make(), std::runtime_error);
  EXPECT_EQ(Tracked::alive, 0);
  auto* adopted = HandleBlock<Tracked>::Adopt(new Tracked);
  EXPECT_EQ(Tracked::alive, 1);
  adopted->Release();
  EXPECT_EQ(Tracked::alive, 0);
}

struct IThing {
  virtual ~IThing() = default;
  virtual int Id() const = 0;
};

// A value whose copies throw on request, for the handles that hold their value.
struct CopyCounted {
  static inline int alive = 0;
  static inline bool throwOnCopy = false;
  int id = 0;
  CopyCounted() { ++alive; }
  explicit CopyCounted(int i) : id(i) { ++alive; }
  CopyCounted(const CopyCounted& o) : id(o.id) {
    if (throwOnCopy) throw std::runtime_error("copy failed");
    ++alive;
  }
  CopyCounted& operator=(const CopyCounted&) = default;
  ~CopyCounted() { --alive; }
};

class Inline final : public InlineHandled<IThing, CopyCounted> {
 public:
  using InlineHandled::InlineHandled;
  int Id() const override { return Data().id; }
};

TEST(InlineHandled, EachObjectOwnsItsValueAndFreesItOnDelete) {
  CopyCounted::alive = 0;
  CopyCounted::throwOnCopy = false;
  {
    const CopyCounted source(7);
    IThing* a = new Inline(source);
    IThing* b = new Inline(source);
    EXPECT_EQ(CopyCounted::alive, 3);
    // Two objects made from one value hold two values: a change to one stays there.
    DataOf<Inline>(a).id = 8;
    EXPECT_EQ(a->Id(), 8);
    EXPECT_EQ(b->Id(), 7);
    EXPECT_EQ(source.id, 7);
    EXPECT_EQ(&DataOf<Inline>(b), &static_cast<Inline*>(b)->Data());
    delete a;
    EXPECT_EQ(CopyCounted::alive, 2);
    delete b;
    EXPECT_EQ(CopyCounted::alive, 1);
    // A value that fails to copy: the storage goes back (the sanitizer build checks that it is
    // freed with the size it was taken with) and nothing is left alive.
    CopyCounted::throwOnCopy = true;
    EXPECT_THROW(new Inline(source), std::runtime_error);
    CopyCounted::throwOnCopy = false;
    EXPECT_EQ(CopyCounted::alive, 1);
  }
  EXPECT_EQ(CopyCounted::alive, 0);
}

TEST(HandleBlock, EmptyRefIsFalseAndMoveLeavesSourceEmpty) {
  Tracked::Reset();
  BlockRef<Tracked> empty;
  EXPECT_FALSE(empty);
  EXPECT_EQ(empty.Get(), nullptr);
  auto a = BlockRef<Tracked>::Make();
  BlockRef<Tracked> b = std::move(a);
  EXPECT_FALSE(a);
  EXPECT_TRUE(b);
  EXPECT_EQ(b.Block()->refs.load(), 1u);
}

}  // namespace
