#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CsvText.h"
#include "FrequencyAxis.h"
#include "OutputFile.h"
#include "Selection.h"
#include "TimesTable.h"
#include "link/Protocol.h"
#include "measure/WaveformFile.h"

namespace kov::wfexport {

// Every point line as one row "pass,point,frequency_mhz,level_db", the level
// empty for a point without data, and with times ",time", the time of the
// point's band (empty when the times file ends before it); written as the
// file is read.
class TidyCsv {
 public:
  TidyCsv(OutputFile& file, const FrequencyAxis& axis, const Selection& selection,
          const TimesTable* times);

  void Add(const measure::WaveformPoint& p) {
    AppendWhole(buffer_, p.pass);
    buffer_ += ',';
    AppendWhole(buffer_, p.point);
    buffer_ += ',';
    buffer_ += mhz_[static_cast<std::size_t>(p.point - firstPoint_)];
    buffer_ += ',';
    if (p.level) AppendNumber(buffer_, *p.level);
    if (times_ != nullptr) {
      buffer_ += ',';
      buffer_ += TimeOf(p.pass, p.point);
    }
    buffer_ += '\n';
    if (buffer_.size() >= kFlushAt) Flush();
  }
  // Writes what is held; false when the file failed.
  bool Finish();

 private:
  static constexpr std::size_t kFlushAt = std::size_t{1} << 20;
  void Flush();
  // The band's time as text, made once a band.
  const std::string& TimeOf(std::int32_t pass, std::int32_t point) {
    const std::int32_t band = (point - 1) / link::kPointsPerBand + 1;
    if (pass != timePass_ || band != timeBand_) Remember(pass, band);
    return time_;
  }
  void Remember(std::int32_t pass, std::int32_t band);

  OutputFile& file_;
  const TimesTable* times_;
  std::int32_t timePass_ = 0, timeBand_ = 0;
  std::string time_;
  std::int32_t firstPoint_;
  std::vector<std::string> mhz_;  // by point - firstPoint_
  std::string buffer_;
};

}  // namespace kov::wfexport
