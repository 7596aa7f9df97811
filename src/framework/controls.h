#pragma once
// Controls: graphic controls (no window of their own; their parent paints them and routes the
// mouse to them) and windowed controls (a window each, with a message dispatch).
#include <vector>

#include "framework/classes.h"
#include "framework/graphics.h"
#include "framework/window.h"

class TWinControl;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crHandPoint = -21;

// How a control takes the mouse.
using TControlStyle = unsigned;
enum : TControlStyle {
  csCaptureMouse = 1,  // the window keeps the mouse while a button is down
  csClickEvents = 2,   // a press and release inside is a Click
  csDoubleClicks = 4,  // a double click is one (DblClick); without, it is two presses
};

// Messages a parent passes back to the child control they concern (WM_COMMAND from a child
// window, the colours of an edit field, ...): CN_BASE plus the message.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// Component messages: what a control tells itself, and its children, when one of its properties
// changes. Each reaches the named handler (CMFontChanged, ...) through the control's dispatch.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
// A button of a group was pressed: WPARAM its group, LPARAM the control. Sent to each control of
// its parent in turn (TWinControl::Broadcast).
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;

// What a control's PopupMenu must do (the popup menu component is one).
class IPopupMenu {
 public:
  // Shows the menu at a screen position for INVOKER, the control it was asked for.
  virtual void Popup(int x, int y, TComponent* invoker) = 0;

 protected:
  ~IPopupMenu() = default;
};

// Components with menu items answer WM_COMMAND's menu commands for the window that owns them.
class IMenuCommandTarget {
 public:
  // True if ID is one of this component's commands (and it has been carried out).
  virtual bool DispatchCommand(UINT id) = 0;

 protected:
  ~IMenuCommandTarget() = default;
};

class TControl : public TComponent, public TMouseEvents {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const {
    ResolveSize();
    return width_;
  }
  int Height() const {
    ResolveSize();
    return height_;
  }
  void SetLeft(int value) { SetBounds(value, top_, Width(), Height()); }
  void SetTop(int value) { SetBounds(left_, value, Width(), Height()); }
  void SetWidth(int value) { SetBounds(left_, top_, value, Height()); }
  void SetHeight(int value) { SetBounds(left_, top_, Width(), value); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {left_, top_, left_ + Width(), top_ + Height()}; }
  RECT ClientRect() const { return {0, 0, Width(), Height()}; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }

  // The control's text (a form's title, a label's or a check box's caption).
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  // The background colour. With ParentColor the control takes its parent's.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  // The font; every change of it reaches the control as CM_FONTCHANGED. With ParentFont the
  // control takes its parent's.
  TFont& Font() { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  // The tooltip text, shown while the pointer rests on the control if ShowHint is set. With
  // ParentShowHint the control takes its parent's ShowHint.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TComponent* PopupMenu() const { return popupMenu_; }
  // MENU must be a popup menu (IPopupMenu) or null.
  void SetPopupMenu(TComponent* menu);
  TControlStyle ControlStyle() const { return controlStyle_; }

  // The whole-pixel scale the control is drawn at: 1 is its stored design, pixel for pixel.
  int Scale() const { return scale_; }
  // Draws the control at SCALE from now on: its size, its own font and, inside a parent, its
  // position follow from their values at the present scale (a top-level window keeps its place
  // on the screen); a windowed control's children follow it.
  virtual void ChangeScale(int scale);

  // Puts the control above its siblings of the same kind.
  virtual void BringToFront();
  // Marks the control's area for repainting / repaints it at once.
  virtual void Invalidate();
  void Repaint();
  // Repaints the control at once (what lies on it too).
  void Refresh();

  // Mouse input in client coordinates, routed here by the parent (or the own window). The base
  // versions raise the events.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();

  // Messages: window messages (windowed controls) and component messages. Perform hands one to
  // the control at once and returns its result.
  LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);
  // Every message of the control comes here; the base passes it to Dispatch.
  virtual void WndProc(TMessage& message);
  // The message dispatch: each known message to its named handler, the rest to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  // What a message nobody handles gets: result 0 (windowed controls: the window's own procedure).
  virtual void DefaultHandler(TMessage& message);

  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;
  void SetReference(const std::string& name, TComponent* component) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Repaints the parent's area under the control (graphic controls).
  void InvalidateParentArea(const RECT& area);

