#include "support/test_support.h"

#include <algorithm>

#include "support/check_box_forms.h"
#include "support/region_forms.h"
#include "support/test_classes.h"
#include "support/tray_forms.h"

void RegisterTestClasses() {
  RegisterComponentClass<TTestForm>("TTestForm");
  RegisterComponentClass<TRecorder>("TRecorder");
  RegisterComponentClass<TRegionTestForm>("TRegionTestForm");
  RegisterComponentClass<TRegionNoDataForm>("TRegionNoDataForm");
  RegisterComponentClass<TCheckBoxTestForm>("TCheckBoxTestForm");
  RegisterComponentClass<TTrayTestForm>("TTrayTestForm");
}

bool InFrontOf(HWND a, HWND b) {
  for (HWND w = GetWindow(b, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
    if (w == a) return true;
  return false;
}

void PlacementCount::HookMessage(TMessage& message) {
  if (message.Msg == WM_WINDOWPOSCHANGING &&
      !(stackingOnly_ && (reinterpret_cast<WINDOWPOS*>(message.LParam)->flags & SWP_NOZORDER)))
    ++Count;
  PassOn(message);
}

int GdiHeadroom() {
  std::vector<HRGN> made;
  while (HRGN r = CreateRectRgn(0, 0, 1, 1)) made.push_back(r);
  for (HRGN r : made) DeleteObject(r);
  return static_cast<int>(made.size());
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

namespace {

INPUT MouseInput(DWORD flags, POINT screen = {0, 0}) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    // Absolute positions are in 1/65535 of the screen.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  }
  return input;
}

INPUT KeyInput(WORD key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return input;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void MovePointerTo(POINT screen) {
  Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen)});
}

void ClickAt(POINT screen, int count) {
  std::vector<INPUT> inputs{MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen)};
  for (int i = 0; i < count; ++i) {
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTUP));
  }
  Send(inputs);
}

void SendKey(WORD key, bool down, std::vector<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (WORD m : modifiers) inputs.push_back(KeyInput(m, true));
  inputs.push_back(KeyInput(key, down));
  for (WORD m : modifiers) inputs.push_back(KeyInput(m, false));
  Send(inputs);
}

Snapshot TakeSnapshot(HWND window, SIZE most) {
  RECT client;
  GetClientRect(window, &client);
  Snapshot shot;
  shot.Width = std::min<int>(client.right, most.cx);
  shot.Height = std::min<int>(client.bottom, most.cy);
  if (shot.Width <= 0 || shot.Height <= 0) return shot;
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), shot.Width, -shot.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  BitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDC memory(CreateCompatibleDC(nullptr));
  HDC screen = GetDC(window);
  {
    SelectObjectScope select(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, shot.Width, shot.Height, screen, 0, 0, SRCCOPY);
  }
  ReleaseDC(window, screen);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < shot.Width * shot.Height; ++i)
    shot.Pixels.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
  return shot;
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
