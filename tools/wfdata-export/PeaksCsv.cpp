#include "PeaksCsv.h"

#include <string>

#include "CsvText.h"

namespace kov::wfexport {

bool WritePeaks(OutputFile& file, const std::vector<Signal>& signals, const FrequencyAxis& axis) {
  std::string text =
      "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,first_pass,last_pass,"
      "passes_above_threshold\n";
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
    text += '\n';
  }
  return file.Write(text);
}

}  // namespace kov::wfexport
