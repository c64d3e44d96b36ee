// Small measuring helpers for the benchmark programs (native only).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace mvqtest {

// The fastest of a few runs, in seconds: the least disturbed by the other processes.
// prepare runs before each run, untimed.
template <class Prepare, class Run>
double bestSeconds(int runs, Prepare&& prepare, Run&& run) {
  double best = std::numeric_limits<double>::infinity();
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// A field of /proc/self/status in KiB ("VmHWM", "VmRSS"), or -1.
inline long statusKiB(const char* field) {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long value = -1;
  const size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
      value = std::strtol(line + length + 1, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return value;
}

// Starts a new peak: the kernel sets VmHWM back to the present VmRSS.
inline bool resetPeakMemory() {
  FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (!f) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

}  // namespace mvqtest
