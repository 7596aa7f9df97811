// The four character windows as the program builds them, and their walkers, on real windows.
// Walker ticks are called directly with the pointer placed by SetCursorPos.
#include <gtest/gtest.h>

#include <map>
#include <new>
#include <optional>
#include <vector>

#include "app/mubo.h"
#include "app/plim.h"
#include "app/quarn.h"
#include "app/settings_load.h"
#include "app/step_aside.h"
#include "app/tesk.h"
#include "framework/core/exception.h"
#include "framework/core/sysutils.h"
#include "framework/system.h"
#include "region/core/region_data.h"
#include "support/character_support.h"
#include "support/shell_support.h"
#include "support/test_support.h"

// The allocations made through operator new while counting is on.
namespace {
bool countingAllocations = false;
int allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  if (countingAllocations) ++allocations;
  if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

struct Expected {
  const char* Caption;
  int Left, Top, Height, FrameWidth, FrameHeight;
};
const Expected kExpected[4] = {{"Mubo", 480, -80, 90, 46, 56},
                               {"Tesk", 550, -50, 74, 24, 32},
                               {"Plim", 410, -50, 67, 24, 32},
                               {"Quarn", 0, 680, 69, 24, 32}};

using character_test::DropTimerMessages;
using character_test::RectsOf;

std::vector<Rect> FrameOutline(TRgn* frame, int dx = 0, int dy = 0) {
  return Region::FromBlob(frame->WriteRgnData(), 1, 1, static_cast<float>(dx),
                          static_cast<float>(dy))
      .Rects();
}

class Characters : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // No settings file: every character is shown.
    DeleteFileW(Widen(SettingsFilePath()).c_str());
    // Start-up runs messages (the tray icon's activation): no walker takes a step meanwhile.
    HookHandle noTicks(
        SetWindowsHookExW(WH_GETMESSAGE, DropTimerMessages, nullptr, GetCurrentThreadId()));
    CreateForm(Application, Form1);  // its creation handler makes the other three
    for (TCharacterForm* f : All()) {
      TimerWasRunning = TimerWasRunning && f->Timer1->Enabled() && f->Timer1->Interval() == 50;
      f->Timer1->SetEnabled(false);  // the tests drive the ticks themselves
    }
  }
  static void TearDownTestSuite() {
    delete Form1;
    // Every window reference is cleared with its window.
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form2, nullptr);
    EXPECT_EQ(Form3, nullptr);
    EXPECT_EQ(Form4, nullptr);
    EXPECT_EQ(StatusForm1, nullptr);
  }
  static std::array<TCharacterForm*, 4> All() { return {Form1, Form2, Form3, Form4}; }

  static void Tick(TCharacterForm* f) { character_test::Tick(f); }
  static void PlaceAt(TCharacterForm* f, int left, int top) {
    character_test::PlaceAt(f, left, top);
  }
  static void Pointer(int x, int y) { ASSERT_TRUE(SetCursorPos(x, y)); }
  static int ShownFrame(TCharacterForm* f) {
    int shown = 0;
    for (int n = 1; n <= 12; ++n)
      if (f->Rgn[n]->Shown) shown = shown ? -1 : n;
    return shown;
  }

  static bool TimerWasRunning;
};
bool Characters::TimerWasRunning = true;

