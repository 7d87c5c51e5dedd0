#pragma once

#include <cstdint>
#include <string>

#include "FrequencyAxis.h"
#include "Options.h"

namespace kov::wfexport {

// The passes and points an export takes in, both ends included.
struct Selection {
  std::int32_t firstPass = 1;
  std::int32_t lastPass = 32767;
  std::int32_t firstPoint = 1;
  std::int32_t lastPoint = FrequencyAxis::kMaxPoints;

  bool Holds(std::int32_t pass, std::int32_t point) const {
    return pass >= firstPass && pass <= lastPass && point >= firstPoint && point <= lastPoint;
  }
  std::int32_t Points() const { return lastPoint - firstPoint + 1; }
};

// The selection of --passes and --freq on the axis; "" or why it holds no
// point of any recording on that axis.
std::string MakeSelection(const Options& options, const FrequencyAxis& axis, Selection& selection);

}  // namespace kov::wfexport
