#include "app/characters.h"

#include "settings/status_form.h"

void TCharacterForm::Build(const std::string& className) {
  DefineEvent("Rgn1Click", [this](TObject* sender) { Rgn1Click(sender); });
  DefineEvent("N1Click", [this](TObject* sender) { N1Click(sender); });
  LoadDescription(className);
  RgnList1 = Field<TRgnList>("RgnList1");
  Timer1 = Field<TTimer>("Timer1");
  for (int n = 1; n <= 12; ++n) Rgn[n] = Field<TRgn>("Rgn" + std::to_string(n));
  // The first frame: the window becomes borderless with exactly Rgn1's outline.
  SelectFrame(1);
  FramePhase = 0;
}

void TCharacterForm::WMClose(TMessage& m) {
  if (Application && Application->MainForm() == this) return TForm::WMClose(m);
  m.Result = 0;
}

void TCharacterForm::Rgn1Click(TObject*) {
  if (!StatusForm1) return;
  const std::string file = StatusForm1->LaunchFile(Slot);
  if (file.empty()) {
    RefusalBeep(0);
    return;
  }
  ShellOpen(Handle(), file);
}

void TCharacterForm::N1Click(TObject*) {
  if (StatusForm1) StatusForm1->OpenForSlot(Slot);
}

void TCharacterForm::SelectFrame(int number) {
  RgnList1->Add(Rgn[number]);
  RgnList1->SetWndRgn();
}

namespace {

std::optional<Point> ReadCursor() {
  // Fails on a secure or locked desktop: then there is no pointer to walk to.
  POINT cursor;
  if (!TCharacterForm::ReadCursorPos(&cursor)) return std::nullopt;
  return Point{cursor.x, cursor.y};
}

// Under Wine every read asks Wine's server and the X server where the pointer is, and the
// walkers of one tick run in one go: they share one read. On Windows each reads its own, inside
// its capture.
std::optional<Point> CursorOfThisTick() {
  const uint64_t tick = CurrentTimerTick();
  if (!RunningUnderWine() || tick == 0) return ReadCursor();
  static uint64_t readAt = 0;
  static std::optional<Point> cursor;
  if (readAt != tick) {
    cursor = ReadCursor();
    readAt = tick;
  }
  return cursor;
}

}  // namespace

void TCharacterForm::WalkTowardCursor(WalkerParams params) { Walk(params, CursorOfThisTick); }

void TCharacterForm::Step(Point reference, WalkerParams params) {
  FramePhase = NextPhase(FramePhase);
  const Point from{Left(), Top()};
  const TickOutcome tick = OutcomeOf(PlanTick(reference, from, params), from, FramePhase, params.S);
  if (!tick.Frame) return;
  // The tick is applied at once, with the frame and the place its moves leave: each region change
  // and each move costs the platform a repaint and, under Wine, a round trip through Wine's server
  // and the X server, and the user sees no frame or place in between either way.
  SelectFrame(*tick.Frame);
  SetBounds(tick.Position.X, tick.Position.Y, Width(), Height());
}
