#pragma once

#include <string>

#include "Canvas.h"
#include "FrequencyAxis.h"
#include "LevelScale.h"
#include "TimesTable.h"
#include "WaterfallGrid.h"

namespace kov::wfexport {

// The waterfall as a picture: frequency across, passes down, each cell of
// the image a block of pixels (whole multiples, within maxWidth x maxHeight),
// with MHz and pass ticks, a colour bar and a title. Cells without data show
// the program's waterfall background. With times, the local time at which
// the passes began labels the left side and the pass numbers move right.
Canvas DrawWaterfall(const WaterfallImage& image, const LevelScale& scale,
                     const FrequencyAxis& axis, const std::string& title, int maxWidth,
                     int maxHeight, const TimesTable* times = nullptr);

}  // namespace kov::wfexport
