#pragma once

#include <cstdint>

namespace kov::display {

struct LevelColor {
  std::int16_t r = 0, g = 0, b = 0;
  bool operator==(const LevelColor&) const = default;
};

// The waterfall colour of a level in dB: the full-range ramp (0 to -100 dB)
// when the check box value is 0, otherwise the -50 dB ramp. Each component is
// held within 0 to 255, so levels beyond the ramp take its nearest end.
LevelColor SetLevelColor(std::int32_t levelDB, std::int16_t checkValue);

}  // namespace kov::display
