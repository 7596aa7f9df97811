#include "app/core/walker.h"

#include <gtest/gtest.h>

namespace {

using D = Direction;

TEST(Walker, PhaseCyclesOneTwoZero) {
  EXPECT_EQ(NextPhase(0), 1);
  EXPECT_EQ(NextPhase(1), 2);
  EXPECT_EQ(NextPhase(2), 0);
}

TEST(Walker, FramesByDirectionAndPhase) {
  EXPECT_EQ(FrameNumber(D::Up, 0), 1);
  EXPECT_EQ(FrameNumber(D::Up, 1), 2);
  EXPECT_EQ(FrameNumber(D::Down, 2), 6);
  EXPECT_EQ(FrameNumber(D::Left, 0), 7);
  EXPECT_EQ(FrameNumber(D::Right, 1), 11);
  EXPECT_EQ(FrameNumber(D::Right, 2), 12);
}

TEST(Walker, ThresholdsAreStrictOnBothAxesForEveryCharacter) {
  const Point at{100, 100};
  for (WalkerParams p : {kMuboWalk, kTeskWalk, kPlimWalk, kQuarnWalk}) {
    // Exactly at U or D: no move on that axis.
    for (int32_t d : {p.U, p.D}) {
      TickMoves m = PlanTick({at.X + d, at.Y + d}, at, p);
      EXPECT_FALSE(m.Vertical) << d;
      EXPECT_FALSE(m.Horizontal) << d;
    }
    TickMoves m = PlanTick({at.X + p.U - 1, at.Y + p.D + 1}, at, p);
    EXPECT_EQ(m.Vertical, D::Down);
    EXPECT_EQ(m.Horizontal, D::Left);
    m = PlanTick({at.X + p.D + 1, at.Y + p.U - 1}, at, p);
    EXPECT_EQ(m.Vertical, D::Up);
    EXPECT_EQ(m.Horizontal, D::Right);
  }
}

TEST(Walker, MuboStandsAnywhereInHisSquare) {
  for (int32_t x = 0; x <= 32; ++x)
    for (int32_t y = 0; y <= 32; ++y) {
      TickMoves m = PlanTick({480 + x, -80 + y}, {480, -80}, kMuboWalk);
      ASSERT_FALSE(m.Vertical || m.Horizontal) << x << "," << y;
    }
}

TEST(Walker, MovesBySpeedTowardTheReferenceAndRestsInTheDeadZone) {
  // On the primary monitor, and on monitors left of and above it (negative coordinates).
  for (const Point target : {Point{900, 700}, Point{-700, 300}, Point{300, -500}}) {
    for (WalkerParams p : {kMuboWalk, kTeskWalk, kPlimWalk, kQuarnWalk}) {
      Point pos{480, -80};
      int ticks = 0;
      for (;; ++ticks) {
        TickMoves m = PlanTick(target, pos, p);
        if (!m.Vertical && !m.Horizontal) break;
        Point before = pos;
        if (m.Vertical) pos = Moved(pos, *m.Vertical, p.S);
        if (m.Horizontal) pos = Moved(pos, *m.Horizontal, p.S);
        ASSERT_LE(std::abs(pos.X - before.X), p.S);
        ASSERT_LE(std::abs(pos.Y - before.Y), p.S);
        ASSERT_LT(ticks, 10000);
      }
      // At rest the reference lies within [U, D] of the position on both axes.
      EXPECT_GE(target.X - pos.X, p.U);
      EXPECT_LE(target.X - pos.X, p.D);
      EXPECT_GE(target.Y - pos.Y, p.U);
      EXPECT_LE(target.Y - pos.Y, p.D);
    }
  }
}

TEST(Walker, ATicksOutcomeIsTheLastMovesFrameAndTheEndOfBothMoves) {
  const Point at{100, 200};
  // Both axes: the horizontal frame replaces the vertical one.
  TickOutcome o = OutcomeOf({D::Down, D::Left}, at, 2, 4);
  EXPECT_EQ(o.Frame, 9);
  EXPECT_EQ(o.Position.X, 96);
  EXPECT_EQ(o.Position.Y, 204);
  o = OutcomeOf({D::Up, D::Right}, at, 0, 6);
  EXPECT_EQ(o.Frame, 10);
  EXPECT_EQ(o.Position.X, 106);
  EXPECT_EQ(o.Position.Y, 194);
  // One axis: that move's frame.
  o = OutcomeOf({D::Up, std::nullopt}, at, 1, 3);
  EXPECT_EQ(o.Frame, 2);
  EXPECT_EQ(o.Position.X, 100);
  EXPECT_EQ(o.Position.Y, 197);
  // No move: no frame, the same place.
  o = OutcomeOf({}, at, 1, 3);
  EXPECT_FALSE(o.Frame);
  EXPECT_EQ(o.Position.X, 100);
  EXPECT_EQ(o.Position.Y, 200);
}

}  // namespace
