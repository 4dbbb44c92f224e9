// Every operation on each of the sixteen array classes (char, int, long long, double; N = 0..3).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "matrix/nd_test_util.h"

namespace {

using tarq_test::ArrayPtr;
using tarq_test::Iota;
using tarq_test::Items;
using tarq_test::MakeArray;
using tarq_test::ViewBuilder;

template <class T, int N>
struct Class {
  using Type = T;
  static constexpr int kN = N;
};

template <class C>
class NdArrayClasses : public ::testing::Test {};

using AllClasses =
    ::testing::Types<Class<char, 0>, Class<char, 1>, Class<char, 2>, Class<char, 3>, Class<int, 0>, Class<int, 1>,
                     Class<int, 2>, Class<int, 3>, Class<long long, 0>, Class<long long, 1>, Class<long long, 2>,
                     Class<long long, 3>, Class<double, 0>, Class<double, 1>, Class<double, 2>, Class<double, 3>>;
TYPED_TEST_SUITE(NdArrayClasses, AllClasses);

TYPED_TEST(NdArrayClasses, EveryOperation) {
  using T = typename TypeParam::Type;
  constexpr int N = TypeParam::kN;
  Tarq::detail::Sizes<N> sizes{};
  const std::size_t all[3] = {2, 3, 4};
  std::size_t size = 1;
  for (int k = 0; k < N; ++k) size *= (sizes[k] = all[k]);
  std::vector<long long> iota(size);
  for (std::size_t k = 0; k < size; ++k) iota[k] = static_cast<long long>(k + 1);

  auto a = Iota<T, N>(sizes);
  EXPECT_EQ(a->GetND(), N);
  EXPECT_EQ(a->GetSize(), size);
  for (int k = 0; k < N; ++k) EXPECT_EQ(a->GetDim(k), sizes[k]);
  EXPECT_EQ(Items(*a), iota);

  // Transpose: element (i, j, k) of a is element (k, j, i) of t.
  ArrayPtr<T, N> t(a->Transpose());
  {
    std::vector<long long> want;
    if constexpr (N == 0) {
      want = iota;
    } else if constexpr (N == 1) {
      want = iota;
    } else if constexpr (N == 2) {
      for (std::size_t j = 0; j < sizes[1]; ++j)
        for (std::size_t i = 0; i < sizes[0]; ++i) want.push_back(iota[i * sizes[1] + j]);
    } else {
      for (std::size_t k = 0; k < sizes[2]; ++k)
        for (std::size_t j = 0; j < sizes[1]; ++j)
          for (std::size_t i = 0; i < sizes[0]; ++i) want.push_back(iota[(i * sizes[1] + j) * sizes[2] + k]);
    }
    EXPECT_EQ(Items(*t), want);
    ArrayPtr<T, 1> tf(t->Flatten());
    EXPECT_EQ(Items(*tf), want);
  }

  ArrayPtr<T, 1> flat(a->Flatten());
  EXPECT_EQ(Items(*flat), iota);
  std::unique_ptr<Tarq::INDim<1>> d1(Tarq::detail::NewShape<1>({size}));
  std::unique_ptr<Tarq::INDim<3>> d3(Tarq::detail::NewShape<3>({1, size, 1}));
  std::unique_ptr<Tarq::INDim<2>> bad(Tarq::detail::NewShape<2>({size, 2}));
  ArrayPtr<T, 1> r1(a->Reshape(d1.get()));
  ArrayPtr<T, 3> r3(a->Reshape(d3.get()));
  ArrayPtr<T, 2> r2(a->Reshape(bad.get()));
  EXPECT_EQ(Items(*r1), iota);
  EXPECT_EQ(Items(*r3), iota);
  EXPECT_EQ(r2->GetErrorCode(), 3);
  EXPECT_EQ(Items(*r2), std::vector<long long>({1}));

  ArrayPtr<T, N> rep(a->Repeat(2, 0));
  ArrayPtr<T, N> blk(a->RepeatBlock(2, 0));
  if constexpr (N == 0) {
    EXPECT_EQ(rep->GetErrorCode(), 3);
    EXPECT_EQ(blk->GetErrorCode(), 3);
  } else {
    const std::size_t block = size / sizes[0];
    ASSERT_EQ(rep->GetSize(), 2 * size);
    ASSERT_EQ(blk->GetSize(), 2 * size);
    for (std::size_t k = 0; k < 2 * size; ++k) {
      const std::size_t i = k / block;
      const std::size_t rest = k % block;
      EXPECT_EQ(rep->Item(k), a->Item((i / 2) * block + rest));
      EXPECT_EQ(blk->Item(k), a->Item((i % sizes[0]) * block + rest));
    }
  }

  ArrayPtr<T, 0> sum(a->Sum());
  EXPECT_EQ(sum->Item(0), static_cast<T>(size * (size + 1) / 2));

  ArrayPtr<T, N> whole(a->GetView(ViewBuilder().Get()));
  EXPECT_EQ(Items(*whole), iota);
  if constexpr (N > 0) {
    ArrayPtr<T, N> last(a->GetView(ViewBuilder().Scalar(-1).Get()));
    const std::size_t block = size / sizes[0];
    EXPECT_EQ(Items(*last), std::vector<long long>(iota.end() - static_cast<std::ptrdiff_t>(block), iota.end()));
  }

  auto flatIdx = MakeArray<int, 1>({2}, {static_cast<int>(size - 1), 0});
  ArrayPtr<T, 1> p1(a->Pick(flatIdx.get()));
  EXPECT_EQ(Items(*p1), std::vector<long long>({static_cast<long long>(size), 1}));
  std::vector<int> multi(2 * N, 0);
  for (int k = 0; k < N; ++k) multi[k] = static_cast<int>(sizes[k]) - 1;
  auto multiIdx = MakeArray<int, 2>({2, static_cast<std::size_t>(N)}, multi);
  ArrayPtr<T, 1> p2(a->Pick(multiIdx.get()));
  EXPECT_EQ(p2->GetErrorCode(), 0);
  EXPECT_EQ(Items(*p2), std::vector<long long>({static_cast<long long>(size), 1}));

  t->SetItem(static_cast<std::int64_t>(size - 1), static_cast<T>(9));
  EXPECT_EQ(a->Item(static_cast<std::int64_t>(size - 1)), static_cast<T>(9));
  t->Fill(static_cast<T>(53));  // '5' as a char
  EXPECT_EQ(Items(*a), std::vector<long long>(size, 53));

  const std::string opening(N, '[');
  EXPECT_EQ(std::string(a->ToString(0)), opening + "...");
  const std::string first = std::is_same_v<T, char> ? "5" : "53";
  EXPECT_EQ(std::string(a->ToString(1000)).substr(0, N + first.size()), opening + first);

  for (int code : {a->GetErrorCode(), t->GetErrorCode(), flat->GetErrorCode(), r1->GetErrorCode(),
                   r3->GetErrorCode(), sum->GetErrorCode(), whole->GetErrorCode(), p1->GetErrorCode()}) {
    EXPECT_EQ(code, 0);
  }
}

}  // namespace
