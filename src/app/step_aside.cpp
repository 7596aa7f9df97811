#include "app/step_aside.h"

#include <algorithm>
#include <string_view>

#include "framework/monitors.h"
#include "framework/winapi.h"

namespace {

// The shell's desktop and task bars, which are never a full-screen program.
bool IsShellWindow(HWND window) {
  if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  for (std::wstring_view shell :
       {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
    if (shell == name) return true;
  return false;
}

bool Topmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void Place(HWND window, HWND after, UINT flags) {
  SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | flags);
}

}  // namespace

std::optional<ForegroundWindow> OtherProgramsForeground() {
  // Cheapest first: under Wine each read of another program's window asks Wine's server.
  const HWND front = GetForegroundWindow();
  // The desktop (in front while no program is) is known without asking.
  if (!front || front == GetDesktopWindow()) return std::nullopt;
  DWORD process = 0;
  if (!GetWindowThreadProcessId(front, &process) || process == GetCurrentProcessId())
    return std::nullopt;
  RECT bounds;
  if (!GetWindowRect(front, &bounds) || !IsWindowVisible(front) || IsIconic(front) ||
      IsShellWindow(front))
    return std::nullopt;
  const LONG_PTR style = GetWindowLongPtrW(front, GWL_STYLE);
  ForegroundWindow result;
  result.Handle = front;
  result.Shape = {ScreenRectOf(bounds), (style & WS_MAXIMIZE) != 0,
                  (style & WS_CAPTION) == WS_CAPTION};
  result.Topmost = Topmost(front);
  return result;
}

TFullScreenWatch::TFullScreenWatch(TComponent* owner, WindowList characters, unsigned tick)
    : TComponent(owner),
      characters_(std::move(characters)),
      ticksPerCheck_(std::max(1u, kInterval / std::max(1u, tick))),
      timer_(nullptr) {
  timer_.SetInterval(std::max(1u, tick));
  timer_.SetOnTimer([this](TObject*) {
    if (++ticks_ % ticksPerCheck_ == 0) Check();
  });
}

void TFullScreenWatch::Check() {
  const std::optional<ForegroundWindow> front = ReadForeground();
  std::vector<MonitorArea> monitors;
  std::vector<bool> filled;
  bool anyFilled = false;
  if (front) {
    monitors = ReadMonitors();
    for (const MonitorArea& monitor : monitors) {
      filled.push_back(FillsMonitor(front->Shape, monitor.Bounds));
      anyFilled = anyFilled || filled.back();
    }
  }
  // The usual answer: nothing fills a monitor and nobody lies behind one, so nothing can change.
  // Said before the characters are listed, so that such a check allocates nothing.
  if (!anyFilled && aside_.empty()) return;
  for (TForm* character : characters_()) {
    if (!character || !character->HandleAllocated() ||
        character->FormStyle() != TFormStyle::fsStayOnTop)
      continue;
    const HWND window = character->Handle();
    std::optional<size_t> on;
    if (anyFilled) on = MonitorOf(BoundsOf(*character), monitors);
    const HWND behind = on && filled[*on] ? front->Handle : nullptr;
    auto placed = std::find_if(aside_.begin(), aside_.end(),
                               [window](const Aside& a) { return a.Window == window; });
    const HWND now = placed == aside_.end() ? nullptr : placed->Behind;
    // Under Wine a window placed behind another stays in front of it on the X display (Wine
    // raises windows there but never lowers them), so a character behind also leaves the
    // display until it comes back on top; its own Visible, which its box sets, is not changed.
    const bool offDisplay = RunningUnderWine();
    if (behind == now && !(behind && offDisplay && IsWindowVisible(window))) continue;
    if (behind) {
      // Placed after a window that is not topmost, a window is no longer topmost either: in one
      // move it leaves the top and goes behind the full-screen window. (HWND_NOTOPMOST would
      // make it the first of the other windows, in front of it.) Behind a topmost full-screen
      // window it stays topmost, as the system keeps it, but lies behind it all the same.
      Place(window, behind, offDisplay ? SWP_HIDEWINDOW : 0);
      if (placed == aside_.end())
        aside_.push_back({window, behind});
      else
        placed->Behind = behind;
    } else {
      Place(window, HWND_TOPMOST, offDisplay && character->Visible() ? SWP_SHOWWINDOW : 0);
      aside_.erase(placed);
    }
  }
}
