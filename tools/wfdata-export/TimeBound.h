#pragma once

#include <optional>
#include <string_view>

#include "platform/Clock.h"

namespace kov::wfexport {

// A moment as a user types it for --from and --to, read against the run
// (its first band's time, `run`):
//   2026-12-08T20:48:28.123+09:00, and shorter: without the milliseconds,
//   the seconds, the offset (then the run's own), or the time (midnight);
//   a blank may stand for the "T", and "Z" for +00:00;
//   20:48 or 20:48:28 alone: on the run's first day, in its offset.
// Nothing when the text is none of these or no such moment exists.
std::optional<platform::WallTime> ReadTimeBound(std::string_view text, platform::WallTime run);

}  // namespace kov::wfexport
