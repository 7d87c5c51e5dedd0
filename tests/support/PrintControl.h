#pragma once

#include <ostream>

#include "window/InputEvent.h"
#include "window/Layout.h"

namespace kov::window {

// Controls and the host's answers to input by their names in test messages.
inline void PrintTo(Control control, std::ostream* out) { *out << RowOf(control).name; }
inline void PrintTo(InputAnswer answer, std::ostream* out) {
  static constexpr const char* kNames[] = {"Pass", "Drop", "Handled"};
  *out << kNames[static_cast<int>(answer)];
}

}  // namespace kov::window
