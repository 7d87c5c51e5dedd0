#include "TidyCsv.h"

namespace kov::wfexport {

TidyCsv::TidyCsv(OutputFile& file, const FrequencyAxis& axis, const Selection& selection)
    : file_(file), firstPoint_(selection.firstPoint) {
  mhz_.resize(static_cast<std::size_t>(selection.Points()));
  for (std::int32_t p = selection.firstPoint; p <= selection.lastPoint; ++p) {
    AppendNumber(mhz_[static_cast<std::size_t>(p - firstPoint_)], axis.MHz(p));
  }
  buffer_.reserve(kFlushAt + 256);
  buffer_ = "pass,point,frequency_mhz,level_db\n";
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
