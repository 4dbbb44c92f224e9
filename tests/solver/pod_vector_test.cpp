#include "core/pod_vector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using tarq_solver::PodVector;

// Grows one element at a time from empty through the size where the array moves into its own
// mapping and on through several mapping moves, against a std::vector doing the same.
TEST(PodVector, GrowingAcrossTheMappingSizeKeepsEveryValue) {
  PodVector<std::int64_t> v;
  std::vector<std::int64_t> ref;
  for (std::int64_t k = 0; k < 600000; ++k) {  // 4.8 MB: malloc, then mapped, then remapped
    v.push_back(k * 7 - 3);
    ref.push_back(k * 7 - 3);
    if ((k & (k + 1)) == 0) {
      ASSERT_TRUE(v == ref) << "after " << k + 1 << " elements";
    }
  }
  EXPECT_TRUE(v == ref);
  EXPECT_GE(v.capacity(), v.size());
  // A mapping of 2 MB or more starts on a huge-page boundary, also after it moved.
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(v.data()) % (std::uintptr_t{1} << 21), 0u);

  // Shrinking from one huge mapping into a smaller one keeps the values.
  v.resize(400000);
  v.shrink_to_fit();
  ref.resize(400000);
  EXPECT_TRUE(v == ref);
  EXPECT_EQ(v.capacity(), 400000u);

  // Shrinking back below the mapping size moves the values into ordinary memory again.
  v.resize(1000);
  v.shrink_to_fit();
  ref.resize(1000);
  EXPECT_TRUE(v == ref);
  EXPECT_EQ(v.capacity(), 1000u);
}

TEST(PodVector, EditsBehaveLikeTheStandardVector) {
  PodVector<int> v{1, 2, 3};
  std::vector<int> ref{1, 2, 3};
  const int more[] = {7, 8};
  v.insert(v.begin() + 1, more, more + 2);
  ref.insert(ref.begin() + 1, more, more + 2);
  v.insert(v.end(), 2, 9);
  ref.insert(ref.end(), 2, 9);
  v.erase(v.begin(), v.begin() + 2);
  ref.erase(ref.begin(), ref.begin() + 2);
  v.resize(8, -1);
  ref.resize(8, -1);
  EXPECT_TRUE(v == ref);
  EXPECT_EQ(v.front(), ref.front());
  EXPECT_EQ(v.back(), -1);

  // Copies are independent; a moved-from array is empty and usable.
  PodVector<int> copy = v;
  copy[0] = 100;
  EXPECT_EQ(v[0], ref[0]);
  PodVector<int> moved = std::move(copy);
  EXPECT_EQ(moved[0], 100);
  EXPECT_TRUE(copy.empty());
  copy.push_back(5);
  EXPECT_EQ(copy.size(), 1u);

  // Conversions to and from the standard vector.
  const std::vector<int> out = v;
  EXPECT_EQ(out, ref);
  PodVector<int> in;
  in = ref;
  EXPECT_TRUE(in == ref);

  // push_back of an element of the array itself, at the moment the array grows.
  PodVector<double> self(8, 2.5);
  ASSERT_EQ(self.size(), self.capacity());
  self.push_back(self[3]);
  EXPECT_EQ(self.back(), 2.5);
}

}  // namespace
