#pragma once

#include <cstdint>
#include <string>

namespace kov::platform {

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
};

}  // namespace kov::platform
