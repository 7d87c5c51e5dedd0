#pragma once

#include <functional>
#include <span>

#include "window/Layout.h"

namespace kov::window {

// The control that Tab (forward) or Shift+Tab moves the focus to from `from`:
// the next one in the tab order, wrapping round, that can take the focus now.
// `from` itself when no other can.
Control NextTabStop(std::span<const Control> order, Control from, bool forward,
                    const std::function<bool(Control)>& canFocus);

}  // namespace kov::window
