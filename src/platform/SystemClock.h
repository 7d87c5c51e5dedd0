#pragma once

#include "platform/Clock.h"

namespace kov::platform {

class SystemClock : public Clock {
 public:
  void Sleep(std::int32_t milliseconds) override;
  std::int64_t MonotonicMs() override;
  std::string TimeOfDayText() override;
  WallTime Now() override;
};

}  // namespace kov::platform
