#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "ui/Timer.h"

namespace kov::fakes {

// A window timer on a clock (the fake one, or the system's for benchmarks).
// Enabling it or setting its interval starts the count-down afresh; an
// interval of 0 never fires.
class FakeTimer : public ui::Timer {
 public:
  FakeTimer(platform::Clock& clock, std::string timerName)
      : name(std::move(timerName)), clock_(clock) {}

  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    if (enabled) due_ = clock_.MonotonicMs() + interval_;
  }
  bool Enabled() const override { return enabled_; }
  void SetInterval(std::int32_t milliseconds) override {
    interval_ = milliseconds;
    due_ = clock_.MonotonicMs() + interval_;
  }
  std::int32_t Interval() const override { return interval_; }

  bool Armed() const { return enabled_ && interval_ > 0; }
  std::int64_t Due() const { return due_; }

  std::function<void()> handler;
  bool running = false;
  int ticks = 0;
  const std::string name;

 private:
  friend class FakeEventLoop;
  platform::Clock& clock_;
  bool enabled_ = false;
  std::int32_t interval_ = 0;
  std::int64_t due_ = 0;
};

// The window's event loop for the three timers: a tick runs only when no
// handler of that timer is running, and between handlers, or from inside a
// handler that lets pending events run (RunDue). Waiting for the next tick
// moves the fake clock on, or sleeps on a real one.
class FakeEventLoop {
 public:
  explicit FakeEventLoop(FakeClock& clock)
      : clock_(clock), waitUntil_([&clock](std::int64_t due) { clock.now = due; }) {}
  explicit FakeEventLoop(platform::Clock& clock)
      : clock_(clock), waitUntil_([&clock](std::int64_t due) {
          clock.Sleep(static_cast<std::int32_t>(due - clock.MonotonicMs()));
        }) {}

  void Add(FakeTimer& timer) { timers_.push_back(&timer); }

  // Runs every timer that is due now.
  void RunDue() {
    for (;;) {
      FakeTimer* next = NextArmed();
      if (next == nullptr || next->Due() > clock_.MonotonicMs()) return;
      Fire(*next);
      if (stopped) return;
    }
  }

  // Waits for the next due tick and runs it; false when no timer is armed
  // (the run is idle) or the loop was stopped.
  bool Step() {
    if (stopped) return false;
    FakeTimer* next = NextArmed();
    if (next == nullptr) return false;
    if (next->Due() > clock_.MonotonicMs()) waitUntil_(next->Due());
    Fire(*next);
    return true;
  }

  // The due time of the next tick; -1 when no timer is armed.
  std::int64_t NextDue() {
    FakeTimer* next = NextArmed();
    return next == nullptr ? -1 : next->Due();
  }

  // Steps while the predicate is false, at most maxTicks ticks.
  int RunUntil(const std::function<bool()>& done, int maxTicks = 100000) {
    int n = 0;
    while (n < maxTicks && !done() && Step()) ++n;
    return n;
  }

  bool stopped = false;
  std::vector<std::string> tickLog;

 private:
  FakeTimer* NextArmed() {
    FakeTimer* best = nullptr;
    for (FakeTimer* t : timers_) {
      if (!t->Armed() || t->running) continue;
      if (best == nullptr || t->Due() < best->Due()) best = t;
    }
    return best;
  }
  void Fire(FakeTimer& timer) {
    // The next tick of a periodic timer counts from this one.
    timer.due_ = clock_.MonotonicMs() + timer.interval_;
    ++timer.ticks;
    tickLog.push_back(timer.name);
    timer.running = true;
    if (timer.handler) timer.handler();
    timer.running = false;
  }

  platform::Clock& clock_;
  std::function<void(std::int64_t)> waitUntil_;
  std::vector<FakeTimer*> timers_;
};

}  // namespace kov::fakes
