// A times file of any bytes: reading never fails; a file read whole holds
// its bands pass by pass in turn, each tuned as band 1 implies, and written
// back line by line it reads back the same. Any moment that reads as a time
// is written back as the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "TimesTable.h"
#include "measure/TimesFile.h"

namespace {

void Trap(bool fault) {
  if (fault) __builtin_trap();
}

void CheckTable(const kov::wfexport::TimesTable& t) {
  using kov::measure::BandTime;
  std::string again = std::string(kov::measure::kTimesHeader) + "\r\n";
  std::int64_t count = 0;
  for (std::int32_t pass = 1; pass <= t.LastPass(); ++pass) {
    for (std::int32_t band = 1; band <= t.Bands(); ++band) {
      const auto time = t.At(pass, band);
      Trap(time.has_value() != (count < t.Count()));
      if (!time) break;
      ++count;
      kov::measure::AppendTimesLine(
          again, BandTime{pass, band, t.FirstCentreMHz() + 10.0 * (band - 1), *time});
    }
  }
  Trap(count != t.Count() || t.Bands() > 102 || t.LastPass() > 32767);
  kov::wfexport::TimesReader reader("again");
  for (std::size_t start = 0; start < again.size();) {
    const std::size_t nl = again.find('\n', start);
    Trap(!reader.Take(std::string_view(again).substr(start, nl - start)));
    start = nl + 1;
  }
  Trap(!reader.Finish(0) || reader.Table().Count() != t.Count());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  if (const auto moment = kov::measure::ParseIsoTime(file)) {
    Trap(kov::measure::IsoTime(*moment) != file);
  }
  kov::wfexport::TimesReader reader("fuzz");
  std::size_t start = 0;
  bool going = true;
  for (std::size_t nl; going && (nl = file.find('\n', start)) != std::string_view::npos;) {
    going = reader.Take(file.substr(start, nl - start));
    start = nl + 1;
  }
  if (going && reader.Finish(file.size() - start)) CheckTable(reader.Table());
  return 0;
}
