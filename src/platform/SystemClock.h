#pragma once

#include "platform/Clock.h"

namespace kov::platform {

// A moment of the system clock (milliseconds since 1970 UTC) with the local
// offset from UTC in force at that moment, summer time included.
WallTime WallTimeAt(std::int64_t utcMs);

class SystemClock : public Clock {
 public:
  void Sleep(std::int32_t milliseconds) override;
  std::int64_t MonotonicMs() override;
  std::string TimeOfDayText() override;
  WallTime Now() override;
};

}  // namespace kov::platform
