// Timing for the benchmarks: the best time of a number of calls. On a shared machine the best
// run is the one least disturbed, and both sides of a comparison are measured the same way.
#pragma once
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// Best time of `runs` calls of `f` (after one call to warm up), in microseconds.
inline double BestMicros(int runs, const std::function<void()>& f) {
  f();
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto a = std::chrono::steady_clock::now();
    f();
    t.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
  }
  return *std::min_element(t.begin(), t.end());
}
