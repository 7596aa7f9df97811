#include "framework/monitors.h"

#include "framework/core/guard.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  return Guarded<BOOL>(FALSE, [&] {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
      auto& monitors = *reinterpret_cast<std::vector<MonitorArea>*>(data);
      monitors.push_back({ScreenRectOf(info.rcMonitor), ScreenRectOf(info.rcWork)});
    }
    return TRUE;
  });
}

}  // namespace

std::vector<MonitorArea> SystemMonitors() {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

ScreenRect ScreenRectOf(const RECT& r) {
  return {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top), static_cast<int32_t>(r.right),
          static_cast<int32_t>(r.bottom)};
}

ScreenRect BoundsOf(const TControl& control) { return ScreenRectOf(control.BoundsRect()); }

void KeepOnMonitors(TControl& control) {
  if (std::optional<ScreenRect> place = BroughtOntoMonitors(BoundsOf(control), ReadMonitors()))
    control.SetBounds(place->Left, place->Top, place->Width(), place->Height());
}
