#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "link/Timer.h"

namespace kov::fakes {

// A window timer on the fake clock. Enabling it or setting its interval starts
// the count-down afresh; an interval of 0 never fires.
class FakeTimer : public link::Timer {
 public:
  FakeTimer(FakeClock& clock, std::string timerName) : name(std::move(timerName)), clock_(clock) {}

  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    if (enabled) due_ = clock_.now + interval_;
  }
  bool Enabled() const override { return enabled_; }
  void SetInterval(std::int32_t milliseconds) override {
    interval_ = milliseconds;
    due_ = clock_.now + interval_;
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
  FakeClock& clock_;
  bool enabled_ = false;
  std::int32_t interval_ = 0;
  std::int64_t due_ = 0;
};

// The window's event loop for the three timers: a tick runs only when no
// handler of that timer is running, and between handlers, or from inside a
// handler that lets pending events run (RunDue).
class FakeEventLoop {
 public:
  FakeEventLoop(FakeClock& clock) : clock_(clock) {}

  void Add(FakeTimer& timer) { timers_.push_back(&timer); }

  // Runs every timer that is due at the current time.
  void RunDue() {
    for (;;) {
      FakeTimer* next = NextArmed();
      if (next == nullptr || next->Due() > clock_.now) return;
      Fire(*next);
      if (stopped) return;
    }
  }

  // Moves the clock to the next due tick and runs it; false when no timer is
  // armed (the run is idle) or the loop was stopped.
  bool Step() {
    if (stopped) return false;
    FakeTimer* next = NextArmed();
    if (next == nullptr) return false;
    if (next->Due() > clock_.now) clock_.now = next->Due();
    Fire(*next);
    return true;
  }

  // Steps until no timer is armed, the loop stops, or maxTicks ticks ran.
  // Returns the number of ticks.
  int RunUntilIdle(int maxTicks = 100000) {
    int n = 0;
    while (n < maxTicks && Step()) ++n;
    return n;
  }

  // Steps while the predicate is false.
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
    timer.due_ = clock_.now + timer.interval_;
    ++timer.ticks;
    tickLog.push_back(timer.name);
    timer.running = true;
    if (timer.handler) timer.handler();
    timer.running = false;
  }

  FakeClock& clock_;
  std::vector<FakeTimer*> timers_;
};

}  // namespace kov::fakes
