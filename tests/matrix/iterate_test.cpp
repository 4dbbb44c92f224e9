#include "matrix/iterate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

namespace {

using Tarq::detail::ForEachInStorageOrder;
using Tarq::detail::ForEachPair;
using Tarq::detail::ForEachRowMajor;
using Tarq::detail::RowMajor;
using Tarq::detail::Sizes;
using Tarq::detail::Strides;

// The positions of every multi-index of sizes under strides and base, in row-major order.
template <int K>
std::vector<std::int64_t> Positions(const Sizes<K>& dim, const Strides<K>& stride, std::int64_t base) {
  std::vector<std::int64_t> out;
  std::size_t total = 1;
  for (auto d : dim) total *= d;
  for (std::size_t flat = 0; flat < total; ++flat) {
    std::size_t rest = flat;
    std::int64_t pos = base;
    for (int k = K - 1; k >= 0; --k) {
      pos += static_cast<std::int64_t>(rest % dim[k]) * stride[k];
      rest /= dim[k];
    }
    out.push_back(pos);
  }
  return out;
}

struct PairCase {
  Sizes<3> dim;
  Strides<3> a;
  Strides<3> b;
};

TEST(ForEachPair, VisitsEveryMultiIndexOnceWithBothPositions) {
  const PairCase cases[] = {
      {{70, 5, 37}, {185, 37, 1}, {1, 70, 350}},      // transposed copy: tiled
      {{70, 5, 37}, {185, 37, 1}, {185, 37, 1}},      // same layout
      {{33, 1, 65}, {65, 9, 1}, {1, 4, 33}},          // an axis of size 1 with an odd stride
      {{40, 40, 3}, {120, 3, 1}, {-3, -120, 10000}},  // negative strides
      {{3, 4, 50}, {200, 50, 1}, {0, 1, 4}},          // a broadcast axis (stride 0) in B
      {{2, 0, 5}, {0, 5, 1}, {1, 2, 3}},              // empty
      {{1, 1, 1}, {7, 7, 7}, {9, 9, 9}},              // one element
  };
  for (const auto& c : cases) {
    std::vector<std::int64_t> wantA = Positions<3>(c.dim, c.a, 5);
    std::vector<std::int64_t> wantB = Positions<3>(c.dim, c.b, 11);
    std::map<std::int64_t, std::int64_t> pairOf;  // A positions are distinct in every case
    for (std::size_t k = 0; k < wantA.size(); ++k) pairOf[wantA[k]] = wantB[k];
    std::map<std::int64_t, int> seen;
    ForEachPair<3>(c.dim, c.a, 5, c.b, 11, [&](std::int64_t pa, std::int64_t pb) {
      ++seen[pa];
      EXPECT_EQ(pairOf.at(pa), pb);
    });
    EXPECT_EQ(seen.size(), wantA.size());
    for (const auto& [pos, count] : seen) EXPECT_EQ(count, 1) << pos;
  }
}

TEST(ForEachInStorageOrder, VisitsEveryElementOnceInMemoryOrder) {
  // A (4, 3, 2) row-major layout seen transposed: strides (1, 2, 6).
  std::vector<std::int64_t> order;
  ForEachInStorageOrder<3>({2, 3, 4}, {1, 2, 6}, 0, [&](std::int64_t pos) { order.push_back(pos); });
  std::vector<std::int64_t> want(24);
  for (int i = 0; i < 24; ++i) want[i] = i;
  EXPECT_EQ(order, want);
  order.clear();
  ForEachInStorageOrder<2>({3, 2}, {-2, 1}, 4, [&](std::int64_t pos) { order.push_back(pos); });
  EXPECT_EQ(order, std::vector<std::int64_t>({4, 5, 2, 3, 0, 1}));
}

TEST(ForEachRowMajor, FollowsTheLevelsFromTheFirstAxis) {
  auto shape = RowMajor<2>({2, 3});
  shape.SetAxis(0, 2, 1, 0);  // a transposed (3, 2) layout
  shape.SetAxis(1, 3, 2, 1);
  std::vector<std::int64_t> order;
  ForEachRowMajor(shape, [&](std::int64_t pos) { order.push_back(pos); });
  EXPECT_EQ(order, std::vector<std::int64_t>({1, 3, 5, 2, 4, 6}));
}

}  // namespace
