#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CsvText.h"
#include "FrequencyAxis.h"
#include "OutputFile.h"
#include "Selection.h"
#include "measure/WaveformFile.h"

namespace kov::wfexport {

// Every point line as one row "pass,point,frequency_mhz,level_db", the level
// empty for a point without data, written as the file is read.
class TidyCsv {
 public:
  TidyCsv(OutputFile& file, const FrequencyAxis& axis, const Selection& selection);

  void Add(const measure::WaveformPoint& p) {
    AppendWhole(buffer_, p.pass);
    buffer_ += ',';
    AppendWhole(buffer_, p.point);
    buffer_ += ',';
    buffer_ += mhz_[static_cast<std::size_t>(p.point - firstPoint_)];
    buffer_ += ',';
    if (p.level) AppendNumber(buffer_, *p.level);
    buffer_ += '\n';
    if (buffer_.size() >= kFlushAt) Flush();
  }
  // Writes what is held; false when the file failed.
  bool Finish();

 private:
  static constexpr std::size_t kFlushAt = std::size_t{1} << 20;
  void Flush();

  OutputFile& file_;
  std::int32_t firstPoint_;
  std::vector<std::string> mhz_;  // by point - firstPoint_
  std::string buffer_;
};

}  // namespace kov::wfexport