TEST_F(Characters, StoredValuesOfTheFourWindows) {
  EXPECT_TRUE(TimerWasRunning);
  for (int i = 0; i < 4; ++i) {
    TCharacterForm* f = All()[i];
    const Expected& e = kExpected[i];
    SCOPED_TRACE(e.Caption);
    HWND h = f->Handle();
    EXPECT_EQ(f->Caption(), e.Caption);
    wchar_t caption[32];
    GetWindowTextW(h, caption, 32);
    EXPECT_EQ(Narrow(caption), e.Caption);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, e.Left);
    EXPECT_EQ(r.top, e.Top);
    EXPECT_EQ(r.right - r.left, 132);
    EXPECT_EQ(r.bottom - r.top, e.Height);
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(h, GW_OWNER), Application->Handle());
    EXPECT_EQ(f->Color(), clBtnFace);
    EXPECT_EQ(f->Font().Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(f->Font().Height(), -12);
    EXPECT_EQ(f->Font().Charset(), SHIFTJIS_CHARSET);
    TBorderIcons icons = f->BorderIcons();
    EXPECT_FALSE(icons.SystemMenu || icons.Minimize || icons.Maximize);
    EXPECT_EQ(f->FramePhase, 0);
    // The first frame made the window borderless, with exactly Rgn1's outline.
    EXPECT_EQ(f->BorderStyle(), TBorderStyle::bsNone);
    EXPECT_EQ(f->BrushStyle(), TBrushStyle::bsClear);
    EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(RectsOf(WindowRegionRects(h)), FrameOutline(f->Rgn[1]));
    EXPECT_EQ(ShownFrame(f), 1);
    EXPECT_EQ(f->RgnList1->GetCount(), 0);
    for (int n = 1; n <= 12; ++n) {
      EXPECT_EQ(f->Rgn[n]->Width(), e.FrameWidth);
      EXPECT_EQ(f->Rgn[n]->Height(), e.FrameHeight);
      EXPECT_EQ(f->Rgn[n]->Cursor(), crHandPoint);
    }
  }
  // Shown by the settings load, as its box is ticked.
  for (TCharacterForm* f : All()) EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_GE(Form1->ChaseTarget, 0);
  EXPECT_LE(Form1->ChaseTarget, 2);
}

TEST_F(Characters, StartUpEndsWithTheSettingsWindowHiddenAndTheTrayIconActive) {
  ASSERT_NE(StatusForm1, nullptr);
  EXPECT_EQ(StatusForm1->Owner(), Form1);
  EXPECT_FALSE(StatusForm1->Visible());
  EXPECT_EQ(StatusForm1->Characters, &ProgramCharacters());
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_TRUE(StatusForm1->Shown(slot));
    EXPECT_EQ(StatusForm1->LaunchFile(slot), "");
    EXPECT_EQ(ProgramCharacters().Window(slot), All()[size_t(slot)]);
    EXPECT_EQ(ProgramCharacters().Walker(slot), All()[size_t(slot)]->Timer1);
  }
  EXPECT_TRUE(StatusForm1->TrayIcon1->Active());
  EXPECT_FALSE(Application->ShowMainForm);
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));  // no task-bar button
  // Nothing is written at start-up.
  EXPECT_EQ(GetFileAttributesW(Widen(SettingsFilePath()).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Characters, EachBoxShowsItsCharacterAndMubosTickFollowsHisBox) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    StatusForm1->SetShown(slot, false);
    EXPECT_FALSE(IsWindowVisible(All()[size_t(slot)]->Handle()));
    StatusForm1->SetShown(slot, true);
    EXPECT_TRUE(IsWindowVisible(All()[size_t(slot)]->Handle()));
  }
  Pointer(100, 100);
  Form1->Hide();
  Tick(Form1);
  EXPECT_TRUE(Form1->Visible());
  StatusForm1->CheckBox1->SetChecked(false);
  Form1->Show();
  Tick(Form1);
  EXPECT_FALSE(Form1->Visible());
  // The other walkers have no such step.
  StatusForm1->CheckBox2->SetChecked(false);
  Form2->Show();
  Tick(Form2);
  EXPECT_TRUE(Form2->Visible());
  // Without the settings window the tick skips the step.
  TStatusForm1* settings = std::exchange(StatusForm1, nullptr);
  Tick(Form1);
  EXPECT_FALSE(Form1->Visible());
  StatusForm1 = settings;
  StatusForm1->CheckBox1->SetChecked(true);
  StatusForm1->CheckBox2->SetChecked(true);
  EXPECT_TRUE(Form1->Visible());
}

