#include "framework/dpi.h"

#include "framework/core/screen_scale.h"

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and PROCESS_PER_MONITOR_DPI_AWARE, which the
// headers of older systems lack.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kMonitorDpiEffective = 0;

}  // namespace

void DeclareDpiAwareness() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  using SetAwareness = HRESULT(WINAPI*)(int);
  using SetAware = BOOL(WINAPI*)();
  if (auto set = SystemFunction<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
    if (set(kPerMonitorAwareV2) || GetLastError() == ERROR_ACCESS_DENIED) return;
  }
  if (auto set = SystemFunction<SetAwareness>(L"shcore.dll", "SetProcessDpiAwareness")) {
    const HRESULT result = set(kProcessPerMonitorDpiAware);
    if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;
  }
  if (auto set = SystemFunction<SetAware>(L"user32.dll", "SetProcessDPIAware")) set();
}

int SystemDpi() {
  using GetForSystem = UINT(WINAPI*)();
  static const auto forSystem = SystemFunction<GetForSystem>(L"user32.dll", "GetDpiForSystem");
  if (forSystem) return static_cast<int>(forSystem());
  const ScreenDC screen;
  const int dpi = screen.Dc() ? GetDeviceCaps(screen.Dc(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  using GetForWindow = UINT(WINAPI*)(HWND);
  using GetForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto forWindow = SystemFunction<GetForWindow>(L"user32.dll", "GetDpiForWindow");
  static const auto forMonitor =
      forWindow ? nullptr : SystemFunction<GetForMonitor>(L"shcore.dll", "GetDpiForMonitor");
  if (forWindow) {
    if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
  } else if (forMonitor) {
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(forMonitor(monitor, kMonitorDpiEffective, &x, &y)) && y)
      return static_cast<int>(y);
  }
  return SystemDpi();
}

int WindowScale(HWND window) { return ScaleOfDpi(WindowDpi(window)); }
