#include "framework/forms.h"

#include <vector>

#include "framework/core/exception.h"
#include "framework/core/scope_exit.h"
#include "framework/core/screen_scale.h"
#include "framework/dpi.h"
#include "framework/reader.h"
#include "framework/window.h"

TApplication* Application = nullptr;

namespace {

// While the error box is being opened: puts it above every topmost window of the program (the
// characters, the settings window). MB_TOPMOST alone does not under Wine.
LRESULT CALLBACK RaiseErrorBox(int code, WPARAM wparam, LPARAM lparam) {
  return Guarded<LRESULT>(0, [&] {
    if (code == HCBT_ACTIVATE) {
      auto box = reinterpret_cast<HWND>(wparam);
      wchar_t name[8] = {};
      GetClassNameW(box, name, 8);
      if (std::wstring(name) == L"#32770")
        SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  });
}

}  // namespace

// TForm

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  controlStyle_ |= csDoubleClicks;
  SetColor(clBtnFace);
  TControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  DestroyComponents();
  DestroyHandle();
}

void TForm::LoadDescription(const std::string& className) {
  ReadComponentResource(this, className);
}

void TForm::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TForm::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  UpdateStyle();
}

void TForm::SetBorderIcons(TBorderIcons value) {
  borderIcons_ = value;
  UpdateStyle();
}

