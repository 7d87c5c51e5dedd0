#pragma once

#include "window/Layout.h"
#include "window/Toolkit.h"

namespace kov::window {

// A click on Chk1: the third state (from the settings file) goes to checked;
// otherwise the box toggles between clear and checked.
constexpr CheckState NextCheckState(CheckState state) {
  return state == CheckState::Checked ? CheckState::Clear : CheckState::Checked;
}

// Whether a control of this kind takes the keyboard focus.
constexpr bool TakesFocus(Kind kind) { return kind != Kind::Label && kind != Kind::Graph; }

}  // namespace kov::window
