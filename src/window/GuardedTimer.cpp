#include "window/GuardedTimer.h"

namespace kov::window {

GuardedTimer::GuardedTimer(TimerBackend& backend) : backend_(backend) {
  backend_.onFired = [this] { Tick(); };
}

void GuardedTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Rearm();
}

void GuardedTimer::SetInterval(std::int32_t milliseconds) {
  interval_ = milliseconds;
  Rearm();
}

void GuardedTimer::Shutdown() {
  shutdown_ = true;
  backend_.Disarm();
}

void GuardedTimer::Rearm() {
  if (enabled_ && interval_ > 0 && !shutdown_) {
    backend_.Arm(interval_);
  } else {
    backend_.Disarm();
  }
}

void GuardedTimer::Tick() {
  if (running_ || shutdown_ || !enabled_ || interval_ <= 0) return;
  running_ = true;
  if (handler) handler();
  running_ = false;
}

}  // namespace kov::window
