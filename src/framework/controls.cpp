#include "framework/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <map>

#include "framework/core/exception.h"
#include "framework/core/scope_exit.h"

// TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this] {
    // A font of its own unless the change came from the parent.
    if (!takingParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
  };
}

TControl::~TControl() {
  DestroyComponents();
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception("コントロールを自身の親にはできません");
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    FollowParent();
  }
}

void TControl::FollowParent() {
  if (!parent_) return;
  Perform(CM_PARENTCOLORCHANGED);
  Perform(CM_PARENTFONTCHANGED);
  if (parentShowHint_) ApplyShowHint(parent_->ShowHint());
}

void TControl::SetBounds(int left, int top, int width, int height) {
  sizePending_ = false;
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
  // The parent's tooltip knows where a graphic control's hint shows.
  if (parent_ && showHint_ && !hint_.empty()) parent_->UpdateTooltip();
}

void TControl::ChangeScale(int scale) {
  if (scale == scale_ || scale < 1) return;
  const int from = scale_;
  scale_ = scale;
  auto scaled = [scale, from](int value) { return MulDiv(value, scale, from); };
  if (parent_) {
    SetBounds(scaled(left_), scaled(top_), scaled(width_), scaled(height_));
  } else {
    SetBounds(left_, top_, scaled(width_), scaled(height_));
  }
  // A font taken from the parent follows the parent's.
  if (!parentFont_ || !parent_) font_.SetHeight(scaled(font_.Height()));
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  InvalidateParentArea(BoundsRect());
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  HintChanged();
}

void TControl::HintChanged() {
  if (parent_) parent_->UpdateTooltip();
}

void TControl::SetShowHint(bool value) {
  parentShowHint_ = false;
  ApplyShowHint(value);
}

void TControl::SetParentShowHint(bool value) {
  if (value == parentShowHint_) return;
  parentShowHint_ = value;
  if (value && parent_) ApplyShowHint(parent_->ShowHint());
}

void TControl::ApplyShowHint(bool value) {
  if (value == showHint_) return;
  showHint_ = value;
  HintChanged();
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage message{msg, wparam, lparam, 0};
  WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& m) { Dispatch(m); }

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_ENABLEDCHANGED:
      return CMEnabledChanged(m);
    case CM_TEXTCHANGED:
      return CMTextChanged(m);
    case CM_COLORCHANGED:
      return CMColorChanged(m);
    case CM_FONTCHANGED:
      return CMFontChanged(m);
    case CM_PARENTCOLORCHANGED:
      return CMParentColorChanged(m);
    case CM_PARENTFONTCHANGED:
      return CMParentFontChanged(m);
    default:
      return DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage& m) { m.Result = 0; }

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMTextChanged(TMessage&) {}

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage&) {
  if (!parentColor_ || !parent_) return;
  SetColor(parent_->Color());
  parentColor_ = true;
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!parentFont_ || !parent_) return;
  takingParentFont_ = true;
  ScopeExit taken([this] { takingParentFont_ = false; });
  font_.Assign(parent_->Font());
}

void TControl::SetPopupMenu(TComponent* menu) {
  if (menu && !dynamic_cast<IPopupMenu*>(menu))
    throw EReadError(Name() + ": " + menu->Name() + " はポップアップメニューではありません");
  SetReferenceField(popupMenu_, menu);
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
  // A size put off belongs to a window that has never shown: nothing of it is on the screen.
  if (visible_ && !sizePending_) InvalidateParentArea(BoundsRect());
}

void TControl::Repaint() {
  Invalidate();
  if (auto* windowed = dynamic_cast<TWinControl*>(this); windowed && windowed->HandleAllocated())
    UpdateWindow(windowed->Handle());
  else if (parent_ && parent_->HandleAllocated())
    UpdateWindow(parent_->Handle());
}

