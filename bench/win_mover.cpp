// Moves the pointer through Windows for bench/cpu.sh. SetCursorPos also warps the X pointer, so
// Wine's programs and native X ones see the same moves.
//   bench_win_mover.exe            rounds a circle of radius 250 about the screen's centre, one
//                                  turn in 4 s, a step every 20 ms, until killed
//   bench_win_mover.exe still X Y  places the pointer once, then waits until killed, so that
//                                  the conditions differ only in the moves
#include <cmath>
#include <cstdio>
#include <numbers>

#include "framework/winapi.h"

namespace {

constexpr double kRadius = 250;
constexpr double kTurnMs = 4000;
constexpr DWORD kStepMs = 20;

[[noreturn]] void Circle() {
  const int centreX = GetSystemMetrics(SM_CXSCREEN) / 2,
            centreY = GetSystemMetrics(SM_CYSCREEN) / 2;
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    // The angle follows the clock, so late steps do not slow the turn down.
    const double angle =
        2 * std::numbers::pi * static_cast<double>(GetTickCount64() - start) / kTurnMs;
    SetCursorPos(centreX + static_cast<int>(std::lround(kRadius * std::cos(angle))),
                 centreY + static_cast<int>(std::lround(kRadius * std::sin(angle))));
    Sleep(kStepMs);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  int x = 0, y = 0;
  char rest = 0;
  if (arguments[0] == '\0') Circle();
  if (std::sscanf(arguments, " still %d %d %c", &x, &y, &rest) == 2) {
    SetCursorPos(x, y);
    Sleep(INFINITE);
  }
  std::fprintf(stderr, "usage: bench_win_mover.exe [still X Y]\n");
  return 2;
}
