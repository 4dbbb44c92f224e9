// Iteration through a transposed view of a 1000 x 1000 x 10 double array, against the floor of a
// plain loop over a contiguous std::vector of the same size.
//   sum_transposed:  Sum() of the transposed array            vs  a summing loop over the vector
//   copy_transposed: Flatten() of the transposed array (copy) vs  copying the vector into new storage
// Each time is the best of several runs. Prints "<case>: time_s=<t> floor_s=<f> ratio=<t/f>".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

#include "tarq/exports.h"

namespace {

constexpr int kD0 = 1000;
constexpr int kD1 = 1000;
constexpr int kD2 = 10;
constexpr std::size_t kSize = static_cast<std::size_t>(kD0) * kD1 * kD2;
constexpr int kRuns = 7;

volatile double gSink = 0;  // keeps results alive

template <class Fn>
double BestSeconds(Fn&& fn) {
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    fn();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count());
  }
  return best;
}

void Report(const char* name, double time, double floor) {
  std::printf("%s: time_s=%.6f floor_s=%.6f ratio=%.3f\n", name, time, floor, time / floor);
}

}  // namespace

int main() {
  std::vector<double> values(kSize);
  for (std::size_t i = 0; i < kSize; ++i) values[i] = static_cast<double>(i % 1000) * 0.5;

  std::unique_ptr<Tarq::INdArray<double, 3>> array(CreateNdArrayDbl3WithExData(values.data(), kD0, kD1, kD2));
  std::unique_ptr<Tarq::INdArray<double, 3>> transposed(array->Transpose());

  double floorSum = BestSeconds([&] {
    double total = 0;
    for (std::size_t i = 0; i < kSize; ++i) total += values[i];
    gSink = total;
  });
  double sum = BestSeconds([&] {
    std::unique_ptr<Tarq::INdArray<double, 0>> s(transposed->Sum());
    gSink = s->Item(0);
  });
  Report("sum_transposed", sum, floorSum);

  double floorCopy = BestSeconds([&] {
    std::unique_ptr<double[]> copy(new double[kSize]);
    const double* from = values.data();
    for (std::size_t i = 0; i < kSize; ++i) copy[i] = from[i];
    gSink = copy[kSize / 2];
  });
  double copy = BestSeconds([&] {
    std::unique_ptr<Tarq::INdArray<double, 1>> flat(transposed->Flatten());
    gSink = flat->Item(static_cast<std::int64_t>(kSize / 2));
  });
  Report("copy_transposed", copy, floorCopy);

  // The copy really is the transposed order: element (i2, i1, i0) of the copy is values at (i0, i1, i2).
  std::unique_ptr<Tarq::INdArray<double, 1>> flat(transposed->Flatten());
  const std::int64_t probe = 3LL * kD1 * kD0 + 7LL * kD0 + 11;  // (3, 7, 11) in the transposed shape
  if (flat->Item(probe) != values[11LL * kD1 * kD2 + 7LL * kD2 + 3]) {
    std::printf("copy_transposed: wrong element order\n");
    return 1;
  }
  return 0;
}
