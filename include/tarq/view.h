// Views: a list of steps, one per leading axis, that select part of an n-dimensional object
// without copying it. A view is built by chaining AddFull, AddScalar and AddSlice.
#pragma once

#include <cstdint>

#include "tarq/visibility.h"

namespace Tarq {

// One step of a view; Kind() names it ("Full", "Slice" or "Scalar").
class TARQ_CPP_API ViewStep {
 public:
  virtual ~ViewStep();
  virtual const char* Kind() const = 0;
};

// Takes a whole axis.
class TARQ_CPP_API Full final : public ViewStep {
 public:
  const char* Kind() const override;
};

// Takes every step-th index from start towards stop (stop excluded). Negative start and stop count
// from the end of the axis; values beyond the axis are clamped to it. The flags tell which of
// the three values were not given.
class TARQ_CPP_API Slice final : public ViewStep {
 public:
  static constexpr int kNoStep = 1;   // step 1
  static constexpr int kNoStop = 2;   // to the end in the direction of the step
  static constexpr int kNoStart = 4;  // from the first index in the direction of the step

  Slice(std::int64_t start, std::int64_t stop, std::int64_t step, int flags)
      : start(start), stop(stop), step(step), flags(flags) {}
  const char* Kind() const override;

  std::int64_t start;
  std::int64_t stop;
  std::int64_t step;
  int flags;
};

// Takes one index of an axis and keeps the axis with size 1. A negative index counts from the end.
class TARQ_CPP_API Scalar final : public ViewStep {
 public:
  explicit Scalar(std::int64_t index) : index(index) {}
  const char* Kind() const override;

  std::int64_t index;
};

// Each Add operation appends its step to this view (so this view grows too) and returns a new
// view, owned by the caller, holding a copy of the grown list; the steps are shared.
class IView {
 public:
  virtual ~IView() = default;
  virtual IView* AddFull() = 0;
  virtual IView* AddScalar(std::int64_t index) = 0;
  virtual IView* AddSlice(std::int64_t start, std::int64_t stop, std::int64_t step, int flags) = 0;
};

}  // namespace Tarq
