#pragma once

#include <cstdint>
#include <string>

#include "FrequencyAxis.h"
#include "Options.h"
#include "TimesTable.h"

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

// The selection of --passes and --freq on the axis, of `points` points a
// pass; false when --freq holds none of them.
bool MakeSelection(const Options& options, const FrequencyAxis& axis, std::int32_t points,
                   Selection& selection);

// Why --freq selects nothing of a recording of `points` points a pass.
std::string NoFrequency(const Options& options, const FrequencyAxis& axis, std::int32_t points,
                        const std::string& name);

// Narrows the selection to the passes --from and --to select by the time
// their first band began: "" or why none; `refused` when a text is no time.
std::string SelectTimes(const Options& options, const TimesTable& times, Selection& selection,
                        bool& refused);

}  // namespace kov::wfexport