TEST_F(Characters, TheSystemsCloseCommandLeavesTeskPlimAndQuarnAsTheyAre) {
  for (TCharacterForm* f : std::array<TCharacterForm*, 3>{Form2, Form3, Form4}) {
    SendMessageW(f->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_TRUE(f->Visible());
  }
  EXPECT_FALSE(Application->Terminated());
}

TEST_F(Characters, StartUpMakesTheOutlinesFromTheStoredDataWithoutTouchingPixels) {
  // No frame but the shown one (which start-up may paint, as the tray icon's activation runs
  // the messages) has made a drawing surface of its picture: nothing was scanned, yet every
  // frame has its region, equal to the outline of its stored data at (0, 0).
  for (TCharacterForm* f : All())
    for (int n = 1; n <= 12; ++n) {
      if (n > 1) {
        EXPECT_FALSE(f->Rgn[n]->RgnBitmap()->SurfaceAllocated()) << f->Caption() << n;
      }
      ASSERT_NE(f->Rgn[n]->RgnHandle(), nullptr);
    }
  // Each stored outline is the canonical outline of its stored picture.
  for (TCharacterForm* f : All())
    for (int n = 1; n <= 12; ++n) {
      Image picture = f->Rgn[n]->RgnBitmap()->GetImage();
      EXPECT_EQ(BmpToRgnData(picture), f->Rgn[n]->WriteRgnData()) << f->Caption() << n;
    }
}

TEST_F(Characters, ThresholdsAreStrictOnBothAxes) {
  struct Params {
    TCharacterForm* Form;
    int U, D, S;
  };
  for (Params p : {Params{Form1, 0, 32, 1}, {Form2, -24, 12, 3}, {Form3, -48, 24, 4}}) {
    SCOPED_TRACE(p.Form->Caption());
    PlaceAt(p.Form, 300, 300);
    for (int edge : {p.U, p.D}) {
      Pointer(300 + edge, 300 + edge);
      Tick(p.Form);
      EXPECT_EQ(p.Form->Left(), 300);
      EXPECT_EQ(p.Form->Top(), 300);
    }
    Pointer(300 + p.U - 1, 300 + p.D + 1);
    Tick(p.Form);
    EXPECT_EQ(p.Form->Left(), 300 - p.S);
    EXPECT_EQ(p.Form->Top(), 300 + p.S);
    // A diagonal tick ends on the horizontal frame, and the outline is that frame's.
    int frame = ShownFrame(p.Form);
    EXPECT_EQ(frame, 7 + p.Form->FramePhase);
    EXPECT_EQ(RectsOf(WindowRegionRects(p.Form->Handle())), FrameOutline(p.Form->Rgn[frame]));
  }
}

TEST_F(Characters, MuboStandsAnywhereInHisSquareAndAStandingTickChangesAndPaintsNothing) {
  PlaceAt(Form1, 200, 200);
  int frame = ShownFrame(Form1);
  int outlines = 0;  // window outlines given by the frame selector
  Form1->RgnList1->OnShowWnd = [&](TObject*) { ++outlines; };
  HWND h = Form1->Handle();
  ValidateRect(h, nullptr);
  for (int x : {0, 16, 32})
    for (int y : {0, 16, 32}) {
      Pointer(200 + x, 200 + y);
      Tick(Form1);
      EXPECT_EQ(Form1->Left(), 200);
      EXPECT_EQ(Form1->Top(), 200);
      EXPECT_EQ(ShownFrame(Form1), frame);
    }
  EXPECT_EQ(outlines, 0);
  EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));  // nothing waits to be painted
  Pointer(200 + 33, 200);
  Tick(Form1);
  EXPECT_EQ(outlines, 1);  // one step right: one new outline
  Form1->RgnList1->OnShowWnd = nullptr;
}

TEST_F(Characters, PhaseAdvancesOnEveryTickAndTheFirstMoveUpShowsRgn2) {
  TForm3* plim = Form3;
  plim->FramePhase = 0;  // as after creation
  PlaceAt(plim, 400, 400);
  Pointer(410, 300);  // above, within reach horizontally
  Tick(plim);
  EXPECT_EQ(plim->FramePhase, 1);
  EXPECT_EQ(ShownFrame(plim), 2);
  EXPECT_EQ(plim->Top(), 396);
  Tick(plim);
  EXPECT_EQ(ShownFrame(plim), 3);
  Tick(plim);
  EXPECT_EQ(ShownFrame(plim), 1);
  Pointer(410, 400);  // standing: the phase still advances, the frame stays
  Tick(plim);
  EXPECT_EQ(plim->FramePhase, 1);
  EXPECT_EQ(ShownFrame(plim), 1);
}

