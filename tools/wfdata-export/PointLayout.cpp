#include "PointLayout.h"

#include <algorithm>

namespace kov::wfexport {

PointLayout PointLayout::Of(std::int32_t firstPoint, std::int32_t lastPoint, int maxColumns) {
  PointLayout layout;
  layout.firstPoint = firstPoint;
  layout.points = std::max(lastPoint - firstPoint + 1, 0);
  layout.columns = std::min(layout.points, maxColumns);
  return layout;
}

}  // namespace kov::wfexport
