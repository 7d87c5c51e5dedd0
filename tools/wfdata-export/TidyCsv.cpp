#include "TidyCsv.h"

#include "CsvText.h"
#include "measure/TimesFile.h"

namespace kov::wfexport {

TidyCsv::TidyCsv(const FrequencyAxis& axis, const Selection& selection, const TimesTable* times)
    : times_(times), firstPoint_(selection.firstPoint) {
  mhz_.resize(static_cast<std::size_t>(selection.Points()));
  for (std::int32_t p = selection.firstPoint; p <= selection.lastPoint; ++p) {
    std::string text;
    AppendNumber(text, axis.MHz(p));  // 33779.96875 at most
    Frequency& f = mhz_[static_cast<std::size_t>(p - firstPoint_)];
    f.length = static_cast<std::uint8_t>(std::min(text.size(), sizeof f.text));
    std::memcpy(f.text, text.data(), f.length);
  }
}

char* TidyCsv::Rows::Number(char* at, double value) {
  std::string text;
  AppendNumber(text, value);
  return std::copy(text.begin(), text.end(), at);
}

void TidyCsv::Rows::Remember(std::int32_t pass, std::int32_t band) {
  timePass_ = pass;
  timeBand_ = band;
  const auto time = table_.times_->At(pass, band);
  time_ = time ? measure::IsoTime(*time) : std::string();
}

}  // namespace kov::wfexport
