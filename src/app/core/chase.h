#pragma once
// Quarn's choice of the character it chases, drawn once per run from the start time.
#include <cstdint>

// A small pseudo-random generator (splitmix64): any seed, even consecutive seconds, gives
// well-spread values.
class RandomGenerator {
 public:
  explicit RandomGenerator(uint64_t seed) : state_(seed) {}
  // The next value, a non-negative 31-bit integer.
  int32_t Next();

 private:
  uint64_t state_;
};

// 0 (Mubo), 1 (Tesk) or 2 (Plim), from a generator seeded with the calendar time in seconds.
int32_t ChooseChaseTarget(uint64_t startTimeSeconds);
