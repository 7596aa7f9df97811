// Looks at the program's windows from outside, for the end-to-end tests. Commands:
// - probe info CAPTION: position, size, styles, owner and window region of a top-level window
// - probe region CAPTION: the window region's rectangles, one per line
// - probe close CAPTION: sends WM_CLOSE
// - probe responds CAPTION: exit status 0 when the window's thread takes a message within a
//   second (it is in a message loop), 2 when it does not
// - probe dialog TITLE: the text of a message box captioned TITLE
// - probe dismiss TITLE: presses the message box's OK button
// - probe where CAPTION...: "CAPTION LEFT TOP" of several windows, read together
// - probe dump CAPTION...: for each, a line "== CAPTION", then its info line and its region's
//   lines (nothing more when it is not there), in one start of the probe
// - probe recorder X Y W H FILE [front|maximized]: a plain window at that place that writes
//   "click X Y" (screen coordinates) to FILE for every left click it receives, and "drop PATH"
//   for every file dropped onto it (one line each, in the drop's order); "front": it takes the
//   foreground; "maximized": a window with a caption, maximised, in the foreground
// - probe stacking CAPTION...: "CAPTION TOPMOST" (1 or 0) for those of the windows that exist, in
//   the stacking order, top first
// - probe cursor - | X Y: places the pointer through Windows (SetCursorPos) and prints where
//   Windows sees it; a user's pointer moves come from X (xdotool)
// - probe menu: "LEFT TOP RIGHT BOTTOM" of the popup menu open on the screen (the items of another
//   program's menu cannot be read; its first item lies at the top, its last at the bottom)
// - probe monitors: "LEFT TOP RIGHT BOTTOM" of each monitor, the primary one first
// Captions are matched exactly; output is UTF-8. Exit status 1 when the window is not there.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

static std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
  return s;
}

static std::wstring Text(HWND h) {
  wchar_t buffer[512];
  int n = GetWindowTextW(h, buffer, 512);
  return std::wstring(buffer, n);
}

static BOOL CALLBACK AddWindow(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}

// The top-level windows, top first, read at once: walking them one GW_HWNDNEXT at a time skips
// the windows behind one that the program raises or lowers during the walk.
static std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

static HWND Find(const std::wstring& caption, bool dialog) {
  for (HWND h : TopWindows()) {
    wchar_t cls[64];
    GetClassNameW(h, cls, 64);
    bool isDialog = std::wstring(cls) == L"#32770";
    if (isDialog == dialog && Text(h) == caption) return h;
  }
  return nullptr;
}

static std::vector<RECT> RegionRects(HWND h, int& type) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  type = GetWindowRgn(h, rgn);
  std::vector<RECT> rects;
  if (type != ERROR) {
    DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size && GetRegionData(rgn, size, data)) {
      auto* r = reinterpret_cast<RECT*>(data->Buffer);
      rects.assign(r, r + data->rdh.nCount);
    }
  }
  DeleteObject(rgn);
  return rects;
}

static LRESULT CALLBACK RecorderProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_LBUTTONDOWN) {
    POINT p{(short)LOWORD(l), (short)HIWORD(l)};
    ClientToScreen(h, &p);
    auto* out = reinterpret_cast<FILE*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    std::fprintf(out, "click %ld %ld\n", p.x, p.y);
    std::fflush(out);
    return 0;
  }
  if (m == WM_DROPFILES) {
    auto drop = reinterpret_cast<HDROP>(w);
    auto* out = reinterpret_cast<FILE*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
      DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
      std::fprintf(out, "drop %s\n", Utf8(path).c_str());
    }
    DragFinish(drop);
    std::fflush(out);
    return 0;
  }
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

// The "info" line of a top-level window.
static void PrintInfo(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  RECT c;
  GetClientRect(h, &c);
  LONG style = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
  HWND owner = GetWindow(h, GW_OWNER);
  int type = 0;
  auto rects = RegionRects(h, type);
  std::printf(
      "left=%ld top=%ld width=%ld height=%ld client=%ldx%ld visible=%d topmost=%d "
      "caption=%d popup=%d sysmenu=%d appwindow=%d owner=%s region=%s rects=%zu\n",
      r.left, r.top, r.right - r.left, r.bottom - r.top, c.right, c.bottom,
      IsWindowVisible(h) ? 1 : 0, (ex & WS_EX_TOPMOST) ? 1 : 0,
      (style & WS_CAPTION) == WS_CAPTION ? 1 : 0, (style & WS_POPUP) ? 1 : 0,
      (style & WS_SYSMENU) ? 1 : 0, (ex & WS_EX_APPWINDOW) ? 1 : 0,
      owner ? ("'" + Utf8(Text(owner)) + "'").c_str() : "none",
      type == ERROR        ? "none"
      : type == NULLREGION ? "empty"
                           : "set",
      rects.size());
}

