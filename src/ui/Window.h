#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Sockets.h"
#include "ui/Controls.h"

namespace kov::ui {

// The window by the roles its parts play for the core: each part of the core
// takes the roles it uses, and no more. Texts are UTF-8.

// The state of the level check box Chk1: 0 clear, 1 checked, 2 the third
// (indeterminate) state. The graphs read it each time they draw.
class LevelRange {
 public:
  virtual ~LevelRange() = default;
  virtual std::int16_t CheckValue() const = 0;
};

// What the operator sets: the six entries, and the level check box.
class Fields : public LevelRange {
 public:
  virtual std::string EntryText(Entry entry) const = 0;
  virtual void SetEntryText(Entry entry, std::string_view text) = 0;
  virtual void SetCheckValue(std::int16_t value) = 0;
};

// The frequency and time labels around the waterfall.
class Labels {
 public:
  virtual ~Labels() = default;
  virtual void SetLabelText(Label label, std::string_view text) = 0;
};

// What the operator is told: the status line Text1, and the modal message
// box with one OK button and the caption "KOV_Xport_WindowsAPI", which
// returns when OK is pressed.
class Messages {
 public:
  virtual ~Messages() = default;
  virtual std::string StatusText() const = 0;
  virtual void SetStatusText(std::string_view text) = 0;
  virtual void ShowMessage(std::string_view text) = 0;
};

// The start and break buttons.
class Buttons {
 public:
  virtual ~Buttons() = default;
  virtual void SetButtonEnabled(Button button, bool enabled) = 0;
};

// The window's events while a handler runs, and the end of the program.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
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

// The whole window, as its handlers have it.
class Window : public Fields, public Labels, public Messages, public Buttons, public EventLoop {};

}  // namespace kov::ui
