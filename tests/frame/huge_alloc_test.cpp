#include "frame/huge_alloc.h"

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

}  // namespace
