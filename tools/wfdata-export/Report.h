#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FrequencyAxis.h"
#include "PeakFinder.h"
#include "TimesTable.h"
#include "platform/Clock.h"

namespace kov::wfexport {

// What the report says of the run, beside its pictures and peaks.
struct ReportFacts {
  std::string recording;  // file names as UTF-8 text
  std::string timesFile;  // "" without one
  double lowMHz = 0, highMHz = 0;
  std::int32_t bands = 0;  // of a pass
  std::int32_t firstPass = 0, lastPass = 0;
  std::int64_t points = 0, withoutData = 0;      // point lines selected
  std::optional<platform::WallTime> start, end;  // first and last band
  double threshold = 0;
  std::vector<std::string> notes;
};

// The report as one self-contained HTML page (UTF-8): the facts, the
// waterfall and the spectrum as PNGs inside it, and the peaks. Headings in
// Japanese and English side by side.
std::string MakeReport(const ReportFacts& facts, const std::string& waterfallPng,
                       const std::string& spectrumPng, const std::vector<Signal>& signals,
                       const FrequencyAxis& axis, const TimesTable* times);

// At most this many peaks are listed, the strongest, in order of frequency.
inline constexpr std::size_t kReportPeaks = 500;

}  // namespace kov::wfexport
