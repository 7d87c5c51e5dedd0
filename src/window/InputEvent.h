#pragma once

#include <cstdint>
#include <optional>

#include "window/Layout.h"

namespace kov::window {

// One piece of the operator's input as a toolkit received it, before any
// control has seen it; or (Press) a button or the check box pressed by the
// toolkit's own means: a click, Space.
struct InputEvent {
  enum class Kind { KeyDown, KeyUp, Character, Mouse, Wheel, Press };
  enum class Key { Other, Return, Escape, Tab };

  Kind kind;
  // The control it goes to; none for the window itself, or a part of a
  // control that is no control of the layout.
  std::optional<Control> control = {};
  Key key = Key::Other;  // of a key or character
  // The modifiers held.
  bool shift = false;
  bool alt = false;
  // When the operator made it, on the toolkit's input clock; 0 when unknown.
  std::uint32_t madeAt = 0;
};

// What the toolkit does with the input: let it go on to its control, drop
// it, or nothing more, the host having done what it means.
enum class InputAnswer { Pass, Drop, Handled };

}  // namespace kov::window
