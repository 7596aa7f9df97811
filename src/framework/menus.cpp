#include "framework/menus.h"

#include "framework/core/exception.h"

// TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (menu_) menu_->Remove(this);
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::SetProperty(const std::string& name, const Value& value) {
  if (name == "Caption") {
    SetCaption(TextValue(name, value));
  } else {
    TComponent::SetProperty(name, value);
  }
}

void TMenuItem::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnClick") {
    OnClick = EventValue<TNotifyEvent>(name, handler);
  } else {
    TComponent::SetEvent(name, handler);
  }
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  auto* menu = dynamic_cast<TPopupMenu*>(parent);
  if (!menu) return TComponent::SetParentComponent(parent);
  menu->Add(this);
}

// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu() {
  DestroyComponents();
  for (TMenuItem* item : items_) item->menu_ = nullptr;
}

void TPopupMenu::Add(TMenuItem* item) {
  if (item->menu_ == this) return;
  if (item->menu_) item->menu_->Remove(item);
  item->menu_ = this;
  item->command_ = ++lastCommand_;
  items_.push_back(item);
}

void TPopupMenu::Remove(TMenuItem* item) {
  if (item->menu_ != this) return;
  item->menu_ = nullptr;
  std::erase(items_, item);
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (component != popupComponent_) SetReferenceField(popupComponent_, component);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y, TComponent* invoker) {
  SetPopupComponent(invoker);
  Popup(x, y);
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  MenuHandle menu(CreatePopupMenu());
  if (!menu) throw Exception(Name() + ": メニューを作成できません");
  for (const TMenuItem* item : items_) {
    const UINT flags = item->IsLine() ? MF_SEPARATOR : MF_STRING;
    if (!AppendMenuW(menu.Get(), flags, item->command_, Widen(item->caption_).c_str()))
      throw Exception(Name() + ": メニューを作成できません");
  }
  if (!window_)
    window_.emplace([this](TMessage& m) {
      if (m.Msg != WM_COMMAND) return false;
      Command(static_cast<UINT>(m.WParam));
      return true;
    });
  const HWND owner = window_->Handle();
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(
      TrackPopupMenuEx(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                       x, y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (command) PostMessageW(owner, WM_COMMAND, command, 0);
}

void TPopupMenu::Command(UINT command) {
  for (TMenuItem* item : items_) {
    if (item->command_ == command) return item->Click();
  }
}

void TPopupMenu::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnPopup") {
    OnPopup = EventValue<TNotifyEvent>(name, handler);
  } else {
    TComponent::SetEvent(name, handler);
  }
}

bool MenuOpen() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}
