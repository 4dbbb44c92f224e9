#include "matrix/view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using Tarq::Full;
using Tarq::Scalar;
using Tarq::Slice;
using Tarq::detail::ApplyStep;
using Tarq::detail::AxisLayout;
using Tarq::detail::Status;

constexpr int kNoStart = Slice::kNoStart;
constexpr int kNoStop = Slice::kNoStop;
constexpr int kNoStep = Slice::kNoStep;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

struct StepCase {
  const char* name;
  std::shared_ptr<const Tarq::ViewStep> step;
  std::size_t d;
  AxisLayout want;
  const char* message;  // null when the step succeeds
};

std::shared_ptr<const Tarq::ViewStep> S(std::int64_t start, std::int64_t stop, std::int64_t step, int flags) {
  return std::make_shared<const Slice>(start, stop, step, flags);
}
std::shared_ptr<const Tarq::ViewStep> I(std::int64_t index) { return std::make_shared<const Scalar>(index); }

// Every case applies to an axis of size d with stride 2 and offset 10.
TEST(ApplyStep, LayoutOfEveryStepKind) {
  const StepCase cases[] = {
      {"full", std::make_shared<const Full>(), 5, {5, 2, 10}, nullptr},
      {"scalar first", I(0), 5, {1, 2, 10}, nullptr},
      {"scalar last", I(4), 5, {1, 2, 18}, nullptr},
      {"scalar -1", I(-1), 5, {1, 2, 18}, nullptr},
      {"scalar -d", I(-5), 5, {1, 2, 10}, nullptr},
      {"scalar d", I(5), 5, {0, 2, 10}, "(INVALID) Index 5 is out of bounds for axis 0 with size 5"},
      {"scalar below -d", I(-6), 5, {0, 2, 10}, "(INVALID) Index -6 is out of bounds for axis 0 with size 5"},
      {"scalar on empty axis", I(0), 0, {0, 2, 10}, "(INVALID) Index 0 is out of bounds for axis 0 with size 0"},
      {"slice 1:4", S(1, 4, 1, 0), 5, {3, 2, 12}, nullptr},
      {"slice 1:1 is empty", S(1, 1, 1, 0), 5, {0, 2, 10}, nullptr},
      {"slice 3:1 is empty", S(3, 1, 1, 0), 5, {0, 2, 10}, nullptr},
      {"slice ::-1 reverses", S(0, 0, -1, kNoStart | kNoStop), 5, {5, -2, 18}, nullptr},
      {"slice ::2", S(0, 0, 2, kNoStart | kNoStop), 5, {3, 4, 10}, nullptr},
      {"slice -3:", S(-3, 0, 1, kNoStop), 5, {3, 2, 14}, nullptr},
      {"slice :-1", S(0, -1, 1, kNoStart), 5, {4, 2, 10}, nullptr},
      {"slice 1: with no step", S(1, 0, 0, kNoStop | kNoStep), 5, {4, 2, 12}, nullptr},
      {"slice start below -d clamps", S(-10, 3, 1, 0), 5, {3, 2, 10}, nullptr},
      {"slice stop beyond d clamps", S(3, 10, 1, 0), 5, {2, 2, 16}, nullptr},
      {"slice start beyond d is empty", S(7, 9, 1, 0), 5, {0, 2, 10}, nullptr},
      {"reverse from beyond d clamps", S(10, 0, -1, kNoStop), 5, {5, -2, 18}, nullptr},
      {"slice 4:1:-2", S(4, 1, -2, 0), 5, {2, -4, 18}, nullptr},
      {"slice 4:-10:-3", S(4, -10, -3, 0), 5, {2, -6, 18}, nullptr},
      {"slice 1:4:-1 is empty", S(1, 4, -1, 0), 5, {0, 2, 10}, nullptr},
      {"slice -1:-10 backwards", S(-1, -10, -1, 0), 5, {5, -2, 18}, nullptr},
      {"reverse an empty axis", S(0, 0, -1, kNoStart | kNoStop), 0, {0, 2, 10}, nullptr},
      {"huge step takes one", S(0, 5, kMax, 0), 5, {1, 2, 10}, nullptr},
      {"most negative step takes one", S(0, 0, kMin, kNoStart | kNoStop), 5, {1, 2, 18}, nullptr},
      {"extreme bounds", S(kMin, kMax, 1, 0), 5, {5, 2, 10}, nullptr},
      {"step 0", S(0, 5, 0, 0), 5, {0, 2, 10}, "(INVALID) Slice step cannot be zero at axis 0"},
  };
  for (const auto& c : cases) {
    Status status;
    AxisLayout got = ApplyStep(*c.step, {c.d, 2, 10}, 0, status);
    EXPECT_EQ(got.dim, c.want.dim) << c.name;
    EXPECT_EQ(got.stride, c.want.stride) << c.name;
    EXPECT_EQ(got.offset, c.want.offset) << c.name;
    if (c.message == nullptr) {
      EXPECT_EQ(status.Code(), 0) << c.name;
    } else {
      EXPECT_EQ(status.Code(), 3) << c.name;
      EXPECT_STREQ(status.Message(), c.message) << c.name;
    }
  }
}