void TControl::Refresh() { Repaint(); }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

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
  } else if (name == "Caption") {
    SetCaption(TextValue(name, value));
  } else if (name == "Color") {
    SetColor(ColorValue(name, value));
  } else if (name == "ParentColor") {
    SetParentColor(BooleanValue(name, value));
  } else if (name == "ParentFont") {
    SetParentFont(BooleanValue(name, value));
  } else if (font_.SetProperty(name, value)) {
  } else if (name == "Hint") {
    SetHint(TextValue(name, value));
  } else if (name == "ShowHint") {
    SetShowHint(BooleanValue(name, value));
  } else if (name == "ParentShowHint") {
    SetParentShowHint(BooleanValue(name, value));
  } else {
    TComponent::SetProperty(name, value);
  }
}

void TControl::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (!SetMouseEvent(name, handler)) TComponent::SetEvent(name, handler);
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
  CanvasLend lend(canvas_, dc);
  Paint();
}

// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyComponents();
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!handle_) {
    // The parent's window first, and its children's in their order (this one among them), so
    // that the children's windows lie in the same order whichever is needed first.
    if (Parent()) Parent()->MakeChildWindows();
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TWinControl::MakeChildWindows() {
  Handle();
  if (childWindowsMade_) return;
  childWindowsMade_ = true;
  for (TWinControl* child : tabList_) child->Handle();
}

void TWinControl::CreateParamsFor(CreateParams& params) {
  if (Parent()) params.WndParent = Parent()->Handle();
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (tabStop_) params.Style |= WS_TABSTOP;
  params.Caption = Widen(Caption());
}

void TWinControl::CreateWnd() {
  CreateParams params;
  CreateParamsFor(params);
  const bool native = IsNativeWindowClass(params.WinClassName);
  if (!native) EnsureWindowClass(params.WinClassName, params.WindowClassStyle);
  // A window of the framework's classes finds its control at WM_NCCREATE; a native one is
  // subclassed once it exists.
  HWND hwnd = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                              params.Style, left_, top_, width_, height_, params.WndParent, nullptr,
                              GetModuleHandleW(nullptr),
                              native ? nullptr : window_core::CreationParam(this));
  if (!hwnd) throw Exception("ウィンドウを作成できません: " + Name());
  ownsHandle_ = true;
  if (native) {
    try {
      Attach(hwnd);
      ownsHandle_ = true;
    } catch (...) {
      DestroyWindow(hwnd);
      throw;
    }
  }
  UpdateTooltip();
  childWindowsMade_ = false;
  if (Parent() || Visible()) MakeChildWindows();
}

void TWinControl::Attach(HWND window) {
  if (window == handle_) return;
  DestroyHandle();
  window_core::AttachControl(window, this);
  handle_ = window;
  ownsHandle_ = false;
}

HWND TWinControl::Detach() {
  HWND window = std::exchange(handle_, nullptr);
  if (window) window_core::DetachControl(window);
  return window;
}

void TWinControl::DestroyHandle() {
  tooltip_.Reset();
  const bool owned = ownsHandle_;
  HWND window = Detach();
  if (window && owned) DestroyWindow(window);
}

void TWinControl::UpdateStyle() {
  if (!handle_) return;
  CreateParams params;
  CreateParamsFor(params);
  LONG_PTR keep = GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE;
  SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(params.Style & ~WS_VISIBLE) | keep);
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(windowed);
    if (handle_ && childWindowsMade_) windowed->Handle();
  } else if (control->ShowHint() && !control->Hint().empty()) {
    UpdateTooltip();
  }
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  control->Invalidate();
  std::erase(controls_, control);
  std::erase(tabList_, control);
  if (pressed_ == control) pressed_ = nullptr;
  control->parent_ = nullptr;
  if (!dynamic_cast<TWinControl*>(control) && control->ShowHint() && !control->Hint().empty())
    UpdateTooltip();
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
  if (value) MakeChildWindows();
  if (value || handle_) ShowWindow(Handle(), value ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::ChangeScale(int scale) {
  if (scale == Scale() || scale < 1) return;
  // The children first: those that take this control's font then fit their size to it.
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) c->ChangeScale(scale);
  TControl::ChangeScale(scale);
}

