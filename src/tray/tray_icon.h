#pragma once
// TTrayIcon: an icon in the notification area of the task bar. While active it hides the
// application's task-bar button, turns mouse activity on the icon into events and opens its
// popup menu on a right press. Through the owner-window hook of its base it can send the owner
// form to the tray when minimised (ShowMinimizedIcon false) or closed (NoClose true).
#include <cstdint>
#include <optional>
#include <string>

#include "framework/graphics.h"
#include "framework/imglist.h"
#include "tray/wndproc_component.h"

enum class TTrayTimerMode { tmGlobalTimer, tmHiTimer, tmThreaded };
enum class TThreadPriority {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical
};
using TTrayTimerInterval = uint16_t;  // 1 to 65535 milliseconds

class TTrayIcon : public TWndProcComponent, public TMouseEvents {
 public:
  // The message the shell sends the hidden window about the icon.
  static constexpr UINT kCallbackMessage = WM_USER + 101;
  // The icon's requests to the shell go through here (tests listen in).
  inline static BOOL(WINAPI* ShellNotifyIcon)(DWORD, PNOTIFYICONDATAW) = Shell_NotifyIconW;

  explicit TTrayIcon(TComponent* owner);
  // Stops the animation, removes the icon from the notification area and the hook.
  ~TTrayIcon() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  TIcon* Icon() { return &icon_; }
  // Copies ICON's picture.
  void SetIcon(const TIcon* icon) { icon_.Assign(icon); }
  bool NoClose() const { return noClose_; }
  void SetNoClose(bool value) { noClose_ = value; }
  bool ShowMinimizedIcon() const { return showMinimizedIcon_; }
  void SetShowMinimizedIcon(bool value) { showMinimizedIcon_ = value; }
  // A popup menu (IPopupMenu) or null; cleared when the menu is freed.
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopUpMenu(TComponent* menu);
  TImageList* ImageList() const { return imageList_; }
  void SetImageList(TImageList* list);
  bool Animated() const { return animated_; }
  void SetAnimated(bool value);
  TTrayTimerMode TimerMode() const { return timerMode_; }
  void SetTimerMode(TTrayTimerMode value);
  TThreadPriority ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(TThreadPriority value) { threadPriority_ = value; }
  TTrayTimerInterval Interval() const { return interval_; }
  void SetInterval(TTrayTimerInterval value);
  // The next picture of the animation.
  int AnimationFrame() const { return frame_; }
  // The screen position of the cursor at the last icon message.
  POINT CursorPos() const { return cursorPos_; }
  // The hidden window that receives the icon's messages.
  HWND WindowHandle() const { return window_ ? window_->Handle() : nullptr; }

  // Events besides the mouse events (whose positions are in screen coordinates): the right press
  // is about to open PopupMenu.
  TNotifyEvent OnPopUp;

  // Sends the registration record to the shell: NIM_ADD, NIM_MODIFY or NIM_DELETE.
  void NotifyIcon(DWORD request);
  // The registration record as NotifyIcon sends it, with ICON as the picture.
  NOTIFYICONDATAW Registration(HICON icon) const;

  void Loaded() override;
  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;
  void SetReference(const std::string& name, TComponent* component) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // The owner window's messages: minimise and close may send the form to the tray.
  void WndProc(TMessage& message) override;

 private:
  using TWndProcComponent::NewWndProc;
  // The hidden window's messages: the icon's, "TaskbarCreated" and the animation timer's.
  bool NewWndProc(TMessage& message);
  void IconMessage(UINT mouseMessage);
  void PopupSequence();
  void IconChanged();
  // Sends the owner form and the task-bar button away, leaving only the icon.
  void HideToTray();
  // With tmGlobalTimer the interval becomes a multiple of 50.
  void PrepareAnimation();
  // Runs the animation timer while Active and Animated.
  void StartAnimation();
  void StopAnimation();
  void AnimationStep();
  // Sends the registration record with ICON.
  void Notify(DWORD request, HICON icon);

  bool active_ = true;
  bool animated_ = false;
  bool noClose_ = false;
  bool showMinimizedIcon_ = false;
  std::string hint_;
  TIcon icon_;
  IconHandle shellIcon_;  // the picture at the shell's size, on a screen of more than 96 DPI
  POINT cursorPos_{0, 0};
  TComponent* popupMenu_ = nullptr;
  TImageList* imageList_ = nullptr;
  TChangeLink imageListLink_;
  TTrayTimerMode timerMode_ = TTrayTimerMode::tmGlobalTimer;
  TThreadPriority threadPriority_ = TThreadPriority::tpNormal;
  TTrayTimerInterval interval_ = 200;
  int frame_ = 0;
  UINT taskbarCreated_ = 0;
  // A top-level window: message-only windows hear no broadcasts such as "TaskbarCreated".
  std::optional<HiddenWindow> window_;
};

void RegisterTrayClasses();
