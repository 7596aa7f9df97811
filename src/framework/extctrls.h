#pragma once
// TTimer: a component that calls OnTimer every Interval milliseconds while Enabled.
#include "framework/classes.h"
#include "framework/window.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  void SetOnTimer(TNotifyEvent handler);

  void Loaded() override;
  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;

 private:
  void UpdateTimer();

  TNotifyEvent onTimer_;
  HiddenWindow window_;  // message-only: receives WM_TIMER
  bool enabled_ = true;
  unsigned interval_ = 1000;
};
