#pragma once

#include <string_view>

#include "link/WindowControls.h"

namespace kov::measure {

enum class Label { Label16, Label17, Label18, Label19, Label20, Label21 };

// Everything the measurement handlers need of the window.
class Controls : public link::WindowControls {
 public:
  virtual void SetLabelText(Label label, std::string_view text) = 0;
};

}  // namespace kov::measure
