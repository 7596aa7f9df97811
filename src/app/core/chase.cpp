#include "app/core/chase.h"

int32_t RandomGenerator::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<int32_t>(z >> 33);
}

int32_t ChooseChaseTarget(uint64_t startTimeSeconds) {
  return RandomGenerator(startTimeSeconds).Next() % 3;
}
