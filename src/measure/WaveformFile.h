#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kov::measure {

// The waveform file, in the current folder.
inline constexpr const char* kWaveformFile = "WFdata.txt";
// The grid cell, and the level field in the file, of a point without data.
inline constexpr std::string_view kNoData = "00";

// Appends one point line to `out`: the pass and the point (counted over the
// whole sweep from 1), each with a leading blank, then the grid cell as it
// stands and CR LF: " 1,  321,-100 " CR LF.
void AppendPointLine(std::string& out, std::int16_t pass, std::int32_t point,
                     std::string_view cell);

// A point line read back: no level for "00". The cell is the level field as
// written, blanks included ("-087 ", "00"), for readers that must give it back
// byte for byte; it points into the line read.
struct WaveformPoint {
  std::int32_t pass = 0;
  std::int32_t point = 0;
  std::optional<double> level;
  std::string_view cell;
  bool operator==(const WaveformPoint&) const = default;
};

// Reads a point line without its line end: the pass and point are whole
// numbers after a blank, the level a number once blanks are removed, or
// "00". Anything else is no point line (an empty line parts the bands).
std::optional<WaveformPoint> ParsePointLine(std::string_view line);

}  // namespace kov::measure
