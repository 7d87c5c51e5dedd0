#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "display/RasterSurface.h"
#include "display/SpectrumDisplay.h"
#include "platform/Clock.h"
#include "platform/ProfileFiles.h"
#include "platform/Sockets.h"
#include "platform/TextFiles.h"
#include "ui/Window.h"
#include "window/Form.h"
#include "window/GuardedTimer.h"
#include "window/InputGate.h"
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

// The operator window without a toolkit: it owns the form's handlers, the
// graphs' drawing and the timers, offers the handlers the window they act on,
// and takes the toolkit's input. A toolkit's window only creates the controls
// from the layout table, forwards its input here and copies the graphs'
// pixels to the screen.
class Host : public ui::Window {
 public:
  Host(Toolkit& toolkit, HostWorld world, HostParts parts);

  // Form_Load; false when the program ended during it (the window must then
  // not be shown). The focus is then on the first control of the tab order.
  bool Load();
  bool Ended() const { return ended_; }
  Form& Handlers() { return *form_; }
  GuardedTimer& Timer(int number);

  // Input from the toolkit.
  // A push button was pressed (clicked, or Space or Enter on it).
  void Clicked(std::string_view button);
  // Whether input on a control, made at the given time of the input clock,
  // may take effect: never when the control was disabled when it was made.
  bool Accepts(std::string_view control, std::uint32_t madeAt) const;
  // Whether Enter on the focused control presses it: only an enabled push
  // button; there is no default button.
  bool EnterPresses(std::string_view focused) const;
  // Tab or Shift+Tab while a disabled button keeps the focus: moves it on
  // along the tab order and returns true; false to let the toolkit move it.
  bool Tab(bool forward);
  // The window was closed through its frame.
  void Closed();
  // A graph's pixels were copied to the screen.
  void GraphPainted(std::string_view graph);

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

 private:
  // Runs a handler of the form, the window's event loop busy meanwhile.
  template <typename Handler>
  void Handle(Handler&& handler);
  void GraphChanged(const char* graph, bool& pending);
  void PaintGraphsNow();
  bool Enabled(std::string_view control) const;

  Toolkit& toolkit_;
  GuardedTimer timer1_, timer3_, timer4_;
  PaintingClock clock_;
  display::SpectrumDisplay display_;
  std::unique_ptr<Form> form_;
  InputGate gate_;
  std::map<std::string, bool, std::less<>> enabled_;
  // A graph changed since it was last painted.
  bool dataPaintPending_ = false;
  bool wfPaintPending_ = false;
  // The button that had the focus when it was disabled; the window itself
  // holds the focus meanwhile, so that keys press nothing.
  std::optional<std::string> parked_;
  bool ended_ = false;
};

}  // namespace kov::window
