#pragma once

#include <cstdint>
#include <string>

#include "display/GraphSurface.h"

namespace kov::wfexport {

// How levels become colours, and the level axis of the pictures: one of the
// program's own ramps (by the check box value: 0 the full range, anything
// else the -50 dB range), or the full ramp spread over a range of its own.
class LevelScale {
 public:
  static LevelScale Ramp(std::int16_t checkValue);
  static LevelScale Linear(double low, double high);

  display::Rgb Colour(double level) const;
  double Top() const { return top_; }  // dB at the top of an axis
  double Bottom() const { return bottom_; }
  std::string Name() const;

 private:
  LevelScale(bool linear, std::int16_t checkValue, double top, double bottom);

  bool linear_;
  std::int16_t checkValue_;
  double top_, bottom_;
};

}  // namespace kov::wfexport
