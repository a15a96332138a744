#pragma once

// Just enough of Google Benchmark's interface to build bench/TickBenchmark.cpp
// where Debian has no Google Benchmark for the target (mingw-w64): each
// benchmark's loop runs for about half a second, twice as many iterations at
// a time until then, and its time per iteration is printed as Google
// Benchmark's --benchmark_format=csv prints it (name, iterations, real time,
// CPU time, unit). The CPU time is wall time here: the loop never sleeps.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace benchmark {

class State {
 public:
  explicit State(std::int64_t iterations) : left_(iterations) {}
  struct Iterator {
    std::int64_t left;
    bool operator!=(const Iterator&) const { return left > 0; }
    void operator++() { --left; }
    int operator*() const { return 0; }
  };
  Iterator begin() { return {left_}; }
  Iterator end() { return {0}; }

 private:
  std::int64_t left_;
};

using Function = void (*)(State&);

inline std::vector<std::pair<const char*, Function>>& Registered() {
  static std::vector<std::pair<const char*, Function>> all;
  return all;
}

inline int Register(const char* name, Function function) {
  Registered().emplace_back(name, function);
  return 0;
}

inline int RunAll() {
  using Clock = std::chrono::steady_clock;
  std::printf("name,iterations,real_time,cpu_time,time_unit\n");
  for (const auto& [name, function] : Registered()) {
    for (std::int64_t n = 1;; n *= 2) {
      State state(n);
      const auto start = Clock::now();
      function(state);
      const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
      if (ns >= 5e8 || n >= (std::int64_t{1} << 40)) {
        std::printf("\"%s\",%lld,%.3f,%.3f,ns\n", name, static_cast<long long>(n), ns / n, ns / n);
        break;
      }
    }
  }
  return 0;
}

}  // namespace benchmark

#define VANTOR_BENCHMARK_NAME2(line) vantor_benchmark_##line
#define VANTOR_BENCHMARK_NAME(line) VANTOR_BENCHMARK_NAME2(line)
#define BENCHMARK(function) \
  static const int VANTOR_BENCHMARK_NAME(__LINE__) = ::benchmark::Register(#function, function)
#define BENCHMARK_MAIN() \
  int main() { return ::benchmark::RunAll(); }
