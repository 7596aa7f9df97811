#pragma once
// The screen's resolution, asked of the platform by name: the calls of newer Windows versions
// are looked up at run time, and where they are missing the system's resolution serves.
#include "framework/winapi.h"

// Tells the platform that the program scales itself, so that it stretches none of its windows:
// per-monitor (version 2) awareness, else per-monitor, else system awareness, whichever the
// platform knows. The program's manifest says the same; this serves where it is not read (a
// test program, a system that ignores it). Without effect once the awareness is set.
void DeclareDpiAwareness();

// The resolution WINDOW is shown at: its monitor's for a per-monitor aware program, otherwise the
// system's; 96 where nothing answers.
int WindowDpi(HWND window);
// The system's resolution (that of the screen's device context on older systems).
int SystemDpi();
// The whole-pixel scale of WINDOW's resolution (core/screen_scale.h).
int WindowScale(HWND window);
