#pragma once
// The monitors of the virtual screen, as the system has them now, and keeping a form on them.
#include <vector>

#include "framework/controls.h"
#include "framework/core/screen_areas.h"

// Every monitor, by EnumDisplayMonitors (primary or not, in the system's order).
std::vector<MonitorArea> SystemMonitors();
// Where the program reads the monitors (tests replace it to lay out monitors of their own).
inline std::vector<MonitorArea> (*ReadMonitors)() = SystemMonitors;

ScreenRect ScreenRectOf(const RECT& rect);
ScreenRect BoundsOf(const TControl& control);

// A top-level control that overlaps no monitor (one was removed, the resolution shrank, or it
// was placed where no monitor is) moves into the work area of the nearest monitor; one that
// overlaps a monitor stays where it is.
void KeepOnMonitors(TControl& control);
