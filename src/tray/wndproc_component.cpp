#include "tray/wndproc_component.h"

#include "framework/core/exception.h"

TWndProcComponent::TWndProcComponent(TComponent* owner) : TComponent(owner) {}

TWndProcComponent::~TWndProcComponent() { RestoreWndProc(); }

void TWndProcComponent::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (value)
    Init();
  else
    RestoreState();
}

TForm* TWndProcComponent::GetOwnerForm() const { return dynamic_cast<TForm*>(Owner()); }

HWND TWndProcComponent::GetOwnerHandle() const {
  TForm* form = GetOwnerForm();
  return form ? form->Handle() : nullptr;
}

void TWndProcComponent::Init() {
  if (enabled_ && !Hooked()) NewWndProc();
}

void TWndProcComponent::NewWndProc() {
  if (Hooked()) return;
  try {
    const HWND owner = GetOwnerHandle();
    if (!owner) return;
    destroying_ = false;
    if (handleApp_ && Application) appHook_.Join(Application->Handle());
    ownerHook_.Join(owner);
  } catch (const Exception&) {
    // A window that cannot be hooked (or made): the component goes on without a hook.
    RestoreWndProc();
  }
}

void TWndProcComponent::RestoreWndProc() {
  ownerHook_.Leave();
  appHook_.Leave();
  destroying_ = false;
}

void TWndProcComponent::SilentRemove() {
  RestoreWndProc();
  enabled_ = false;
}

void TWndProcComponent::Loaded() {
  TComponent::Loaded();
  Init();
}

void TWndProcComponent::WndProc(TMessage& message) {
  if (message.Msg == WM_DESTROY) destroying_ = true;
  PassOn(message);
}

void TWndProcComponent::AppWndProc(TMessage& message) { PassOnApp(message); }
