#pragma once
// The window core. Every window of the framework's classes, and every other window the program
// subclasses, has its messages go through one procedure: first to the hooks that joined the
// window (the newest first), then to the window's control (TWinControl::WndProc), and last to the
// window's previous procedure (the native class's own, or DefWindowProcW). Hooks and controls
// join and leave in any order; a subclassed window gets its own procedure back once nobody of the
// program takes part in it any more (unless someone else subclassed it on top meanwhile).
#include <functional>
#include <string>

#include "framework/handles.h"

class TWinControl;

// A window message as handlers see it; they set Result.
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// Registers a window class of the program once, with the framework's procedure. One name has one
// class style: asking again with another one is a programming error (std::logic_error).
void EnsureWindowClass(const std::wstring& name, UINT classStyle);
// Whether NAME is a class the framework does not register itself but that exists (a class of the
// system such as "EDIT"), whose windows the framework subclasses.
bool IsNativeWindowClass(const std::wstring& name);

// Takes part in one window's message handling, before the window's control; leaves it when
// destroyed. The window may be any window of this thread, the framework's or not.
class TWindowHook {
 public:
  TWindowHook() = default;
  virtual ~TWindowHook() { Leave(); }
  TWindowHook(const TWindowHook&) = delete;
  TWindowHook& operator=(const TWindowHook&) = delete;

  // Joins WINDOW (leaving any other first). Throws Exception if the window cannot be subclassed.
  void Join(HWND window);
  void Leave();
  // The window joined; null when none, also once that window has been destroyed.
  HWND Window() const { return window_; }

 protected:
  // Sees each message of the window first; PassOn gives it to the rest of the handling (the
  // hooks joined before this one, the control, the previous procedure). Not passing it on
  // swallows it.
  virtual void HookMessage(TMessage& message) { PassOn(message); }
  // Gives MESSAGE to the rest of the handling; does nothing once the hook has left.
  void PassOn(TMessage& message);

 private:
  friend struct WindowRecord;
  HWND window_ = nullptr;
};

// What TWinControl needs of the core.
namespace window_core {
// Makes CONTROL the window's control, subclassing the window if it is not of the framework's
// classes. Throws Exception if it cannot be subclassed.
void AttachControl(HWND window, TWinControl* control);
// The window no longer has a control (it keeps its hooks).
void DetachControl(HWND window);
// The control of a window of this thread, if any.
TWinControl* ControlOf(HWND window);
// Gives MESSAGE to the window's previous procedure.
void CallPrevious(HWND window, TMessage& message);
// The parameter that tells the framework's procedure, at WM_NCCREATE, whose window it is.
LPVOID CreationParam(TWinControl* control);
}  // namespace window_core

// A window the program never shows, whose messages go to HANDLER (true: handled, else the default
// handling). The timers, the application's task-bar window and the tray icon each use one.
class HiddenWindow : TWindowHook {
 public:
  using Handler = std::function<bool(TMessage& message)>;
  struct Params {
    DWORD Style = WS_POPUP;
    DWORD ExStyle = 0;
    int X = 0, Y = 0;
    std::wstring Caption;
    // A message-only window hears only what is sent to it. A top-level one (the default) also
    // hears broadcasts such as "TaskbarCreated".
    bool MessageOnly = false;
  };

  explicit HiddenWindow(Handler handler) : HiddenWindow(Params{}, std::move(handler)) {}
  HiddenWindow(const Params& params, Handler handler);
  ~HiddenWindow() override;
  HWND Handle() const { return window_.Get(); }

 private:
  void HookMessage(TMessage& message) override;

  Handler handler_;
  WindowHandle window_;
};