void TForm::SetFormStyle(TFormStyle value) {
  if (value == formStyle_) return;
  formStyle_ = value;
  if (HandleAllocated())
    SetWindowPos(Handle(), value == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetBrushStyle(TBrushStyle value) {
  if (value == brushStyle_) return;
  brushStyle_ = value;
  Invalidate();
}

void TForm::SetVisible(bool value) {
  if (value == Visible()) return;
  // OnShow sees the form about to appear, so what it paints is there at the first paint.
  if (value && OnShow) OnShow(this);
  TWinControl::SetVisible(value);
}

void TForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TForm::Close() {
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (modal_) {
    modalResult_ = mrCancel;
  } else {
    Hide();
  }
}

namespace {

// The top-level windows of this thread that a modal window disables: every form's, shown or
// hidden, the application's, and every other visible one; not the hidden windows that only hear
// messages. Only those enabled now, so that exactly they are enabled again.
struct TaskWindows {
  HWND Modal;
  std::vector<HWND> Disabled;
};

BOOL CALLBACK CollectTaskWindow(HWND window, LPARAM data) {
  return Guarded<BOOL>(FALSE, [&] {
    auto& walk = *reinterpret_cast<TaskWindows*>(data);
    const bool ours = dynamic_cast<TForm*>(window_core::ControlOf(window)) != nullptr ||
                      (Application && window == Application->Handle());
    if (window != walk.Modal && IsWindowEnabled(window) && (ours || IsWindowVisible(window)))
      walk.Disabled.push_back(window);
    return TRUE;
  });
}

std::vector<HWND> DisableTaskWindows(HWND modal) {
  TaskWindows walk{modal, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectTaskWindow, reinterpret_cast<LPARAM>(&walk));
  for (HWND window : walk.Disabled) EnableWindow(window, FALSE);
  return walk.Disabled;
}

}  // namespace

TModalResult TForm::ShowModal() {
  if (Visible() || modal_)
    throw EInvalidOperation("表示されているウィンドウをモーダルにすることはできません");
  HWND previous = GetActiveWindow();
  const std::vector<HWND> disabled = DisableTaskWindows(Handle());
  ScopeExit restore([&] {
    // Enabled again before the form hides, so that the system activates one of them.
    for (HWND window : disabled)
      if (IsWindow(window)) EnableWindow(window, TRUE);
    modal_ = false;
    Hide();
    if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
  });
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  SetForegroundWindow(Handle());
  SetActiveWindow(Handle());
  MSG msg;
  while (modalResult_ == mrNone && Visible()) {
    if (Application && Application->Terminated()) break;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the application's loop must end too.
      if (Application)
        Application->Terminate();
      else if (got == 0)
        PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  return modalResult_;
}

void TForm::CreateParamsFor(CreateParams& params) {
  TWinControl::CreateParamsFor(params);
  params.Style = WS_CLIPCHILDREN | (Visible() ? WS_VISIBLE : 0);
  switch (borderStyle_) {
    case TBorderStyle::bsNone:
      params.Style |= WS_POPUP;
      break;
    case TBorderStyle::bsSingle:
    case TBorderStyle::bsToolWindow:
      params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case TBorderStyle::bsDialog:
      params.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      break;
    default:
      params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
  }
  if (borderStyle_ != TBorderStyle::bsNone && borderIcons_.SystemMenu) {
    params.Style |= WS_SYSMENU;
    if (borderStyle_ != TBorderStyle::bsDialog) {
      if (borderIcons_.Minimize) params.Style |= WS_MINIMIZEBOX;
      if (borderIcons_.Maximize) params.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (formStyle_ == TFormStyle::fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
  // Forms belong to the application's window, so they get no task-bar buttons of their own.
  params.WndParent = Application ? Application->Handle() : nullptr;
}

void TForm::CreateWnd() {
  TWinControl::CreateWnd();
  // Made with WS_EX_TOPMOST, the window is topmost already (and under Wine a placement that
  // changes nothing still asks Wine's server and the X server): placed only where it is not.
  if (formStyle_ == TFormStyle::fsStayOnTop &&
      !(GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::Dispatch(TMessage& m) {
  if (m.Msg == WM_CLOSE) return WMClose(m);
  if (m.Msg == WM_DPICHANGED) return WMDpiChanged(m);
  TWinControl::Dispatch(m);
}

void TForm::ScaleToScreen() {
  const int scale = WindowScale(Handle());
  if (scale == Scale()) return;
  const int from = Scale();
  ChangeScale(scale);
  SetBounds(MulDiv(Left(), scale, from), MulDiv(Top(), scale, from), Width(), Height());
}

void TForm::WMDpiChanged(TMessage& m) {
  // The suggested rectangle is not taken: it would move the figure under the user's pointer.
  ChangeScale(ScaleOfDpi(HIWORD(m.WParam)));
  m.Result = 0;
}

void TForm::WMClose(TMessage& m) {
  Close();
  m.Result = 0;
}

void TForm::PaintWindow(HDC dc) {
  if (brushStyle_ == TBrushStyle::bsClear) return;
  RECT r;
  GetClientRect(Handle(), &r);
  BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(dc, &r, brush.Get());
}

void TForm::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, TBorderStyle> borderStyles = {
      {"bsNone", TBorderStyle::bsNone},
      {"bsSingle", TBorderStyle::bsSingle},
      {"bsSizeable", TBorderStyle::bsSizeable},
      {"bsDialog", TBorderStyle::bsDialog},
      {"bsToolWindow", TBorderStyle::bsToolWindow},
      {"bsSizeToolWin", TBorderStyle::bsSizeToolWin}};
  static const std::map<std::string, TFormStyle> formStyles = {
      {"fsNormal", TFormStyle::fsNormal}, {"fsStayOnTop", TFormStyle::fsStayOnTop}};
  if (name == "BorderStyle") {
    SetBorderStyle(EnumValue(name, value, borderStyles));
  } else if (name == "BorderIcons") {
    if (value.Kind != ValueKind::Set) BadValue(name, value);
    TBorderIcons icons{false, false, false};
    for (const auto& item : value.Items) {
      if (item == "biSystemMenu")
        icons.SystemMenu = true;
      else if (item == "biMinimize")
        icons.Minimize = true;
      else if (item == "biMaximize")
        icons.Maximize = true;
      else if (item != "biHelp")
        BadValue(name, value);
    }
    SetBorderIcons(icons);
  } else if (name == "FormStyle") {
    SetFormStyle(EnumValue(name, value, formStyles));
  } else if (name == "Position") {
    if (IdentifierValue(name, value) != "poDesigned") BadValue(name, value);
  } else {
    TWinControl::SetProperty(name, value);
  }
}

void TForm::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnCreate") {
    OnCreate = EventValue<TNotifyEvent>(name, handler);
  } else if (name == "OnShow") {
    OnShow = EventValue<TNotifyEvent>(name, handler);
  } else {
    TWinControl::SetEvent(name, handler);
  }
}

TEventHandler TForm::FindEvent(const std::string& name) const {
  auto it = events_.find(name);
  return it == events_.end() ? TEventHandler{} : it->second;
}

// TApplication

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  previousHandler_ = SetCallbackExceptionHandler(
      [this](std::exception_ptr error) { HandleException(std::move(error)); });
  // A window of no size, in the middle of the screen, whose only purpose is the task-bar button.
  // It is made hidden and shown with the main form: a program whose notification-area icon takes
  // the button away before the loop runs never shows it, so nothing flashes in the task bar,
  // the window is never activated (which under Wine loads COM for the input method) and never
  // hidden again (which under Wine without a window manager stalls for 2 s).
  HiddenWindow::Params params;
  params.Style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
  params.X = GetSystemMetrics(SM_CXSCREEN) / 2;
  params.Y = GetSystemMetrics(SM_CYSCREEN) / 2;
  try {
    window_ = std::make_unique<HiddenWindow>(params, [this](TMessage& m) {
      // The button's icon, given as the window first shows: a program whose notification-area
      // icon keeps the button away never needs it (under Wine each icon given to a window is
      // converted for the X server).
      if (m.Msg == WM_SHOWWINDOW && m.WParam && !SendMessageW(Handle(), WM_GETICON, ICON_BIG, 0)) {
        HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        return false;
      }
      if (m.Msg != WM_CLOSE || !mainForm_) return false;
      mainForm_->Close();
      return true;
    });
  } catch (const Exception&) {
    SetCallbackExceptionHandler(std::move(previousHandler_));
    Application = nullptr;
    throw Exception("アプリケーションのウィンドウを作成できません");
  }
}

TApplication::~TApplication() {
  DestroyComponents();
  window_.reset();
  SetCallbackExceptionHandler(std::move(previousHandler_));
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::string& value) {
  title_ = value;
  SetWindowTextW(Handle(), Widen(value).c_str());
}

void TApplication::Register(TForm* form) {
  if (!mainForm_) mainForm_ = form;
}

void TApplication::Unregister(TForm* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Run() {
  if (mainForm_ && ShowMainForm) {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    mainForm_->Show();
  }
  MSG msg;
  while (!terminated_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  terminated_ = true;
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TApplication::HandleException(std::exception_ptr error) {
  // Called from inside the guard of a Windows callback: nothing may escape from here.
  try {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      ShowException(e);
    } catch (...) {
      ShowException(Exception(""));
    }
  } catch (...) {
  }
}

void TApplication::ShowException(const std::exception& error) {
  if (OnException) {
    OnException(error);
    return;
  }
  if (showingException_) {
    ++droppedExceptions_;
    return;
  }
  showingException_ = true;
  ScopeExit closed([this] { showingException_ = false; });
  HookHandle raise(SetWindowsHookExW(WH_CBT, RaiseErrorBox, nullptr, GetCurrentThreadId()));
  MessageBoxW(Handle(), Widen(error.what()).c_str(), Widen(title_).c_str(),
              MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND);
}
