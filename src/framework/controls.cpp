#include "framework/controls.h"

#include <algorithm>
#include <map>

#include "framework/core/exception.h"
#include "framework/forms.h"

// TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  DestroyComponents();
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception("コントロールを自身の親にはできません");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  RECT old = BoundsRect();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (visible_) {
    InvalidateParentArea(old);
    InvalidateParentArea(BoundsRect());
  }
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  InvalidateParentArea(BoundsRect());
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Invalidate();
}

void TControl::SetPopupMenu(TComponent* menu) {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::InvalidateParentArea(const RECT& area) {
  if (parent_ && parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), &area, FALSE);
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end() || it == list.end() - 1) return;
  list.erase(it);
  list.push_back(this);
  if (visible_) Invalidate();
}

void TControl::Invalidate() {
  if (visible_) InvalidateParentArea(BoundsRect());
}

void TControl::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::MouseDown(TMouseButton, int, int) {}
void TControl::MouseUp(TMouseButton, int, int) {}
void TControl::MouseMove(int, int) {}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::SetProperty(const std::string& name, const Value& value) {
  static const std::map<std::string, TCursor> cursors = {
      {"crDefault", crDefault}, {"crArrow", crArrow}, {"crHandPoint", crHandPoint}};
  if (name == "Left") {
    SetLeft(IntegerValue(name, value));
  } else if (name == "Top") {
    SetTop(IntegerValue(name, value));
  } else if (name == "Width") {
    SetWidth(IntegerValue(name, value));
  } else if (name == "Height") {
    SetHeight(IntegerValue(name, value));
  } else if (name == "Visible") {
    SetVisible(BooleanValue(name, value));
  } else if (name == "Enabled") {
    SetEnabled(BooleanValue(name, value));
  } else if (name == "Cursor") {
    SetCursor(EnumValue(name, value, cursors));
  } else if (name == "Hint") {
    hint_ = TextValue(name, value);
  } else if (name == "ShowHint") {
    showHint_ = BooleanValue(name, value);
  } else if (name == "ParentShowHint") {
    parentShowHint_ = BooleanValue(name, value);
  } else {
    TComponent::SetProperty(name, value);
  }
}

void TControl::SetEvent(const std::string& name, TNotifyEvent handler) {
  if (name == "OnClick") {
    OnClick = std::move(handler);
  } else if (name == "OnDblClick") {
    OnDblClick = std::move(handler);
  } else {
    TComponent::SetEvent(name, std::move(handler));
  }
}

void TControl::SetReference(const std::string& name, TComponent* component) {
  if (name == "PopupMenu") {
    SetPopupMenu(component);
  } else {
    TComponent::SetReference(name, component);
  }
}

// TGraphicControl

void TGraphicControl::PaintOn(HDC dc) {
  canvas_.SetHandle(dc);
  Paint();
  canvas_.SetHandle(nullptr);
}

// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyComponents();
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!handle_) CreateWnd();
  return handle_;
}

void TWinControl::CreateParamsFor(CreateParams& params) {
  if (Parent()) params.WndParent = Parent()->Handle();
  if (Visible()) params.Style |= WS_VISIBLE;
}

void TWinControl::CreateWnd() {
  EnsureWindowClass(L"TivoluWindow", StdWndProc);
  CreateParams params;
  CreateParamsFor(params);
  HWND hwnd = CreateWindowExW(params.ExStyle, L"TivoluWindow", params.Caption.c_str(), params.Style,
                              left_, top_, width_, height_, params.WndParent, nullptr,
                              GetModuleHandleW(nullptr), this);
  if (!hwnd) throw Exception("ウィンドウを作成できません: " + Name());
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  HWND hwnd = handle_;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  handle_ = nullptr;
  DestroyWindow(hwnd);
}

void TWinControl::UpdateStyle() {
  if (!handle_) return;
  CreateParams params;
  CreateParamsFor(params);
  DWORD keep = GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE;
  SetWindowLongW(handle_, GWL_STYLE, static_cast<LONG>((params.Style & ~WS_VISIBLE) | keep));
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  control->Invalidate();
  std::erase(controls_, control);
  if (pressed_ == control) pressed_ = nullptr;
  control->parent_ = nullptr;
}

