#include "matrix/ndarray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "matrix/nd_test_util.h"

namespace {

using tarq_test::ArrayPtr;
using tarq_test::Iota;
using tarq_test::Items;
using tarq_test::MakeArray;
using tarq_test::ShapeText;
using tarq_test::StorageOf;
using tarq_test::ViewBuilder;
using V = std::vector<long long>;

template <int N>
std::unique_ptr<Tarq::INDim<N>> Dims(const Tarq::detail::Sizes<N>& sizes) {
  return std::unique_ptr<Tarq::INDim<N>>(Tarq::detail::NewShape<N>(sizes));
}

TEST(NdArray, TransposeReversesTheLayoutAndWritesThrough) {
  auto a = Iota<double, 3>({2, 3, 4});
  ArrayPtr<double, 3> t(a->Transpose());
  EXPECT_EQ(ShapeText(*t), "(4, 3, 2)");
  EXPECT_EQ(ShapeText(*t, 1), "(1, 4, 12)");
  EXPECT_EQ(StorageOf(*t), StorageOf(*a));
  t->SetItem(1, -7);  // (0, 0, 1) of the transpose is (1, 0, 0) of the array
  EXPECT_EQ(a->Item(12), -7.0);
  ArrayPtr<double, 3> back(t->Transpose());
  EXPECT_EQ(Items(*back), Items(*a));
}

TEST(NdArray, SetItemAndFillWriteThroughViews) {
  auto a = Iota<int, 2>({3, 4});
  ArrayPtr<int, 2> row(a->GetView(ViewBuilder().Scalar(1).Get()));
  EXPECT_EQ(ShapeText(*row), "(1, 4)");
  EXPECT_EQ(Items(*row), V({5, 6, 7, 8}));
  row->SetItem(2, 70);
  EXPECT_EQ(a->Item(6), 70);

  // Every other column, reversed, of the rows 0 and 2.
  ArrayPtr<int, 2> corners(a->GetView(ViewBuilder().Slice(0, 0, 2, Tarq::Slice::kNoStart | Tarq::Slice::kNoStop)
                                          .Slice(0, 0, -2, Tarq::Slice::kNoStart | Tarq::Slice::kNoStop)
                                          .Get()));
  EXPECT_EQ(ShapeText(*corners), "(2, 2)");
  EXPECT_EQ(Items(*corners), V({4, 2, 12, 10}));
  corners->Fill(0);
  EXPECT_EQ(Items(*a), V({1, 0, 3, 0, 5, 6, 70, 8, 9, 0, 11, 0}));

  // A view of a transposed view.
  ArrayPtr<int, 2> t(a->Transpose());
  ArrayPtr<int, 2> col(t->GetView(ViewBuilder().Full().Scalar(-1).Get()));
  EXPECT_EQ(Items(*col), V({9, 0, 11, 0}));
  col->SetItem(2, 110);
  EXPECT_EQ(a->Item(10), 110);
  EXPECT_EQ(StorageOf(*col), StorageOf(*a));
}

TEST(NdArray, FlattenSharesContiguousStorageAndCopiesOtherwise) {
  auto a = Iota<long long, 2>({3, 2});
  ArrayPtr<long long, 1> flat(a->Flatten());
  EXPECT_EQ(StorageOf(*flat), StorageOf(*a));
  EXPECT_EQ(Items(*flat), V({1, 2, 3, 4, 5, 6}));

  // Rows 1 and 2 are contiguous: a view with an offset.
  ArrayPtr<long long, 2> tail(a->GetView(ViewBuilder().Slice(1, 0, 1, Tarq::Slice::kNoStop).Get()));
  ArrayPtr<long long, 1> tailFlat(tail->Flatten());
  EXPECT_EQ(StorageOf(*tailFlat), StorageOf(*a));
  EXPECT_EQ(ShapeText(*tailFlat, 2), "(2)");
  EXPECT_EQ(Items(*tailFlat), V({3, 4, 5, 6}));

  ArrayPtr<long long, 2> t(a->Transpose());
  ArrayPtr<long long, 1> copy(t->Flatten());
  EXPECT_NE(StorageOf(*copy), StorageOf(*a));
  EXPECT_EQ(Items(*copy), V({1, 3, 5, 2, 4, 6}));
  copy->SetItem(0, 100);
  EXPECT_EQ(a->Item(0), 1);
}

TEST(NdArray, ReshapeKeepsRowMajorOrderAndSharesStorage) {
  auto a = Iota<double, 2>({2, 3});
  ArrayPtr<double, 2> r(a->Reshape(Dims<2>({3, 2}).get()));
  EXPECT_EQ(r->GetErrorCode(), 0);
  EXPECT_EQ(ShapeText(*r), "(3, 2)");
  EXPECT_EQ(Items(*r), V({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(StorageOf(*r), StorageOf(*a));
  r->SetItem(5, 60);
  EXPECT_EQ(a->Item(5), 60.0);

  ArrayPtr<double, 3> r3(a->Reshape(Dims<3>({1, 6, 1}).get()));
  EXPECT_EQ(Items(*r3), V({1, 2, 3, 4, 5, 60}));

  // A contiguous view with an offset keeps its offset.
  ArrayPtr<double, 2> second(a->GetView(ViewBuilder().Scalar(1).Get()));
  ArrayPtr<double, 1> r1(second->Reshape(Dims<1>({3}).get()));
  EXPECT_EQ(Items(*r1), V({4, 5, 60}));

  // A transposed array is copied first.
  ArrayPtr<double, 2> t(a->Transpose());
  ArrayPtr<double, 1> tr(t->Reshape(Dims<1>({6}).get()));
  EXPECT_EQ(Items(*tr), V({1, 4, 2, 5, 3, 60}));
  EXPECT_NE(StorageOf(*tr), StorageOf(*a));
}

TEST(NdArray, RepeatTakesEachElementInARowAndRepeatBlockTheWholeAxis) {
  auto a = Iota<int, 1>({3});
  ArrayPtr<int, 1> r(a->Repeat(2, 0));
  EXPECT_EQ(Items(*r), V({1, 1, 2, 2, 3, 3}));
  ArrayPtr<int, 1> b(a->RepeatBlock(2, 0));
  EXPECT_EQ(Items(*b), V({1, 2, 3, 1, 2, 3}));
  EXPECT_NE(StorageOf(*r), StorageOf(*a));

  auto m = Iota<int, 2>({2, 2});
  ArrayPtr<int, 2> cols(m->Repeat(3, -1));  // axis -1 is axis 1
  EXPECT_EQ(ShapeText(*cols), "(2, 6)");
  EXPECT_EQ(Items(*cols), V({1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}));
  ArrayPtr<int, 2> rows(m->RepeatBlock(2, -2));
  EXPECT_EQ(Items(*rows), V({1, 2, 3, 4, 1, 2, 3, 4}));

  // Through a transposed source.
  ArrayPtr<int, 2> t(m->Transpose());
  ArrayPtr<int, 2> tr(t->Repeat(2, 0));
  EXPECT_EQ(Items(*tr), V({1, 3, 1, 3, 2, 4, 2, 4}));
  ArrayPtr<int, 2> tb(t->RepeatBlock(2, 1));
  EXPECT_EQ(Items(*tb), V({1, 3, 1, 3, 2, 4, 2, 4}));

  ArrayPtr<int, 2> none(m->Repeat(0, 1));
  EXPECT_EQ(ShapeText(*none), "(2, 0)");
  EXPECT_EQ(none->GetSize(), 0u);
  EXPECT_EQ(none->GetErrorCode(), 0);
}

TEST(NdArray, Repeat3dAlongTheMiddleAxis) {
  auto a = Iota<double, 3>({2, 2, 2});
  ArrayPtr<double, 3> r(a->Repeat(2, 1));
  EXPECT_EQ(ShapeText(*r), "(2, 4, 2)");
  EXPECT_EQ(Items(*r), V({1, 2, 1, 2, 3, 4, 3, 4, 5, 6, 5, 6, 7, 8, 7, 8}));
  ArrayPtr<double, 3> b(a->RepeatBlock(2, 1));
  EXPECT_EQ(Items(*b), V({1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 5, 6, 7, 8}));
}

TEST(NdArray, SumAddsEveryElementOfAnyLayout) {
  auto a = Iota<long long, 3>({3, 4, 5});
  ArrayPtr<long long, 0> s(a->Sum());
  EXPECT_EQ(s->Item(0), 60 * 61 / 2);
  ArrayPtr<long long, 3> t(a->Transpose());
  ArrayPtr<long long, 0> st(t->Sum());
  EXPECT_EQ(st->Item(0), 60 * 61 / 2);
  ArrayPtr<long long, 3> v(a->GetView(ViewBuilder().Full().Slice(0, 0, -3, 6).Scalar(4).Get()));
  EXPECT_EQ(Items(*v), V({20, 5, 40, 25, 60, 45}));
  ArrayPtr<long long, 0> sv(v->Sum());
  EXPECT_EQ(sv->Item(0), 195);

  // Integer sums wrap around instead of overflowing.
  auto c = MakeArray<char, 1>({3}, {100, 100, 100});
  ArrayPtr<char, 0> sc(c->Sum());
  EXPECT_EQ(sc->Item(0), static_cast<char>(300 - 256));
  auto e = MakeArray<double, 1>({0}, {});
  ArrayPtr<double, 0> se(e->Sum());
  EXPECT_EQ(se->Item(0), 0.0);
}

TEST(NdArray, PickByFlatIndicesAndByMultiIndices) {
  auto a = Iota<double, 2>({2, 2});
  auto flat = MakeArray<int, 1>({4}, {3, 0, 3, 1});
  ArrayPtr<double, 1> p(a->Pick(flat.get()));
  EXPECT_EQ(Items(*p), V({4, 1, 4, 2}));
  // The off-diagonal elements by multi-index.
  auto rows = MakeArray<int, 2>({2, 2}, {0, 1, 1, 0});
  ArrayPtr<double, 1> off(a->Pick(rows.get()));
  EXPECT_EQ(off->GetErrorCode(), 0);
  EXPECT_EQ(Items(*off), V({2, 3}));
  // Picks copy: writing the result leaves the array alone.
  off->SetItem(0, 50);
  EXPECT_EQ(a->Item(1), 2.0);
  // Picks read the array and the index array through their layouts.
  ArrayPtr<double, 2> t(a->Transpose());
  ArrayPtr<int, 2> rowsT(rows->Transpose());  // rows (0, 1) and (1, 0) again
  ArrayPtr<double, 1> offT(t->Pick(rowsT.get()));
  EXPECT_EQ(Items(*offT), V({3, 2}));
  auto none = MakeArray<int, 1>({0}, {});
  ArrayPtr<double, 1> empty(a->Pick(none.get()));
  EXPECT_EQ(empty->GetSize(), 0u);
  EXPECT_EQ(empty->GetErrorCode(), 0);
}

TEST(NdArray, ViewsWithExactlyNStepsAndEmptySlices) {
  auto a = Iota<int, 3>({2, 3, 4});
  ArrayPtr<int, 3> v(a->GetView(ViewBuilder().Scalar(-1).Slice(1, 3, 1).Slice(3, 0, -2).Get()));
  EXPECT_EQ(v->GetErrorCode(), 0);
  EXPECT_EQ(ShapeText(*v), "(1, 2, 2)");
  EXPECT_EQ(Items(*v), V({20, 18, 24, 22}));
  ArrayPtr<int, 3> empty(a->GetView(ViewBuilder().Full().Slice(1, 1, 1).Get()));
  EXPECT_EQ(ShapeText(*empty), "(2, 0, 4)");
  EXPECT_EQ(empty->GetSize(), 0u);
  ArrayPtr<int, 1> flat(empty->Flatten());
  EXPECT_EQ(flat->GetSize(), 0u);
  ArrayPtr<int, 0> sum(empty->Sum());
  EXPECT_EQ(sum->Item(0), 0);
}

TEST(NdArray, GetShapeCopiesTheLayoutAndTheStatus) {
  auto a = Iota<double, 2>({3, 4});
  ArrayPtr<double, 2> v(a->GetView(ViewBuilder().Slice(2, 0, -1, Tarq::Slice::kNoStop).Scalar(1).Get()));
  std::unique_ptr<Tarq::INDim<2>> shape(v->GetShape());
  EXPECT_STREQ(shape->ToString(0), "(3, 1)");
  EXPECT_STREQ(shape->ToString(1), "(-4, 1)");
  EXPECT_STREQ(shape->ToString(2), "(8, 1)");
  EXPECT_EQ(shape->GetErrorCode(), 0);
  ArrayPtr<double, 2> bad(a->Reshape(Dims<2>({5, 5}).get()));
  std::unique_ptr<Tarq::INDim<2>> badShape(bad->GetShape());
  EXPECT_EQ(badShape->GetErrorCode(), 3);
  EXPECT_STREQ(badShape->GetErrorMsg(), bad->GetErrorMsg());
}

TEST(NdArrayStorage, ViewsShareOneBlockThatOutlivesTheSource) {
  auto a = Iota<double, 2>({2, 2});
  const auto* block = StorageOf(*a);
  EXPECT_EQ(block->count, 4u);
  EXPECT_EQ(block->refs.load(), 1u);
  ArrayPtr<double, 2> t(a->Transpose());
  ArrayPtr<double, 1> f(a->Flatten());
  EXPECT_EQ(block->refs.load(), 3u);
  a.reset();
  EXPECT_EQ(block->refs.load(), 2u);
  EXPECT_EQ(Items(*t), V({1, 3, 2, 4}));
  f.reset();
  EXPECT_EQ(block->refs.load(), 1u);
}

}  // namespace
