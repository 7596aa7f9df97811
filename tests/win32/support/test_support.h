#pragma once
// Helpers shared by the Windows tests.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "framework/extctrls.h"
#include "framework/forms.h"

// A replaceable function (the beep, the launch, the pointer read), or any variable, holds WITH for
// the scope; its previous value comes back however the scope ends, a failed assertion included.
template <class T>
class Replaced {
 public:
  Replaced(T& slot, T with) : slot_(slot), previous_(slot) { slot_ = with; }
  ~Replaced() { slot_ = previous_; }
  Replaced(const Replaced&) = delete;
  Replaced& operator=(const Replaced&) = delete;

 private:
  T& slot_;
  T previous_;
};

// Registers the test-only classes of tests/win32/forms/classes.txt.
void RegisterTestClasses();

// Pumps messages until CONDITION holds or the deadline passes; returns whether it held.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));

// Runs STEP once, on a timer tick INTERVAL ms from now: from inside a modal loop or an open menu.
class Later {
 public:
  explicit Later(std::function<void()> step, unsigned interval = 30) : timer_(nullptr) {
    timer_.SetInterval(interval);
    timer_.SetOnTimer([this, step = std::move(step)](TObject*) {
      timer_.SetEnabled(false);
      step();
    });
  }

 private:
  TTimer timer_;
};

// Collects the exceptions the application would show, instead of showing message boxes.
class ExceptionCatcher {
 public:
  ExceptionCatcher();
  ~ExceptionCatcher();
  std::vector<std::string> Messages;
};

// Whether window A lies in front of window B in the stacking order.
bool InFrontOf(HWND a, HWND b);

// Counts the placements the system announces to a window (WM_WINDOWPOSCHANGING); with
// STACKING_ONLY, only those that may change its place in the stacking order.
class PlacementCount : public TWindowHook {
 public:
  explicit PlacementCount(HWND window, bool stackingOnly = false) : stackingOnly_(stackingOnly) {
    Join(window);
  }
  int Count = 0;

 protected:
  void HookMessage(TMessage& message) override;

 private:
  bool stackingOnly_;
};

// How many more GDI objects (regions, bitmaps, ...) the process can make: Wine's handle table is
// bounded, so a handle lost per step shows as less headroom afterwards.
int GdiHeadroom();

// Real input, as the mouse and the keyboard give it: the pointer moved to a point of the screen;
// the left button pressed and released there COUNT times in a row (2: a double click); a key
// pressed or released (with the keys of MODIFIERS held around it).
void MovePointerTo(POINT screen);
void ClickAt(POINT screen, int count = 1);
void SendKey(WORD key, bool down, std::vector<WORD> modifiers = {});

// The colours of a window's client area as shown, rows top-down.
struct Snapshot {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
  bool operator==(const Snapshot&) const = default;
};
// At most the top-left MOST of it.
Snapshot TakeSnapshot(HWND window, SIZE most = {2048, 2048});

// The rectangles of a window's region (empty when it has none or it is empty).
std::vector<RECT> WindowRegionRects(HWND window);

// The popup menu window of this thread that is open now, if any.
HWND OpenMenuWindow();
// The items of an open menu window as shown: captions as given ("&" included), "-" for a line.
std::vector<std::wstring> MenuItemTexts(HWND menuWindow);
// Runs OPEN, which opens a menu of this thread and returns once it is closed. While the menu is
// open, WHILE_OPEN sees its window once; then the access key KEY picks an item (0: the menu is
// dismissed). Returns whether the menu was seen open.
bool OpenAndPick(const std::function<void()>& open, wchar_t key,
                 const std::function<void(HWND)>& whileOpen = nullptr);