  // Named handlers of the component messages; each base version does the framework's handling.
  virtual void CMEnabledChanged(TMessage& message);
  virtual void CMTextChanged(TMessage& message);
  virtual void CMColorChanged(TMessage& message);
  virtual void CMFontChanged(TMessage& message);
  virtual void CMParentColorChanged(TMessage& message);
  virtual void CMParentFontChanged(TMessage& message);
  // ShowHint or Hint changed: a windowed control updates its tooltip, a graphic one its parent's.
  virtual void HintChanged();
  // A control whose size follows its content (an auto-sized label) may put off working it out
  // until the size is first read or its window first shows: measuring text loads the font, which
  // a window that has never shown (the settings window at start-up) does not need yet. A size
  // given by SetBounds replaces the one put off.
  void SetSizePending() { sizePending_ = true; }
  virtual void ApplyPendingSize() {}
  // The top-level window holding the control has shown at least once.
  bool WindowHasShown() const;

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool sizePending_ = false;
  int scale_ = 1;
  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents;

 private:
  friend class TWinControl;
  // Works out a size put off, on its first reading.
  void ResolveSize() const {
    if (!sizePending_) return;
    auto* self = const_cast<TControl*>(this);
    self->sizePending_ = false;
    self->ApplyPendingSize();
  }
  // Takes the parent's colour, font and ShowHint where the control follows its parent.
  void FollowParent();
  void ApplyShowHint(bool value);

  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  TCursor cursor_ = crDefault;
  std::string caption_;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont font_;
  bool parentFont_ = true;
  bool takingParentFont_ = false;
  std::string hint_;
  bool showHint_ = false, parentShowHint_ = true;
  TComponent* popupMenu_ = nullptr;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
  TCanvas* Canvas() { return &canvas_; }
  // Paints on Canvas(), whose origin is the control's top-left corner, clipped to the control.
  virtual void Paint() {}
  // Whether Paint draws anything now. The parent skips the others: it saves and restores its
  // drawing state around each control's paint, and under Wine every restore reloads the font.
  virtual bool Paints() const { return true; }
  // The parent's paint lends its device context to the control for one call of Paint.
  void PaintOn(HDC dc);

 private:
  TCanvas canvas_;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made on first use (with its parent's, and its siblings' in their order).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Makes an existing window (made elsewhere, of any class) this control's window: its messages
  // come to this control's dispatch, and what the control does not handle goes on to the
  // window's own procedure. The control does not destroy an attached window.
  void Attach(HWND window);
  // Gives an attached window back to its own procedure; returns it.
  HWND Detach();

