#pragma once
// The walkers' arithmetic: which way a character steps on a tick, and which frame it shows.
#include <cstdint>
#include <optional>

// A character moves up when dy < U, down when dy > D, left when dx < U, right when dx > D,
// S pixels per tick on each axis (dx, dy: reference point minus the window's Left, Top).
struct WalkerParams {
  int32_t U, D, S;
};
inline constexpr WalkerParams kMuboWalk{0, 32, 1};
inline constexpr WalkerParams kTeskWalk{-24, 12, 3};
inline constexpr WalkerParams kPlimWalk{-48, 24, 4};
inline constexpr WalkerParams kQuarnWalk{-12, 32, 6};

// The parameters of a character drawn at a whole-pixel SCALE: thresholds and step in screen
// pixels, so that it walks as fast and stops as far away on the screen as at scale 1.
constexpr WalkerParams ScaledBy(WalkerParams params, int32_t scale) {
  return {params.U * scale, params.D * scale, params.S * scale};
}

enum class Direction { Up, Down, Left, Right };

struct Point {
  int32_t X = 0, Y = 0;
};

// The walking-cycle phase after a tick's advance: 1, 2, 0, 1, ...
int32_t NextPhase(int32_t phase);

// The frame (1 to 12, Rgn1 to Rgn12) shown for a direction at a phase.
int FrameNumber(Direction direction, int32_t phase);

// The moves of one tick, at most one on each axis; the vertical one is made first.
struct TickMoves {
  std::optional<Direction> Vertical, Horizontal;
};
TickMoves PlanTick(Point reference, Point position, WalkerParams params);

// Where POSITION ends after a move in DIRECTION by S pixels.
Point Moved(Point position, Direction direction, int32_t s);

// What a tick leaves on the screen once its moves are made in their order: the frame shown last
// (the horizontal move's when it moves on both axes; none when it does not move) and the place.
struct TickOutcome {
  std::optional<int> Frame;
  Point Position;
};
TickOutcome OutcomeOf(const TickMoves& moves, Point position, int32_t phase, int32_t s);
