#include "display/LevelColor.h"

#include <algorithm>
#include <cmath>

namespace kov::display {
namespace {

// Int() of the ramp formulas: the floor, held within a colour component.
std::int16_t Component(double v) {
  return static_cast<std::int16_t>(std::clamp(std::floor(v), 0.0, 255.0));
}

}  // namespace

LevelColor SetLevelColor(std::int32_t levelDB, std::int16_t checkValue) {
  const double l = levelDB;
  if (checkValue == 0) {
    if (l >= -25) return {255, Component(-(l * 10.2)), 0};
    if (l >= -50) return {Component(l * 10.2 + 510), 255, 0};
    if (l >= -75) return {0, 255, Component(-(l * 10.2) - 510)};
    return {0, Component(l * 10.2 + 1020), 255};
  }
  if (l >= -50) return {255, 0, 0};
  if (l >= -62.5) return {255, Component(-(l * 20.4) - 1020), 0};
  if (l >= -75) return {Component(l * 20.4 + 1530), 255, 0};
  if (l >= -87.5) return {0, 255, Component(-(l * 20.4) - 1530)};
  return {0, Component(l * 20.4 + 2040), 255};
}

}  // namespace kov::display
