#include "tray/tray_icon.h"

#include <algorithm>
#include <map>

#include "framework/core/exception.h"
#include "framework/core/screen_scale.h"
#include "framework/dpi.h"

namespace {

// The animation's timer on the hidden window. The three timer modes share it: a window timer
// steps as often as the icon needs, so neither a high-resolution timer nor a thread is used;
// ThreadPriority is only kept.
constexpr UINT_PTR kAnimationTimer = 1;
// The global timer mode steps in multiples of this.
constexpr TTrayTimerInterval kGlobalTimerStep = 50;
// The notification area shows animation pictures at this size.
constexpr int kAnimationSize = 16;
// The tip field holds this many UTF-16 units and the terminating zero.
constexpr size_t kTipLength = 63;

}  // namespace

TTrayIcon::TTrayIcon(TComponent* owner) : TWndProcComponent(owner) {
  SetHandleApp(false);
  icon_.OnChange = [this] { IconChanged(); };
  imageListLink_.OnChange = [this] {
    if (imageList_ && frame_ >= imageList_->Count()) frame_ = 0;
  };
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  // Top-level, to hear "TaskbarCreated". Never shown, so its system menu is never seen; with one,
  // Wine's X11 driver takes the window for one a window manager handles at once, where for a
  // plain popup it first looks up its monitor and the windows it owns (2 ms of start-up).
  HiddenWindow::Params params;
  params.Style = WS_POPUP | WS_SYSMENU;
  window_.emplace(params, [this](TMessage& m) { return NewWndProc(m); });
}

TTrayIcon::~TTrayIcon() {
  StopAnimation();
  SetImageList(nullptr);
  SetEnabled(false);
  hint_.clear();
  // Only an active icon is in the notification area.
  if (active_) NotifyIcon(NIM_DELETE);
  window_.reset();
}

void TTrayIcon::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  // A stored value is applied by Loaded, once the whole form is read.
  if (Loading()) return;
  if (value) {
    SetEnabled(true);
    Init();
    if (Application) {
      Application->ShowMainForm = false;
      ShowWindow(Application->Handle(), SW_HIDE);
      Application->ProcessMessages();
    }
    PrepareAnimation();
    NotifyIcon(NIM_ADD);
    StartAnimation();
  } else {
    SilentRemove();
    if (Application) {
      Application->ShowMainForm = true;
      ShowWindow(Application->Handle(), SW_SHOWNORMAL);
    }
    NotifyIcon(NIM_DELETE);
    StopAnimation();
  }
}

void TTrayIcon::Loaded() {
  // Stored inactive, the component ends as deactivating leaves it, without showing the
  // application window or asking the shell to delete an icon that is not there.
  if (!active_) SilentRemove();
  TWndProcComponent::Loaded();
  if (active_) {
    active_ = false;
    SetActive(true);
  }
}

void TTrayIcon::SetHint(const std::string& value) {
  if (value == hint_ && !Loading()) return;
  hint_ = value;
  if (active_ && !Loading()) NotifyIcon(NIM_MODIFY);
}

void TTrayIcon::IconChanged() {
  if (active_ && !Loading()) NotifyIcon(NIM_MODIFY);
}

void TTrayIcon::SetPopUpMenu(TComponent* menu) {
  if (menu == popupMenu_) return;
  if (menu && !dynamic_cast<IPopupMenu*>(menu))
    throw EReadError(Name() + ": " + menu->Name() + " はポップアップメニューではありません");
  SetReferenceField(popupMenu_, menu);
}

void TTrayIcon::SetImageList(TImageList* list) {
  if (list == imageList_) return;
  if (imageList_) imageList_->UnRegisterChanges(&imageListLink_);
  SetReferenceField(imageList_, list);
  frame_ = 0;
  if (list) list->RegisterChanges(&imageListLink_);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
  TWndProcComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == popupMenu_) popupMenu_ = nullptr;
  if (component == imageList_) SetImageList(nullptr);
}

// The animation

void TTrayIcon::SetAnimated(bool value) {
  if (value == animated_) return;
  animated_ = value;
  if (value) {
    StartAnimation();
  } else {
    StopAnimation();
    // The icon's own picture again.
    if (active_ && !Loading()) NotifyIcon(NIM_MODIFY);
  }
}

void TTrayIcon::SetTimerMode(TTrayTimerMode value) {
  if (value == timerMode_) return;
  timerMode_ = value;
  PrepareAnimation();
  StartAnimation();
}

void TTrayIcon::SetInterval(TTrayTimerInterval value) {
  value = std::max<TTrayTimerInterval>(value, 1);
  if (value == interval_) return;
  interval_ = value;
  PrepareAnimation();
  StartAnimation();
}

