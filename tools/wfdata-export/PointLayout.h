#pragma once

#include <cstdint>

namespace kov::wfexport {

// The points of a picture across its columns: each column stands for the
// points from Begin(c) up to (not including) Begin(c + 1), one or more, the
// blocks differing in size by one point at most.
struct PointLayout {
  std::int32_t firstPoint = 1;
  std::int32_t points = 0;
  int columns = 0;

  // At most maxColumns columns, no more than there are points.
  static PointLayout Of(std::int32_t firstPoint, std::int32_t lastPoint, int maxColumns);

  int Column(std::int32_t point) const {
    return static_cast<int>(std::int64_t{point - firstPoint} * columns / points);
  }
  std::int32_t Begin(int column) const {
    return firstPoint +
           static_cast<std::int32_t>((std::int64_t{column} * points + columns - 1) / columns);
  }
  // The place of a point on an axis from 0 to `columns` (the middle of its
  // share), for ticks and traces.
  double Place(double point) const {
    return (point - firstPoint + 0.5) * columns / static_cast<double>(points);
  }
};

}  // namespace kov::wfexport
