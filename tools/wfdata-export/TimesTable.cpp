#include "TimesTable.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "FileCalls.h"
#include "measure/TimesFile.h"
#include "platform/Numbers.h"

namespace kov::wfexport {
namespace {

constexpr std::int32_t kMaxBands = 102;
constexpr std::int32_t kMaxPass = 32767;
constexpr std::int64_t kOffsets = 4096;  // room for any offset of -23:59 to +23:59 minutes
constexpr std::size_t kLongestLine = 256;

std::string Place(std::int32_t pass, std::int32_t band) {
  return "pass " + std::to_string(pass) + " band " + std::to_string(band);
}

}  // namespace

std::int64_t TimesTable::Pack(platform::WallTime t) {
  return t.utcMs * kOffsets + (t.offsetMinutes + kOffsets / 2);
}

platform::WallTime TimesTable::Unpack(std::int64_t packed) {
  std::int64_t offset = packed % kOffsets;
  if (offset < 0) offset += kOffsets;
  return {(packed - offset) / kOffsets, static_cast<std::int32_t>(offset - kOffsets / 2)};
}

std::optional<platform::WallTime> TimesTable::At(std::int32_t pass, std::int32_t band) const {
  if (pass < 1 || band < 1 || band > bands_ || (pass > 1 && !bandsKnown_)) return std::nullopt;
  const std::int64_t index = std::int64_t{pass - 1} * bands_ + band - 1;
  if (index >= Count()) return std::nullopt;
  return Unpack(packed_[static_cast<std::size_t>(index)]);
}

TimesReader::TimesReader(std::string name) : name_(std::move(name)) {}

bool TimesReader::Refuse(const std::string& why) {
  if (error_.empty()) error_ = name_ + ":" + std::to_string(lines_) + ": " + why;
  return false;
}

bool TimesReader::Take(std::string_view line) {
  if (!error_.empty()) return false;
  ++lines_;
  if (line.ends_with('\r')) line.remove_suffix(1);
  if (lines_ == 1) {
    if (line == measure::kTimesHeader) return true;
    return Refuse("not a times file: its first line is not \"" +
                  std::string(measure::kTimesHeader) + "\"");
  }
  const auto band = measure::ParseTimesLine(line);
  if (!band) return Refuse("not a times line: \"" + std::string(line.substr(0, 60)) + "\"");
  TimesTable& t = table_;
  const bool first = t.packed_.empty();
  const bool nextPass =
      !first && (t.bandsKnown_ ? t.lastBand_ == t.bands_ : band->pass != t.lastPass_);
  const std::int32_t pass = first ? 1 : nextPass ? t.lastPass_ + 1 : t.lastPass_;
  const std::int32_t number = first || nextPass ? 1 : t.lastBand_ + 1;
  if (band->pass != pass || band->band != number || number > kMaxBands || pass > kMaxPass) {
    return Refuse(Place(band->pass, band->band) + " where " + Place(pass, number) + " was due");
  }
  const double start = band->centerMHz - 5;
  if (first && !(start >= 0 && start <= 32760 && std::fmod(start, 10) == 0)) {
    return Refuse("band 1 is tuned to " + platform::PlainNumber(band->centerMHz) +
                  " MHz, which starts no run");
  }
  const double centre = first ? band->centerMHz : t.firstCentreMHz_ + 10.0 * (number - 1);
  if (band->centerMHz != centre) {
    return Refuse("band " + std::to_string(number) + " is tuned to " +
                  platform::PlainNumber(band->centerMHz) + " MHz, where the run's band 1 at " +
                  platform::PlainNumber(t.firstCentreMHz_) + " MHz puts it at " +
                  platform::PlainNumber(centre) + " MHz");
  }
  if (first) t.firstCentreMHz_ = band->centerMHz;
  if (nextPass) t.bandsKnown_ = true;
  if (!t.bandsKnown_) t.bands_ = number;
  t.lastPass_ = pass;
  t.lastBand_ = number;
  t.packed_.push_back(TimesTable::Pack(band->time));
  return true;
}

bool TimesReader::Finish(std::uint64_t partial) {
  if (!error_.empty()) return false;
  if (lines_ == 0) {
    ++lines_;
    return Refuse("not a times file: it is empty");
  }
  if (partial > 0) {
    note_ = name_ + " ends inside a line (after " + Place(table_.lastPass_, table_.lastBand_) +
            "); it was read up to its last whole line";
  }
  return true;
}

void TimesTable::ReserveFor(std::uint64_t fileBytes) {
  // The shortest times line, "1,1,5,2026-12-08T20:48:28.123+09:00" CR LF, and
  // the most bands a run can have.
  constexpr std::uint64_t kShortestLine = 37, kMostBands = 32767 * 102;
  packed_.reserve(static_cast<std::size_t>(std::min(fileBytes / kShortestLine, kMostBands)));
}

LoadedTimes LoadTimes(const std::string& path, const std::string& name) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  LoadedTimes loaded;
  const std::unique_ptr<std::FILE, Closer> file(OpenInputFile(path));
  if (!file) {
    loaded.error = name + ": " + std::strerror(errno);
    return loaded;
  }
  TimesReader reader(name);
  reader.Table().ReserveFor(SizeOf(file.get()));
  std::string held;  // the unfinished line
  char piece[1 << 16];
  bool going = true;
  while (going) {
    const std::size_t n = std::fread(piece, 1, sizeof piece, file.get());
    if (n == 0) break;
    for (std::string_view rest(piece, n); going && !rest.empty();) {
      const std::size_t nl = rest.find('\n');
      held.append(rest.substr(0, nl));
      if (nl == std::string_view::npos) break;
      going = reader.Take(held);
      held.clear();
      rest.remove_prefix(nl + 1);
    }
    // No times line comes near this: the file is refused at its end.
    if (held.size() > kLongestLine) going = reader.Take(held);
  }
  if (going && std::ferror(file.get())) {
    loaded.error = name + ": " + std::strerror(errno);
  } else if (reader.Finish(held.size())) {
    loaded.table = std::move(reader.Table());
    loaded.note = reader.Note();
  } else {
    loaded.error = reader.Error();
  }
  return loaded;
}

}  // namespace kov::wfexport