  // Child controls, bottom of the z-order first.
  const std::vector<TControl*>& Controls() const { return controls_; }
  // The topmost visible child control at a client point, if any.
  TControl* ControlAtPos(POINT point, bool enabledOnly) const;

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool value) override;
  void ChangeScale(int scale) override;
  void BringToFront() override;
  void Invalidate() override;

  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // The place among the parent's windowed controls in the order Tab visits them (0 first); -1
  // without a parent. A value past the end puts the control last.
  int TabOrder() const;
  void SetTabOrder(int value);
  // Gives the window the keyboard focus / whether it has it.
  void SetFocus();
  bool Focused() const;
  // The control and its parents are visible and enabled.
  bool CanFocus() const;
  // The windowed controls inside this one (at any depth) in tab order.
  std::vector<TWinControl*> TabOrderList() const;
  // The control after (or before) CURRENT in tab order that can take the focus (and has TabStop
  // if CHECKTABSTOP), going round; null if none. CURRENT may be null or outside this control.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
  // Moves the focus to that control.
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
  // Hands MESSAGE to each child control in turn, until one sets a result other than 0.
  void Broadcast(TMessage& message);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Every message of the window comes here (the tooltip sees the mouse first); the base passes
  // it to Dispatch.
  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  // The window's own procedure (the native class's, or the platform's default).
  void DefaultHandler(TMessage& message) override;

  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;
  void Loaded() override;

 protected:
  struct CreateParams {
    // The framework registers its own classes under their name, with this class style; a name
    // of a class of the system ("EDIT") makes a window of that class, subclassed.
    std::wstring WinClassName = L"TivoluWindow";
    UINT WindowClassStyle = CS_DBLCLKS;
    DWORD Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    HWND WndParent = nullptr;
    std::wstring Caption;
  };
  virtual void CreateParamsFor(CreateParams& params);
  // Makes the window, then the windows of the windowed controls inside; a hidden top-level
  // window makes theirs only when it first shows, or when one of them is needed (under Wine
  // each window costs its server and the X server, and a window never opened needs none).
  virtual void CreateWnd();
  // Makes this control's window and those of the windowed controls inside, in their order.
  void MakeChildWindows();
  void DestroyHandle();
  // Re-reads the window's style from CreateParamsFor after a change of border or icons.
  void UpdateStyle();

  // Named message handlers; each base version does the framework's handling.
  virtual void WMPaint(TMessage& message);
  virtual void WMEraseBkGnd(TMessage& message);
  virtual void WMSetCursor(TMessage& message);
  virtual void WMNCHitTest(TMessage& message);
  // Presses, releases, double clicks and moves of the mouse, for this control or the graphic
  // child under the pointer.
  virtual void WMMouse(TMessage& message);
  // A control's PopupMenu, at the pointer (or at the control for the menu key).
  virtual void WMContextMenu(TMessage& message);
  // Menu commands go to the owned IMenuCommandTargets; a child window's notification to its
  // control (CN_COMMAND).
  virtual void WMCommand(TMessage& message);
  virtual void WMKeyDown(TMessage& message);
  virtual void WMKeyUp(TMessage& message);
  virtual void WMChar(TMessage& message);
  virtual void WMSetFocus(TMessage& message);
  virtual void WMKillFocus(TMessage& message);
  virtual void WMDropFiles(TMessage& message);
  // The window was moved or sized, by the control or by anyone else (the user dragging it, the
  // system, another program): Left, Top, Width and Height take the window's real values.
  virtual void WMWindowPosChanged(TMessage& message);
  // Messages about a child window (colours, notifications) go to that child's control as
  // CN_BASE + message; a result of 0 from it means "not handled here".
  virtual void WMReflect(TMessage& message);

  void CMEnabledChanged(TMessage& message) override;
  void CMTextChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void HintChanged() override;
  // Whether the control takes the Tab key itself; otherwise Tab and Shift+Tab move the focus.
  virtual bool WantsTab() const { return false; }

  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(wchar_t& key);
  virtual void DoEnter();
  virtual void DoExit();

  // Paints the control's own surface before its graphic children (forms fill their colour).
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc, const RECT& area);

 private:
  friend class TControl;
  friend struct WindowRecord;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  // Makes the tooltip anew for the control's hint and its graphic children's, once its top-level
  // window has shown.
  void UpdateTooltip();
  // The top-level window shows for the first time: its controls' tooltips are made.
  void FirstShown();

  HWND handle_ = nullptr;
  bool ownsHandle_ = false;  // made by CreateWnd (destroyed with the control), not attached
  bool childWindowsMade_ = false;  // since the window was made
  bool tabStop_ = false;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;  // the windowed children in tab order
  int storedTabOrder_ = -1;            // read from a description, applied by the parent's Loaded
  WindowHandle tooltip_;               // while the control shows its hint
  bool shown_ = false;                 // top-level: has shown at least once
  TControl* pressed_ = nullptr;        // the control that took the last button press
  TMouseButton pressedButton_ = TMouseButton::mbLeft;
  bool pressClicks_ = false;  // the press may end in a Click (not the second of a double click)
};

// A windowed control that paints itself on its canvas. Double clicks arrive as double clicks.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  // The surface Paint draws on; outside painting it measures text only.
  TCanvas* Canvas() { return &canvas_; }
  virtual void Paint() {}

 protected:
  void PaintWindow(HDC dc) override;

 private:
  MemoryDC measuring_;  // the canvas's surface outside painting: screen metrics, draws nowhere
  TCanvas canvas_;
};

// The shift state of a mouse message's WPARAM (with Alt from the keyboard) / of the keyboard now.
TShiftState MouseShiftState(WPARAM wparam);
TShiftState KeyboardShiftState();
