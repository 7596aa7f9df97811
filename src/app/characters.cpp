#include "app/characters.h"

void TCharacterForm::Build(const std::string& className) {
  LoadDescription(className);
  RgnList1 = Field<TRgnList>("RgnList1");
  Timer1 = Field<TTimer>("Timer1");
  for (int n = 1; n <= 12; ++n) Rgn[n] = Field<TRgn>("Rgn" + std::to_string(n));
  // The first frame: the window becomes borderless with exactly Rgn1's outline.
  SelectFrame(1);
  FramePhase = 0;
}

void TCharacterForm::SelectFrame(int number) {
  RgnList1->Add(Rgn[number]);
  RgnList1->SetWndRgn();
}

void TCharacterForm::WalkTowardCursor(WalkerParams params) {
  Walk(params, []() -> std::optional<Point> {
    // Fails on a secure or locked desktop: then there is no pointer to walk to.
    POINT cursor;
    if (!ReadCursorPos(&cursor)) return std::nullopt;
    return Point{cursor.x, cursor.y};
  });
}

void TCharacterForm::Step(Point reference, WalkerParams params) {
  FramePhase = NextPhase(FramePhase);
  TickMoves moves = PlanTick(reference, {Left(), Top()}, params);
  if (moves.Vertical) {
    SelectFrame(FrameNumber(*moves.Vertical, FramePhase));
    SetTop(Moved({Left(), Top()}, *moves.Vertical, params.S).Y);
  }
  if (moves.Horizontal) {
    SelectFrame(FrameNumber(*moves.Horizontal, FramePhase));
    SetLeft(Moved({Left(), Top()}, *moves.Horizontal, params.S).X);
  }
}
