#include "PointStatistics.h"

namespace kov::wfexport {

PointStatistics::PointStatistics(std::int32_t firstPoint, std::int32_t lastPoint, double threshold)
    : firstPoint_(firstPoint),
      threshold_(threshold),
      points_(static_cast<std::size_t>(lastPoint - firstPoint + 1)) {}

std::int32_t PointStatistics::LastPointSeen() const {
  auto n = static_cast<std::int32_t>(points_.size());
  while (n > 0 && points_[static_cast<std::size_t>(n - 1)].lines == 0) --n;
  return firstPoint_ + n - 1;
}

}  // namespace kov::wfexport
