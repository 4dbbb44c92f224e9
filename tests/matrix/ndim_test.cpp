#include "matrix/ndim.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

using Tarq::INDim;
using Tarq::detail::NewShape;
using Tarq::detail::NewShapeWithLayout;
using Tarq::detail::Shape;

template <int N>
std::unique_ptr<INDim<N>> MakeShape(const Tarq::detail::Sizes<N>& sizes) {
  return std::unique_ptr<INDim<N>>(NewShape<N>(sizes));
}

TEST(Shape, LevelsNestFromTheFirstAxisInwards) {
  Shape<2> s = Tarq::detail::RowMajor<2>({2, 3});
  EXPECT_EQ(s.dim, 2u);
  EXPECT_EQ(s.stride, 3);
  EXPECT_EQ(s.inner.dim, 3u);
  EXPECT_EQ(s.inner.stride, 1);
  // The innermost level: the word 0, stride 1, offset 0.
  EXPECT_EQ(s.inner.inner.zero, 0u);
  EXPECT_EQ(s.inner.inner.stride, 1);
  EXPECT_EQ(s.inner.inner.offset, 0);
  s.SetAxis(1, 3, 7, 5);
  EXPECT_EQ(s.inner.stride, 7);
  EXPECT_EQ(s.TotalOffset(), 5);
  s.SetAxis(2, 9, 9, 9);  // outside the shape: nothing changes
  EXPECT_EQ(s.inner.inner.stride, 1);
}

TEST(NDim, RowMajorStridesAndQueriesOutsideTheAxes) {
  auto s = MakeShape<3>({2, 3, 4});
  EXPECT_EQ(s->GetND(), 3);
  EXPECT_EQ(s->GetSize(), 24u);
  EXPECT_EQ(s->GetStride(0), 12);
  EXPECT_EQ(s->GetStride(1), 4);
  EXPECT_EQ(s->GetStride(2), 1);
  EXPECT_EQ(s->GetOffset(1), 0);
  for (int axis : {-1, 3, 100}) {
    EXPECT_EQ(s->GetDim(axis), 0u) << axis;
    EXPECT_EQ(s->GetStride(axis), 1) << axis;
    EXPECT_EQ(s->GetOffset(axis), 0) << axis;
  }
  EXPECT_EQ(s->GetErrorCode(), 0);
  EXPECT_EQ(s->GetErrorMsg(), nullptr);
}

TEST(NDim, ZeroDimensionalShapeHasSizeOneAndPrintsEmpty) {
  auto s = MakeShape<0>({});
  EXPECT_EQ(s->GetND(), 0);
  EXPECT_EQ(s->GetSize(), 1u);
  EXPECT_EQ(s->GetDim(0), 0u);
  EXPECT_EQ(s->GetStride(0), 1);
  EXPECT_STREQ(s->ToString(0), "()");
  std::unique_ptr<INDim<0>> u(s->MakeUniform());
  EXPECT_EQ(u->GetSize(), 1u);
  EXPECT_TRUE(s->IsSame(u.get()));
  EXPECT_TRUE(s->IsSame(nullptr));
}

TEST(NDim, PrintsSizesStridesOrOffsets) {
  auto s = MakeShape<2>({2, 3});
  EXPECT_STREQ(s->ToString(0), "(2, 3)");
  EXPECT_STREQ(s->ToString(1), "(3, 1)");
  EXPECT_STREQ(s->ToString(2), "(0, 0)");
  EXPECT_STREQ(s->ToString(-7), "(0, 0)");
  auto one = MakeShape<1>({5});
  EXPECT_STREQ(one->ToString(0), "(5)");
  Shape<3> odd = Tarq::detail::RowMajor<3>({1, 2, 3});
  odd.SetAxis(2, 3, -2, 7);
  std::unique_ptr<INDim<3>> custom(NewShapeWithLayout<3>(odd));
  EXPECT_STREQ(custom->ToString(1), "(6, 3, -2)");
  EXPECT_STREQ(custom->ToString(5), "(0, 0, 7)");
}

TEST(NDim, MakeUniformAndCloneGiveFreshRowMajorShapes) {
  auto s = MakeShape<3>({1, 1, 1});
  std::unique_ptr<INDim<3>> u(s->MakeUniform(3));
  EXPECT_STREQ(u->ToString(0), "(3, 3, 3)");
  EXPECT_STREQ(u->ToString(1), "(9, 3, 1)");

  Shape<2> strided = Tarq::detail::RowMajor<2>({4, 5});
  strided.SetAxis(0, 4, -10, 30);
  std::unique_ptr<INDim<2>> view(NewShapeWithLayout<2>(strided));
  std::unique_ptr<INDim<2>> clone(view->Clone());
  EXPECT_STREQ(clone->ToString(0), "(4, 5)");
  EXPECT_STREQ(clone->ToString(1), "(5, 1)");
  EXPECT_STREQ(clone->ToString(2), "(0, 0)");
  EXPECT_FALSE(view->IsSame(clone.get()));
}

TEST(NDim, IsSameComparesSizesAndTheFirstAxisLayout) {
  auto a = MakeShape<2>({2, 3});
  auto b = MakeShape<2>({2, 3});
  auto c = MakeShape<2>({3, 2});
  EXPECT_TRUE(a->IsSame(b.get()));
  EXPECT_FALSE(a->IsSame(c.get()));
  EXPECT_FALSE(a->IsSame(nullptr));
  // Only axis 0's stride and offset take part.
  Shape<2> inner = Tarq::detail::RowMajor<2>({2, 3});
  inner.SetAxis(1, 3, 2, 1);
  std::unique_ptr<INDim<2>> d(NewShapeWithLayout<2>(inner));
  EXPECT_TRUE(a->IsSame(d.get()));
  inner.SetAxis(0, 2, 3, 1);
  std::unique_ptr<INDim<2>> e(NewShapeWithLayout<2>(inner));
  EXPECT_FALSE(a->IsSame(e.get()));
}

TEST(NDim, TooLargeShapeCarriesAnError) {
  auto s = MakeShape<1>({1});
  std::unique_ptr<INDim<1>> fine(s->MakeUniform(std::size_t{1} << 62));
  EXPECT_EQ(fine->GetErrorCode(), 0);
  auto t = MakeShape<3>({1, 1, 1});
  std::unique_ptr<INDim<3>> huge(t->MakeUniform(std::size_t{1} << 30));
  EXPECT_EQ(huge->GetErrorCode(), 3);
  EXPECT_STREQ(huge->GetErrorMsg(), "(INVALID) Shape (1073741824, 1073741824, 1073741824) is too large");
  // A clone is a fresh shape without the error.
  std::unique_ptr<INDim<3>> clone(huge->Clone());
  EXPECT_EQ(clone->GetErrorCode(), 0);
}

}  // namespace
