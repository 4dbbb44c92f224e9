#include "matrix/view.h"

#include <utility>

namespace Tarq {

ViewStep::~ViewStep() = default;
const char* Full::Kind() const { return "Full"; }
const char* Slice::Kind() const { return "Slice"; }
const char* Scalar::Kind() const { return "Scalar"; }

}  // namespace Tarq

namespace Tarq::detail {
namespace {

// A negative value counts from the end; what lies beyond the axis becomes -1 or d.
std::int64_t Normalise(std::int64_t v, std::int64_t d) noexcept {
  if (v < 0) v += d;
  if (v < 0) return -1;
  return v > d ? d : v;
}

std::uint64_t Magnitude(std::int64_t v) noexcept {
  return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

AxisLayout ApplyScalar(const Scalar& scalar, const AxisLayout& in, int axis, Status& status) {
  const auto d = static_cast<std::int64_t>(in.dim);
  std::int64_t i = scalar.index;
  if (i < 0) i += d;
  if (i < 0 || i >= d) {
    Record(status, 3, "Index %lld is out of bounds for axis %d with size %zu", static_cast<long long>(scalar.index),
           axis, in.dim);
    return {0, in.stride, in.offset};
  }
  return {1, in.stride, in.offset + i * in.stride};
}

AxisLayout ApplySlice(const Slice& slice, const AxisLayout& in, int axis, Status& status) {
  const auto d = static_cast<std::int64_t>(in.dim);
  const std::int64_t step = (slice.flags & Slice::kNoStep) != 0 ? 1 : slice.step;
  if (step == 0) {
    Record(status, 3, "Slice step cannot be zero at axis %d", axis);
    return {0, in.stride, in.offset};
  }
  std::int64_t start = (slice.flags & Slice::kNoStart) != 0 ? (step > 0 ? 0 : d - 1) : Normalise(slice.start, d);
  const std::int64_t stop = (slice.flags & Slice::kNoStop) != 0 ? (step > 0 ? d : -1) : Normalise(slice.stop, d);
  // A start beyond the axis is clamped to its first index in the direction of the step.
  if (step > 0 && start < 0) start = 0;
  if (step < 0 && start > d - 1) start = d - 1;

  std::uint64_t span = 0;
  if (step > 0 && start < stop) span = static_cast<std::uint64_t>(stop - start);
  if (step < 0 && start > stop) span = static_cast<std::uint64_t>(start - stop);
  if (span == 0) return {0, in.stride, in.offset};
  const std::uint64_t size = 1 + (span - 1) / Magnitude(step);

  std::int64_t stride = in.stride;
  // With two or more indices |step| < d, so the product fits; a single index keeps the stride
  // when it would not.
  if (__builtin_mul_overflow(in.stride, step, &stride)) stride = in.stride;
  return {static_cast<std::size_t>(size), stride, in.offset + start * in.stride};
}

}  // namespace

AxisLayout ApplyStep(const ViewStep& step, const AxisLayout& in, int axis, Status& status) {
  if (const auto* scalar = dynamic_cast<const Scalar*>(&step)) return ApplyScalar(*scalar, in, axis, status);
  if (const auto* slice = dynamic_cast<const Slice*>(&step)) return ApplySlice(*slice, in, axis, status);
  return in;  // Full
}

IView* NewView() { return new TarqView(BlockRef<ViewData>::Make()); }

}  // namespace Tarq::detail

Tarq::IView* TarqView::Append(std::shared_ptr<const Tarq::ViewStep> step) {
  auto& steps = Data().steps;
  steps.push_back(std::move(step));
  auto copy = Tarq::detail::BlockRef<Tarq::detail::ViewData>::Make(Data());
  return new TarqView(std::move(copy));
}

Tarq::IView* TarqView::AddFull() { return Append(std::make_shared<const Tarq::Full>()); }

Tarq::IView* TarqView::AddScalar(std::int64_t index) { return Append(std::make_shared<const Tarq::Scalar>(index)); }

Tarq::IView* TarqView::AddSlice(std::int64_t start, std::int64_t stop, std::int64_t step, int flags) {
  return Append(std::make_shared<const Tarq::Slice>(start, stop, step, flags));
}
