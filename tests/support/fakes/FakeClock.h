#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace kov::fakes {

// A clock that never waits: Sleep records the wait and moves time on.
class FakeClock : public platform::Clock {
 public:
  void Sleep(std::int32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    now += milliseconds;
    if (onSleep) onSleep(milliseconds);
  }
  std::int64_t MonotonicMs() override { return now; }
  // "HH:MM:SS" of the fake time, so tests can tell the stamps apart.
  std::string TimeOfDayText() override {
    const std::int64_t s = now / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600 % 24),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    return text;
  }
  // The wall clock: `wallStart` (2026-12-08 20:48:28 in Japan) plus the fake
  // time, so that stamps follow the run's sleeps.
  platform::WallTime Now() override { return {wallStart.utcMs + now, wallStart.offsetMinutes}; }
  // Moves time on without a recorded sleep (a wait inside a poll, say).
  void Advance(std::int64_t milliseconds) { now += milliseconds; }

  std::int64_t now = 0;
  platform::WallTime wallStart{1796730508000, 540};
  std::vector<std::int32_t> sleeps;
  std::function<void(std::int32_t)> onSleep;
};

}  // namespace kov::fakes
