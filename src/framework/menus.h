#pragma once
// Popup menus from stored descriptions: TPopupMenu and its items, TMenuItem.
#include <optional>
#include <string>
#include <vector>

#include "framework/controls.h"

class TPopupMenu;

// One command of a popup menu. A caption of a single "-" makes a separator line; "&" marks the
// letter that picks the item from the keyboard ("&&" shows one "&").
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  bool IsLine() const { return caption_ == "-"; }
  // The menu the item belongs to, if any.
  TPopupMenu* Menu() const { return menu_; }

  TNotifyEvent OnClick;
  // What choosing the item does: OnClick.
  virtual void Click();

  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;
  // Stored inside a popup menu, the item is one of its items.
  void SetParentComponent(TComponent* parent) override;

 private:
  friend class TPopupMenu;
  std::string caption_;
  TPopupMenu* menu_ = nullptr;
  UINT command_ = 0;  // the item's command in its menu
};

class TPopupMenu : public TComponent, public IPopupMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  const std::vector<TMenuItem*>& Items() const { return items_; }
  // Appends ITEM (leaving any menu it was in) / takes it out.
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);

  // The component the menu was last opened for; cleared when that component is freed.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component);

  TNotifyEvent OnPopup;

  // Opens the menu at a screen point and returns once it is closed: OnPopup first, then the
  // menu. The chosen item's Click runs later, from the message loop, once the menu's own loop is
  // over, so it may show a modal window. The platform's rules for menus that are not a window's
  // own are kept: the menu's window comes to the foreground before (so a click elsewhere closes
  // the menu) and is sent a null message after.
  void Popup(int x, int y);
  // For a control's or the tray icon's PopupMenu: INVOKER becomes the PopupComponent.
  void Popup(int x, int y, TComponent* invoker) override;
  // The window that owns the open menu and receives the chosen command; null until the first
  // popup.
  HWND WindowHandle() const { return window_ ? window_->Handle() : nullptr; }

  void SetEvent(const std::string& name, const TEventHandler& handler) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Runs the item of COMMAND, if it is still in the menu.
  void Command(UINT command);

  // Made at the first popup: a menu that never opens (every character's, at start-up) costs no
  // top-level window, which under Wine costs start-up time and memory.
  std::optional<HiddenWindow> window_;
  std::vector<TMenuItem*> items_;
  TComponent* popupComponent_ = nullptr;
  UINT lastCommand_ = 0;
};

// Whether this thread is inside a menu's own loop (a menu is open).
bool MenuOpen();
