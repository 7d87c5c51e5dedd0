#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Sockets.h"
#include "window/Layout.h"

namespace kov::window {

enum class CheckState { Clear, Checked, Third };

// What a toolkit's window does for the form: the few primitive operations on
// its controls, known by their row of the layout table. Texts are UTF-8. The
// behaviour built on them (focus, input during waits, painting before waits,
// the end of the program) is the host's, the same on every toolkit.
class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // Texts of the entries, the status line and the labels.
  virtual std::string Text(Control control) const = 0;
  virtual void SetText(Control control, std::string_view text) = 0;
  // Paints the control at once, handling no input: a blocking wait may follow.
  virtual void PaintNow(Control control) = 0;
  // Has a graph painted when the window next handles its events.
  virtual void RequestPaint(Graph graph) = 0;
  virtual void SetEnabled(Control button, bool enabled) = 0;
  virtual CheckState Check() const = 0;
  virtual void SetCheck(CheckState state) = 0;
  // The control with the keyboard focus; none when the window itself has it.
  virtual std::optional<Control> Focused() const = 0;
  // Moves the focus to the control, or to the window itself for none.
  virtual void Focus(std::optional<Control> control) = 0;
  // Modal, with one OK button; returns when OK is pressed.
  virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;
  virtual void ProcessPendingEvents() = 0;
  // Waits until the socket has something to read, input or another event
  // for the window is pending, or timeoutMs pass; may run the pending events.
  virtual void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) = 0;
  // The two steps of the end of the program.
  virtual void Hide() = 0;
  virtual void Quit() = 0;
  // Now, on the clock the window system stamps its input with (milliseconds,
  // wrapping at 32 bits).
  virtual std::uint32_t InputClockMs() const = 0;
};

}  // namespace kov::window
