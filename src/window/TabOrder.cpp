#include "window/TabOrder.h"

#include <algorithm>

namespace kov::window {

Control NextTabStop(std::span<const Control> order, Control from, bool forward,
                    const std::function<bool(Control)>& canFocus) {
  const auto n = static_cast<std::ptrdiff_t>(order.size());
  const auto at = std::find(order.begin(), order.end(), from) - order.begin();
  for (std::ptrdiff_t step = 1; step < n; ++step) {
    const std::ptrdiff_t i = ((forward ? at + step : at - step) % n + n) % n;
    if (canFocus(order[static_cast<std::size_t>(i)])) return order[static_cast<std::size_t>(i)];
  }
  return from;
}

}  // namespace kov::window
