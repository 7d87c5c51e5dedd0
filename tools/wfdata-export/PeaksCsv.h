#pragma once

#include <string>
#include <vector>

#include "FrequencyAxis.h"
#include "OutputFile.h"
#include "PeakFinder.h"
#include "TimesTable.h"

namespace kov::wfexport {

// One row per signal: "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,
// first_pass,last_pass,passes_above_threshold", the centre halfway between
// its lowest and highest point; with times ",first_time,last_time", those of
// the band where it rose above the threshold in its first and last pass.
bool WritePeaks(OutputFile& file, const std::vector<Signal>& signals, const FrequencyAxis& axis,
                const TimesTable* times);

// The time of the band of `point` in `pass`, as text; "" when unknown.
std::string BandTimeText(const TimesTable* times, std::int32_t pass, std::int32_t point);

}  // namespace kov::wfexport
