#include "framework/classes.h"

#include <algorithm>

#include "framework/core/exception.h"

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) owner_->Remove(this);
}

void TComponent::DestroyComponents() {
  destroying_ = true;
  // Those who asked are told first, so that they drop their references to us.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    std::erase(other->freeNotifies_, this);
    other->Notification(this, TOperation::opRemove);
  }
  while (!components_.empty()) delete components_.back();  // removes itself from the list
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::Remove(TComponent* component) {
  std::erase(components_, component);
  component->owner_ = nullptr;
  Notification(component, TOperation::opRemove);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : components_)
    if (!name.empty() && c->name_ == name) return c;
  return nullptr;
}

void TComponent::Loaded() { loading_ = false; }

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  std::erase(freeNotifies_, component);
  if (component) std::erase(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::SetProperty(const std::string& name, const Value& value) {
  if (name == "Name") {
    SetName(TextValue(name, value));
  } else if (name == "Tag") {
    SetTag(IntegerValue(name, value));
  } else {
    throw EReadError(name_ + ": プロパティ " + name + " がありません");
  }
}

void TComponent::SetEvent(const std::string& name, const TEventHandler&) {
  throw EReadError(name_ + ": イベント " + name + " がありません");
}

void TComponent::SetReference(const std::string& name, TComponent*) {
  throw EReadError(name_ + ": プロパティ " + name + " がありません");
}

TEventHandler TComponent::FindEvent(const std::string&) const { return {}; }

bool TMouseEvents::SetMouseEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnClick") {
    OnClick = EventValue<TNotifyEvent>(name, handler);
  } else if (name == "OnDblClick") {
    OnDblClick = EventValue<TNotifyEvent>(name, handler);
  } else if (name == "OnMouseDown") {
    OnMouseDown = EventValue<TMouseEvent>(name, handler);
  } else if (name == "OnMouseUp") {
    OnMouseUp = EventValue<TMouseEvent>(name, handler);
  } else if (name == "OnMouseMove") {
    OnMouseMove = EventValue<TMouseMoveEvent>(name, handler);
  } else {
    return false;
  }
  return true;
}

void TComponent::SetParentComponent(TComponent* parent) {
  throw EReadError(name_ + ": " + parent->Name() + " の中には置けません");
}

namespace {
std::map<std::string, ComponentFactory>& Registry() {
  static std::map<std::string, ComponentFactory> registry;
  return registry;
}
}  // namespace

void RegisterComponentClass(const std::string& name, ComponentFactory factory) {
  Registry()[name] = std::move(factory);
}

bool IsClassRegistered(const std::string& name) { return Registry().contains(name); }

TComponent* CreateComponentOfClass(const std::string& name, TComponent* owner) {
  auto it = Registry().find(name);
  if (it == Registry().end()) throw EReadError("クラス " + name + " が見つかりません");
  return it->second(owner);
}

[[noreturn]] void BadValue(const std::string& property, const Value& value) {
  std::string shown = value.Text.empty() ? std::to_string(value.Integer) : value.Text;
  throw EReadError("プロパティ " + property + " の値が不正です: " + shown);
}

[[noreturn]] void BadEvent(const std::string& property) {
  throw EReadError("イベント " + property + " のハンドラの型が合いません");
}

int32_t IntegerValue(const std::string& property, const Value& value) {
  if (value.Kind != ValueKind::Integer) BadValue(property, value);
  return value.Integer;
}

bool BooleanValue(const std::string& property, const Value& value) {
  if (value.Kind != ValueKind::True && value.Kind != ValueKind::False) BadValue(property, value);
  return value.Boolean();
}

const std::string& TextValue(const std::string& property, const Value& value) {
  if (value.Kind != ValueKind::String) BadValue(property, value);
  return value.Text;
}

const std::string& IdentifierValue(const std::string& property, const Value& value) {
  if (value.Kind != ValueKind::Identifier) BadValue(property, value);
  return value.Text;
}

std::span<const uint8_t> BinaryValue(const std::string& property, const Value& value) {
  if (value.Kind != ValueKind::Binary) BadValue(property, value);
  return value.Binary();
}

[[noreturn]] void ListIndexError(int index) {
  throw EListError("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
}
