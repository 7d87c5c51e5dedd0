#include "LevelScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/LevelColor.h"
#include "platform/Numbers.h"

namespace kov::wfexport {
namespace {

// The level as the program's display takes it: rounded half to even into a
// Long, held within its range.
std::int32_t LevelDB(double level) {
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  return *platform::RoundToLong(std::clamp(level, kLow, kHigh));
}

}  // namespace

LevelScale::LevelScale(bool linear, std::int16_t checkValue, double top, double bottom)
    : linear_(linear), checkValue_(checkValue), top_(top), bottom_(bottom) {}

LevelScale LevelScale::Ramp(std::int16_t checkValue) {
  return LevelScale(false, checkValue, checkValue == 0 ? 0 : -50, -100);
}

LevelScale LevelScale::Linear(double low, double high) { return LevelScale(true, 0, high, low); }

display::Rgb LevelScale::Colour(double level) const {
  display::LevelColor c;
  if (linear_) {
    // The full ramp runs from -100 dB (blue) to 0 dB (red).
    const double onRamp = -100 + (level - bottom_) / (top_ - bottom_) * 100;
    c = display::SetLevelColor(LevelDB(std::clamp(onRamp, -100.0, 0.0)), 0);
  } else {
    c = display::SetLevelColor(LevelDB(level), checkValue_);
  }
  return {static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
          static_cast<std::uint8_t>(c.b)};
}

std::string LevelScale::Name() const {
  const std::string span =
      platform::PlainNumber(top_) + " to " + platform::PlainNumber(bottom_) + " dB";
  if (linear_) return "linear colours, " + span;
  return (checkValue_ == 0 ? "full range, " : "-50 dB range, ") + span;
}

}  // namespace kov::wfexport
