#pragma once
// TTimer: a component that calls OnTimer every Interval milliseconds while Enabled.
//
// Timers of one interval share one platform timer and tick together, in the order they were
// started: the program wakes once a period however many timers it runs (under Wine every wake-up
// costs round trips to its server, and four walkers' timers apart would wake it four times every
// 50 ms). A timer started while others of its interval run ticks first with them, so within one
// interval rather than after exactly one.
#include <cstdint>

#include "framework/classes.h"

// The number of the shared tick whose handlers are running (each tick of the shared timers has a
// new one); 0 outside one. Lets the handlers of one tick share work, such as reading the pointer.
uint64_t CurrentTimerTick();

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
  friend class TimerHub;
  void UpdateTimer();

  TNotifyEvent onTimer_;
  unsigned running_ = 0;  // the interval it ticks at now; 0 while stopped
  bool enabled_ = true;
  unsigned interval_ = 1000;
};
