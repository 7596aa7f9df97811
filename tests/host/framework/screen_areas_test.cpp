#include "framework/core/screen_areas.h"

#include <gtest/gtest.h>

namespace {

// The primary monitor at the origin, a second one to its left (negative coordinates) whose task
// bar takes its bottom 40 rows.
const MonitorArea kPrimary{{0, 0, 1024, 768}, {0, 0, 1024, 768}};
const MonitorArea kLeft{{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}};
const std::vector<MonitorArea> kTwo{kPrimary, kLeft};

ScreenRect At(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}

}  // namespace

TEST(ScreenAreas, AWindowIsOnTheMonitorItOverlapsMostElseTheNearest) {
  EXPECT_EQ(MonitorOf(At(100, 100, 132, 90), kTwo), 0u);
  EXPECT_EQ(MonitorOf(At(-1000, 500, 132, 90), kTwo), 1u);
  // Straddling the edge at x = 0: more of it on the left monitor, then more on the primary.
  EXPECT_EQ(MonitorOf(At(-100, 10, 132, 90), kTwo), 1u);
  EXPECT_EQ(MonitorOf(At(-30, 10, 132, 90), kTwo), 0u);
  // Off every monitor: the nearest, by the gap between the edges.
  EXPECT_EQ(MonitorOf(At(-1500, 900, 100, 100), kTwo), 1u);
  EXPECT_EQ(MonitorOf(At(900, 2000, 100, 100), kTwo), 0u);
  EXPECT_EQ(MonitorOf(At(0, 0, 10, 10), {}), std::nullopt);
}

TEST(ScreenAreas, AWindowOffEveryMonitorComesIntoTheNearestWorkAreaAsCloseAsItFits) {
  // Overlapping a monitor, even by one pixel: it stays.
  EXPECT_EQ(BroughtOntoMonitors(At(1023, 767, 350, 350), kTwo), std::nullopt);
  EXPECT_EQ(BroughtOntoMonitors(At(-1629, 20, 350, 350), kTwo), std::nullopt);
  // Left of the left monitor: to its left edge, at the same height.
  EXPECT_EQ(BroughtOntoMonitors(At(-2000, 20, 350, 350), kTwo), At(-1280, 20, 350, 350));
  // Where a monitor right of the primary was: to the primary's right edge.
  EXPECT_EQ(BroughtOntoMonitors(At(1500, 600, 350, 350), kTwo), At(674, 418, 350, 350));
  // Below the left monitor: above its task bar.
  EXPECT_EQ(BroughtOntoMonitors(At(-900, 1100, 350, 350), kTwo), At(-900, 634, 350, 350));
  // Larger than the work area: its top-left corner inside.
  EXPECT_EQ(BroughtOntoMonitors(At(3000, -3000, 1100, 800), kTwo), At(0, 0, 1100, 800));
  EXPECT_EQ(BroughtOntoMonitors(At(3000, 3000, 10, 10), {}), std::nullopt);
}

TEST(ScreenAreas, OnlyAWindowCoveringAWholeMonitorWithoutBeingAMaximisedCaptionedOneFillsIt) {
  EXPECT_TRUE(FillsMonitor({kPrimary.Bounds}, kPrimary.Bounds));
  EXPECT_TRUE(FillsMonitor({At(-1280, 0, 1280, 1024)}, kLeft.Bounds));
  // Larger on every side, as a game's window with its frame outside the screen.
  EXPECT_TRUE(FillsMonitor({At(-8, -30, 1040, 806), false, true}, kPrimary.Bounds));
  // Maximised without a caption, as a borderless full-screen window can be.
  EXPECT_TRUE(FillsMonitor({kPrimary.Bounds, true, false}, kPrimary.Bounds));
  // A maximised window with a caption covers the monitor with its frame, and is not full screen.
  EXPECT_FALSE(FillsMonitor({At(-8, -8, 1040, 784), true, true}, kPrimary.Bounds));
  // One row or column short, or the other monitor.
  EXPECT_FALSE(FillsMonitor({At(0, 0, 1024, 767)}, kPrimary.Bounds));
  EXPECT_FALSE(FillsMonitor({At(1, 0, 1023, 768)}, kPrimary.Bounds));
  EXPECT_FALSE(FillsMonitor({kPrimary.Bounds}, kLeft.Bounds));
  EXPECT_FALSE(FillsMonitor({At(0, 0, 0, 0)}, At(0, 0, 0, 0)));
}
