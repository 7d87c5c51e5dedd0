#pragma once

#include <vector>

namespace kov::wfexport {

// Round values from low to high for the ticks of an axis: the multiples of
// one step, 1, 2 or 5 times a power of ten (at least 1 when `whole`), at
// most about `most` of them. Each value is the double nearest its decimal
// text, so that it prints short.
std::vector<double> AxisTicks(double low, double high, int most, bool whole = false);

}  // namespace kov::wfexport
