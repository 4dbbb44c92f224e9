#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "matrix/nd_test_util.h"

namespace {

using tarq_test::ArrayPtr;
using tarq_test::Iota;
using tarq_test::MakeArray;

constexpr std::int64_t kNoLimit = 1 << 20;

template <class T, int N>
std::string Printed(const ArrayPtr<T, N>& array, std::int64_t limit = kNoLimit) {
  return array->ToString(limit);
}

TEST(NdArrayPrint, NestedBracketsOneLinePerInnermostRow) {
  auto a1 = Iota<int, 1>({3});
  auto a2 = Iota<int, 2>({2, 2});
  auto a3 = Iota<int, 3>({2, 2, 2});
  auto a0 = MakeArray<double, 0>({}, {2.5});
  EXPECT_EQ(Printed(a1), "[1, 2, 3]\n");
  EXPECT_EQ(Printed(a2), "[[1, 2]\n [3, 4]\n]\n");
  EXPECT_EQ(Printed(a3),
            "[[[1, 2]\n"
            "  [3, 4]\n"
            " ]\n"
            " [[5, 6]\n"
            "  [7, 8]\n"
            " ]\n"
            "]\n");
  EXPECT_EQ(Printed(a0), "2.5\n");
}

TEST(NdArrayPrint, EmptyAxesPrintEmptyBrackets) {
  auto e1 = MakeArray<int, 1>({0}, {});
  auto e20 = MakeArray<int, 2>({2, 0}, {});
  auto e02 = MakeArray<int, 2>({0, 2}, {});
  EXPECT_EQ(Printed(e1), "[]\n");
  EXPECT_EQ(Printed(e20), "[[]\n []\n]\n");
  EXPECT_EQ(Printed(e02), "[]\n");
}

TEST(NdArrayPrint, StopsWithEllipsisOnceTheLimitIsReached) {
  auto a = Iota<int, 1>({5});
  EXPECT_EQ(Printed(a, 0), "[...");
  EXPECT_EQ(Printed(a, 4), "[1, ...");
  EXPECT_EQ(Printed(a, 5), "[1, 2, ...");
  EXPECT_EQ(Printed(a, 13), "[1, 2, 3, 4, ...");
  EXPECT_EQ(Printed(a, 14), "[1, 2, 3, 4, 5]\n");
  EXPECT_EQ(Printed(a, -3), "[...");
  auto b = Iota<int, 2>({2, 3});
  auto c = Iota<int, 3>({2, 2, 2});
  auto s = MakeArray<int, 0>({}, {7});
  EXPECT_EQ(Printed(b, 0), "[[...");
  EXPECT_EQ(Printed(c, 0), "[[[...");
  EXPECT_EQ(Printed(s, 0), "...");
  // Printing stops at every level: no closing brackets follow the ellipsis.
  EXPECT_EQ(Printed(b, 10), "[[1, 2, 3]\n [...");
  EXPECT_EQ(Printed(c, 20), "[[[1, 2]\n  [3, 4]\n ]\n [[...");
}

TEST(NdArrayPrint, ElementsUseTheStreamFormatOfTheirType) {
  auto d = MakeArray<double, 1>({4}, {0.5, 1e-7, 1.0, -1234567.0});
  auto l = MakeArray<long long, 1>({2}, {-9000000000LL, 3});
  auto c = MakeArray<char, 1>({4}, {'C', 'B', '\n', '\x7f'});
  EXPECT_EQ(Printed(d), "[0.5, 1e-07, 1, -1.23457e+06]\n");
  EXPECT_EQ(Printed(l), "[-9000000000, 3]\n");
  EXPECT_EQ(Printed(c), "[C, B, \\x0a, \\x7f]\n");
}

TEST(NdArrayPrint, ViewsPrintInTheirOwnRowMajorOrderAndTheTextIsKept) {
  auto a = Iota<int, 2>({2, 3});
  ArrayPtr<int, 2> t(a->Transpose());
  const char* text = t->ToString(kNoLimit);
  EXPECT_STREQ(text, "[[1, 4]\n [2, 5]\n [3, 6]\n]\n");
  // The text stays valid until the next ToString on the same object.
  a->ToString(kNoLimit);
  EXPECT_STREQ(text, "[[1, 4]\n [2, 5]\n [3, 6]\n]\n");
}

}  // namespace
