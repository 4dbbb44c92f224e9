#include "frame/huge_alloc.h"
#include "frame/long_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Tarq::detail::LongVector;

bool HugeAligned(const void* p) { return reinterpret_cast<std::uintptr_t>(p) % Tarq::detail::kHugePage == 0; }

// A list growing one element at a time moves from operator new into aligned mappings and keeps
// every value through each move, as the standard allocator does.
TEST(HugeAllocator, GrowingListKeepsEveryValueAndAlignsLongBlocks) {
  LongVector<std::int64_t> v;
  std::vector<std::int64_t> ref;
  for (std::int64_t k = 0; k < 700000; ++k) {  // 5.6 MB
    v.push_back(3 * k + 1);
    ref.push_back(3 * k + 1);
  }
  ASSERT_TRUE(std::equal(v.begin(), v.end(), ref.begin(), ref.end()));
  EXPECT_TRUE(HugeAligned(v.data()));
  v.resize(10);
  v.shrink_to_fit();  // back into ordinary memory
  EXPECT_EQ(v.size(), 10u);
  EXPECT_EQ(v[9], 28);
}

// Elements with their own resources are built and destroyed normally in a mapped block.
TEST(HugeAllocator, HoldsElementsWithResources) {
  LongVector<std::string> v(60000, std::string(40, 'x'));  // 1.9 MB of strings: mapped
  EXPECT_TRUE(HugeAligned(v.data()));
  v[59999] += "y";
  LongVector<std::string> copy = v;
  EXPECT_EQ(copy[59999].size(), 41u);
  EXPECT_EQ(copy[0], std::string(40, 'x'));
}

// The model's object lists grow by moving their pages: every value survives each move, from
// ordinary memory into mappings and between mappings of several huge pages, also when growth
// starts from a reserved capacity that is not a power of two; a moved-from list is empty.
TEST(LongList, GrowsByMovingPagesAndKeepsEveryValue) {
  Tarq::detail::LongList<std::int64_t> v;
  v.reserve(3);
  for (std::int64_t k = 0; k < 1500000; ++k) {  // 12 MB, through several remappings
    v.push_back(7 * k - 2);
    if (k == 200000) v.reserve(v.capacity() + 12345);  // an odd capacity inside a mapping
  }
  ASSERT_EQ(v.size(), 1500000u);
  EXPECT_TRUE(HugeAligned(v.begin()));
  std::int64_t wrong = 0;
  for (std::size_t k = 0; k < v.size(); ++k) wrong += v[k] != 7 * static_cast<std::int64_t>(k) - 2;
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(v.back(), 7 * 1499999 - 2);

  Tarq::detail::LongList<std::int64_t> w(std::move(v));
  EXPECT_TRUE(v.empty());
  EXPECT_EQ(v.capacity(), 0u);
  EXPECT_EQ(w[1234567], 7 * 1234567 - 2);
  v.push_back(5);  // the moved-from list is usable
  w = std::move(v);
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0], 5);
}

// Growing a mapping within its last huge page keeps it where it is; beyond, the values move.
TEST(LongList, RemapsInPlaceWithinTheLastPage) {
  const std::size_t mb = std::size_t{1} << 20;
  auto* p = static_cast<unsigned char*>(Tarq::detail::MapHuge(mb + 1));
  p[mb] = 42;
  EXPECT_EQ(Tarq::detail::RemapHuge(p, mb + 1, 2 * mb), p);
  auto* q = static_cast<unsigned char*>(Tarq::detail::RemapHuge(p, 2 * mb, 5 * mb));
  EXPECT_TRUE(HugeAligned(q));
  EXPECT_EQ(q[mb], 42);
  q[5 * mb - 1] = 1;  // the new range is writable to its end
  Tarq::detail::UnmapHuge(q, 5 * mb);
}

}  // namespace
