#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/Display.h"

namespace kov::fakes {

// Records the display calls as text ("DrawPass 10 1"); with keepGrids set it
// also keeps a copy of the grid of every drawn pass.
class FakeDisplay : public measure::Display {
 public:
  void ScaleWaterfall(std::int16_t bandCount, std::int16_t downloadCount) override {
    calls.push_back("ScaleWaterfall " + std::to_string(bandCount) + " " +
                    std::to_string(downloadCount));
  }
  void DrawGraphFrame(std::int16_t bandCount) override {
    calls.push_back("DrawGraphFrame " + std::to_string(bandCount));
  }
  void SetFrequencyLabels(std::int16_t startFQ, std::int16_t endFQ) override {
    calls.push_back("SetFrequencyLabels " + std::to_string(startFQ) + " " + std::to_string(endFQ));
  }
  void ClearWaterfall() override { calls.push_back("ClearWaterfall"); }
  void DrawPass(std::int16_t bandCount, std::int16_t wfLineNo,
                const measure::WFGrid& grid) override {
    calls.push_back("DrawPass " + std::to_string(bandCount) + " " + std::to_string(wfLineNo));
    if (keepGrids) grids.push_back(grid);
  }

  std::vector<std::string> calls;
  bool keepGrids = false;
  std::vector<measure::WFGrid> grids;
};

}  // namespace kov::fakes
