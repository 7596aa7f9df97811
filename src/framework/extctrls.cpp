#include "framework/extctrls.h"

namespace {
HiddenWindow::Params MessageOnly() {
  HiddenWindow::Params params;
  params.MessageOnly = true;
  return params;
}
}  // namespace

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), window_(MessageOnly(), [this](TMessage& m) {
        if (m.Msg != WM_TIMER) return false;
        if (onTimer_) onTimer_(this);
        return true;
      }) {
  UpdateTimer();
}

TTimer::~TTimer() { KillTimer(window_.Handle(), 1); }

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(window_.Handle(), 1);
  if (enabled_ && interval_ != 0 && onTimer_ && !Loading())
    SetTimer(window_.Handle(), 1, interval_, nullptr);
}

void TTimer::SetProperty(const std::string& name, const Value& value) {
  if (name == "Enabled") {
    SetEnabled(BooleanValue(name, value));
  } else if (name == "Interval") {
    int32_t v = IntegerValue(name, value);
    if (v < 0) BadValue(name, value);
    SetInterval(static_cast<unsigned>(v));
  } else {
    TComponent::SetProperty(name, value);
  }
}

void TTimer::SetEvent(const std::string& name, const TEventHandler& handler) {
  if (name == "OnTimer") {
    SetOnTimer(EventValue<TNotifyEvent>(name, handler));
  } else {
    TComponent::SetEvent(name, handler);
  }
}
