#pragma once
// Components: ownership, names, loading state, free notification, the class registry, and the
// property interface through which stored window descriptions reach a component.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "framework/core/description.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

// Events. A plain event carries its sender only; one with arguments carries them as parameters
// after the sender, by value, except those its handler may change (a key), by reference.
using TNotifyEvent = std::function<void(TObject* sender)>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// Which modifier keys and mouse buttons were down, and ssDouble for the second press of a double
// click.
using TShiftState = unsigned;
enum : TShiftState {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
// Positions are in the client coordinates of the control that raises the event.
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// A virtual-key code; a handler that sets it to 0 takes the key away from the control.
using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, TShiftState shift)>;
// A typed character; 0 takes it away.
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;

// A window's event handler as stored descriptions find it by name: one of the event types.
using TEventHandler = std::variant<std::monostate, TNotifyEvent, TMouseEvent, TMouseMoveEvent,
                                   TKeyEvent, TKeyPressEvent>;

// The mouse events that controls and the tray icon publish.
struct TMouseEvents {
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  // Takes the handler of the stored event NAME; false if NAME is not one of these.
  bool SetMouseEvent(const std::string& name, const TEventHandler& handler);
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  // Owned components in stored order, then creation order.
  const std::vector<TComponent*>& Components() const { return components_; }
  TComponent* FindComponent(const std::string& name) const;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // True while a stored description is being read into the component.
  bool Loading() const { return loading_; }
  bool Destroying() const { return destroying_; }
  void BeginLoading() { loading_ = true; }
  // Called once the whole window holding the component has been read.
  virtual void Loaded();

  // Asks to be told (Notification with opRemove) when COMPONENT is destroyed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Stored descriptions: a plain value, an event handler, a reference to another component.
  // Each class handles its own names and passes the rest to its base; unknown names end in
  // TComponent, which raises EReadError.
  virtual void SetProperty(const std::string& name, const Value& value);
  virtual void SetEvent(const std::string& name, const TEventHandler& handler);
  virtual void SetReference(const std::string& name, TComponent* component);
  // The window's event handler of that name, monostate if none (stored descriptions attach
  // events by name).
  virtual TEventHandler FindEvent(const std::string& name) const;
  // Stored descriptions: the component was stored inside PARENT, a component that is not a
  // control (a menu's items inside the menu). Those that can be nested so override it; the base
  // raises EReadError.
  virtual void SetParentComponent(TComponent* parent);

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  // Points a reference FIELD at VALUE, asking to be told (Notification) when VALUE is freed and
  // no longer when the old one is.
  template <class T>
  void SetReferenceField(T*& field, T* value) {
    if (field) field->RemoveFreeNotification(this);
    field = value;
    if (value) value->FreeNotification(this);
  }
  // Destroys the owned components and tells those who asked. Classes whose members the owned
  // components still use call it first thing in their destructor; later calls do nothing.
  void DestroyComponents();

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  int tag_ = 0;
  bool loading_ = false;
  bool destroying_ = false;
};

// The class registry: stored descriptions create their components by class name.
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterComponentClass(const std::string& name, ComponentFactory factory);
TComponent* CreateComponentOfClass(const std::string& name, TComponent* owner);
bool IsClassRegistered(const std::string& name);

template <class T>
void RegisterComponentClass(const std::string& name) {
  RegisterComponentClass(name, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

// Value helpers for SetProperty implementations; each raises EReadError on the wrong kind.
int32_t IntegerValue(const std::string& property, const Value& value);
bool BooleanValue(const std::string& property, const Value& value);
const std::string& TextValue(const std::string& property, const Value& value);
const std::string& IdentifierValue(const std::string& property, const Value& value);
std::span<const uint8_t> BinaryValue(const std::string& property, const Value& value);
// The handler of an event property of type Event; EReadError if the handler has another type.
template <class Event>
Event EventValue(const std::string& property, const TEventHandler& handler);
// Maps an identifier through a table of its allowed values.
template <class T>
T EnumValue(const std::string& property, const Value& value, const std::map<std::string, T>& table);
[[noreturn]] void BadValue(const std::string& property, const Value& value);
[[noreturn]] void BadEvent(const std::string& property);

// The framework lists' error for an index outside 0..count-1 (EListError).
[[noreturn]] void ListIndexError(int index);

template <class Event>
Event EventValue(const std::string& property, const TEventHandler& handler) {
  if (const Event* event = std::get_if<Event>(&handler)) return *event;
  BadEvent(property);
}

template <class T>
T EnumValue(const std::string& property, const Value& value,
            const std::map<std::string, T>& table) {
  auto it = table.find(IdentifierValue(property, value));
  if (it == table.end()) BadValue(property, value);
  return it->second;
}
