#pragma once

#include <cstdint>

#include "measure/WFGrid.h"

namespace kov::measure {

// The display operations the start command and the end of a pass call. The
// start command guarantees 1 <= bandCount <= 102 and downloadCount >= 1.
class Display {
 public:
  virtual ~Display() = default;
  // Sets the waterfall's scale for the run and draws its centre line.
  virtual void ScaleWaterfall(std::int16_t bandCount, std::int16_t downloadCount) = 0;
  // Clears the spectrum graph and draws its grid for the level range of Chk1.
  virtual void DrawGraphFrame(std::int16_t bandCount) = 0;
  // Label17, Label16, Label18 with the range; Label19 to Label21 emptied.
  virtual void SetFrequencyLabels(std::int16_t startFQ, std::int16_t endFQ) = 0;
  // Erases everything drawn on the waterfall; its scale stays.
  virtual void ClearWaterfall() = 0;
  // Draws the finished pass from the grid on both graphs.
  virtual void DrawPass(std::int16_t bandCount, std::int16_t wfLineNo, const WFGrid& grid) = 0;
};

}  // namespace kov::measure
