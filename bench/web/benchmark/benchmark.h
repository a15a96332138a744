#pragma once

// The part of Google Benchmark that bench/TickBenchmark.cpp uses, for the
// WebAssembly and Windows builds, where Debian has no Google Benchmark: each case runs
// ten times more iterations until a run takes half a second, and the last
// run prints as Google's CSV does (name, iterations, real and CPU time).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace benchmark {

class State {
 public:
  explicit State(std::int64_t iterations) : left_(iterations) {}

  // What the loop's variable holds: nothing, but no compiler calls it unused.
  struct Value {
    ~Value() {}
  };
  struct Iterator {
    State* state;
    bool operator!=(const Iterator&) const { return state->Running(); }
    void operator++() { --state->left_; }
    Value operator*() const { return {}; }
  };
  Iterator begin() {
    start_ = std::chrono::steady_clock::now();
    return {this};
  }
  Iterator end() { return {this}; }
  std::chrono::steady_clock::duration Elapsed() const { return stop_ - start_; }

 private:
  bool Running() {
    if (left_ > 0) return true;
    stop_ = std::chrono::steady_clock::now();
    return false;
  }
  std::int64_t left_;
  std::chrono::steady_clock::time_point start_, stop_;
};

using Function = void (*)(State&);

inline std::vector<std::pair<const char*, Function>>& Cases() {
  static std::vector<std::pair<const char*, Function>> cases;
  return cases;
}

inline int Register(const char* name, Function function) {
  Cases().emplace_back(name, function);
  return 0;
}

inline int RunAll() {
  std::printf("name,iterations,real_time,cpu_time,time_unit\n");
  for (const auto& [name, function] : Cases()) {
    for (std::int64_t iterations = 1;; iterations *= 10) {
      State state(iterations);
      function(state);
      const double ns = std::chrono::duration<double, std::nano>(state.Elapsed()).count();
      if (ns < 5e8 && iterations < 1'000'000'000) continue;
      std::printf("\"%s\",%lld,%.3f,%.3f,ns\n", name, static_cast<long long>(iterations), ns / iterations,
                  ns / iterations);
      break;
    }
  }
  return 0;
}

}  // namespace benchmark

#define BENCHMARK(function) [[maybe_unused]] static const int function##_registered = ::benchmark::Register(#function, function)
#define BENCHMARK_MAIN() \
  int main() { return ::benchmark::RunAll(); }
