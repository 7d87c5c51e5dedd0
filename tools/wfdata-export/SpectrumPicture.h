#pragma once

#include <string>

#include "Canvas.h"
#include "FrequencyAxis.h"
#include "LevelScale.h"
#include "PointStatistics.h"

namespace kov::wfexport {

// The max-hold, mean and min-hold levels over frequency on the spectrum
// graph's frame (black, a green grid of 8 columns and 5 rows, the middle
// line magenta), each column of the graph standing for the points it covers,
// at most maxWidth pixels wide.
Canvas DrawSpectrum(const PointStatistics& statistics, const LevelScale& scale,
                    const FrequencyAxis& axis, const std::string& title, int maxWidth);

}  // namespace kov::wfexport
