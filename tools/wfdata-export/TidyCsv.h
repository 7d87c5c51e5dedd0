#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FrequencyAxis.h"
#include "LineScanner.h"
#include "Selection.h"
#include "TimesTable.h"
#include "link/Protocol.h"

namespace kov::wfexport {

// Text written at a cursor into room made beforehand, without a check for
// every character: the CSV of a recording is ten times the rows of a
// spreadsheet's limit.
class TextBuffer {
 public:
  char* Room(std::size_t n) {
    if (bytes_.size() - used_ < n) bytes_.resize(std::max(2 * bytes_.size(), used_ + n));
    return bytes_.data() + used_;
  }
  void Done(const char* end) { used_ = static_cast<std::size_t>(end - bytes_.data()); }
  std::string_view View() const { return {bytes_.data(), used_}; }
  void Clear() { used_ = 0; }

 private:
  std::vector<char> bytes_;
  std::size_t used_ = 0;
};

// "00" to "99".
inline constexpr char kDigitPairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546"
    "4748495051525354555657585960616263646566676869707172737475767778798081828384858687888990919293"
    "949596979899";

// The digits of a whole number at `at`, two at a time; the end of them.
KOV_HOT_INLINE char* Digits(char* at, std::uint32_t v) {
  const auto pair = [](char* to, std::uint32_t two) { std::memcpy(to, kDigitPairs + 2 * two, 2); };
  if (v < 10) {
    *at = static_cast<char>('0' + v);
    return at + 1;
  }
  if (v < 100) return pair(at, v), at + 2;
  if (v < 1000) return *at = static_cast<char>('0' + v / 100), pair(at + 1, v % 100), at + 3;
  if (v < 10000) return pair(at, v / 100), pair(at + 2, v % 100), at + 4;
  if (v < 100000) {
    *at = static_cast<char>('0' + v / 10000);
    return pair(at + 1, v / 100 % 100), pair(at + 3, v % 100), at + 5;
  }
  return std::to_chars(at, at + 10, v).ptr;
}

// Every point line as one row "pass,point,frequency_mhz,level_db", the level
// empty for a point without data, and with times ",time", the time of the
// point's band (empty when the times file ends before it).
class TidyCsv {
 public:
  TidyCsv(const FrequencyAxis& axis, const Selection& selection, const TimesTable* times);

  const char* Header() const {
    return times_ != nullptr ? "pass,point,frequency_mhz,level_db,time\n"
                             : "pass,point,frequency_mhz,level_db\n";
  }

  // The rows of one thread, each with the time of the band it last met.
  class Rows {
   public:
    explicit Rows(const TidyCsv& table) : table_(table) {}

    KOV_HOT_INLINE void Add(TextBuffer& out, std::int32_t pass, std::int32_t point,
                            const PointLevel& level) {
      const std::string* time = table_.times_ != nullptr ? &TimeOf(pass, point) : nullptr;
      char* at = out.Room(kRoom + (level.exact ? 0 : kLongNumber) + (time ? time->size() : 0));
      at = Digits(at, static_cast<std::uint32_t>(pass));
      *at++ = ',';
      at = Digits(at, static_cast<std::uint32_t>(point));
      *at++ = ',';
      const Frequency& f = table_.mhz_[static_cast<std::size_t>(point - table_.firstPoint_)];
      std::memcpy(at, f.text, sizeof f.text);
      at += f.length;
      *at++ = ',';
      if (level.has && level.exact) {
        const auto whole = static_cast<std::int32_t>(level.value);
        if (whole < 0) *at++ = '-';
        at = Digits(at, static_cast<std::uint32_t>(whole < 0 ? -whole : whole));
      } else if (level.has) {
        at = Number(at, level.value);
      }
      if (time != nullptr) {
        *at++ = ',';
        at = std::copy(time->begin(), time->end(), at);
      }
      *at++ = '\n';
      out.Done(at);
    }

   private:
    static constexpr std::size_t kRoom = 64, kLongNumber = 512;
    static char* Number(char* at, double value);
    const std::string& TimeOf(std::int32_t pass, std::int32_t point) {
      const std::int32_t band = (point - 1) / link::kPointsPerBand + 1;
      if (pass != timePass_ || band != timeBand_) Remember(pass, band);
      return time_;
    }
    void Remember(std::int32_t pass, std::int32_t band);

    const TidyCsv& table_;
    std::int32_t timePass_ = 0, timeBand_ = 0;
    std::string time_;
  };

 private:
  // A frequency's text ("450.03125"); none is longer.
  struct Frequency {
    char text[23] = {};
    std::uint8_t length = 0;
  };

  const TimesTable* times_;
  std::int32_t firstPoint_;
  std::vector<Frequency> mhz_;  // by point - firstPoint_
};

}  // namespace kov::wfexport