TEST_F(Characters, AWindowMovedByAnotherProgramWalksOnFromWhereItReallyIs) {
  PlaceAt(Form2, 300, 300);
  SetWindowPos(Form2->Handle(), nullptr, 500, 400, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pointer(700, 700);
  Tick(Form2);
  RECT r;
  GetWindowRect(Form2->Handle(), &r);
  EXPECT_EQ(r.left, 503);
  EXPECT_EQ(r.top, 403);
  EXPECT_EQ(Form2->Left(), 503);
  EXPECT_EQ(Form2->Top(), 403);
}

TEST_F(Characters, PositionsAreNotClampedToTheScreen) {
  PlaceAt(Form1, 480, -80);
  Pointer(500, 100);
  for (int i = 0; i < 100; ++i) Tick(Form1);
  EXPECT_EQ(Form1->Top(), 20);  // walked down into view one pixel a tick
  EXPECT_EQ(ShownFrame(Form1), 4 + Form1->FramePhase);
}

TEST_F(Characters, QuarnChasesItsTargetAndWaitsWhileItIsHidden) {
  int saved = Form1->ChaseTarget;
  Form1->ChaseTarget = 1;  // Tesk
  PlaceAt(Form2, 600, 600);
  PlaceAt(Form4, 300, 300);
  Tick(Form4);
  EXPECT_EQ(Form4->Left(), 306);
  EXPECT_EQ(Form4->Top(), 306);
  int frame = ShownFrame(Form4);
  int phase = Form4->FramePhase;

  Form2->Hide();
  for (int i = 0; i < 5; ++i) Tick(Form4);
  EXPECT_EQ(Form4->Left(), 306);
  EXPECT_EQ(Form4->Top(), 306);
  EXPECT_EQ(ShownFrame(Form4), frame);
  EXPECT_EQ(Form4->FramePhase, phase);

  Form2->Show();
  Tick(Form4);
  EXPECT_EQ(Form4->Left(), 312);
  // Within its zone it rests: target at -12..32 from it on both axes.
  PlaceAt(Form4, 600 - 32, 600 + 12);
  Tick(Form4);
  EXPECT_EQ(Form4->Left(), 568);
  EXPECT_EQ(Form4->Top(), 612);
  Form1->ChaseTarget = saved;
}

// Listens to one character window: the capture changes it is told of and whether it held the
// capture whenever it was moved (Events), its paints, and the outlines its frame selector gives.
class WindowSpy {
 public:
  explicit WindowSpy(TCharacterForm* f) : form_(f) {
    current_ = this;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(f->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
    f->RgnList1->OnShowWnd = [this](TObject*) { ++Outlines; };
  }
  ~WindowSpy() {
    form_->RgnList1->OnShowWnd = nullptr;
    SetWindowLongPtrW(form_->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    current_ = nullptr;
  }
  void Clear() {
    Events.clear();
    Paints = Outlines = 0;
  }
  std::vector<std::string> Events;
  int Paints = 0, Outlines = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND h, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CAPTURECHANGED) current_->Events.push_back("released");
    if (msg == WM_WINDOWPOSCHANGED && !(reinterpret_cast<WINDOWPOS*>(lparam)->flags & SWP_NOMOVE))
      current_->Events.push_back(GetCapture() == h ? "moved, captured" : "moved");
    if (msg == WM_PAINT) ++current_->Paints;
    return CallWindowProcW(current_->previous_, h, msg, wparam, lparam);
  }
  static inline WindowSpy* current_ = nullptr;
  TCharacterForm* form_;
  WNDPROC previous_;
};

// Handles the messages that are waiting or arrive within a short while (paints come last).
void Settle() {
  PumpUntil([] { return false; }, std::chrono::milliseconds(150));
}

TEST_F(Characters, ATickShowsTheFrameAndPlaceOfItsMovesInOrderWithOneOutlineOneMoveAndOnePaint) {
  const int saved = Form1->ChaseTarget;
  Form1->ChaseTarget = 1;  // Quarn's reference is Tesk's place
  const std::array<WalkerParams, 4> params{kMuboWalk, kTeskWalk, kPlimWalk, kQuarnWalk};
  for (size_t i = 0; i < 4; ++i) {
    TCharacterForm* f = All()[i];
    const WalkerParams p = params[i];
    for (size_t other = 0; other < 4; ++other)
      if (other != i) PlaceAt(All()[other], 1000, 100 + 200 * static_cast<int>(other));
    // Every way of moving (-1, 0, +1 on each axis), then standing.
    for (auto [vx, vy] : std::vector<std::pair<int, int>>{
             {-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}, {0, 0}}) {
      SCOPED_TRACE(f->Caption() + " " + std::to_string(vx) + "," + std::to_string(vy));
      auto offset = [p](int v) { return v < 0 ? p.U - 1 : v > 0 ? p.D + 1 : (p.U + p.D) / 2; };
      PlaceAt(f, 300, 300);
      if (f == Form4)
        PlaceAt(Form2, 300 + offset(vx), 300 + offset(vy));
      else
        Pointer(300 + offset(vx), 300 + offset(vy));
      Settle();
      const int before = ShownFrame(f);
      WindowSpy spy(f);
      Tick(f);
      Settle();
      RECT place;
      GetWindowRect(f->Handle(), &place);
      EXPECT_EQ(place.left, 300 + vx * p.S);
      EXPECT_EQ(place.top, 300 + vy * p.S);
      const bool moves = vx || vy;
      EXPECT_EQ(spy.Outlines, moves ? 1 : 0);
      EXPECT_EQ(spy.Events.size(), moves ? 1u : 0u);
      EXPECT_EQ(spy.Paints, moves ? 1 : 0);
      // The frame that selecting one frame per move would leave: the horizontal one if any.
      const int frame = !moves ? before
                               : (vx < 0   ? 7
                                  : vx > 0 ? 10
                                  : vy < 0 ? 1
                                           : 4) +
                                     f->FramePhase;
      EXPECT_EQ(ShownFrame(f), frame);
      EXPECT_EQ(RectsOf(WindowRegionRects(f->Handle())), FrameOutline(f->Rgn[frame]));
      // And that frame's picture shows inside it.
      const Snapshot shot = TakeSnapshot(f->Handle());
      const Image& picture = f->Rgn[frame]->RgnBitmap()->GetImage();
      int wrong = 0;
      for (const Rect& r : FrameOutline(f->Rgn[frame]))
        for (int y = r.Top; y < r.Bottom; ++y)
          for (int x = r.Left; x < r.Right; ++x) {
            const PaletteEntry c = picture.Colour(x, y);
            // Where Quarn's quarry covers it, Quarn paints nothing.
            const bool seen = WindowFromPoint({place.left + x, place.top + y}) == f->Handle();
            wrong += seen && shot.At(x, y) != RGB(c.Red, c.Green, c.Blue);
          }
      EXPECT_EQ(wrong, 0);
    }
  }
  Form1->ChaseTarget = saved;
}

bool WineKeyPresent() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

TEST_F(Characters, WalkerTicksAllocateNothing) {
  PlaceAt(Form2, 300, 300);
  Pointer(1200, 1000);  // far down and right: Tesk moves on every tick
  // Warm-up: what the first ticks make once (the selection's room) is not counted.
  for (int i = 0; i < 3; ++i) Tick(Form2);
  allocations = 0;
  countingAllocations = true;
  for (int i = 0; i < 5; ++i) Tick(Form2);
  Pointer(Form2->Left(), Form2->Top());
  Tick(Form2);  // standing
  countingAllocations = false;
  EXPECT_EQ(allocations, 0);

  // Nor does the way from one timer tick to the next (the timers' dispatch, the message loop).
  // The full-screen check ticks in between too: with nothing full screen in front it allocates
  // nothing; another test's window in front of this display must not make it look further.
  Replaced<decltype(TFullScreenWatch::ReadForeground)> nothingInFront{
      TFullScreenWatch::ReadForeground, [] { return std::optional<ForegroundWindow>(); }};
  PlaceAt(Form2, 300, 300);
  Pointer(1200, 1000);
  int ticks = 0;
  Form2->Timer1->SetOnTimer([&](TObject*) {
    countingAllocations = false;
    Form2->Timer1Timer(Form2->Timer1);
    if (++ticks == 3) allocations = 0;  // from the third tick's end on
    countingAllocations = ticks >= 3;
  });
  const std::function<bool()> sixTicks = [&] { return ticks >= 6; };
  Form2->Timer1->SetEnabled(true);
  EXPECT_TRUE(PumpUntil(sixTicks));
  countingAllocations = false;
  Form2->Timer1->SetEnabled(false);
  Form2->Timer1->SetOnTimer([](TObject*) { Form2->Timer1Timer(Form2->Timer1); });
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(Form2->Left(), 300 + 3 * ticks);
}

TEST_F(Characters, OnWindowsATickHoldsTheCaptureAroundItsMovesUnderWineItTakesNone) {
  EXPECT_EQ(RunningUnderWine(), WineKeyPresent());
  using Events = std::vector<std::string>;
  auto diagonalTick = [](TCharacterForm* f) {
    PlaceAt(f, 300, 300);
    WindowSpy spy(f);
    if (f == Form4)
      PlaceAt(Form2, 600, 600);  // Quarn's quarry, down-right of it
    else
      Pointer(200, 500);  // down-left: one move on each axis, applied at once
    Tick(f);
    EXPECT_EQ(GetCapture(), nullptr);
    return spy.Events;
  };
  int saved = Form1->ChaseTarget;
  Form1->ChaseTarget = 1;

  OverrideRunningUnderWine(false);  // the Windows path: taken before the read, released last
  EXPECT_EQ(diagonalTick(Form2), (Events{"moved, captured", "released"}));
  EXPECT_EQ(diagonalTick(Form4), (Events{"moved, captured", "released"}));
  {
    WindowSpy spy(Form2);  // a standing tick takes and releases it too
    Pointer(Form2->Left(), Form2->Top());
    Tick(Form2);
    EXPECT_EQ(spy.Events, Events{"released"});
  }
  OverrideRunningUnderWine(true);
  EXPECT_EQ(diagonalTick(Form2), Events{"moved"});
  EXPECT_EQ(diagonalTick(Form4), Events{"moved"});
  OverrideRunningUnderWine(std::nullopt);
  Form1->ChaseTarget = saved;
}

// The shared tick each pointer read was made in.
std::vector<uint64_t> ReadsInTicks;
BOOL WINAPI CountedCursor(LPPOINT point) {
  ReadsInTicks.push_back(CurrentTimerTick());
  return GetCursorPos(point);
}

TEST_F(Characters, UnderWineTheWalkersOfOneTickShareOnePointerReadOnWindowsEachReadsItsOwn) {
  // How many reads each tick made, over a few real ticks of the three walkers' timers.
  auto readsPerTick = [] {
    ReadsInTicks.clear();
    Replaced counted(TCharacterForm::ReadCursorPos, CountedCursor);
    const std::array<TCharacterForm*, 3> walkers{Form1, Form2, Form3};
    for (TCharacterForm* f : walkers) f->Timer1->SetEnabled(true);
    PumpUntil([] { return ReadsInTicks.size() >= 9; });
    for (TCharacterForm* f : walkers) f->Timer1->SetEnabled(false);
    std::map<uint64_t, int> reads;
    for (uint64_t tick : ReadsInTicks) ++reads[tick];
    return reads;
  };
  OverrideRunningUnderWine(true);
  for (auto [tick, reads] : readsPerTick()) {
    EXPECT_NE(tick, 0u);
    EXPECT_EQ(reads, 1);
  }
  OverrideRunningUnderWine(false);
  for (auto [tick, reads] : readsPerTick()) {
    EXPECT_NE(tick, 0u);
    EXPECT_EQ(reads, 3);
  }
  OverrideRunningUnderWine(std::nullopt);
  // Outside a shared tick (a handler called directly) every call reads.
  ReadsInTicks.clear();
  {
    Replaced counted(TCharacterForm::ReadCursorPos, CountedCursor);
    Tick(Form1);
    Tick(Form2);
  }
  EXPECT_EQ(ReadsInTicks, (std::vector<uint64_t>{0, 0}));
}

BOOL WINAPI NoCursor(LPPOINT) { return FALSE; }
BOOL WINAPI FailingCursor(LPPOINT) { throw Exception("読めません"); }

TEST_F(Characters, AnUnreadablePointerLeavesTheTickWithoutAMoveAndAFailingTickKeepsNoCapture) {
  PlaceAt(Form2, 300, 300);
  Pointer(600, 600);
  const int32_t phase = Form2->FramePhase;
  {
    // A locked or secure desktop: the pointer cannot be read.
    Replaced unreadable(TCharacterForm::ReadCursorPos, NoCursor);
    Tick(Form2);
    EXPECT_EQ(Form2->Left(), 300);
    EXPECT_EQ(Form2->Top(), 300);
    EXPECT_EQ(Form2->FramePhase, phase);
  }
  {
    // The Windows path: an exception while the capture is held still releases it.
    Replaced failing(TCharacterForm::ReadCursorPos, FailingCursor);
    OverrideRunningUnderWine(false);
    EXPECT_THROW(Tick(Form2), Exception);
    EXPECT_EQ(GetCapture(), nullptr);
    OverrideRunningUnderWine(std::nullopt);
  }
  Tick(Form2);
  EXPECT_EQ(Form2->Left(), 303);
}

}  // namespace

