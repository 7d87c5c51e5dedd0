#include "Selection.h"

#include <algorithm>

#include "platform/Numbers.h"

namespace kov::wfexport {

std::string MakeSelection(const Options& options, const FrequencyAxis& axis, Selection& selection) {
  selection = Selection{};
  if (options.passes.low) selection.firstPass = static_cast<std::int32_t>(*options.passes.low);
  if (options.passes.high) selection.lastPass = static_cast<std::int32_t>(*options.passes.high);
  const std::int64_t lastPoint = axis.plannedPoints.value_or(FrequencyAxis::kMaxPoints);
  std::int64_t first = 1, last = lastPoint;
  if (options.freqMHz.low) first = std::max(first, axis.FirstPointFrom(*options.freqMHz.low));
  if (options.freqMHz.high) last = std::min(last, axis.LastPointUpTo(*options.freqMHz.high));
  if (first > last) {
    return "--freq selects no point: the points lie from " + platform::PlainNumber(axis.MHz(1)) +
           " to " + platform::PlainNumber(axis.MHz(static_cast<std::int32_t>(lastPoint))) +
           " MHz, " + platform::PlainNumber(FrequencyAxis::kStepMHz * 1000) + " kHz apart";
  }
  selection.firstPoint = static_cast<std::int32_t>(first);
  selection.lastPoint = static_cast<std::int32_t>(last);
  return {};
}

}  // namespace kov::wfexport