void TTrayIcon::PrepareAnimation() {
  if (timerMode_ != TTrayTimerMode::tmGlobalTimer || interval_ % kGlobalTimerStep == 0) return;
  // Rounded up, unless that leaves the 16-bit range: then the largest step below.
  const unsigned up = (interval_ / kGlobalTimerStep + 1u) * kGlobalTimerStep;
  interval_ = static_cast<TTrayTimerInterval>(up <= 0xFFFF ? up : up - kGlobalTimerStep);
}

void TTrayIcon::StartAnimation() {
  if (!active_ || !animated_ || Loading() || !window_) return;
  SetTimer(window_->Handle(), kAnimationTimer, interval_, nullptr);
}

void TTrayIcon::StopAnimation() {
  if (window_) KillTimer(window_->Handle(), kAnimationTimer);
}

void TTrayIcon::AnimationStep() {
  if (!imageList_ || imageList_->Count() == 0) return;
  if (frame_ >= imageList_->Count()) frame_ = 0;
  try {
    IconHandle picture = imageList_->GetIcon(frame_, kAnimationSize, kAnimationSize);
    Notify(NIM_MODIFY, picture.Get());
  } catch (...) {
    // One report, not one every step.
    StopAnimation();
    throw;
  }
  // After the last picture, the first again.
  frame_ = (frame_ + 1) % imageList_->Count();
}

// The shell

NOTIFYICONDATAW TTrayIcon::Registration(HICON icon) const {
  NOTIFYICONDATAW data{};
  // The first version of the wide record: every shell knows it, and the tip is Unicode whatever
  // the system's code page.
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = WindowHandle();
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon;
  std::wstring tip = Widen(hint_);
  if (tip.size() > kTipLength) {
    tip.resize(kTipLength);
    // Never half a surrogate pair.
    if (tip.back() >= 0xD800 && tip.back() <= 0xDBFF) tip.pop_back();
  }
  tip.copy(data.szTip, kTipLength);
  return data;
}

void TTrayIcon::NotifyIcon(DWORD request) {
  // On a screen of more than 96 DPI the shell asks for a larger icon: the one the picture carries
  // at that size, else the picture in whole-pixel blocks, which the shell then fits as it fits
  // the picture at 96 DPI.
  const int scale = ScaleOfDpi(SystemDpi());
  if (scale == 1 || icon_.Empty() || request == NIM_DELETE) return Notify(request, icon_.Handle());
  shellIcon_ = icon_.ForSize(GetSystemMetrics(SM_CXSMICON), scale);
  Notify(request, shellIcon_ ? shellIcon_.Get() : icon_.Handle());
}

void TTrayIcon::Notify(DWORD request, HICON icon) {
  if (!window_) return;
  NOTIFYICONDATAW data = Registration(icon);
  // The shell's answer is not examined: a failed request changes nothing here.
  ShellNotifyIcon(request, &data);
}

// Messages

bool TTrayIcon::NewWndProc(TMessage& m) {
  if (m.Msg == kCallbackMessage) {
    IconMessage(static_cast<UINT>(m.LParam));
    return true;
  }
  if (m.Msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // The shell's task bar was made anew (the shell restarted): the icon goes back in.
    if (active_ && !Loading()) NotifyIcon(NIM_ADD);
    return false;
  }
  if (m.Msg == WM_TIMER && m.WParam == kAnimationTimer) {
    AnimationStep();
    return true;
  }
  return false;
}

void TTrayIcon::IconMessage(UINT mouseMessage) {
  POINT cursor;
  if (GetCursorPos(&cursor)) cursorPos_ = cursor;
  const int x = cursorPos_.x, y = cursorPos_.y;
  // The callback's first parameter is the icon's identifier, 0: no button or key flags, so the
  // state holds Alt alone, and ssDouble for a double click.
  const TShiftState shift = MouseShiftState(0);
  auto down = [&](TMouseButton button, TShiftState state) {
    if (OnMouseDown) OnMouseDown(this, button, state, x, y);
  };
  auto up = [&](TMouseButton button) {
    if (OnClick) OnClick(this);
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  };
  auto doubleClick = [&](TMouseButton button) {
    if (OnDblClick) OnDblClick(this);
    down(button, shift | ssDouble);
  };
  switch (mouseMessage) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, shift, x, y);
      break;
    case WM_LBUTTONDOWN:
      down(TMouseButton::mbLeft, shift);
      break;
    case WM_LBUTTONUP:
      up(TMouseButton::mbLeft);
      break;
    case WM_LBUTTONDBLCLK:
      doubleClick(TMouseButton::mbLeft);
      break;
    case WM_RBUTTONDOWN:
      down(TMouseButton::mbRight, shift);
      PopupSequence();
      break;
    case WM_RBUTTONUP:
      up(TMouseButton::mbRight);
      break;
    case WM_RBUTTONDBLCLK:
      doubleClick(TMouseButton::mbRight);
      break;
    case WM_MBUTTONDOWN:
      down(TMouseButton::mbMiddle, shift);
      break;
    case WM_MBUTTONUP:
      up(TMouseButton::mbMiddle);
      break;
    case WM_MBUTTONDBLCLK:
      doubleClick(TMouseButton::mbMiddle);
      break;
    default:
      break;
  }
}

