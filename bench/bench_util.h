// Timing and memory readings shared by the benchmark programs.
#pragma once

#include <chrono>
#include <cstddef>

namespace bench {

inline double Seconds() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// CPU time of the process (user and system, page faults included). For single-threaded work it
// is what the wall clock would read on an idle machine, and other work disturbs it less.
double CpuSeconds();

// Current resident set size in bytes, after the allocator returned its free memory.
std::size_t ResidentBytes();
// Peak resident set size in bytes since the last ResetPeak.
std::size_t PeakResidentBytes();
void ResetPeak();

// Deterministic pseudo-random numbers (64-bit LCG), fast enough not to disturb the timings.
struct Lcg {
  unsigned long long state;
  unsigned Next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(state >> 33);
  }
};

}  // namespace bench
