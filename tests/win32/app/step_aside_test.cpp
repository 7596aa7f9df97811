// Characters stepping aside for a full-screen foreground window, on real windows, with the
// monitors and the foreground window laid out by the test: only those on the filled monitor
// leave the top and go behind it, they come back on top when it ends, and a check that finds
// nothing changed changes no window.
#include "app/step_aside.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/monitors.h"
#include "framework/winapi.h"
#include "support/test_support.h"

namespace {

constexpr unsigned kWalkerTick = 50;
const MonitorArea kPrimary{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}};
const MonitorArea kLeft{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}};
std::vector<MonitorArea> TwoMonitors() { return {kPrimary, kLeft}; }

std::optional<ForegroundWindow> front;
std::optional<ForegroundWindow> TestForeground() { return front; }

std::unique_ptr<TForm> Window(int left, int top, int width, int height, bool onTop) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBorderStyle(TBorderStyle::bsNone);
  if (onTop) form->SetFormStyle(TFormStyle::fsStayOnTop);
  form->SetBounds(left, top, width, height);
  form->Show();
  return form;
}

bool Topmost(TForm& form) { return GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST; }

// Whether A comes before (above) B in the stacking order.
bool Above(TForm& a, TForm& b) { return InFrontOf(a.Handle(), b.Handle()); }

class StepAside : public testing::Test {
 protected:
  Replaced<decltype(ReadMonitors)> monitors_{ReadMonitors, TwoMonitors};
  Replaced<decltype(TFullScreenWatch::ReadForeground)> foreground_{TFullScreenWatch::ReadForeground,
                                                                   TestForeground};
  // The full-screen window of "another program" on the primary monitor, and a character on each
  // monitor (the one on the primary straddles the edge, mostly on the primary).
  std::unique_ptr<TForm> film = Window(0, 0, 1280, 1024, false);
  std::unique_ptr<TForm> home = Window(-40, 300, 132, 90, true);
  std::unique_ptr<TForm> away = Window(-700, 300, 132, 90, true);
  TFullScreenWatch watch{
      nullptr, [this] { return std::vector<TForm*>{home.get(), away.get()}; }, kWalkerTick};

  void TearDown() override { front.reset(); }
  void FilmInFront(bool maximised = false, bool captioned = false) {
    front = ForegroundWindow{film->Handle(), {BoundsOf(*film), maximised, captioned}, false};
  }
};

}  // namespace

TEST_F(StepAside, OnlyTheCharactersOnTheFilledMonitorGoBehindTheWindowAndComeBackAfter) {
  watch.Check();
  EXPECT_TRUE(Topmost(*home));
  FilmInFront();
  watch.Check();
  EXPECT_FALSE(Topmost(*home));
  EXPECT_TRUE(Above(*film, *home));
  EXPECT_TRUE(Topmost(*away));
  EXPECT_TRUE(Above(*away, *film));
  EXPECT_EQ(home->FormStyle(), TFormStyle::fsStayOnTop);  // its own settings are kept
  EXPECT_TRUE(home->Visible());
  // Under Wine it is also off the X display meanwhile, where Wine would leave it in front.
  EXPECT_EQ(IsWindowVisible(home->Handle()) != FALSE, !RunningUnderWine());
  EXPECT_TRUE(IsWindowVisible(away->Handle()));
  // Walking onto the other monitor, it comes back on top; walking back, it goes behind again.
  home->SetLeft(-100);
  watch.Check();
  EXPECT_TRUE(Topmost(*home));
  home->SetLeft(-40);
  watch.Check();
  EXPECT_FALSE(Topmost(*home));
  // Shown again meanwhile (its box ticked), it still does not show in front of the film.
  ShowWindow(home->Handle(), SW_SHOWNOACTIVATE);
  watch.Check();
  EXPECT_EQ(IsWindowVisible(home->Handle()) != FALSE, !RunningUnderWine());
  // The film ends or goes to the background.
  front.reset();
  watch.Check();
  EXPECT_TRUE(Topmost(*home));
  EXPECT_TRUE(IsWindowVisible(home->Handle()));
  EXPECT_TRUE(Above(*home, *film));
  EXPECT_TRUE(Topmost(*away));
}

