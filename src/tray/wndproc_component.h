#pragma once
// TWndProcComponent: a non-visual component that takes part in its owner form's window messages
// (a hook on the owner window) and, if asked, in the application window's.
#include "framework/forms.h"

class TWndProcComponent : public TComponent {
 public:
  explicit TWndProcComponent(TComponent* owner);
  // Removes the hooks.
  ~TWndProcComponent() override;

  // Whether the hook is wanted. Turning it on installs it (Init), off does RestoreState.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Whether the application window's messages are also wanted (AppWndProc).
  bool HandleApp() const { return handleApp_; }
  void SetHandleApp(bool value) { handleApp_ = value; }
  // Whether the hook is on the owner window now.
  bool Hooked() const { return ownerHook_.Window() != nullptr; }
  // Whether the owner window has received WM_DESTROY.
  bool OwnerDestroying() const { return destroying_; }

  // The owning form, if the owner is one, and its window (made if it has none yet).
  TForm* GetOwnerForm() const;
  HWND GetOwnerHandle() const;

  // Removes the hook and turns the enabled flag off.
  void SilentRemove();
  // After the base's, Init.
  void Loaded() override;

 protected:
  // The application window's messages while HandleApp is set; the base passes them on.
  virtual void AppWndProc(TMessage& message);
  // Installs the hook if it is wanted and not in place yet.
  virtual void Init();
  // What turning the enabled flag off does besides: nothing here.
  virtual void RestoreState() {}
  // Every message of the owner window comes here first. The base passes it on to the window's
  // previous handling, noting WM_DESTROY first.
  virtual void WndProc(TMessage& message);

  // Installs the hook on the owner window (and on the application window with HandleApp). A
  // window that cannot be hooked leaves the component without a hook; nothing is raised.
  void NewWndProc();
  // Removes the hooks.
  void RestoreWndProc();
  // Gives MESSAGE of the owner window / the application window to the rest of their handling.
  void PassOn(TMessage& message) { ownerHook_.Pass(message); }
  void PassOnApp(TMessage& message) { appHook_.Pass(message); }

 private:
  // Routes a hooked window's messages to one of the component's procedures.
  class Hook : public TWindowHook {
   public:
    using Procedure = void (TWndProcComponent::*)(TMessage&);
    Hook(TWndProcComponent& component, Procedure procedure)
        : component_(component), procedure_(procedure) {}
    void Pass(TMessage& message) { PassOn(message); }

   private:
    void HookMessage(TMessage& message) override { (component_.*procedure_)(message); }
    TWndProcComponent& component_;
    Procedure procedure_;
  };

  Hook ownerHook_{*this, &TWndProcComponent::WndProc};
  Hook appHook_{*this, &TWndProcComponent::AppWndProc};
  bool enabled_ = true;
  bool handleApp_ = false;
  bool destroying_ = false;
};
