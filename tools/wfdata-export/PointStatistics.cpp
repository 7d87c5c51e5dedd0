#include "PointStatistics.h"

#include <algorithm>

namespace kov::wfexport {

PointStatistics::PointStatistics(std::int32_t firstPoint, std::int32_t lastPoint, double threshold)
    : firstPoint_(firstPoint),
      threshold_(threshold),
      points_(static_cast<std::size_t>(lastPoint - firstPoint + 1)) {}

void PointStatistics::Merge(const PointStatistics& other) {
  for (std::size_t i = 0; i < points_.size(); ++i) {
    PointStats& s = points_[i];
    const PointStats& o = other.points_[i];
    s.lines += o.lines;
    s.withData += o.withData;
    s.above += o.above;
    s.min = std::min(s.min, o.min);
    s.max = std::max(s.max, o.max);
    s.sum += o.sum;
  }
}

void PointStatistics::ResetSums() {
  for (PointStats& s : points_) s.sum = 0;
}

std::int32_t PointStatistics::LastPointSeen() const {
  auto n = static_cast<std::int32_t>(points_.size());
  while (n > 0 && points_[static_cast<std::size_t>(n - 1)].lines == 0) --n;
  return firstPoint_ + n - 1;
}

}  // namespace kov::wfexport
