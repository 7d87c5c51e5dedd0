#include "PeaksCsv.h"

#include <string>

#include "CsvText.h"
#include "link/Protocol.h"
#include "measure/TimesFile.h"

namespace kov::wfexport {

std::string BandTimeText(const TimesTable* times, std::int32_t pass, std::int32_t point) {
  const auto time =
      times != nullptr ? times->At(pass, (point - 1) / link::kPointsPerBand + 1) : std::nullopt;
  return time ? measure::IsoTime(*time) : std::string();
}

bool WritePeaks(OutputFile& file, const std::vector<Signal>& signals, const FrequencyAxis& axis,
                const TimesTable* times) {
  std::string text =
      "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,first_pass,last_pass,"
      "passes_above_threshold";
  text += times != nullptr ? ",first_time,last_time\n" : "\n";
  for (const Signal& s : signals) {
    AppendNumber(text, axis.MHz(s.lowPoint));
    text += ',';
    AppendNumber(text, (axis.MHz(s.lowPoint) + axis.MHz(s.highPoint)) / 2);
    text += ',';
    AppendNumber(text, axis.MHz(s.highPoint));
    text += ',';
    AppendNumber(text, axis.MHz(s.peakPoint));
    text += ',';
    AppendNumber(text, s.peakLevel);
    text += ',';
    AppendWhole(text, s.firstPass);
    text += ',';
    AppendWhole(text, s.lastPass);
    text += ',';
    AppendWhole(text, s.passesAbove);
    if (times != nullptr) {
      text += ',' + BandTimeText(times, s.firstPass, s.firstPassPoint);
      text += ',' + BandTimeText(times, s.lastPass, s.lastPassPoint);
    }
    text += '\n';
  }
  return file.Write(text);
}

}  // namespace kov::wfexport
