#include "framework/reader.h"

#include <algorithm>
#include <cctype>

#include "framework/controls.h"
#include "framework/core/exception.h"

namespace {

struct PendingReference {
  TComponent* Component;
  std::string Property;
  std::string Target;
};

class Reader {
 public:
  explicit Reader(TComponent* root) : root_(root) {}

  void ReadRoot(const ObjectDescription& d) {
    root_->BeginLoading();
    loaded_.push_back(root_);
    if (!d.Name.empty()) root_->SetName(d.Name);
    Apply(root_, d);
    auto* parent = dynamic_cast<TWinControl*>(root_);
    for (const auto& child : d.Children) ReadChild(child, parent, root_);
    for (const auto& ref : references_) {
      TComponent* target = root_->FindComponent(ref.Target);
      if (!target && ref.Target == root_->Name()) target = root_;
      if (!target)
        throw EReadError(ref.Component->Name() + "." + ref.Property + ": " + ref.Target +
                         " が見つかりません");
      ref.Component->SetReference(ref.Property, target);
    }
    for (TComponent* c : loaded_) c->Loaded();
  }

 private:
  // ENCLOSING is the component D is stored in; PARENT the nearest enclosing windowed control.
  void ReadChild(const ObjectDescription& d, TWinControl* parent, TComponent* enclosing) {
    TComponent* c = CreateComponentOfClass(d.ClassName, root_);
    c->BeginLoading();
    c->SetName(d.Name);
    loaded_.push_back(c);
    auto* control = dynamic_cast<TControl*>(c);
    if (control && parent) control->SetParent(parent);
    // Inside a component that is no control (a menu), the component says what nesting means.
    if (enclosing != root_ && !dynamic_cast<TControl*>(enclosing)) c->SetParentComponent(enclosing);
    Apply(c, d);
    auto* asParent = dynamic_cast<TWinControl*>(c);
    for (const auto& child : d.Children) ReadChild(child, asParent ? asParent : parent, c);
  }

  void Apply(TComponent* c, const ObjectDescription& d) {
    for (const auto& p : d.Properties) {
      if (p.Value.Kind == ValueKind::Event || p.Value.Kind == ValueKind::Reference) continue;
      c->SetProperty(p.Name, p.Value);
    }
    for (const auto& p : d.Properties) {
      if (p.Value.Kind == ValueKind::Event) {
        TEventHandler handler = root_->FindEvent(p.Value.Text);
        if (std::holds_alternative<std::monostate>(handler))
          throw EReadError(root_->Name() + ": イベントハンドラ " + p.Value.Text + " がありません");
        c->SetEvent(p.Name, handler);
      } else if (p.Value.Kind == ValueKind::Reference) {
        references_.push_back({c, p.Name, p.Value.Text});
      }
    }
  }

  TComponent* root_;
  std::vector<TComponent*> loaded_;
  std::vector<PendingReference> references_;
};

}  // namespace

void ReadComponent(TComponent* root, const ObjectDescription& description) {
  Reader(root).ReadRoot(description);
}

void ReadComponentResource(TComponent* root, const std::string& className) {
  std::wstring name = Widen(className);
  std::transform(name.begin(), name.end(), name.begin(), ::towupper);
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EReadError("ウィンドウ記述 " + className + " が見つかりません");
  std::span<const uint8_t> view(static_cast<const uint8_t*>(bytes), SizeofResource(module, info));
  // The resource stays loaded as long as the program: its pictures are read where they lie.
  ReadComponent(root, ReadDescriptionInPlace(view));
}
