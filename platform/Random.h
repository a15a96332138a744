#pragma once

#include <cstdint>

namespace platform {

// Where random fractions come from. The runtime holds one; tests substitute a
// scripted one.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A single-precision fraction in [0, 1).
  virtual float Next() = 0;
};

// Never seeded by the program, so every run draws the same sequence. Draws are
// multiples of 2^-24, so each is exact in a float.
class FixedSeedRandom final : public RandomSource {
 public:
  float Next() override;

 private:
  std::uint64_t state_ = 0x76616E746F72ull;
};

}  // namespace platform
