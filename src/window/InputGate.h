#pragma once

#include <cstdint>
#include <map>

#include "window/Layout.h"

namespace kov::window {

// Input the operator made while a button was disabled never presses it, even
// when the window only gets to the input after the button has been enabled
// again (a click during a blocking wait is handled after the wait). Times are
// milliseconds of the toolkit's input clock, which wraps at 32 bits.
class InputGate {
 public:
  void SetEnabled(Control control, bool enabled, std::uint32_t now);
  // Whether input on the control, made at madeAt, may take effect now. Input
  // without a time (0) or with one far from now (a clock this gate cannot
  // relate) is let through.
  bool Accepts(Control control, std::uint32_t madeAt, std::uint32_t now) const;

 private:
  struct State {
    bool enabled = true;
    std::uint32_t since = 0;
  };
  std::map<Control, State> states_;
};

}  // namespace kov::window
