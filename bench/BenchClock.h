// Seconds since a moment, for the benchmarks' figures.
#pragma once

#include <chrono>

namespace seltane::bench {

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace seltane::bench