// A screen point inside the character's shown outline.
POINT InsideOutline(TCharacterForm* f) {
  const std::vector<RECT> rects = WindowRegionRects(f->Handle());
  RECT widest{};
  for (const RECT& r : rects)
    if (r.right - r.left > widest.right - widest.left) widest = r;
  return {f->Left() + (widest.left + widest.right) / 2,
          f->Top() + (widest.top + widest.bottom) / 2};
}

TEST_F(Characters, EveryFrameCarriesTheClickAndTheCharacterMenu) {
  for (TCharacterForm* f : All()) {
    SCOPED_TRACE(f->Caption());
    auto* menu = dynamic_cast<TPopupMenu*>(f->FindComponent("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items().size(), 1u);
    EXPECT_EQ(menu->Items()[0]->Name(), "N1");
    EXPECT_EQ(menu->Items()[0]->Caption(), "設定ウィンドウを開く(&S)...");
    for (int n = 1; n <= 12; ++n) {
      EXPECT_EQ(f->Rgn[n]->PopupMenu(), menu) << n;
      EXPECT_TRUE(f->Rgn[n]->OnClick) << n;
    }
  }
}

TEST_F(Characters, AClickOpensTheSlotsWholeFileOnceOrBeepsWhenThereIsNone) {
  PlaceAt(Form1, 100, 600);
  PlaceAt(Form2, 300, 400);
  PlaceAt(Form3, 500, 400);
  PlaceAt(Form4, 700, 400);
  const std::string longFile = "C:\\長い\\" + std::string(400, 'f') + " 😀 & %1.txt";
  StatusForm1->SetLaunchFile(1, longFile);
  LaunchRecorder recorder;
  BeepCounter beeps;

  ClickAt(InsideOutline(Form2));
  ASSERT_TRUE(PumpUntil([&] { return recorder.Launches.size() == 1; }));
  const LaunchRecorder::Launch& launch = recorder.Launches[0];
  EXPECT_EQ(launch.Owner, Form2->Handle());
  EXPECT_EQ(launch.Verb, L"OPEN");
  EXPECT_EQ(Narrow(launch.File), longFile);
  EXPECT_EQ(launch.Parameters, L"");
  EXPECT_EQ(launch.Folder, L"");
  EXPECT_EQ(launch.Show, SW_SHOW);

  // A double click opens the file once.
  ClickAt(InsideOutline(Form2), 2);
  PumpUntil([&] { return recorder.Launches.size() > 2; }, std::chrono::milliseconds(700));
  EXPECT_EQ(recorder.Launches.size(), 2u);

  // The field is read at the click: a new assignment launches at once.
  StatusForm1->SetLaunchFile(1, "D:\\新しい.txt");
  ClickAt(InsideOutline(Form2));
  ASSERT_TRUE(PumpUntil([&] { return recorder.Launches.size() == 3; }));
  EXPECT_EQ(Narrow(recorder.Launches[2].File), "D:\\新しい.txt");

  // Rgn2, the first step up, launches like the other frames.
  StatusForm1->SetLaunchFile(2, "E:\\plim.txt");
  Form3->FramePhase = 0;
  Pointer(510, 300);
  Form3->Timer1Timer(Form3->Timer1);
  ASSERT_EQ(ShownFrame(Form3), 2);
  ClickAt(InsideOutline(Form3));
  ASSERT_TRUE(PumpUntil([&] { return recorder.Launches.size() == 4; }));
  EXPECT_EQ(recorder.Launches[3].Owner, Form3->Handle());
  EXPECT_EQ(Narrow(recorder.Launches[3].File), "E:\\plim.txt");

  // Quarn has nothing assigned: the beep only.
  StatusForm1->SetLaunchFile(3, "");
  ClickAt(InsideOutline(Form4));
  ASSERT_TRUE(PumpUntil([&] { return beeps.Beeps() == 1; }));
  EXPECT_EQ(recorder.Launches.size(), 4u);
}

TEST_F(Characters, EachCharactersMenuOpensTheSettingsWindowOnItsSlotWithEveryWalkerStopped) {
  PlaceAt(Form1, 100, 600);
  PlaceAt(Form2, 300, 400);
  PlaceAt(Form3, 500, 400);
  PlaceAt(Form4, 700, 400);
  int slot = 0;
  for (TCharacterForm* f : All()) {
    SCOPED_TRACE(f->Caption());
    for (TCharacterForm* g : All()) g->Timer1->SetEnabled(true);
    StatusForm1->SelectedSlot = (slot + 1) % 4;
    // Once the settings window shows: what it shows, then its close button.
    bool seen = false;
    TTimer inside(nullptr);
    inside.SetInterval(50);
    inside.SetOnTimer([&](TObject*) {
      if (!StatusForm1->Visible()) return;
      inside.SetEnabled(false);
      seen = true;
      EXPECT_EQ(StatusForm1->SelectedSlot, slot);
      for (TCharacterForm* g : All()) EXPECT_FALSE(g->Timer1->Enabled()) << g->Caption();
      // The characters take no clicks while it is shown.
      EXPECT_FALSE(IsWindowEnabled(f->Handle()));
      StatusForm1->Image5Click(StatusForm1->Image5);
    });
    // A right click on the character: its menu, whose item is picked by its access key.
    const POINT at = InsideOutline(f);
    const bool menuSeen = OpenAndPick(
        [&] {
          SendMessageW(f->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f->Handle()),
                       MAKELPARAM(at.x, at.y));
        },
        L's');
    EXPECT_TRUE(menuSeen);
    // The item's command arrives as a message after the menu closes.
    EXPECT_TRUE(PumpUntil([&] { return seen && !StatusForm1->Visible(); }));
    EXPECT_FALSE(StatusForm1->Visible());
    for (TCharacterForm* g : All()) {
      EXPECT_TRUE(g->Timer1->Enabled());
      g->Timer1->SetEnabled(false);
    }
    ++slot;
  }
  DeleteFileW(Widen(SettingsFilePath()).c_str());
}