void TWinControl::BringToFront() {
  TControl::BringToFront();
  // A window with none in front of it is where the raise would put it (a window just made and
  // shown, say); under Wine the raise would still ask Wine's server and the X server.
  if (handle_ && GetWindow(handle_, GW_HWNDPREV))
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  UpdateStyle();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (Loading()) {
    // The siblings stored after this one are not there yet: the parent's Loaded sorts them all.
    storedTabOrder_ = value;
    return;
  }
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  std::erase(list, this);
  const int count = static_cast<int>(list.size());
  list.insert(list.begin() + (value < 0 || value > count ? count : value), this);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Children read with this control take their stored places; the others keep theirs.
  std::vector<std::pair<int, TWinControl*>> order;
  for (size_t i = 0; i < tabList_.size(); ++i) {
    TWinControl* child = tabList_[i];
    order.emplace_back(child->storedTabOrder_ >= 0 ? child->storedTabOrder_ : static_cast<int>(i),
                       child);
    child->storedTabOrder_ = -1;
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < order.size(); ++i) tabList_[i] = order[i].second;
  // Read without its parent being read: its place is taken now.
  if (storedTabOrder_ >= 0) SetTabOrder(std::exchange(storedTabOrder_, -1));
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
  std::vector<TWinControl*> list;
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    const std::vector<TWinControl*> inner = child->TabOrderList();
    list.insert(list.end(), inner.begin(), inner.end());
  }
  return list;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
  const std::vector<TWinControl*> list = TabOrderList();
  const int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == count) start = forward ? count - 1 : 0;
  int i = start;
  do {
    i = forward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* candidate = list[i];
    if (candidate != current && candidate->CanFocus() && (!checkTabStop || candidate->TabStop()))
      return candidate;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

void TWinControl::Broadcast(TMessage& m) {
  // A control may leave during the round: only those still here hear the message.
  const std::vector<TControl*> controls = controls_;
  for (TControl* c : controls) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    c->WndProc(m);
    if (m.Result) return;
  }
}

void TWinControl::WndProc(TMessage& m) {
  if (tooltip_ && m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    const DWORD pos = GetMessagePos();
    MSG relayed{handle_,
                m.Msg,
                m.WParam,
                m.LParam,
                static_cast<DWORD>(GetMessageTime()),
                {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))}};
    SendMessageW(tooltip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  Dispatch(m);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return WMPaint(m);
    case WM_ERASEBKGND:
      return WMEraseBkGnd(m);
    case WM_SETCURSOR:
      return WMSetCursor(m);
    case WM_NCHITTEST:
      return WMNCHitTest(m);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      return WMMouse(m);
    case WM_CONTEXTMENU:
      return WMContextMenu(m);
    case WM_COMMAND:
      return WMCommand(m);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return WMKeyDown(m);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return WMKeyUp(m);
    case WM_CHAR:
      return WMChar(m);
    case WM_SETFOCUS:
      return WMSetFocus(m);
    case WM_KILLFOCUS:
      return WMKillFocus(m);
    case WM_DROPFILES:
      return WMDropFiles(m);
    case WM_WINDOWPOSCHANGED:
      return WMWindowPosChanged(m);
    case WM_SHOWWINDOW:
      // Shown by the platform's call rather than through Visible: the children's windows first.
      if (m.WParam) MakeChildWindows();
      return TControl::Dispatch(m);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_NOTIFY:
      return WMReflect(m);
    default:
      return TControl::Dispatch(m);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  // Component messages to a control without a window end here.
  if (!handle_) {
    m.Result = 0;
    return;
  }
  window_core::CallPrevious(handle_, m);
}

