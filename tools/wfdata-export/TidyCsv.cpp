#include "TidyCsv.h"

#include "measure/TimesFile.h"

namespace kov::wfexport {

TidyCsv::TidyCsv(OutputFile& file, const FrequencyAxis& axis, const Selection& selection,
                 const TimesTable* times)
    : file_(file), times_(times), firstPoint_(selection.firstPoint) {
  mhz_.resize(static_cast<std::size_t>(selection.Points()));
  for (std::int32_t p = selection.firstPoint; p <= selection.lastPoint; ++p) {
    AppendNumber(mhz_[static_cast<std::size_t>(p - firstPoint_)], axis.MHz(p));
  }
  buffer_.reserve(kFlushAt + 256);
  buffer_ = times_ != nullptr ? "pass,point,frequency_mhz,level_db,time\n"
                              : "pass,point,frequency_mhz,level_db\n";
}

void TidyCsv::Remember(std::int32_t pass, std::int32_t band) {
  timePass_ = pass;
  timeBand_ = band;
  const auto time = times_->At(pass, band);
  time_ = time ? measure::IsoTime(*time) : std::string();
}

void TidyCsv::Flush() {
  file_.Write(buffer_);
  buffer_.clear();
}

bool TidyCsv::Finish() {
  Flush();
  return file_.Error().empty();
}

}  // namespace kov::wfexport
