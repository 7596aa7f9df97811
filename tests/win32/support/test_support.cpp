#include "support/test_support.h"

#include "support/region_forms.h"
#include "support/test_classes.h"
#include "support/tray_forms.h"

void RegisterTestClasses() {
  RegisterComponentClass<TTestForm>("TTestForm");
  RegisterComponentClass<TRecorder>("TRecorder");
  RegisterComponentClass<TRegionTestForm>("TRegionTestForm");
  RegisterComponentClass<TRegionNoDataForm>("TRegionNoDataForm");
  RegisterComponentClass<TTrayTestForm>("TTrayTestForm");
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  auto end = std::chrono::steady_clock::now() + deadline;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

ExceptionCatcher::ExceptionCatcher() {
  Application->OnException = [this](const std::exception& e) { Messages.push_back(e.what()); };
}

ExceptionCatcher::~ExceptionCatcher() { Application->OnException = nullptr; }

std::vector<RECT> WindowRegionRects(HWND window) {
  RegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  std::vector<RECT> rects;
  if (GetWindowRgn(window, rgn.Get()) == ERROR) return rects;
  DWORD size = GetRegionData(rgn.Get(), 0, nullptr);
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (size && GetRegionData(rgn.Get(), size, data)) {
    auto* r = reinterpret_cast<RECT*>(data->Buffer);
    rects.assign(r, r + data->rdh.nCount);
  }
  return rects;
}

HWND OpenMenuWindow() {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
       w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
    if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId())
      return w;
  }
  return nullptr;
}

std::vector<std::wstring> MenuItemTexts(HWND menuWindow) {
  auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  std::vector<std::wstring> texts;
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) {
      texts.push_back(L"-");
      continue;
    }
    wchar_t text[128] = {};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    texts.push_back(text);
  }
  return texts;
}

bool OpenAndPick(const std::function<void()>& open, wchar_t key,
                 const std::function<void(HWND)>& whileOpen) {
  TTimer watcher(nullptr);
  watcher.SetInterval(20);
  int ticks = 0;
  bool seen = false;
  watcher.SetOnTimer([&](TObject*) {
    if (++ticks > 500) EndMenu();  // never hang the test
    HWND window = OpenMenuWindow();
    if (!window || seen) return;
    seen = true;
    if (whileOpen) whileOpen(window);
    if (key)
      PostMessageW(window, WM_CHAR, key, 0);
    else
      EndMenu();
  });
  open();
  return seen;
}