void TWinControl::CMEnabledChanged(TMessage& m) {
  if (!Enabled() && Focused()) {
    // A disabled window keeps no focus: it goes to the window the control lies on.
    HWND top = GetAncestor(handle_, GA_ROOT);
    ::SetFocus(top != handle_ ? top : nullptr);
  }
  if (handle_) EnableWindow(handle_, Enabled());
  TControl::CMEnabledChanged(m);
}

void TWinControl::CMTextChanged(TMessage& m) {
  if (handle_) SetWindowTextW(handle_, Widen(Caption()).c_str());
  TControl::CMTextChanged(m);
}

void TWinControl::CMColorChanged(TMessage& m) {
  TControl::CMColorChanged(m);
  TMessage notice{CM_PARENTCOLORCHANGED, 0, 0, 0};
  Broadcast(notice);
}

void TWinControl::CMFontChanged(TMessage& m) {
  TControl::CMFontChanged(m);
  TMessage notice{CM_PARENTFONTCHANGED, 0, 0, 0};
  Broadcast(notice);
}

void TWinControl::HintChanged() {
  UpdateTooltip();
  for (TControl* c : controls_)
    if (c->parentShowHint_) c->ApplyShowHint(ShowHint());
}

namespace {

bool CommonControlsReady() {
  static const bool ready = [] {
    using Initialize = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initialize = SystemFunction<Initialize>(L"comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    return initialize && initialize(&classes) != FALSE;
  }();
  return ready;
}

}  // namespace

void TWinControl::UpdateTooltip() {
  // One tooltip per window: the control's own hint (the whole window, tool id its handle) and
  // those of its graphic children (their bounds, tool id the child).
  std::vector<TControl*> tools;
  if (handle_) {
    if (ShowHint() && !Hint().empty()) tools.push_back(this);
    for (TControl* c : controls_)
      if (dynamic_cast<TGraphicControl*>(c) && c->ShowHint() && !c->Hint().empty())
        tools.push_back(c);
  }
  tooltip_.Reset();
  // A window that has never shown (the settings window at start-up) needs no tooltips yet: each is
  // a top-level window of its own, and under Wine every one costs start-up time and memory.
  if (tools.empty() || !WindowHasShown() || !CommonControlsReady()) return;
  tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  // Without a tooltip the control works as before; only its hints are not shown.
  if (!tooltip_) return;
  for (TControl* c : tools) {
    std::wstring text = Widen(c->Hint());
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
    tool.hwnd = handle_;
    tool.lpszText = text.data();
    if (c == this) {
      tool.uFlags = TTF_IDISHWND;
      tool.uId = reinterpret_cast<UINT_PTR>(handle_);
    } else {
      tool.uId = reinterpret_cast<UINT_PTR>(c);
      tool.rect = c->BoundsRect();
    }
    SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

bool TControl::WindowHasShown() const {
  const TControl* control = this;
  while (control->Parent()) control = control->Parent();
  const auto* top = dynamic_cast<const TWinControl*>(control);
  return top && (top->shown_ || (top->handle_ && IsWindowVisible(top->handle_)));
}

void TWinControl::FirstShown() {
  for (TControl* c : controls_) c->ResolveSize();
  UpdateTooltip();
  for (TWinControl* child : tabList_) child->FirstShown();
}

void TWinControl::WMPaint(TMessage& m) {
  PaintScope paint(handle_);
  {
    SavedDC saved(paint.Dc());
    PaintWindow(paint.Dc());
  }
  PaintControls(paint.Dc(), paint.Area());
  m.Result = 0;
}

void TWinControl::WMEraseBkGnd(TMessage& m) { m.Result = 1; }

void TWinControl::WMNCHitTest(TMessage& m) { DefaultHandler(m); }

void TWinControl::PaintWindow(HDC) {}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  // In the parent's client coordinates for a child window, on the screen for a top-level one:
  // the coordinates of Left and Top.
  const auto& place = *reinterpret_cast<const WINDOWPOS*>(m.LParam);
  if ((place.flags & SWP_SHOWWINDOW) && !Parent() && !shown_) {
    shown_ = true;
    FirstShown();
  }
  if (!(place.flags & SWP_NOMOVE)) {
    left_ = place.x;
    top_ = place.y;
  }
  if (!(place.flags & SWP_NOSIZE)) {
    width_ = place.cx;
    height_ = place.cy;
  }
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, const RECT& area) {
  for (TControl* c : controls_) {
    auto* graphic = dynamic_cast<TGraphicControl*>(c);
    RECT bounds = c->BoundsRect(), common;
    if (!graphic || !c->Visible() || !graphic->Paints() || !IntersectRect(&common, &bounds, &area))
      continue;
    SavedDC saved(dc);
    SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    graphic->PaintOn(dc);
  }
}

void TWinControl::WMSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) == HTCLIENT) {
    POINT p;
    if (GetCursorPos(&p)) {
      ScreenToClient(handle_, &p);
      TControl* c = ControlAtPos(p, false);
      TCursor cursor = c ? c->Cursor() : Cursor();
      if (cursor != crDefault) {
        ::SetCursor(LoadCursor(nullptr, cursor == crHandPoint ? IDC_HAND : IDC_ARROW));
        m.Result = TRUE;
        return;
      }
    }
  }
  DefaultHandler(m);
}

