#include "platform/Random.h"

namespace platform {

float FixedSeedRandom::Next() {
  // splitmix64: cheap, well mixed, and fully determined by its start state.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<float>(z >> 40) * (1.0f / 16777216.0f);
}

}  // namespace platform
