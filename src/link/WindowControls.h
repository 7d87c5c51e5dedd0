#pragma once

#include <string>
#include <string_view>

#include "settings/EntryControls.h"

namespace kov::link {

enum class Button { CmdMesStart, CmdMesBreak };

// What the instrument link needs of the window: the entries, the status line
// Text1, the enabling of the start and break buttons, the modal message box,
// letting pending window events run, and ending the program.
class WindowControls : public settings::EntryControls {
 public:
  virtual std::string StatusText() const = 0;
  virtual void SetStatusText(std::string_view text) = 0;
  virtual void SetButtonEnabled(Button button, bool enabled) = 0;
  // Modal message box with one OK button and the caption
  // "KOV_Xport_WindowsAPI"; returns when OK is pressed.
  virtual void ShowMessage(std::string_view text) = 0;
  // Runs the window events that are pending (clicks, ticks, painting).
  virtual void ProcessPendingEvents() = 0;
  // Closes the window at once; no further tick or click reaches a handler.
  virtual void EndProgram() = 0;
};

}  // namespace kov::link
