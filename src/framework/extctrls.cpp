#include "framework/extctrls.h"

#include "framework/core/exception.h"
#include "framework/forms.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  EnsureWindowClass(L"TivoluTimer", WndProc);
  window_ = CreateWindowExW(0, L"TivoluTimer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) throw Exception("タイマーを作成できません");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  UpdateTimer();
}

TTimer::~TTimer() {
  KillTimer(window_, 1);
  DestroyWindow(window_);
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(window_, 1);
  if (enabled_ && interval_ != 0 && onTimer_ && !Loading())
    SetTimer(window_, 1, interval_, nullptr);
}

LRESULT CALLBACK TTimer::WndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_TIMER && timer) {
      if (timer->onTimer_) timer->onTimer_(timer);
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
  } catch (...) {
    if (Application) Application->HandleException(std::current_exception());
    return 0;
  }
}

void TTimer::SetProperty(const std::string& name, const Value& value) {
  if (name == "Enabled") {
    SetEnabled(BooleanValue(name, value));
  } else if (name == "Interval") {
    int32_t v = IntegerValue(name, value);
    if (v < 0) BadValue(name, value);
    SetInterval(static_cast<unsigned>(v));
  } else {
    TComponent::SetProperty(name, value);
  }
}

void TTimer::SetEvent(const std::string& name, TNotifyEvent handler) {
  if (name == "OnTimer") {
    SetOnTimer(std::move(handler));
  } else {
    TComponent::SetEvent(name, std::move(handler));
  }
}
