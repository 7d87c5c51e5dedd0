#pragma once

#include <cstdint>

#include "display/GraphSurface.h"
#include "measure/Display.h"
#include "ui/Window.h"

namespace kov::display {

// The spectrum graph XportData and the waterfall XportWF, with the frequency
// and time labels, drawn as the start command and the end of each pass ask,
// in the level range Chk1 holds at each drawing.
class SpectrumDisplay : public measure::Display {
 public:
  SpectrumDisplay(GraphSurface& xportData, GraphSurface& xportWF, const ui::LevelRange& range,
                  ui::Labels& labels);

  void ScaleWaterfall(std::int16_t bandCount, std::int16_t downloadCount) override;
  void DrawGraphFrame(std::int16_t bandCount) override;
  void SetFrequencyLabels(std::int16_t startFQ, std::int16_t endFQ) override;
  void ClearWaterfall() override;
  void DrawPass(std::int16_t bandCount, std::int16_t wfLineNo,
                const measure::WFGrid& grid) override;

  // The point drawn last and its colour.
  std::int32_t LevelDB = 0;
  std::int16_t ColorR = 0;
  std::int16_t ColorG = 0;
  std::int16_t ColorB = 0;

 private:
  void SetLevelColor();

  GraphSurface& xportData_;
  GraphSurface& xportWF_;
  const ui::LevelRange& range_;
  ui::Labels& labels_;
};

}  // namespace kov::display
