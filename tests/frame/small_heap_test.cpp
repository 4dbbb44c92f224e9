#include "frame/small_heap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <set>
#include <thread>
#include <utility>
#include <vector>

// Under AddressSanitizer every block comes from operator new (see small_heap.h), which need not
// hand a freed block out again.
#if defined(__SANITIZE_ADDRESS__)
#define TARQ_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARQ_TEST_ASAN 1
#endif
#endif
#ifdef TARQ_TEST_ASAN
constexpr bool kReuses = false;
#else
constexpr bool kReuses = true;
#endif

namespace {

using Tarq::detail::kSmallMax;
using Tarq::detail::SmallDelete;
using Tarq::detail::SmallNew;

struct Block {
  void* p;
  std::size_t bytes;
};

// Fills each block with a pattern of its own, so that blocks handed out twice or overlapping
// show up as a changed pattern.
void Fill(const Block& b, unsigned char tag) { std::memset(b.p, tag, b.bytes); }
bool Holds(const Block& b, unsigned char tag) {
  const auto* c = static_cast<const unsigned char*>(b.p);
  for (std::size_t k = 0; k < b.bytes; ++k) {
    if (c[k] != tag) return false;
  }
  return true;
}

TEST(SmallHeap, BlocksOfEverySizeAreAlignedDistinctAndReused) {
  std::vector<Block> blocks;
  for (std::size_t bytes = 1; bytes <= kSmallMax + 64; bytes += 7) {
    for (int k = 0; k < 40; ++k) blocks.push_back({SmallNew(bytes), bytes});
  }
  std::set<void*> seen;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(blocks[i].p) % 16, 0u);
    EXPECT_TRUE(seen.insert(blocks[i].p).second) << "block handed out twice";
    Fill(blocks[i], static_cast<unsigned char>(i));
  }
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    ASSERT_TRUE(Holds(blocks[i], static_cast<unsigned char>(i))) << "block " << i << " was overwritten";
  }
  // A freed block of a class is what the next request of that class gets.
  void* again = blocks[3].p;
  SmallDelete(blocks[3].p, blocks[3].bytes);
  blocks[3].p = SmallNew(blocks[3].bytes);
  if (kReuses) {
    EXPECT_EQ(blocks[3].p, again);
  }
  for (const Block& b : blocks) SmallDelete(b.p, b.bytes);
}

// Blocks made in one thread and freed in others, by threads that then end, stay sound: every
// block is handed out once at a time, and the pool keeps serving after the threads are gone.
TEST(SmallHeap, BlocksMayBeFreedByOtherThreadsAndOutliveTheirThreads) {
  constexpr int kThreads = 4, kPerThread = 20000;
  std::vector<std::vector<Block>> made(kThreads);
  std::vector<std::thread> makers;
  for (int t = 0; t < kThreads; ++t) {
    makers.emplace_back([&made, t] {
      for (int k = 0; k < kPerThread; ++k) {
        Block b{SmallNew(48 + 16 * (k % 5)), static_cast<std::size_t>(48 + 16 * (k % 5))};
        Fill(b, static_cast<unsigned char>(t + 1));
        made[t].push_back(b);
      }
    });
  }
  for (auto& th : makers) th.join();
  std::vector<std::thread> freers;
  for (int t = 0; t < kThreads; ++t) {
    freers.emplace_back([&made, t] {
      const int owner = (t + 1) % kThreads;  // frees another thread's blocks
      for (const Block& b : made[owner]) {
        if (!Holds(b, static_cast<unsigned char>(owner + 1))) ADD_FAILURE() << "a block changed hands";
        SmallDelete(b.p, b.bytes);
      }
      for (int k = 0; k < 1000; ++k) SmallDelete(SmallNew(64), 64);
    });
  }
  for (auto& th : freers) th.join();
  std::set<void*> seen;
  std::vector<Block> fresh;
  for (int k = 0; k < 3 * kPerThread; ++k) {
    fresh.push_back({SmallNew(64), 64});
    ASSERT_TRUE(seen.insert(fresh.back().p).second);
  }
  for (const Block& b : fresh) SmallDelete(b.p, b.bytes);
}

// Waves of blocks of one size after another, each freed in scrambled order but for every seventh
// block, which lives on: no block handed out overlaps a live one, and the live ones keep their
// contents.
TEST(SmallHeap, WavesOfSizesComeAndGoWithoutTouchingLiveBlocks) {
  constexpr std::size_t kSizes[] = {16, 48, 112, 240, 512, 32, 80};
  std::vector<Block> kept;
  std::uint64_t seed = 7;
  for (std::size_t round = 0; round < std::size(kSizes); ++round) {
    std::vector<Block> wave;
    for (int k = 0; k < 20000; ++k) {
      wave.push_back({SmallNew(kSizes[round]), kSizes[round]});
      Fill(wave.back(), static_cast<unsigned char>(round * 16 + k % 16));
    }
    for (const Block& b : kept) {
      ASSERT_TRUE(Holds(b, static_cast<unsigned char>(reinterpret_cast<std::uintptr_t>(b.p) >> 4)))
          << "a live block was handed out again";
    }
    // Every seventh block lives on, marked by its address; the rest go, in scrambled order.
    for (std::size_t i = wave.size(); i-- > 1;) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      std::swap(wave[i], wave[static_cast<std::size_t>(seed >> 33) % (i + 1)]);
    }
    for (std::size_t i = 0; i < wave.size(); ++i) {
      if (i % 7 == 0) {
        Fill(wave[i], static_cast<unsigned char>(reinterpret_cast<std::uintptr_t>(wave[i].p) >> 4));
        kept.push_back(wave[i]);
      } else {
        SmallDelete(wave[i].p, wave[i].bytes);
      }
    }
  }
  std::set<void*> seen;
  for (const Block& b : kept) {
    EXPECT_TRUE(seen.insert(b.p).second);
    EXPECT_TRUE(Holds(b, static_cast<unsigned char>(reinterpret_cast<std::uintptr_t>(b.p) >> 4)));
    SmallDelete(b.p, b.bytes);
  }
}

}  // namespace
