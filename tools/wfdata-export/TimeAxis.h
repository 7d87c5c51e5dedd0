#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TimesTable.h"
#include "platform/Clock.h"

namespace kov::wfexport {

// A label of the time axis: a round moment of the run's local time and
// where the passes reached it.
struct TimeTick {
  double pass = 0;   // fractional: pass p began at p, the next at p + 1
  std::string time;  // "21:00", or "21:00:30" for steps under a minute
  std::string date;  // "2026-12-09" at the first label and where the date changes, else ""
};

// The labels from the first pass's time to the last's, at most about `most`
// of them, on steps of 1, 2, 5, 10, 15 or 30 seconds or minutes, 1, 2, 3, 6
// or 12 hours, or whole days, in the offset of the run's first band. Passes
// without a time end the axis.
std::vector<TimeTick> TimeTicks(const TimesTable& times, std::int32_t firstPass,
                                std::int32_t lastPass, int most);

// "2026-12-08 20:48:28" in the moment's own offset, and "UTC+09:00".
std::string LocalText(platform::WallTime t);
std::string OffsetText(platform::WallTime t);
// A duration as "1:02:05", or "3 d 4:05:06" from a day on.
std::string DurationText(std::int64_t ms);

}  // namespace kov::wfexport
