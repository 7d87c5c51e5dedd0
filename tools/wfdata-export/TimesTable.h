#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace kov::wfexport {

// When each band of a recording was measured, from its times file: a table
// made whole before the recording is read, so that any reader of any part
// of the recording looks its times up. Eight bytes a band.
class TimesTable {
 public:
  // Bands of a pass: those of the first pass once the second has begun, else
  // the bands so far.
  std::int32_t Bands() const { return bands_; }
  bool BandsKnown() const { return bandsKnown_; }
  std::int64_t Count() const { return static_cast<std::int64_t>(packed_.size()); }
  std::int32_t LastPass() const { return lastPass_; }
  std::int32_t LastBand() const { return lastBand_; }
  double FirstCentreMHz() const { return firstCentreMHz_; }

  std::optional<platform::WallTime> At(std::int32_t pass, std::int32_t band) const;
  // Room for the bands of a times file of this size, made at once: grown
  // step by step, the table would take three times its size at moments.
  void ReserveFor(std::uint64_t fileBytes);
  // A pass's time: that of its first band.
  std::optional<platform::WallTime> PassTime(std::int32_t pass) const { return At(pass, 1); }
  // The first and the last band's (Count() > 0).
  platform::WallTime First() const { return Unpack(packed_.front()); }
  platform::WallTime Last() const { return Unpack(packed_.back()); }

 private:
  friend class TimesReader;
  static std::int64_t Pack(platform::WallTime t);
  static platform::WallTime Unpack(std::int64_t packed);

  std::vector<std::int64_t> packed_;  // in the file's order: pass by pass, band by band
  std::int32_t bands_ = 0;
  bool bandsKnown_ = false;
  std::int32_t lastPass_ = 0, lastBand_ = 0;
  double firstCentreMHz_ = 0;
};

// Reads a times file line by line into its table, refusing at the first
// line that does not follow from those before: a header other than the
// program's, a line that is no times line, a band out of turn or tuned
// elsewhere than the run's first band implies.
class TimesReader {
 public:
  explicit TimesReader(std::string name);

  // A whole line, its line end removed; false once the file is refused.
  bool Take(std::string_view line);
  // After the last whole line: `partial` bytes followed it. False when the
  // file is refused.
  bool Finish(std::uint64_t partial);

  const std::string& Error() const { return error_; }
  // Where a file taken during a run ends, or "".
  const std::string& Note() const { return note_; }
  TimesTable& Table() { return table_; }

 private:
  bool Refuse(const std::string& why);

  std::string name_;
  std::int64_t lines_ = 0;
  TimesTable table_;
  std::string error_, note_;
};

// The times file read whole; an error names the file and line.
struct LoadedTimes {
  TimesTable table;
  std::string error;
  std::string note;
};
LoadedTimes LoadTimes(const std::string& path, const std::string& name);

}  // namespace kov::wfexport
