#pragma once

#include "FrequencyAxis.h"
#include "OutputFile.h"
#include "PointStatistics.h"

namespace kov::wfexport {

// One row per point that any pass held: "point,frequency_mhz,min_db,mean_db,
// max_db,passes_with_data,passes_above_threshold", the levels empty for a
// point that never had data.
bool WriteSummary(OutputFile& file, const PointStatistics& statistics, const FrequencyAxis& axis);

}  // namespace kov::wfexport
