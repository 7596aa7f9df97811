#include "app/core/chase.h"

#include <gtest/gtest.h>

#include <array>

TEST(ChaseTarget, AlwaysOneOfTheThreeAndEveryOneOccursOverStartTimes) {
  std::array<int, 3> seen{};
  const uint64_t start = 1'796'000'000;  // consecutive seconds, as real start times are
  for (uint64_t t = start; t < start + 3000; ++t) {
    int32_t target = ChooseChaseTarget(t);
    ASSERT_GE(target, 0);
    ASSERT_LE(target, 2);
    ++seen[static_cast<size_t>(target)];
  }
  for (int count : seen) EXPECT_GT(count, 850);  // about a third each
}

TEST(ChaseTarget, TheSameStartTimeGivesTheSameTarget) {
  for (uint64_t t : {0ull, 1ull, 1'796'000'000ull, ~0ull})
    EXPECT_EQ(ChooseChaseTarget(t), ChooseChaseTarget(t));
}

TEST(ChaseTarget, GeneratorValuesAreNonNegative) {
  RandomGenerator g(12345);
  for (int i = 0; i < 1000; ++i) EXPECT_GE(g.Next(), 0);
}
