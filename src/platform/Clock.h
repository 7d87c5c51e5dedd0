#pragma once

#include <cstdint>
#include <string>

namespace kov::platform {

// A moment on the system clock, which an operator may set (not the
// monotonic one): milliseconds since 1970-01-01 00:00 UTC, 64 bits on every
// build (a 32-bit time_t ends in 2038), and the local offset from UTC at
// that moment, in minutes (+540 in Japan).
struct WallTime {
  std::int64_t utcMs = 0;
  std::int32_t offsetMinutes = 0;
  bool operator==(const WallTime&) const = default;
};

// Time and waiting, injected so that a test of a long run takes no real time.
class Clock {
 public:
  virtual ~Clock() = default;
  // Blocks the calling thread for the given number of milliseconds.
  virtual void Sleep(std::int32_t milliseconds) = 0;
  // Monotonic milliseconds since an arbitrary origin.
  virtual std::int64_t MonotonicMs() = 0;
  // The time of day in the system locale's time format: hours, minutes and
  // seconds, no time zone.
  virtual std::string TimeOfDayText() = 0;
  // Now on the system clock, with the local offset from UTC.
  virtual WallTime Now() = 0;
};

}  // namespace kov::platform
