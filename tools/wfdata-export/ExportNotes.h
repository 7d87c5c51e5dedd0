#pragma once

#include <ostream>
#include <string>

#include "FrequencyAxis.h"
#include "Options.h"
#include "WaveformReader.h"

namespace kov::wfexport {

// After a read, on err: the count of skipped lines (a warning), and unless
// quiet one note where the file ends short and one where the settings file
// plans other bands than the recording holds.
void ReportReading(const ReadReport& report, const FrequencyAxis& axis, const std::string& name,
                   bool quiet, std::ostream& err);

// Why a read selected no point at all.
std::string NothingSelected(const Options& options, const ReadReport& report,
                            const std::string& name);

}  // namespace kov::wfexport
