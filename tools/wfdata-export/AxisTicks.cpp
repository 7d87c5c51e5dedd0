#include "AxisTicks.h"

#include <cmath>

namespace kov::wfexport {

std::vector<double> AxisTicks(double low, double high, int most, bool whole) {
  const double span = high - low;
  if (!(span > 0) || most < 1) return {low};
  // The step is m x 10^e.
  const double wanted = span / most;
  int e = static_cast<int>(std::floor(std::log10(wanted)));
  int m = 10;
  for (const int candidate : {1, 2, 5}) {
    if (candidate * std::pow(10.0, e) >= wanted) {
      m = candidate;
      break;
    }
  }
  if (whole && e < 0) m = 1, e = 0;
  const double scale = std::pow(10.0, std::abs(e));  // exact for any axis here
  const auto value = [&](double i) { return e >= 0 ? i * m * scale : i * m / scale; };
  std::vector<double> ticks;
  for (double i = std::ceil(low / value(1) - 1e-9); value(i) <= high + value(1) * 1e-9; ++i) {
    ticks.push_back(value(i));
  }
  return ticks;
}

}  // namespace kov::wfexport
