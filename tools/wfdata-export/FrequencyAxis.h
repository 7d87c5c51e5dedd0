#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/Protocol.h"

namespace kov::wfexport {

// The points of a recording on the frequency axis: 320 points to each band
// of 10 MHz, point k (from 1) at start + (k - 1) x 10/320 MHz.
struct FrequencyAxis {
  static constexpr double kStepMHz = 10.0 / link::kPointsPerBand;
  static constexpr std::int32_t kMaxPoints = 102 * link::kPointsPerBand;  // the widest run

  double startMHz = 0;
  // From the settings file: the points of a pass its range plans, and the
  // level-display check box value (D_LEVEL).
  std::optional<std::int32_t> plannedPoints;
  std::optional<std::int16_t> checkValue;

  double MHz(std::int32_t point) const { return startMHz + (point - 1) * kStepMHz; }
  // The first point at or above / the last at or below a frequency (either
  // may lie outside 1 to kMaxPoints).
  std::int64_t FirstPointFrom(double mhz) const;
  std::int64_t LastPointUpTo(double mhz) const;
};

// The axis from a settings file, through the program's own start-command
// normalisation; "" or the reason it gives none.
std::string AxisFromSettings(const std::string& iniPath, FrequencyAxis& axis);

}  // namespace kov::wfexport
