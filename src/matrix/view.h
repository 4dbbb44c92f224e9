// Views: the shared list of steps behind TarqView, and the application of a view to a layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "frame/handle.h"
#include "frame/status.h"
#include "matrix/shape.h"
#include "tarq/view.h"

namespace Tarq::detail {

struct ViewData {
  std::vector<std::shared_ptr<const ViewStep>> steps;
};

// One axis of a layout.
struct AxisLayout {
  std::size_t dim;
  std::int64_t stride;
  std::int64_t offset;
};

// Applies one step to one axis (axis is the axis number, for messages):
// - Full keeps the axis.
// - Scalar(i) keeps the axis with size 1 at index i (i + d for negative i). An index outside the
//   axis records code 3 "Index %lld is out of bounds for axis %d with size %zu" and gives size 0.
// - Slice normalises start and stop (negative values count from the end, values beyond the axis
//   are clamped to it), fills in missing values by the direction of the step, and gives
//   ceil(|stop - start| / |step|) indices in the direction of the step, stride s*step. A step
//   of 0 records code 3 "Slice step cannot be zero at axis %d" and gives size 0.
// A result of size 0 keeps the offset of the axis, so an empty axis never addresses anything.
AxisLayout ApplyStep(const ViewStep& step, const AxisLayout& in, int axis, Status& status);

// Applies a view to a layout in place: step k to axis k, axes without a step kept whole. A view
// of more than N steps records "View has more operations than #ND (%d)" and leaves the layout.
// Returns false when a failure was recorded.
template <int N>
bool ApplyView(const ViewData& view, Shape<N>& shape, Status& status) {
  if (view.steps.size() > static_cast<std::size_t>(N)) {
    Record(status, 3, "View has more operations than #ND (%d)", N);
    return false;
  }
  bool ok = true;
  for (int k = 0; k < static_cast<int>(view.steps.size()); ++k) {
    Status stepStatus;
    AxisLayout out = ApplyStep(*view.steps[k], {shape.Dim(k), shape.Stride(k), shape.Offset(k)}, k, stepStatus);
    shape.SetAxis(k, out.dim, out.stride, out.offset);
    if (!stepStatus.Ok() && ok) {
      status = stepStatus;
      ok = false;
    }
  }
  return ok;
}

}  // namespace Tarq::detail

class TarqView final : public Tarq::detail::Handled<Tarq::IView, Tarq::detail::ViewData> {
 public:
  using Handled::Handled;
  Tarq::IView* AddFull() override;
  Tarq::IView* AddScalar(std::int64_t index) override;
  Tarq::IView* AddSlice(std::int64_t start, std::int64_t stop, std::int64_t step, int flags) override;

 private:
  Tarq::IView* Append(std::shared_ptr<const Tarq::ViewStep> step);
};

namespace Tarq::detail {

// A new empty view, owned by the caller.
IView* NewView();

}  // namespace Tarq::detail
