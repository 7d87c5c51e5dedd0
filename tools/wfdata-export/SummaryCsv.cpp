#include "SummaryCsv.h"

#include <string>

#include "CsvText.h"

namespace kov::wfexport {

bool WriteSummary(OutputFile& file, const PointStatistics& statistics, const FrequencyAxis& axis) {
  std::string text =
      "point,frequency_mhz,min_db,mean_db,max_db,passes_with_data,passes_above_threshold\n";
  for (std::int32_t p = statistics.FirstPoint(); p <= statistics.LastPointSeen(); ++p) {
    const PointStats& s = statistics.At(p);
    if (s.lines == 0) continue;
    AppendWhole(text, p);
    text += ',';
    AppendNumber(text, axis.MHz(p));
    text += ',';
    if (s.withData > 0) {
      AppendNumber(text, s.min);
      text += ',';
      AppendHundredths(text, s.sum / s.withData);
      text += ',';
      AppendNumber(text, s.max);
    } else {
      text += ",,";
    }
    text += ',';
    AppendWhole(text, s.withData);
    text += ',';
    AppendWhole(text, s.above);
    text += '\n';
  }
  return file.Write(text);
}

}  // namespace kov::wfexport
