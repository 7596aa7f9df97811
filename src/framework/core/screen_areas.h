#pragma once
// The monitors' arithmetic, in the coordinates of the whole virtual screen (a monitor left of or
// above the primary one has negative ones): which monitor a window is on, whether a window fills
// one as a full-screen program does, and where a window lost off every monitor comes back.
// Rectangles hold their left and top edges, not their right and bottom ones.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct ScreenRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const ScreenRect&) const = default;
};

struct MonitorArea {
  ScreenRect Bounds;  // the whole monitor
  ScreenRect Work;    // the part that task bars and the like leave to windows
};

// The area the two rectangles share; 0 when they do not meet.
int64_t OverlapArea(ScreenRect a, ScreenRect b);

// The monitor WINDOW is on: the one it overlaps most, else the nearest (the first of equals);
// nullopt only when there is no monitor.
std::optional<size_t> MonitorOf(ScreenRect window, const std::vector<MonitorArea>& monitors);

// Where WINDOW goes when it overlaps no monitor: into the work area of the nearest one, as close
// to where it was as fits (its top-left corner inside when it is larger). nullopt when it
// overlaps a monitor, or there is none: it stays.
std::optional<ScreenRect> BroughtOntoMonitors(ScreenRect window,
                                              const std::vector<MonitorArea>& monitors);

// A window as the full-screen check sees it.
struct WindowShape {
  ScreenRect Bounds;
  bool Maximised = false;
  bool Captioned = false;
};
// Whether the window fills MONITOR as a full-screen program does: it covers the whole monitor,
// and it is not a maximised window with a caption (which is an ordinary window that the work
// area's edges happen to cut).
bool FillsMonitor(const WindowShape& window, ScreenRect monitor);
