#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Sockets.h"
#include "ui/Controls.h"

namespace kov::ui {

// The state of the level check box Chk1: 0 clear, 1 checked, 2 the third
// (indeterminate) state. The graphs read it each time they draw.
class LevelRange {
 public:
  virtual ~LevelRange() = default;
  virtual std::int16_t CheckValue() const = 0;
};

// The frequency and time labels around the waterfall.
class Labels {
 public:
  virtual ~Labels() = default;
  virtual void SetLabelText(Label label, std::string_view text) = 0;
};

// What the handlers need of the window: entries, check box, status line
// Text1, labels, the start and break buttons, the modal message box, letting
// pending window events run, and ending the program. Texts are UTF-8.
class Window : public LevelRange, public Labels {
 public:
  virtual std::string EntryText(Entry entry) const = 0;
  virtual void SetEntryText(Entry entry, std::string_view text) = 0;
  virtual void SetCheckValue(std::int16_t value) = 0;
  virtual std::string StatusText() const = 0;
  virtual void SetStatusText(std::string_view text) = 0;
  virtual void SetButtonEnabled(Button button, bool enabled) = 0;
  // Modal message box with one OK button and the caption
  // "KOV_Xport_WindowsAPI"; returns when OK is pressed.
  virtual void ShowMessage(std::string_view text) = 0;
  // Runs the window events that are pending (clicks, ticks, painting).
  virtual void ProcessPendingEvents() = 0;
  // Waits, without spinning, until the socket has something to read (data,
  // its end or an error), a window event is pending, or timeoutMs pass. It may
  // run the window's pending events itself, as ProcessPendingEvents does.
  virtual void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) = 0;
  // Closes the window at once; no further tick or click reaches a handler.
  virtual void EndProgram() = 0;
  // Whether the program has ended.
  virtual bool Ended() const = 0;
};

}  // namespace kov::ui
