#include "bench_util.h"

#include <fstream>
#include <string>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

namespace bench {
namespace {

std::size_t StatusField(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) == 0) return std::stoull(line.substr(prefix.size())) * 1024;  // kB
  }
  return 0;
}

}  // namespace

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

std::size_t ResidentBytes() {
  malloc_trim(0);  // freed heap memory kept by the allocator is not the program's data
  return StatusField("VmRSS");
}
std::size_t PeakResidentBytes() { return StatusField("VmHWM"); }

void ResetPeak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
}

}  // namespace bench
