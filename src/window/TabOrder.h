#pragma once

#include <functional>
#include <span>
#include <string_view>

namespace kov::window {

// The control that Tab (forward) or Shift+Tab moves the focus to from `from`:
// the next one in the tab order, wrapping round, that can take the focus now.
// `from` itself when no other can.
std::string_view NextTabStop(std::span<const char* const> order, std::string_view from,
                             bool forward, const std::function<bool(std::string_view)>& canFocus);

}  // namespace kov::window
