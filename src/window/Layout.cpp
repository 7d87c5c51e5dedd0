#include "window/Layout.h"

namespace kov::window {

const ControlSpec* FindControl(std::string_view name) {
  for (const ControlSpec& c : kControls) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

const char* ControlName(ui::Entry entry) {
  static constexpr const char* kNames[] = {"TxtXportIP", "TxtXportPort", "TxtStartFQ",
                                           "TxtEndFQ",   "TxtInterval",  "TxtTime"};
  return kNames[static_cast<int>(entry)];
}

const char* ControlName(ui::Button button) {
  return button == ui::Button::CmdMesStart ? "CmdMesStart" : "CmdMesBreak";
}

const char* ControlName(ui::Label label) {
  static constexpr const char* kNames[] = {"Label16", "Label17", "Label18",
                                           "Label19", "Label20", "Label21"};
  return kNames[static_cast<int>(label)];
}

}  // namespace kov::window