TControl* TWinControl::ControlAtPos(POINT point, bool enabledOnly) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!dynamic_cast<TGraphicControl*>(c) || !c->Visible() || (enabledOnly && !c->Enabled()))
      continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, point)) return c;
  }
  return nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool moved = left != left_ || top != top_;
  bool sized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_) {
    UINT flags =
        SWP_NOZORDER | SWP_NOACTIVATE | (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
    SetWindowPos(handle_, nullptr, left, top, width, height, flags);
  }
}

void TWinControl::SetVisible(bool value) {
  if (value == Visible()) return;
  TControl::SetVisible(value);
  if (value || handle_) ShowWindow(Handle(), value ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::BringToFront() {
  TControl::BringToFront();
  if (handle_)
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  // Exceptions must not unwind through Windows' own frames: they stop here and are shown.
  try {
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!control && msg == WM_NCCREATE) {
      control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
      control->handle_ = hwnd;
    }
    if (!control) return DefWindowProcW(hwnd, msg, wparam, lparam);
    TMessage message{msg, wparam, lparam, 0};
    control->WndProc(message);
    return message.Result;
  } catch (...) {
    if (Application) Application->HandleException(std::current_exception());
    return 0;
  }
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      WMPaint(m);
      break;
    case WM_ERASEBKGND:
      WMEraseBkGnd(m);
      break;
    case WM_SETCURSOR:
      WMSetCursor(m);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      WMMouse(m);
      break;
    default:
      DefaultHandler(m);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WMPaint(TMessage& m) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  int saved = SaveDC(dc);
  PaintWindow(dc);
  RestoreDC(dc, saved);
  PaintControls(dc, ps.rcPaint);
  EndPaint(handle_, &ps);
  m.Result = 0;
}

void TWinControl::WMEraseBkGnd(TMessage& m) { m.Result = 1; }

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, const RECT& area) {
  for (TControl* c : controls_) {
    auto* graphic = dynamic_cast<TGraphicControl*>(c);
    RECT bounds = c->BoundsRect(), common;
    if (!graphic || !c->Visible() || !IntersectRect(&common, &bounds, &area)) continue;
    int saved = SaveDC(dc);
    SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    graphic->PaintOn(dc);
    RestoreDC(dc, saved);
  }
}

void TWinControl::WMSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) == HTCLIENT) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(handle_, &p);
    TControl* c = ControlAtPos(p, false);
    TCursor cursor = c ? c->Cursor() : Cursor();
    if (cursor != crDefault) {
      ::SetCursor(LoadCursor(nullptr, cursor == crHandPoint ? IDC_HAND : IDC_ARROW));
      m.Result = TRUE;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMMouse(TMessage& m) {
  POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  auto local = [&](TControl* c) -> POINT {
    return c == this ? p : POINT{p.x - c->Left(), p.y - c->Top()};
  };
  auto at = [&]() -> TControl* {
    TControl* c = ControlAtPos(p, true);
    return c ? c : this;
  };
  TMouseButton button = TMouseButton::mbLeft;
  switch (m.Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      button = TMouseButton::mbRight;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      button = TMouseButton::mbMiddle;
      break;
  }
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      TControl* c = pressed_ ? pressed_ : at();
      POINT q = local(c);
      c->MouseMove(q.x, q.y);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: {
      // The press is remembered until the release; nothing else cancels it, so a capture taken
      // and released in between (as the walkers do on every tick) does not lose the click.
      pressed_ = at();
      pressedButton_ = button;
      SetCapture(handle_);
      POINT q = local(pressed_);
      pressed_->MouseDown(button, q.x, q.y);
      break;
    }
    default: {  // a button released
      TControl* c = pressed_ ? pressed_ : at();
      bool click = pressed_ == c && pressedButton_ == button;
      pressed_ = nullptr;
      if (GetCapture() == handle_) ReleaseCapture();
      POINT q = local(c);
      c->MouseUp(button, q.x, q.y);
      RECT client = c->ClientRect();
      if (click && button == TMouseButton::mbLeft && PtInRect(&client, q)) c->Click();
      break;
    }
  }
  DefaultHandler(m);
}

// TCustomControl

void TCustomControl::PaintWindow(HDC dc) {
  canvas_.SetHandle(dc);
  Paint();
  canvas_.SetHandle(nullptr);
}