// Indices a slice selects under the usual sequence rules (negative values count from the end,
// values beyond the axis are clamped), written independently of the library.
std::vector<std::int64_t> ReferenceSlice(std::int64_t d, std::int64_t start, std::int64_t stop, std::int64_t step,
                                         int flags) {
  if ((flags & kNoStep) != 0) step = 1;
  const std::int64_t lower = step > 0 ? 0 : -1;
  const std::int64_t upper = step > 0 ? d : d - 1;
  auto clamp = [&](std::int64_t v) {
    if (v < 0) v += d;
    return v < lower ? lower : (v > upper ? upper : v);
  };
  start = (flags & kNoStart) != 0 ? (step > 0 ? lower : upper) : clamp(start);
  stop = (flags & kNoStop) != 0 ? (step > 0 ? upper : lower) : clamp(stop);
  std::vector<std::int64_t> out;
  for (std::int64_t i = start; step > 0 ? i < stop : i > stop; i += step) out.push_back(i);
  return out;
}

TEST(ApplyStep, SlicesSelectTheSameIndicesAsSequenceSlicing) {
  int checked = 0;
  for (std::int64_t d = 0; d <= 6; ++d) {
    for (std::int64_t start = -9; start <= 9; ++start) {
      for (std::int64_t stop = -9; stop <= 9; ++stop) {
        for (std::int64_t step : {-4, -3, -2, -1, 1, 2, 3, 7}) {
          for (int flags = 0; flags < 8; ++flags) {
            const std::int64_t stride = 3;
            const std::int64_t offset = 100;
            Status status;
            AxisLayout got = ApplyStep(Slice(start, stop, step, flags), {static_cast<std::size_t>(d), stride, offset},
                                       0, status);
            ASSERT_EQ(status.Code(), 0);
            std::vector<std::int64_t> want = ReferenceSlice(d, start, stop, step, flags);
            ASSERT_EQ(got.dim, want.size()) << d << " " << start << ":" << stop << ":" << step << " flags " << flags;
            for (std::size_t i = 0; i < want.size(); ++i) {
              const std::int64_t pos = got.offset + static_cast<std::int64_t>(i) * got.stride;
              ASSERT_EQ(pos, offset + want[i] * stride) << d << " " << start << ":" << stop << ":" << step;
            }
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_EQ(checked, 7 * 19 * 19 * 8 * 8);
}

TEST(View, ChainingGrowsTheViewItIsCalledOn) {
  std::unique_ptr<Tarq::IView> view(Tarq::detail::NewView());
  std::unique_ptr<Tarq::IView> one(view->AddFull());
  std::unique_ptr<Tarq::IView> two(one->AddScalar(2));
  auto& first = static_cast<TarqView&>(*view).Data();
  auto& second = static_cast<TarqView&>(*one).Data();
  auto& third = static_cast<TarqView&>(*two).Data();
  // The first view grew by its own AddFull; the second by AddScalar; each returned view holds a
  // copy of the grown list.
  ASSERT_EQ(first.steps.size(), 1u);
  ASSERT_EQ(second.steps.size(), 2u);
  ASSERT_EQ(third.steps.size(), 2u);
  EXPECT_STREQ(second.steps[0]->Kind(), "Full");
  EXPECT_STREQ(second.steps[1]->Kind(), "Scalar");
  EXPECT_EQ(second.steps[0].get(), first.steps[0].get());  // steps are shared
  EXPECT_EQ(third.steps[1].get(), second.steps[1].get());
  std::unique_ptr<Tarq::IView> three(two->AddSlice(1, 2, 1, 0));
  EXPECT_STREQ(static_cast<TarqView&>(*three).Data().steps[2]->Kind(), "Slice");
  EXPECT_EQ(second.steps.size(), 2u);
}

TEST(ApplyView, AppliesStepsToLeadingAxesAndRejectsTooMany) {
  Tarq::detail::ViewData view;
  view.steps.push_back(std::make_shared<const Scalar>(1));
  Tarq::detail::Shape<2> shape = Tarq::detail::RowMajor<2>({3, 4});
  Status status;
  ASSERT_TRUE(Tarq::detail::ApplyView(view, shape, status));
  EXPECT_EQ(Tarq::detail::FormatShape(shape), "(1, 4)");
  EXPECT_EQ(shape.TotalOffset(), 4);

  view.steps.push_back(std::make_shared<const Slice>(0, 0, -1, kNoStart | kNoStop));
  shape = Tarq::detail::RowMajor<2>({3, 4});
  ASSERT_TRUE(Tarq::detail::ApplyView(view, shape, status));
  EXPECT_EQ(Tarq::detail::FormatShape(shape, 1), "(4, -1)");
  EXPECT_EQ(shape.TotalOffset(), 7);

  view.steps.push_back(std::make_shared<const Full>());
  shape = Tarq::detail::RowMajor<2>({3, 4});
  EXPECT_FALSE(Tarq::detail::ApplyView(view, shape, status));
  EXPECT_STREQ(status.Message(), "(INVALID) View has more operations than #ND (2)");
  EXPECT_EQ(Tarq::detail::FormatShape(shape), "(3, 4)");
}

}  // namespace