namespace {

TMouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return TMouseButton::mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return TMouseButton::mbMiddle;
    default:
      return TMouseButton::mbLeft;
  }
}

}  // namespace

TShiftState KeyboardShiftState() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

TShiftState MouseShiftState(WPARAM wparam) {
  TShiftState shift = 0;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if (wparam & MK_SHIFT) shift |= ssShift;
  if (wparam & MK_CONTROL) shift |= ssCtrl;
  if (wparam & MK_LBUTTON) shift |= ssLeft;
  if (wparam & MK_RBUTTON) shift |= ssRight;
  if (wparam & MK_MBUTTON) shift |= ssMiddle;
  return shift;
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
  const TMouseButton button = ButtonOf(m.Msg);
  TShiftState shift = MouseShiftState(m.WParam);
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      TControl* c = pressed_ ? pressed_ : at();
      POINT q = local(c);
      c->MouseMove(shift, q.x, q.y);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
      // The press is remembered until the release; nothing else cancels it, so a capture taken
      // and released in between (as the walkers do on every tick) does not lose the click.
      pressed_ = at();
      pressedButton_ = button;
      const bool dblClick =
          (m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK) &&
          (pressed_->ControlStyle() & csDoubleClicks);
      // A control without double clicks takes the second press of one as a plain press.
      pressClicks_ = !dblClick && (pressed_->ControlStyle() & csClickEvents);
      if (pressed_->ControlStyle() & csCaptureMouse) SetCapture(handle_);
      POINT q = local(pressed_);
      if (dblClick) {
        shift |= ssDouble;
        if (button == TMouseButton::mbLeft) pressed_->DblClick();
      }
      // DblClick may have taken the control away.
      if (pressed_) pressed_->MouseDown(button, shift, q.x, q.y);
      break;
    }
    default: {  // a button released
      TControl* c = pressed_ ? pressed_ : at();
      bool click = pressed_ == c && pressedButton_ == button && pressClicks_;
      pressed_ = nullptr;
      if (GetCapture() == handle_) ReleaseCapture();
      POINT q = local(c);
      RECT client = c->ClientRect();
      if (click && button == TMouseButton::mbLeft && PtInRect(&client, q)) c->Click();
      c->MouseUp(button, shift, q.x, q.y);
      break;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMContextMenu(TMessage& m) {
  POINT screen{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  TControl* target = this;
  if (screen.x == -1 && screen.y == -1) {
    // The menu key: the menu opens at the control's top-left corner.
    screen = {0, 0};
    ClientToScreen(handle_, &screen);
  } else {
    POINT client = screen;
    ScreenToClient(handle_, &client);
    RECT area = ClientRect();
    if (!PtInRect(&area, client)) return DefaultHandler(m);  // on the frame or caption
    if (TControl* c = ControlAtPos(client, false); c && c->PopupMenu()) target = c;
  }
  if (auto* menu = dynamic_cast<IPopupMenu*>(target->PopupMenu())) {
    menu->Popup(screen.x, screen.y, target);
    m.Result = 1;
    return;
  }
  // No menu here: the parent window may have one.
  DefaultHandler(m);
}

void TWinControl::WMCommand(TMessage& m) {
  if (m.LParam) return WMReflect(m);
  // A menu command: the window's menus are among the components it owns.
  for (TComponent* c : Components()) {
    auto* target = dynamic_cast<IMenuCommandTarget*>(c);
    if (target && target->DispatchCommand(LOWORD(m.WParam))) {
      m.Result = 0;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMReflect(TMessage& m) {
  HWND child = m.Msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom
                                  : reinterpret_cast<HWND>(m.LParam);
  TWinControl* control = window_core::ControlOf(child);
  if (control && control != this) {
    TMessage reflected{CN_BASE + m.Msg, m.WParam, m.LParam, 0};
    control->WndProc(reflected);
    if (reflected.Result) {
      m.Result = reflected.Result;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMKeyDown(TMessage& m) {
  auto key = static_cast<uint16_t>(m.WParam);
  const TShiftState shift = KeyboardShiftState();
  KeyDown(key, shift);
  m.WParam = key;
  if (key == 0) return;
  if (key == VK_TAB && m.Msg == WM_KEYDOWN && !WantsTab() && !(shift & (ssCtrl | ssAlt))) {
    // Tab and Shift+Tab go round the window's controls in tab order.
    TWinControl* top = this;
    while (top->Parent()) top = top->Parent();
    top->SelectNext(this, !(shift & ssShift), true);
    m.Result = 0;
    return;
  }
  DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m) {
  auto key = static_cast<uint16_t>(m.WParam);
  KeyUp(key, KeyboardShiftState());
  // A key taken away by the handler reaches nobody after it, not even the control's own handling.
  m.WParam = key;
  if (key == 0) return;
  DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m) {
  // The Tab that moved the focus is no character.
  if (m.WParam == L'\t' && !WantsTab()) return;
  auto key = static_cast<wchar_t>(m.WParam);
  KeyPress(key);
  if (key == 0) return;
  m.WParam = key;
  DefaultHandler(m);
}

void TWinControl::WMSetFocus(TMessage& m) {
  DefaultHandler(m);
  DoEnter();
}

void TWinControl::WMKillFocus(TMessage& m) {
  DefaultHandler(m);
  DoExit();
}

void TWinControl::WMDropFiles(TMessage& m) { DefaultHandler(m); }

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::SetProperty(const std::string& name, const Value& value) {
  if (name == "TabStop") {
    SetTabStop(BooleanValue(name, value));
  } else if (name == "TabOrder") {
    SetTabOrder(IntegerValue(name, value));
  } else {
    TControl::SetProperty(name, value);
  }
}

void TWinControl::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnKeyDown") {
    OnKeyDown = EventValue<TKeyEvent>(name, handler);
  } else if (name == "OnKeyUp") {
    OnKeyUp = EventValue<TKeyEvent>(name, handler);
  } else if (name == "OnKeyPress") {
    OnKeyPress = EventValue<TKeyPressEvent>(name, handler);
  } else if (name == "OnEnter") {
    OnEnter = EventValue<TNotifyEvent>(name, handler);
  } else if (name == "OnExit") {
    OnExit = EventValue<TNotifyEvent>(name, handler);
  } else {
    TControl::SetEvent(name, handler);
  }
}

// TCustomControl

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), measuring_(CreateCompatibleDC(nullptr)) {
  controlStyle_ |= csDoubleClicks;
  canvas_.SetHandle(measuring_.Get());
}

void TCustomControl::PaintWindow(HDC dc) {
  CanvasLend lend(canvas_, dc);
  Paint();
}
