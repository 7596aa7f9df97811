#include "framework/window.h"

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "framework/controls.h"
#include "framework/core/exception.h"
#include "framework/core/guard.h"
#include "framework/core/scope_exit.h"

// One window's part in the program: kept in the window core's table, freed with the window (or
// when a subclassed window gets its own procedure back).
struct WindowRecord {
  HWND Window = nullptr;
  WNDPROC Previous = DefWindowProcW;  // where the handling ends
  bool OwnClass = false;              // a window of the framework's classes
  TWinControl* Control = nullptr;
  std::vector<TWindowHook*> Hooks;  // the newest first
  int Depth = 0;                    // messages of the window being handled, nested
  bool Destroyed = false;

  static WindowRecord* Of(HWND window);
  static WindowRecord* Subclass(HWND window);
  // The record of a framework window on its WM_NCCREATE (PARAM: its control, or none).
  static WindowRecord* Create(HWND window, LPVOID param);
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);

  // MESSAGE to the hooks from FIRST on, then to the control, then to the previous procedure.
  void Deliver(TMessage& message, size_t first);
  void CallPrevious(TMessage& message) {
    message.Result = CallWindowProcW(Previous, Window, message.Msg, message.WParam, message.LParam);
  }
  // After the window's WM_NCDESTROY: nobody takes part in it any more.
  void Forget();
  // Frees the record of a subclassed window that nobody of the program takes part in.
  void ReleaseIfUnused();
};

namespace {

// The records by window. Not window properties: under Wine each property read asks Wine's
// server, and every message of every window looks its record up, often more than once. Only the
// user-interface thread has windows of the program. Never destroyed, as windows may still hear
// messages while static objects are destroyed at exit.
std::unordered_map<HWND, WindowRecord*>& Records() {
  static auto* records = new std::unordered_map<HWND, WindowRecord*>;
  return *records;
}

// The classes the framework registered, with their class styles.
std::map<std::wstring, UINT>& OwnClasses() {
  static std::map<std::wstring, UINT> classes;
  return classes;
}

// The creation parameter of a framework window without a control (a hidden window).
char noControl;

}  // namespace

WindowRecord* WindowRecord::Of(HWND window) {
  auto it = Records().find(window);
  return it != Records().end() ? it->second : nullptr;
}

WindowRecord* WindowRecord::Subclass(HWND window) {
  if (WindowRecord* record = Of(window)) return record;
  if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
    throw Exception("このスレッドのウィンドウではありません");
  auto* record = new WindowRecord;
  record->Window = window;
  Records()[window] = record;
  SetLastError(0);
  auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  if (!previous) {
    Records().erase(window);
    delete record;
    throw Exception("ウィンドウをサブクラス化できません");
  }
  record->Previous = previous;
  return record;
}

LRESULT CALLBACK WindowRecord::Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  return Guarded<LRESULT>(0, [&]() -> LRESULT {
    WindowRecord* record = Of(window);
    // A window of the framework's classes comes to life. A record found under its handle was
    // left by a window whose end was never seen here.
    if (msg == WM_NCCREATE)
      record = Create(window, reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    // Before WM_NCCREATE, a framework window has no record yet.
    if (!record) return DefWindowProcW(window, msg, wparam, lparam);

    ++record->Depth;
    const bool last = msg == WM_NCDESTROY;
    ScopeExit nesting([record, last] {
      if (last) record->Forget();
      if (--record->Depth > 0) return;
      if (record->Destroyed)
        delete record;
      else
        record->ReleaseIfUnused();
    });
    TMessage message{msg, wparam, lparam, 0};
    record->Deliver(message, 0);
    return message.Result;
  });
}

WindowRecord* WindowRecord::Create(HWND window, LPVOID param) {
  // Its record, and its control if it has one.
  auto record = std::make_unique<WindowRecord>();
  record->Window = window;
  record->OwnClass = true;
  Records()[window] = record.get();
  if (param != &noControl) {
    record->Control = static_cast<TWinControl*>(param);
    record->Control->handle_ = window;
  }
  return record.release();
}

void WindowRecord::Deliver(TMessage& message, size_t first) {
  if (first < Hooks.size()) {
    Hooks[first]->HookMessage(message);
  } else if (Control) {
    Control->WndProc(message);
  } else {
    CallPrevious(message);
  }
}

