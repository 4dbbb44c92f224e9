#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "matrix/nd_test_util.h"
#include "tarq/exports.h"

namespace {

using tarq_test::ArrayPtr;
using tarq_test::Iota;
using tarq_test::Items;
using tarq_test::MakeArray;
using tarq_test::Message;
using tarq_test::ShapeText;
using tarq_test::ViewBuilder;

template <int N>
std::unique_ptr<Tarq::INDim<N>> Dims(const Tarq::detail::Sizes<N>& sizes) {
  return std::unique_ptr<Tarq::INDim<N>>(Tarq::detail::NewShape<N>(sizes));
}

// What a failing operation left: the code and message of its result, and the result's shape.
struct Outcome {
  int code;
  std::string message;
  std::string shape;
};

template <class T, int N>
Outcome Of(Tarq::INdArray<T, N>* result) {
  ArrayPtr<T, N> owned(result);
  return {owned->GetErrorCode(), Message(*owned), ShapeText(*owned)};
}

struct ErrorCase {
  const char* name;
  std::function<Outcome()> run;
  const char* message;
  const char* shape;
};

TEST(NdArrayErrors, EachFailureCarriesCodeThreeAndItsMessage) {
  auto a = Iota<double, 2>({2, 3});
  auto s = MakeArray<double, 0>({}, {5});
  auto flat = MakeArray<int, 1>({3}, {0, 6, 1});
  auto negative = MakeArray<int, 1>({1}, {-1});
  auto rows = MakeArray<int, 2>({2, 2}, {0, 1, 1, 3});
  auto wide = MakeArray<int, 2>({1, 3}, {0, 0, 0});
  const ErrorCase cases[] = {
      {"view with too many steps", [&] { return Of(a->GetView(ViewBuilder().Full().Full().Full().Get())); },
       "(INVALID) View has more operations than #ND (2)", "(2, 3)"},
      {"scalar outside the axis", [&] { return Of(a->GetView(ViewBuilder().Full().Scalar(3).Get())); },
       "(INVALID) Index 3 is out of bounds for axis 1 with size 3", "(2, 0)"},
      {"slice step 0", [&] { return Of(a->GetView(ViewBuilder().Slice(0, 2, 0).Get())); },
       "(INVALID) Slice step cannot be zero at axis 0", "(0, 3)"},
      {"null view", [&] { return Of(a->GetView(nullptr)); }, "(INVALID) Invalid view argument", "(2, 3)"},
      {"reshape to another size", [&] { return Of(a->Reshape(Dims<2>({4, 2}).get())); },
       "(INVALID) Cannot reshape NdArray of size 6 to new shape (4, 2)", "(1, 1)"},
      {"reshape to a 3d size", [&] { return Of(a->Reshape(Dims<3>({1, 2, 2}).get())); },
       "(INVALID) Cannot reshape NdArray of size 6 to new shape (1, 2, 2)", "(1, 1, 1)"},
      {"reshape to nothing", [&] { return Of(a->Reshape(static_cast<const Tarq::INDim<1>*>(nullptr))); },
       "(INVALID) Invalid shape argument", "(1)"},
      {"repeat a 0-d array", [&] { return Of(s->Repeat(2, 0)); }, "(INVALID) Cannot repeat for NdArray of shape ()",
       "()"},
      {"repeat block a 0-d array", [&] { return Of(s->RepeatBlock(2, 0)); },
       "(INVALID) Cannot repeat for NdArray of shape ()", "()"},
      {"repeat axis 2", [&] { return Of(a->Repeat(2, 2)); },
       "(INVALID) Axis 2 is out of bounds for array of dimension 2", "(2, 3)"},
      {"repeat block axis -3", [&] { return Of(a->RepeatBlock(2, -3)); },
       "(INVALID) Axis -3 is out of bounds for array of dimension 2", "(2, 3)"},
      {"negative repeats", [&] { return Of(a->Repeat(-1, 0)); }, "(INVALID) Repeats cannot be negative (-1)",
       "(2, 3)"},
      {"oversized repeats", [&] { return Of(a->Repeat(INT64_C(1) << 62, 0)); },
       "(INVALID) Repeats 4611686018427387904 make NdArray too large", "(2, 3)"},
      {"pick flat index 6", [&] { return Of(a->Pick(flat.get())); },
       "(INVALID) Index 6 is out of bounds for NdArray of size 6", "(0)"},
      {"pick flat index -1", [&] { return Of(a->Pick(negative.get())); },
       "(INVALID) Index -1 is out of bounds for NdArray of size 6", "(0)"},
      {"pick multi-index outside axis 1", [&] { return Of(a->Pick(rows.get())); },
       "(INVALID) Index 3 is out of bounds for axis 1 with size 3", "(0)"},
      {"pick rows of three", [&] { return Of(a->Pick(wide.get())); }, "(INVALID) Pick needs 2 indices per row, got 3",
       "(0)"},
      {"pick without indices", [&] { return Of(a->Pick(static_cast<const Tarq::INdArray<int, 1>*>(nullptr))); },
       "(INVALID) Invalid index array argument", "(0)"},
  };
  for (const auto& c : cases) {
    Outcome got = c.run();
    EXPECT_EQ(got.code, 3) << c.name;
    EXPECT_EQ(got.message, c.message) << c.name;
    EXPECT_EQ(got.shape, c.shape) << c.name;
  }
  // The operand is untouched and usable.
  EXPECT_EQ(a->GetErrorCode(), 0);
  EXPECT_EQ(Items(*a), std::vector<long long>({1, 2, 3, 4, 5, 6}));
}

TEST(NdArrayErrors, ItemAndSetItemOutsideTheArrayRecordOnTheArray) {
  auto a = Iota<int, 2>({2, 3});
  EXPECT_EQ(a->Item(6), 0);
  EXPECT_EQ(a->GetErrorCode(), 3);
  EXPECT_EQ(Message(*a), "(INVALID) Index 6 is out of bounds for NdArray of size 6");
  a->SetItem(-1, 9);
  EXPECT_EQ(Message(*a), "(INVALID) Index -1 is out of bounds for NdArray of size 6");
  EXPECT_EQ(Items(*a), std::vector<long long>({1, 2, 3, 4, 5, 6}));
  // A later good read leaves the recorded failure for the caller to see.
  EXPECT_EQ(a->Item(5), 6);
  EXPECT_EQ(a->GetErrorCode(), 3);
}

TEST(NdArrayErrors, ResultsCarryTheOperandsError) {
  auto a = Iota<double, 2>({2, 3});
  ArrayPtr<double, 2> bad(a->Reshape(Dims<2>({4, 2}).get()));
  const std::string carried = "(INVALID) (INVALID) Cannot reshape NdArray of size 6 to new shape (4, 2)";
  ArrayPtr<double, 2> t(bad->Transpose());
  EXPECT_EQ(Message(*t), carried);
  ArrayPtr<double, 1> f(bad->Flatten());
  EXPECT_EQ(Message(*f), carried);
  ArrayPtr<double, 0> s(bad->Sum());
  EXPECT_EQ(Message(*s), carried);
  EXPECT_EQ(s->Item(0), 1.0);  // the error array holds the first element
  ArrayPtr<double, 2> r(bad->Repeat(2, 0));
  EXPECT_EQ(Message(*r), carried);
  ArrayPtr<double, 2> v(bad->GetView(ViewBuilder().Full().Get()));
  EXPECT_EQ(Message(*v), carried);
  ArrayPtr<double, 2> twice(t->Transpose());
  EXPECT_EQ(Message(*twice), "(INVALID) " + carried);

  // The operand's error wins over the operation's own failure.
  ArrayPtr<double, 2> both(bad->Repeat(2, 7));
  EXPECT_EQ(Message(*both), carried);

  // An index array's error is carried into a pick.
  auto idx = MakeArray<int, 1>({2}, {0, 1});
  ArrayPtr<int, 1> badIdx(idx->Reshape(Dims<1>({5}).get()));
  ArrayPtr<double, 1> p(a->Pick(badIdx.get()));
  EXPECT_EQ(Message(*p), "(INVALID) (INVALID) Cannot reshape NdArray of size 2 to new shape (5)");

  // A shape's error is carried into a reshape.
  std::unique_ptr<Tarq::INDim<3>> huge(Dims<3>({1, 1, 1})->MakeUniform(std::size_t{1} << 30));
  ArrayPtr<double, 3> r3(a->Reshape(huge.get()));
  EXPECT_EQ(r3->GetErrorCode(), 3);
  EXPECT_EQ(Message(*r3), "(INVALID) (INVALID) Shape (1073741824, 1073741824, 1073741824) is too large");
}

TEST(NdArrayErrors, ErrorArraysOfEmptyArraysAddressNothing) {
  auto empty = MakeArray<double, 2>({0, 3}, {});
  ArrayPtr<double, 1> r(empty->Reshape(Dims<1>({2}).get()));
  EXPECT_EQ(r->GetErrorCode(), 3);
  EXPECT_EQ(r->GetSize(), 1u);
  EXPECT_EQ(r->Item(0), 0.0);  // no storage behind the error array
  r->SetItem(0, 1);
  EXPECT_EQ(Message(*r), "(INVALID) Cannot write to NdArray without storage");
}

TEST(NdArrayErrors, ArraysWithoutStorageReadZerosAndRefuseWrites) {
  ArrayPtr<double, 2> a(CreateNdArrayDbl2WithData(nullptr, 2, 2));
  EXPECT_EQ(a->GetErrorCode(), 0);
  EXPECT_EQ(a->GetSize(), 4u);
  EXPECT_EQ(a->Item(3), 0.0);
  EXPECT_STREQ(a->ToString(100), "[[0, 0]\n [0, 0]\n]\n");
  ArrayPtr<double, 0> s(a->Sum());
  EXPECT_EQ(s->Item(0), 0.0);
  ArrayPtr<double, 2> t(a->Transpose());
  ArrayPtr<double, 1> f(t->Flatten());
  ArrayPtr<double, 2> r(a->Repeat(2, 0));
  auto idx = MakeArray<int, 1>({1}, {3});
  ArrayPtr<double, 1> p(a->Pick(idx.get()));
  EXPECT_EQ(Items(*f), std::vector<long long>(4, 0));
  EXPECT_EQ(Items(*r), std::vector<long long>(8, 0));
  EXPECT_EQ(Items(*p), std::vector<long long>(1, 0));
  a->Fill(1.0);
  EXPECT_EQ(Message(*a), "(INVALID) Cannot write to NdArray without storage");
}

TEST(NdArrayErrors, ExportsRejectNegativeAndOversizedSizes) {
  double data[4] = {1, 2, 3, 4};
  ArrayPtr<double, 2> neg(CreateNdArrayDbl2WithData(data, 2, -2));
  EXPECT_EQ(neg->GetErrorCode(), 3);
  EXPECT_EQ(Message(*neg), "(INVALID) Negative dimension size -2 at axis 1");
  EXPECT_EQ(neg->GetSize(), 0u);
  ArrayPtr<int, 3> big(CreateNdArrayInt3WithExData(nullptr, 1 << 30, 1 << 30, 1 << 30));
  EXPECT_EQ(Message(*big), "(INVALID) Shape (1073741824, 1073741824, 1073741824) is too large");
  EXPECT_EQ(big->GetSize(), 0u);
  // The caller kept the elements of the refused array (a stack array: releasing it would fail).
  EXPECT_EQ(data[3], 4.0);
}

}  // namespace
