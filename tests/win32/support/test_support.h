#pragma once
// Helpers shared by the Windows tests.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "framework/forms.h"

// Registers the test-only classes of tests/win32/forms/classes.txt.
void RegisterTestClasses();

// Pumps messages until CONDITION holds or the deadline passes; returns whether it held.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));

// Collects the exceptions the application would show, instead of showing message boxes.
class ExceptionCatcher {
 public:
  ExceptionCatcher();
  ~ExceptionCatcher();
  std::vector<std::string> Messages;
};

// The rectangles of a window's region (empty when it has none or it is empty).
std::vector<RECT> WindowRegionRects(HWND window);
