#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace kov::measure {

// The times file beside the waveform file: when each band was measured.
inline constexpr const char* kTimesFile = "WFtime.csv";
// Its first line, without the line end.
inline constexpr std::string_view kTimesHeader = "pass,band,center_mhz,time";

// A moment as local time in ISO 8601, with milliseconds and the offset from
// UTC: "2026-12-08T20:48:28.123+09:00" (never "Z").
std::string IsoTime(platform::WallTime t);
// Exactly that form read back; nothing for anything else (or a date that
// does not exist).
std::optional<platform::WallTime> ParseIsoTime(std::string_view text);
// The local date and time to the second, for a file name: "20261208-204828".
std::string StampText(platform::WallTime t);

// One band of a recording and when its reply was complete.
struct BandTime {
  std::int32_t pass = 0;
  std::int32_t band = 0;
  double centerMHz = 0;  // the value of the band's "CF"
  platform::WallTime time;
  bool operator==(const BandTime&) const = default;
};

// Appends one line of the times file, CR LF included:
// "1,2,465,2026-12-08T20:48:28.123+09:00".
void AppendTimesLine(std::string& out, const BandTime& band);
// A line of the times file without its line end; nothing when it is none
// (the header included).
std::optional<BandTime> ParseTimesLine(std::string_view line);

// The name of the times file that belongs to a recording's file name:
// "WFdata.txt" gives "WFtime.csv", "WFdata-X.txt" gives "WFtime-X.csv";
// "" for a name of neither form. Names only, no folder.
std::string TimesFileName(std::string_view recordingName);

}  // namespace kov::measure