void WindowRecord::Forget() {
  Records().erase(Window);
  for (TWindowHook* hook : Hooks) hook->window_ = nullptr;
  Hooks.clear();
  if (Control) Control->handle_ = nullptr;
  Control = nullptr;
  Destroyed = true;
}

void WindowRecord::ReleaseIfUnused() {
  if (OwnClass || Control || !Hooks.empty() || Depth > 0) return;
  // Someone else subclassed the window after us: ours stays in their chain, passing through.
  if (GetWindowLongPtrW(Window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) return;
  SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous));
  Records().erase(Window);
  delete this;
}

void EnsureWindowClass(const std::wstring& name, UINT classStyle) {
  auto& classes = OwnClasses();
  auto it = classes.find(name);
  if (it != classes.end()) {
    if (it->second != classStyle)
      throw std::logic_error("window class registered with another class style");
    return;
  }
  WNDCLASSW wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = &WindowRecord::Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  if (!RegisterClassW(&wc)) return;  // creating a window of the class then reports the failure
  classes.emplace(name, classStyle);
}

bool IsNativeWindowClass(const std::wstring& name) {
  if (OwnClasses().contains(name)) return false;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  return GetClassInfoExW(nullptr, name.c_str(), &wc) ||
         GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &wc);
}

// TWindowHook

void TWindowHook::Join(HWND window) {
  if (window == window_) return;
  Leave();
  WindowRecord* record = WindowRecord::Subclass(window);
  record->Hooks.insert(record->Hooks.begin(), this);
  window_ = window;
}

void TWindowHook::Leave() {
  if (!window_) return;
  WindowRecord* record = WindowRecord::Of(window_);
  window_ = nullptr;
  if (!record) return;
  std::erase(record->Hooks, this);
  record->ReleaseIfUnused();
}

void TWindowHook::PassOn(TMessage& message) {
  WindowRecord* record = WindowRecord::Of(window_);
  if (!record) return;
  auto it = std::find(record->Hooks.begin(), record->Hooks.end(), this);
  record->Deliver(message, static_cast<size_t>(it - record->Hooks.begin()) + 1);
}

// What TWinControl needs of the core.

void window_core::AttachControl(HWND window, TWinControl* control) {
  WindowRecord* record = WindowRecord::Subclass(window);
  if (record->Control && record->Control != control)
    throw Exception("ウィンドウには既にコントロールがあります");
  record->Control = control;
}

void window_core::DetachControl(HWND window) {
  WindowRecord* record = WindowRecord::Of(window);
  if (!record) return;
  record->Control = nullptr;
  record->ReleaseIfUnused();
}

TWinControl* window_core::ControlOf(HWND window) {
  WindowRecord* record = WindowRecord::Of(window);
  return record ? record->Control : nullptr;
}

void window_core::CallPrevious(HWND window, TMessage& message) {
  if (WindowRecord* record = WindowRecord::Of(window)) {
    record->CallPrevious(message);
  } else {
    message.Result = DefWindowProcW(window, message.Msg, message.WParam, message.LParam);
  }
}

LPVOID window_core::CreationParam(TWinControl* control) {
  return control ? static_cast<LPVOID>(control) : static_cast<LPVOID>(&noControl);
}

// HiddenWindow

HiddenWindow::HiddenWindow(const Params& params, Handler handler) : handler_(std::move(handler)) {
  static const std::wstring kClass = L"TivoluHidden";
  EnsureWindowClass(kClass, 0);
  window_.Reset(CreateWindowExW(params.ExStyle, kClass.c_str(), params.Caption.c_str(),
                                params.Style, params.X, params.Y, 0, 0,
                                params.MessageOnly ? HWND_MESSAGE : nullptr, nullptr,
                                GetModuleHandleW(nullptr), window_core::CreationParam(nullptr)));
  if (!window_) throw Exception("ウィンドウを作成できません");
  Join(window_.Get());
}

HiddenWindow::~HiddenWindow() {
  Leave();
  window_.Reset();
}

void HiddenWindow::HookMessage(TMessage& message) {
  if (!handler_ || !handler_(message)) PassOn(message);
}
