#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "FrequencyAxis.h"
#include "OutputFile.h"
#include "TimesTable.h"

namespace kov::wfexport {

// The level at a few points, pass by pass: one cell per pass and point, in
// the size of the passes read, whatever their order.
class TrackTable {
 public:
  // The points in the order asked for (each once), and the first pass kept.
  TrackTable(std::vector<std::int32_t> points, std::int32_t firstPass);

  bool Tracks(std::int32_t point) const {
    return point >= 1 && point <= FrequencyAxis::kMaxPoints &&
           column_[static_cast<std::size_t>(point - 1)] >= 0;
  }
  void Add(std::int32_t pass, std::int32_t point, const std::optional<double>& level);

  // "time,pass,frequency_mhz,level_db": one row per pass and point the file
  // held, the time that of the point's band (empty without times), the level
  // empty for a point without data.
  bool Write(OutputFile& file, const FrequencyAxis& axis, const TimesTable* times) const;

 private:
  struct Cell {
    double level = 0;
    enum : std::uint8_t { kNone, kNoData, kLevel } state = kNone;
  };

  std::vector<std::int32_t> points_;
  std::vector<std::int16_t> column_;  // by point - 1: the column, or -1
  std::int32_t firstPass_;
  std::vector<Cell> cells_;  // pass by pass, a column per point
};

// The nearest point to each frequency, each once, in the order given.
std::vector<std::int32_t> NearestPoints(const std::vector<double>& mhz, const FrequencyAxis& axis);

}  // namespace kov::wfexport
