#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

namespace kov::measure {

// What a run measures: DownloadCount passes over BandCount bands of 10 MHz
// from StartFQ to EndFQ (multiples of 10).
struct SweepPlan {
  std::int16_t downloadCount = 0;
  std::int16_t startFQ = 0;
  std::int16_t endFQ = 0;
  std::int16_t bandCount = 0;
  bool operator==(const SweepPlan&) const = default;
};

// Why the entries give no plan: the text shown in the status line.
struct Refusal {
  const char* message;
  bool operator==(const Refusal& other) const;
};

// The plan the start command makes of the texts of TxtStartFQ, TxtEndFQ and
// TxtTime: the magnitudes of the frequencies rounded to whole MHz, an empty
// or inverted range mended, both ends cut down to tens. Refused are values
// that do not fit 16 bits (the widened end included), more than 102 bands
// (the waterfall is BandCount x 320 points wide in 16 bits) and a count
// outside 1 to 32767. A range that snaps to no band is a plan of 0 bands.
std::variant<SweepPlan, Refusal> PlanSweep(std::string_view startText, std::string_view endText,
                                           std::string_view countText);

}  // namespace kov::measure