TEST_F(StepAside, AMaximisedWindowWithACaptionOrASmallerOneMovesNobody) {
  FilmInFront(true, true);
  watch.Check();
  EXPECT_TRUE(Topmost(*home));
  film->SetBounds(0, 0, 1280, 1000);
  FilmInFront();
  watch.Check();
  EXPECT_TRUE(Topmost(*home));
  // Maximised without a caption it is a full-screen window.
  film->SetBounds(0, 0, 1280, 1024);
  FilmInFront(true, false);
  watch.Check();
  EXPECT_FALSE(Topmost(*home));
}

TEST_F(StepAside, BehindATopmostFullScreenWindowTooAndBehindTheNextOneThatFillsTheMonitor) {
  film->SetFormStyle(TFormStyle::fsStayOnTop);
  FilmInFront();
  front->Topmost = true;
  watch.Check();
  EXPECT_TRUE(Above(*film, *home));
  // Another full-screen window comes to the front: the character goes behind that one.
  std::unique_ptr<TForm> game = Window(0, 0, 1280, 1024, false);
  front = ForegroundWindow{game->Handle(), {BoundsOf(*game)}, false};
  watch.Check();
  EXPECT_FALSE(Topmost(*home));
  EXPECT_TRUE(Above(*game, *home));
  front.reset();
  watch.Check();
  EXPECT_TRUE(Topmost(*home));
  EXPECT_TRUE(Above(*home, *film));
}

TEST_F(StepAside, AChecksThatFindsNothingChangedTouchesNoWindowsPlaceInTheStack) {
  PlacementCount homeChanges(home->Handle(), true), awayChanges(away->Handle(), true);
  for (int i = 0; i < 5; ++i) watch.Check();
  EXPECT_EQ(homeChanges.Count, 0);
  FilmInFront();
  watch.Check();
  const int stepped = homeChanges.Count;
  EXPECT_GT(stepped, 0);
  for (int i = 0; i < 5; ++i) watch.Check();
  EXPECT_EQ(homeChanges.Count, stepped);
  EXPECT_EQ(awayChanges.Count, 0);
}

std::vector<uint64_t> checkTicks;
std::optional<ForegroundWindow> NotedForeground() {
  checkTicks.push_back(CurrentTimerTick());
  return front;
}

TEST_F(StepAside, TheWatchChecksByItselfOnEveryTenthOfTheWalkersTicksTwiceASecond) {
  // A walker's timer, as the characters have it: the watch's checks come on its ticks (one
  // wake-up of the program for both), ten ticks apart.
  std::vector<uint64_t> walkerTicks;
  TTimer walker(nullptr);
  walker.SetInterval(kWalkerTick);
  walker.SetOnTimer([&](TObject*) { walkerTicks.push_back(CurrentTimerTick()); });
  checkTicks.clear();
  Replaced<decltype(TFullScreenWatch::ReadForeground)> noted{TFullScreenWatch::ReadForeground,
                                                             NotedForeground};
  FilmInFront();
  EXPECT_TRUE(PumpUntil([&] { return walkerTicks.size() >= 25; }));
  EXPECT_FALSE(Topmost(*home));
  ASSERT_GE(checkTicks.size(), 2u);
  EXPECT_LE(checkTicks.size(), 3u);
  std::vector<ptrdiff_t> at;
  for (uint64_t tick : checkTicks) {
    auto it = std::find(walkerTicks.begin(), walkerTicks.end(), tick);
    ASSERT_NE(it, walkerTicks.end()) << "a check on a wake-up of its own";
    at.push_back(it - walkerTicks.begin());
  }
  for (size_t n = 1; n < at.size(); ++n) EXPECT_EQ(at[n] - at[n - 1], 10);
  front.reset();
  EXPECT_TRUE(PumpUntil([&] { return Topmost(*home); }, std::chrono::milliseconds(1500)));
}