void TTrayIcon::PopupSequence() {
  if (!popupMenu_) return;
  if (OnPopUp) OnPopUp(this);
  if (Application) {
    // So that the menu closes when the user clicks elsewhere.
    SetForegroundWindow(Application->Handle());
    Application->ProcessMessages();
  }
  // The handler or the messages may have taken the menu away.
  if (auto* menu = dynamic_cast<IPopupMenu*>(popupMenu_))
    menu->Popup(cursorPos_.x, cursorPos_.y, this);
}

void TTrayIcon::WndProc(TMessage& m) {
  if (OwnerDestroying() || m.Msg != WM_SYSCOMMAND) return TWndProcComponent::WndProc(m);
  if (m.WParam == SC_MINIMIZE) {
    PassOn(m);  // the window minimises
    if (!showMinimizedIcon_) HideToTray();
  } else if (m.WParam == SC_CLOSE && noClose_ && active_) {
    HideToTray();  // instead of closing
    m.Result = 0;
  } else {
    PassOn(m);
  }
}

void TTrayIcon::HideToTray() {
  if (Application) ShowWindow(Application->Handle(), SW_HIDE);
  if (TForm* form = GetOwnerForm()) form->SetVisible(false);
}

// Stored descriptions

void TTrayIcon::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, TTrayTimerMode> timerModes = {
      {"tmGlobalTimer", TTrayTimerMode::tmGlobalTimer},
      {"tmHiTimer", TTrayTimerMode::tmHiTimer},
      {"tmThreaded", TTrayTimerMode::tmThreaded}};
  static const std::map<std::string, TThreadPriority> priorities = {
      {"tpIdle", TThreadPriority::tpIdle},
      {"tpLowest", TThreadPriority::tpLowest},
      {"tpLower", TThreadPriority::tpLower},
      {"tpNormal", TThreadPriority::tpNormal},
      {"tpHigher", TThreadPriority::tpHigher},
      {"tpHighest", TThreadPriority::tpHighest},
      {"tpTimeCritical", TThreadPriority::tpTimeCritical}};
  if (name == "Active") {
    SetActive(BooleanValue(name, value));
  } else if (name == "Hint") {
    SetHint(TextValue(name, value));
  } else if (name == "Icon.Data") {
    icon_.LoadFromData(BinaryValue(name, value));
  } else if (name == "NoClose") {
    SetNoClose(BooleanValue(name, value));
  } else if (name == "ShowMinimizedIcon") {
    SetShowMinimizedIcon(BooleanValue(name, value));
  } else if (name == "Animated") {
    SetAnimated(BooleanValue(name, value));
  } else if (name == "TimerMode") {
    SetTimerMode(EnumValue(name, value, timerModes));
  } else if (name == "ThreadPriority") {
    SetThreadPriority(EnumValue(name, value, priorities));
  } else if (name == "Interval") {
    const int32_t interval = IntegerValue(name, value);
    if (interval < 1 || interval > 0xFFFF) BadValue(name, value);
    SetInterval(static_cast<TTrayTimerInterval>(interval));
  } else {
    TWndProcComponent::SetProperty(name, value);
  }
}

void TTrayIcon::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnPopUp") {
    OnPopUp = EventValue<TNotifyEvent>(name, handler);
  } else if (!SetMouseEvent(name, handler)) {
    TWndProcComponent::SetEvent(name, handler);
  }
}

void TTrayIcon::SetReference(const std::string& name, TComponent* component) {
  if (name == "PopupMenu") {
    SetPopUpMenu(component);
  } else if (name == "ImageList") {
    auto* list = dynamic_cast<TImageList*>(component);
    if (!list) throw EReadError(Name() + ": " + component->Name() + " は画像リストではありません");
    SetImageList(list);
  } else {
    TWndProcComponent::SetReference(name, component);
  }
}

void RegisterTrayClasses() { RegisterComponentClass<TTrayIcon>("TTrayIcon"); }
