#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "display/RasterSurface.h"
#include "display/SpectrumDisplay.h"
#include "ui/Window.h"
#include "window/Form.h"
#include "window/GuardedTimer.h"
#include "window/InputEvent.h"
#include "window/InputGate.h"
#include "window/Layout.h"
#include "window/PaintingClock.h"
#include "window/Toolkit.h"

namespace kov::window {

// What a toolkit's window is made of besides its controls.
struct HostParts {
  display::RasterSurface& xportData;
  display::RasterSurface& xportWF;
  TimerBackend& timer1;
  TimerBackend& timer3;
  TimerBackend& timer4;
};

// Shows a modal message with one OK button in place of the toolkit's box.
using MessageHook = std::function<void(std::string_view caption, std::string_view text)>;

// The operator window without a toolkit: it owns the form's handlers, the
// graphs' drawing and the timers, offers the handlers the window they act on,
// and decides what the toolkit's input does. A toolkit's window only creates
// the controls from the layout table, hands every input here and obeys the
// answer, and copies the graphs' pixels to the screen.
class Host : public ui::Window {
 public:
  Host(Toolkit& toolkit, HostWorld world, HostParts parts, MessageHook showMessage = {});

  // Form_Load; false when the program ended during it (the window must then
  // not be shown). The focus is then on the first control of the tab order.
  bool Load();
  Form& Handlers() { return *form_; }
  GuardedTimer& Timer(int number);

  // Input from the toolkit: input made while its control was disabled is
  // dropped; Enter presses the focused push button, and nothing else (there
  // is no default button); Esc presses nothing; Tab moves on from a button
  // that keeps the focus while disabled; a press of the check box leaves its
  // third state for checked, and otherwise toggles it.
  InputAnswer Input(const InputEvent& event);
  // The window was closed through its frame.
  void Closed();
  // A graph's pixels were copied to the screen.
  void GraphPainted(Graph graph);

  // ui::Window
  std::string EntryText(ui::Entry entry) const override;
  void SetEntryText(ui::Entry entry, std::string_view text) override;
  std::int16_t CheckValue() const override;
  void SetCheckValue(std::int16_t value) override;
  std::string StatusText() const override;
  void SetStatusText(std::string_view text) override;
  void SetLabelText(ui::Label label, std::string_view text) override;
  void SetButtonEnabled(ui::Button button, bool enabled) override;
  void ShowMessage(std::string_view text) override;
  void ProcessPendingEvents() override;
  void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) override;
  void EndProgram() override;
  bool Ended() const override { return ended_; }

 private:
  // Runs a handler of the form, the window's event loop busy meanwhile.
  template <typename Handler>
  void Handle(Handler&& handler);
  InputAnswer KeyDown(const InputEvent& event);
  void Press(Control control);
  void Click(ui::Button button);
  bool TabFromParked(bool forward);
  bool TakesFocusNow(Control control) const;
  void GraphChanged(Graph graph);
  void PaintGraphsNow();

  Toolkit& toolkit_;
  MessageHook showMessage_;
  GuardedTimer timer1_, timer3_, timer4_;
  PaintingClock clock_;
  display::SpectrumDisplay display_;
  std::unique_ptr<Form> form_;
  InputGate gate_;
  std::array<bool, kControlCount> disabled_{};
  // A graph changed since it was last painted, by Graph.
  std::array<bool, 2> paintPending_{};
  // The button that had the focus when it was disabled; the window itself
  // holds the focus meanwhile, so that keys press nothing.
  std::optional<Control> parked_;
  bool ended_ = false;
};

}  // namespace kov::window
