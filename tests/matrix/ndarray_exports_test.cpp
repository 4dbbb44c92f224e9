#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "matrix/nd_test_util.h"
#include "tarq/exports.h"

namespace {

using tarq_test::ArrayPtr;
using tarq_test::Items;
using tarq_test::ShapeText;
using tarq_test::StorageOf;

template <class T>
std::vector<T> Sequence(std::size_t n) {
  std::vector<T> values(n);
  std::iota(values.begin(), values.end(), T{1});
  return values;
}

// Each export over caller data, borrowed: shape, order and element type come through.
TEST(NdArrayExports, BorrowedArraysOfEveryTypeAndDimension) {
  auto d = Sequence<double>(24);
  auto i = Sequence<int>(24);
  auto l = Sequence<long long>(24);
  ArrayPtr<double, 1> d1(CreateNdArrayDbl1WithExData(d.data(), 24));
  ArrayPtr<double, 2> d2(CreateNdArrayDbl2WithExData(d.data(), 4, 6));
  ArrayPtr<double, 3> d3(CreateNdArrayDbl3WithExData(d.data(), 2, 3, 4));
  ArrayPtr<int, 1> i1(CreateNdArrayInt1WithExData(i.data(), 24));
  ArrayPtr<int, 2> i2(CreateNdArrayInt2WithExData(i.data(), 6, 4));
  ArrayPtr<int, 3> i3(CreateNdArrayInt3WithExData(i.data(), 4, 3, 2));
  ArrayPtr<long long, 1> l1(CreateNdArrayInt64t1WithExData(l.data(), 24));
  ArrayPtr<long long, 2> l2(CreateNdArrayInt64t2WithExData(l.data(), 12, 2));
  ArrayPtr<long long, 3> l3(CreateNdArrayInt64t3WithExData(l.data(), 1, 24, 1));
  EXPECT_EQ(ShapeText(*d1), "(24)");
  EXPECT_EQ(ShapeText(*d2), "(4, 6)");
  EXPECT_EQ(ShapeText(*d3, 1), "(12, 4, 1)");
  EXPECT_EQ(ShapeText(*i2), "(6, 4)");
  EXPECT_EQ(ShapeText(*i3, 1), "(6, 2, 1)");
  EXPECT_EQ(ShapeText(*l2), "(12, 2)");
  EXPECT_EQ(ShapeText(*l3), "(1, 24, 1)");
  const std::vector<long long> all = Sequence<long long>(24);
  for (auto items : {Items(*d1), Items(*d2), Items(*d3), Items(*i1), Items(*i2), Items(*i3), Items(*l1), Items(*l2),
                     Items(*l3)}) {
    EXPECT_EQ(items, all);
  }
  EXPECT_EQ(StorageOf(*d2)->count, 0u);
  // Writes go to the caller's memory.
  d3->SetItem(23, -1);
  i2->Fill(0);
  EXPECT_EQ(d[23], -1.0);
  EXPECT_EQ(std::accumulate(i.begin(), i.end(), 0), 0);
}

TEST(NdArrayExports, BorrowedMemoryIsLeftUntouchedOnRelease) {
  std::vector<long long> data = Sequence<long long>(6);
  {
    ArrayPtr<long long, 2> a(CreateNdArrayInt64t2WithExData(data.data(), 2, 3));
    ArrayPtr<long long, 2> t(a->Transpose());
    ArrayPtr<long long, 1> f(a->Flatten());
    ArrayPtr<long long, 1> copy(t->Flatten());
    ArrayPtr<long long, 0> s(t->Sum());
    EXPECT_EQ(s->Item(0), 21);
  }
  // The arrays are gone; the caller's memory still holds its values (and is still the caller's
  // to free: the sanitizer build reports a double free otherwise).
  EXPECT_EQ(data, Sequence<long long>(6));
}

TEST(NdArrayExports, HandedOverElementsAreReleasedWithTheLastArray) {
  // One element is released with delete, more with delete[]; the sanitizer build checks that the
  // release matches the allocation and that nothing leaks.
  ArrayPtr<double, 1> one(CreateNdArrayDbl1WithData(new double(2.5), 1));
  EXPECT_EQ(StorageOf(*one)->count, 1u);
  EXPECT_EQ(one->Item(0), 2.5);

  int* values = new int[6]{1, 2, 3, 4, 5, 6};
  ArrayPtr<int, 2> a(CreateNdArrayInt2WithData(values, 2, 3));
  EXPECT_EQ(StorageOf(*a)->count, 6u);
  ArrayPtr<int, 2> t(a->Transpose());
  a.reset();  // the transpose still holds the elements
  EXPECT_EQ(Items(*t), std::vector<long long>({1, 4, 2, 5, 3, 6}));
  t.reset();

  ArrayPtr<long long, 3> l(CreateNdArrayInt64t3WithData(new long long[8](), 2, 2, 2));
  ArrayPtr<long long, 1> f(l->Flatten());
  l.reset();
  f->SetItem(7, 8);
  EXPECT_EQ(f->Item(7), 8);
}

TEST(NdArrayExports, NullElementsGiveArraysWithoutStorage) {
  ArrayPtr<int, 1> a(CreateNdArrayInt1WithData(nullptr, 3));
  EXPECT_EQ(a->GetErrorCode(), 0);
  EXPECT_EQ(ShapeText(*a), "(3)");
  EXPECT_EQ(StorageOf(*a), nullptr);
  ArrayPtr<double, 3> b(CreateNdArrayDbl3WithExData(nullptr, 0, 2, 2));
  EXPECT_EQ(b->GetSize(), 0u);
  EXPECT_STREQ(b->ToString(100), "[]\n");
}

}  // namespace
