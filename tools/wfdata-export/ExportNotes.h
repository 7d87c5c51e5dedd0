#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "FrequencyAxis.h"
#include "Options.h"
#include "TimesTable.h"
#include "WaveformReader.h"

namespace kov::wfexport {

// After a read: the count of skipped lines (a warning, always on err), and
// the notes, on err unless quiet: where the file ends short, and where the
// settings file plans other bands than the recording holds. The notes and
// the warning are returned for the report.
std::vector<std::string> ReportReading(const ReadReport& report, const FrequencyAxis& axis,
                                       const std::string& name, bool quiet, std::ostream& err);

// A times file against the recording read: "" when they belong together, a
// note in `note` when one of them ends a band before the other (one was
// taken during a run), else why they do not.
std::string CheckTimes(const TimesTable& times, const ReadReport& report,
                       const std::string& timesName, const std::string& name, std::string& note);

// The frequencies a recording of `points` points a pass holds:
// "450 to 469.96875 MHz".
std::string HeldFrequencies(const FrequencyAxis& axis, std::int32_t points);

// Why a read selected no point at all.
std::string NothingSelected(const Options& options, const ReadReport& report,
                            const FrequencyAxis& axis, const std::string& name);

}  // namespace kov::wfexport
