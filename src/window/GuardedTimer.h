#pragma once

#include <cstdint>
#include <functional>

#include "platform/Clock.h"
#include "ui/Timer.h"

namespace kov::window {

// A toolkit's periodic timer: armed with an interval above 0, disarmed, and
// calling onFired on the window's thread.
class TimerBackend {
 public:
  virtual ~TimerBackend() = default;
  // (Re)starts the count-down: the first tick comes after `milliseconds`
  // (for 0: as soon as the event loop is free).
  virtual void Arm(std::int32_t milliseconds) = 0;
  virtual void Disarm() = 0;
  std::function<void()> onFired;
};

// A window timer over a toolkit's: an interval of 0 never fires (the backend
// is never armed with it; toolkits would fire at once or round it up);
// enabling it or setting its interval starts the count-down afresh; a tick
// that comes while its own handler runs is dropped, and none comes once it
// is shut down for good.
//
// Given a clock, it also leaves alone the ticks that have nothing to do
// (`idle`): the toolkit's timer is then not armed, so that they wake neither
// the window nor a wait, and they are counted on the clock instead, each as
// if it had run. The first tick with something to do comes when it would
// have come.
class GuardedTimer : public ui::Timer {
 public:
  explicit GuardedTimer(TimerBackend& backend, platform::Clock* clock = nullptr);

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetInterval(std::int32_t milliseconds) override;
  std::int32_t Interval() const override { return interval_; }

  // Ends the timer for good: the program has ended.
  void End();

  // The window's event loop as the ticks see it: busy while a handler runs
  // (its sleeps included), free between handlers and while a handler lets
  // the window's events run. A tick that falls due while the loop is free
  // runs then; one that falls due while it is busy runs once it is free.
  void LoopBusy();
  void LoopFree();

  std::function<void()> handler;
  // Whether a tick now would do nothing but re-arm the timer with the
  // interval it has.
  std::function<bool()> idle;

 private:
  void Rearm();
  void Tick();
  std::int64_t Now() const { return clock_->MonotonicMs(); }

  TimerBackend& backend_;
  platform::Clock* clock_;
  bool enabled_ = false;
  bool running_ = false;
  bool ended_ = false;
  std::int32_t interval_ = 0;
  // The ticks are left alone: the backend is not armed.
  bool dormant_ = false;
  // The backend is armed with what was left of an interval, not the interval.
  bool partial_ = false;
  // When the next tick falls due, on the clock, while the timer runs.
  std::int64_t due_ = 0;
};

}  // namespace kov::window
