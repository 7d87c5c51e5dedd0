#include "TrackTable.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "CsvText.h"
#include "link/Protocol.h"
#include "measure/TimesFile.h"

namespace kov::wfexport {

TrackTable::TrackTable(std::vector<std::int32_t> points, std::int32_t firstPass)
    : points_(std::move(points)),
      column_(static_cast<std::size_t>(FrequencyAxis::kMaxPoints), -1),
      firstPass_(firstPass) {
  for (std::size_t i = 0; i < points_.size(); ++i) {
    column_[static_cast<std::size_t>(points_[i] - 1)] = static_cast<std::int16_t>(i);
  }
}

void TrackTable::Add(std::int32_t pass, std::int32_t point, const std::optional<double>& level) {
  const std::size_t columns = points_.size();
  const auto row = static_cast<std::size_t>(pass - firstPass_);
  if (cells_.size() < (row + 1) * columns) cells_.resize((row + 1) * columns);
  Cell& cell = cells_[row * columns + static_cast<std::size_t>(column_[point - 1])];
  cell.state = level ? Cell::kLevel : Cell::kNoData;
  cell.level = level.value_or(0);
}

bool TrackTable::Write(OutputFile& file, const FrequencyAxis& axis, const TimesTable* times) const {
  std::string text = "time,pass,frequency_mhz,level_db\n";
  const std::size_t columns = points_.size();
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    const Cell& cell = cells_[i];
    if (cell.state == Cell::kNone) continue;
    const auto pass = firstPass_ + static_cast<std::int32_t>(i / columns);
    const std::int32_t point = points_[i % columns];
    const auto time =
        times != nullptr ? times->At(pass, (point - 1) / link::kPointsPerBand + 1) : std::nullopt;
    if (time) text += measure::IsoTime(*time);
    text += ',';
    AppendWhole(text, pass);
    text += ',';
    AppendNumber(text, axis.MHz(point));
    text += ',';
    if (cell.state == Cell::kLevel) AppendNumber(text, cell.level);
    text += '\n';
  }
  return file.Write(text);
}

std::vector<std::int32_t> NearestPoints(const std::vector<double>& mhz, const FrequencyAxis& axis) {
  std::vector<std::int32_t> points;
  for (const double f : mhz) {
    const double place = (f - axis.startMHz) / FrequencyAxis::kStepMHz + 1;
    const auto point = static_cast<std::int32_t>(
        std::clamp(std::round(place), 0.0, double{FrequencyAxis::kMaxPoints + 1}));
    if (std::find(points.begin(), points.end(), point) == points.end()) points.push_back(point);
  }
  return points;
}

}  // namespace kov::wfexport
