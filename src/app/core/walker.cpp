#include "app/core/walker.h"

int32_t NextPhase(int32_t phase) {
  ++phase;
  return phase == 3 ? 0 : phase;
}

int FrameNumber(Direction direction, int32_t phase) {
  return 3 * static_cast<int>(direction) + static_cast<int>(phase) + 1;
}

TickMoves PlanTick(Point reference, Point position, WalkerParams p) {
  // Each test reads the position as the previous move left it (up, then down; left, then right).
  TickMoves moves;
  if (reference.Y - position.Y < p.U) {
    moves.Vertical = Direction::Up;
    position = Moved(position, Direction::Up, p.S);
  }
  if (reference.Y - position.Y > p.D) moves.Vertical = Direction::Down;
  if (reference.X - position.X < p.U) {
    moves.Horizontal = Direction::Left;
    position = Moved(position, Direction::Left, p.S);
  }
  if (reference.X - position.X > p.D) moves.Horizontal = Direction::Right;
  return moves;
}

Point Moved(Point position, Direction direction, int32_t s) {
  switch (direction) {
    case Direction::Up:
      position.Y -= s;
      break;
    case Direction::Down:
      position.Y += s;
      break;
    case Direction::Left:
      position.X -= s;
      break;
    case Direction::Right:
      position.X += s;
      break;
  }
  return position;
}

TickOutcome OutcomeOf(const TickMoves& moves, Point position, int32_t phase, int32_t s) {
  TickOutcome outcome{std::nullopt, position};
  for (const std::optional<Direction>& move : {moves.Vertical, moves.Horizontal}) {
    if (!move) continue;
    outcome.Frame = FrameNumber(*move, phase);
    outcome.Position = Moved(outcome.Position, *move, s);
  }
  return outcome;
}
