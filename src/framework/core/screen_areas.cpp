#include "framework/core/screen_areas.h"

#include <algorithm>

namespace {

// How far apart two rectangles are, squared; 0 when they meet.
int64_t DistanceSquared(ScreenRect a, ScreenRect b) {
  const int64_t dx = std::max<int64_t>({0, int64_t{b.Left} - a.Right, int64_t{a.Left} - b.Right});
  const int64_t dy = std::max<int64_t>({0, int64_t{b.Top} - a.Bottom, int64_t{a.Top} - b.Bottom});
  return dx * dx + dy * dy;
}

// The start of a span of LENGTH placed as near START as it fits between FROM and TO.
int32_t Clamped(int32_t start, int32_t length, int32_t from, int32_t to) {
  if (length >= to - from) return from;
  return std::clamp(start, from, to - length);
}

}  // namespace

int64_t OverlapArea(ScreenRect a, ScreenRect b) {
  const int64_t width = int64_t{std::min(a.Right, b.Right)} - std::max(a.Left, b.Left);
  const int64_t height = int64_t{std::min(a.Bottom, b.Bottom)} - std::max(a.Top, b.Top);
  return width > 0 && height > 0 ? width * height : 0;
}

std::optional<size_t> MonitorOf(ScreenRect window, const std::vector<MonitorArea>& monitors) {
  std::optional<size_t> best;
  int64_t bestOverlap = 0, bestDistance = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t overlap = OverlapArea(window, monitors[i].Bounds);
    const int64_t distance = DistanceSquared(window, monitors[i].Bounds);
    const bool better = !best || overlap > bestOverlap ||
                        (overlap == 0 && bestOverlap == 0 && distance < bestDistance);
    if (better) {
      best = i;
      bestOverlap = overlap;
      bestDistance = distance;
    }
  }
  return best;
}

std::optional<ScreenRect> BroughtOntoMonitors(ScreenRect window,
                                              const std::vector<MonitorArea>& monitors) {
  const std::optional<size_t> nearest = MonitorOf(window, monitors);
  if (!nearest || OverlapArea(window, monitors[*nearest].Bounds) > 0) return std::nullopt;
  const ScreenRect work = monitors[*nearest].Work;
  const int32_t left = Clamped(window.Left, window.Width(), work.Left, work.Right);
  const int32_t top = Clamped(window.Top, window.Height(), work.Top, work.Bottom);
  return ScreenRect{left, top, left + window.Width(), top + window.Height()};
}

bool FillsMonitor(const WindowShape& window, ScreenRect monitor) {
  if (window.Maximised && window.Captioned) return false;
  const ScreenRect& w = window.Bounds;
  return monitor.Width() > 0 && monitor.Height() > 0 && w.Left <= monitor.Left &&
         w.Top <= monitor.Top && w.Right >= monitor.Right && w.Bottom >= monitor.Bottom;
}
