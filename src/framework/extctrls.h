#pragma once
// TTimer: a component that calls OnTimer every Interval milliseconds while Enabled.
#include "framework/classes.h"
#include "framework/winapi.h"

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
  void SetEvent(const std::string& name, TNotifyEvent handler) override;

 private:
  void UpdateTimer();
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  TNotifyEvent onTimer_;
  HWND window_ = nullptr;  // a message-only window that receives WM_TIMER
  bool enabled_ = true;
  unsigned interval_ = 1000;
};
