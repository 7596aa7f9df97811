#pragma once
// Controls: graphic controls (no window of their own; their parent paints them and routes the
// mouse to them) and windowed controls (a window each, with a message dispatch).
#include <vector>

#include "framework/classes.h"
#include "framework/graphics.h"
#include "framework/winapi.h"

class TWinControl;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crHandPoint = -21;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// A window message as the dispatch sees it; handlers set Result.
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  RECT ClientRect() const { return {0, 0, width_, height_}; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }
  const std::string& Hint() const { return hint_; }
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* menu);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

  // Puts the control above its siblings of the same kind.
  virtual void BringToFront();
  // Marks the control's area for repainting / repaints it at once.
  virtual void Invalidate();
  void Repaint();

  // Mouse input in client coordinates, routed here by the parent (or the own window).
  virtual void MouseDown(TMouseButton button, int x, int y);
  virtual void MouseUp(TMouseButton button, int x, int y);
  virtual void MouseMove(int x, int y);
  virtual void Click();
  virtual void DblClick();

  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, TNotifyEvent handler) override;
  void SetReference(const std::string& name, TComponent* component) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Repaints the parent's area under the control (graphic controls).
  void InvalidateParentArea(const RECT& area);

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  TCursor cursor_ = crDefault;
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
  // The parent's paint hands its device context to the control for one call of Paint.
  void PaintOn(HDC dc);

 private:
  TCanvas canvas_;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Child controls, bottom of the z-order first.
  const std::vector<TControl*>& Controls() const { return controls_; }
  // The topmost visible child control at a client point, if any.
  TControl* ControlAtPos(POINT point, bool enabledOnly) const;

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool value) override;
  void BringToFront() override;
  void Invalidate() override;

  // The message dispatch: known messages go to their handlers, the rest to DefaultHandler.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

 protected:
  struct CreateParams {
    DWORD Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    HWND WndParent = nullptr;
    std::wstring Caption;
  };
  virtual void CreateParamsFor(CreateParams& params);
  virtual void CreateWnd();
  void DestroyHandle();
  // Re-reads the window's style from CreateParamsFor after a change of border or icons.
  void UpdateStyle();

  virtual void WMPaint(TMessage& message);
  virtual void WMEraseBkGnd(TMessage& message);
  virtual void WMSetCursor(TMessage& message);
  virtual void WMMouse(TMessage& message);
  // Paints the control's own surface before its graphic children (forms fill their colour).
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc, const RECT& area);

 private:
  friend class TControl;
  static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  HWND handle_ = nullptr;
  std::vector<TControl*> controls_;
  TControl* pressed_ = nullptr;  // the control that took the last button press
  TMouseButton pressedButton_ = TMouseButton::mbLeft;
};

// A windowed control that paints itself on its canvas.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
  TCanvas* Canvas() { return &canvas_; }
  virtual void Paint() {}

 protected:
  void PaintWindow(HDC dc) override;

 private:
  TCanvas canvas_;
};
