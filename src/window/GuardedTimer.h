#pragma once

#include <cstdint>
#include <functional>

#include "ui/Timer.h"

namespace kov::window {

// A toolkit's periodic timer: armed with an interval above 0, disarmed, and
// calling onFired on the window's thread.
class TimerBackend {
 public:
  virtual ~TimerBackend() = default;
  // (Re)starts the count-down: the first tick comes after `milliseconds`.
  virtual void Arm(std::int32_t milliseconds) = 0;
  virtual void Disarm() = 0;
  std::function<void()> onFired;
};

// A window timer over a toolkit's: an interval of 0 never fires (the backend
// is never armed with it; toolkits would fire at once or round it up);
// enabling it or setting its interval starts the count-down afresh; a tick
// that comes while its own handler runs is dropped, and none comes once it
// is shut down for good.
class GuardedTimer : public ui::Timer {
 public:
  explicit GuardedTimer(TimerBackend& backend);

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetInterval(std::int32_t milliseconds) override;
  std::int32_t Interval() const override { return interval_; }

  // Ends the timer for good (the program has ended).
  void Shutdown();

  std::function<void()> handler;

 private:
  void Rearm();
  void Tick();

  TimerBackend& backend_;
  bool enabled_ = false;
  bool running_ = false;
  bool shutdown_ = false;
  std::int32_t interval_ = 0;
};

}  // namespace kov::window
