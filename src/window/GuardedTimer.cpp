#include "window/GuardedTimer.h"

#include <algorithm>

namespace kov::window {

GuardedTimer::GuardedTimer(TimerBackend& backend, platform::Clock* clock)
    : backend_(backend), clock_(clock) {
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

void GuardedTimer::End() {
  ended_ = true;
  backend_.Disarm();
}

void GuardedTimer::Rearm() {
  partial_ = false;
  if (enabled_ && interval_ > 0 && !ended_) {
    if (clock_ != nullptr) due_ = Now() + interval_;
    if (!dormant_) backend_.Arm(interval_);
  } else {
    dormant_ = false;
    backend_.Disarm();
  }
}

void GuardedTimer::Tick() {
  if (partial_) {
    partial_ = false;
    backend_.Arm(interval_);
  }
  if (running_ || ended_ || dormant_ || !enabled_ || interval_ <= 0) return;
  if (clock_ != nullptr) due_ = Now() + interval_;
  running_ = true;
  if (handler) handler();
  running_ = false;
}

void GuardedTimer::LoopBusy() {
  // The ticks that fell due while the loop was free ran on time, each
  // counting the next from itself.
  if (!dormant_) return;
  const std::int64_t now = Now();
  if (due_ <= now) due_ += ((now - due_) / interval_ + 1) * interval_;
}

void GuardedTimer::LoopFree() {
  if (clock_ == nullptr || !idle || !enabled_ || interval_ <= 0 || ended_) return;
  const std::int64_t now = Now();
  if (idle()) {
    // A tick that fell due while the loop was busy runs now, with nothing
    // to do; the next counts from it.
    if (dormant_ && due_ <= now) due_ = now + interval_;
    if (!dormant_) backend_.Disarm();
    dormant_ = true;
  } else if (dormant_) {
    dormant_ = false;
    partial_ = true;
    // What is left to the tick; none for one that fell due meanwhile, which
    // runs as soon as the loop is free.
    backend_.Arm(static_cast<std::int32_t>(std::max<std::int64_t>(due_ - now, 0)));
  }
}

}  // namespace kov::window
