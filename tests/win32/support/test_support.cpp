#include "support/test_support.h"

#include "support/region_forms.h"
#include "support/test_classes.h"

void RegisterTestClasses() {
  RegisterComponentClass<TTestForm>("TTestForm");
  RegisterComponentClass<TRecorder>("TRecorder");
  RegisterComponentClass<TRegionTestForm>("TRegionTestForm");
  RegisterComponentClass<TRegionNoDataForm>("TRegionNoDataForm");
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