// Its window region's rectangles, one a line.
static void PrintRegion(HWND h) {
  int type = 0;
  for (const RECT& r : RegionRects(h, type))
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

// Each monitor as (secondary, rectangle), for the "monitors" command.
static BOOL CALLBACK AddMonitor(HMONITOR m, HDC, LPRECT, LPARAM monitors) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(m, &info);
  reinterpret_cast<std::vector<std::pair<bool, RECT>>*>(monitors)->emplace_back(
      !(info.dwFlags & MONITORINFOF_PRIMARY), info.rcMonitor);
  return TRUE;
}

int main() {
  // Places and sizes in screen pixels, as the program sees them, at any screen resolution.
  SetProcessDPIAware();
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc == 2 && std::wstring(argv[1]) == L"monitors") {
    std::vector<std::pair<bool, RECT>> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::stable_sort(monitors.begin(), monitors.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [secondary, r] : monitors)
      std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (argc == 2 && std::wstring(argv[1]) == L"menu") {
    for (HWND h : TopWindows()) {
      wchar_t cls[64];
      GetClassNameW(h, cls, 64);
      RECT r;
      if (std::wstring(cls) != L"#32768" || !IsWindowVisible(h) || !GetWindowRect(h, &r)) continue;
      std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
      return 0;
    }
    return 1;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: probe info|region|close|dialog|dismiss|children CAPTION\n");
    return 2;
  }
  std::wstring command = argv[1], caption = argv[2];
  if (command == L"where") {  // probe where CAPTION...: "CAPTION LEFT TOP" for each, read at once
    for (int i = 2; i < argc; ++i) {
      HWND w = Find(argv[i], false);
      RECT r{};
      if (w) GetWindowRect(w, &r);
      std::printf("%s %ld %ld\n", Utf8(argv[i]).c_str(), r.left, r.top);
    }
    return 0;
  }
  if (command == L"dump") {  // probe dump CAPTION...: "== CAPTION", info and region lines each
    for (int i = 2; i < argc; ++i) {
      std::printf("== %s\n", Utf8(argv[i]).c_str());
      if (HWND w = Find(argv[i], false)) {
        PrintInfo(w);
        PrintRegion(w);
      }
    }
    return 0;
  }
  if (command == L"stacking") {  // probe stacking CAPTION...: top first
    for (HWND h : TopWindows())
      for (int i = 2; i < argc; ++i)
        if (Text(h) == argv[i])
          std::printf("%s %d\n", Utf8(argv[i]).c_str(),
                      (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    return 0;
  }
  if (command == L"recorder" && argc >= 7) {  // probe recorder X Y W H FILE: logs clicks on it
    FILE* log = _wfopen(argv[6], L"w");
    if (!log) return 1;
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
    wc.lpszClassName = L"ProbeRecorder";
    RegisterClassW(&wc);
    const std::wstring mode = argc >= 8 ? argv[7] : L"";
    const bool maximized = mode == L"maximized";
    HWND h = CreateWindowExW(0, wc.lpszClassName, L"Recorder",
                             maximized ? WS_OVERLAPPEDWINDOW : WS_POPUP | WS_VISIBLE,
                             _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]),
                             nullptr, nullptr, wc.hInstance, nullptr);
    if (maximized) ShowWindow(h, SW_SHOWMAXIMIZED);
    if (!mode.empty()) SetForegroundWindow(h);
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(log));
    DragAcceptFiles(h, TRUE);
    std::fprintf(log, "ready\n");
    std::fflush(log);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  }
  if (command == L"cursor") {  // probe cursor [X Y]: places the pointer, prints where it is
    if (argc >= 4) SetCursorPos(_wtoi(argv[2]), _wtoi(argv[3]));
    POINT p;
    GetCursorPos(&p);
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
  }
  bool dialog = command == L"dialog" || command == L"dismiss";
  HWND h = Find(caption, dialog);
  if (!h) return 1;
  if (command == L"info") {
    PrintInfo(h);
  } else if (command == L"region") {
    PrintRegion(h);
  } else if (command == L"close") {
    PostMessageW(h, WM_CLOSE, 0, 0);
  } else if (command == L"responds") {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) ? 0 : 2;
  } else if (command == L"dialog") {
    std::wstring text;
    for (HWND child = GetWindow(h, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t cls[64];
      GetClassNameW(child, cls, 64);
      if (std::wstring(cls) == L"Static" && !Text(child).empty()) text = Text(child);
    }
    std::printf("%s\n", Utf8(text).c_str());
  } else if (command == L"children") {
    // probe children CAPTION: "CLASS enabled=E top=T TEXT" each, T in the window's client area
    for (HWND child = GetWindow(h, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t cls[64];
      GetClassNameW(child, cls, 64);
      RECT place{};
      GetWindowRect(child, &place);
      MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&place), 2);
      // The text a control holds itself: GetWindowText of another process's window reads only
      // its caption.
      wchar_t text[1024] = L"";
      SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
      std::printf("%s enabled=%d top=%ld %s\n", Utf8(cls).c_str(), IsWindowEnabled(child) ? 1 : 0,
                  place.top, Utf8(text).c_str());
    }
  } else if (command == L"dismiss") {
    PostMessageW(h, WM_COMMAND, IDOK, 0);
  } else {
    return 2;
  }
  return 0;
}
