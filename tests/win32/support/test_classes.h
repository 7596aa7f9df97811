#pragma once
// Test-only classes that stored descriptions can create (tests/win32/forms/).
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/core/exception.h"
#include "framework/extctrls.h"
#include "framework/forms.h"

// Records what the description reader does to it.
class TRecorder : public TComponent {
 public:
  explicit TRecorder(TComponent* owner) : TComponent(owner) {}

  std::vector<std::string> Log;  // "Number=1", "OnFire", "Buddy=Second", "Loaded"
  bool LoadingDuringProperties = true;
  TComponent* Buddy = nullptr;
  TNotifyEvent OnFire;
  size_t OwnerComponentsAtLoaded = 0;
  bool BuddyKnownAtLoaded = false;

  void SetProperty(const std::string& name, const Value& value) override {
    LoadingDuringProperties = LoadingDuringProperties && Loading();
    if (name == "Number")
      Log.push_back(name + "=" + std::to_string(IntegerValue(name, value)));
    else if (name == "Text")
      Log.push_back(name + "=" + TextValue(name, value));
    else if (name == "Flag")
      Log.push_back(name + "=" + (BooleanValue(name, value) ? "1" : "0"));
    else if (name == "Kind")
      Log.push_back(name + "=" + IdentifierValue(name, value));
    else
      TComponent::SetProperty(name, value);
  }
  void SetEvent(const std::string& name, const TEventHandler& handler) override {
    if (name != "OnFire") return TComponent::SetEvent(name, handler);
    Log.push_back(name);
    OnFire = EventValue<TNotifyEvent>(name, handler);
  }
  void SetReference(const std::string& name, TComponent* component) override {
    if (name != "Buddy") return TComponent::SetReference(name, component);
    Log.push_back(name + "=" + component->Name());
    Buddy = component;
  }
  void Loaded() override {
    TComponent::Loaded();
    Log.push_back("Loaded");
    OwnerComponentsAtLoaded = Owner()->Components().size();
    BuddyKnownAtLoaded = Buddy != nullptr;
  }
};

// A popup menu that records where it was asked to open, and answers one menu command.
class TTestPopupMenu : public TComponent, public IPopupMenu, public IMenuCommandTarget {
 public:
  explicit TTestPopupMenu(TComponent* owner, UINT command = 0)
      : TComponent(owner), command_(command) {}
  struct Request {
    int X, Y;
    TComponent* Invoker;
  };
  std::vector<Request> Popups;
  int Commands = 0;
  void Popup(int x, int y, TComponent* invoker) override { Popups.push_back({x, y, invoker}); }
  bool DispatchCommand(UINT id) override {
    if (id != command_) return false;
    ++Commands;
    return true;
  }

 private:
  UINT command_;
};

// A window read from the description TTestForm.dfm, with handlers that count or fail.
class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    DefineEvent("Fire", [this](TObject*) { ++Fired; });
    DefineEvent("Boom", [this](TObject* sender) {
      ++Booms;
      if (Booms == 1) throw Exception("テストの例外です");
      (void)sender;
    });
    DefineEvent("Other", [this](TObject*) { throw std::runtime_error("not a framework error"); });
    LoadDescription("TTestForm");
  }
  int Fired = 0;
  int Booms = 0;
};
