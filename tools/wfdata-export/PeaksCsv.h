#pragma once

#include <vector>

#include "FrequencyAxis.h"
#include "OutputFile.h"
#include "PeakFinder.h"

namespace kov::wfexport {

// One row per signal: "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,
// first_pass,last_pass,passes_above_threshold", the centre halfway between
// its lowest and highest point.
bool WritePeaks(OutputFile& file, const std::vector<Signal>& signals, const FrequencyAxis& axis);

}  // namespace kov::wfexport
