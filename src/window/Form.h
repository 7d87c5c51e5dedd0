#pragma once

#include <string>

#include "link/Link.h"
#include "measure/Display.h"
#include "measure/Measurement.h"
#include "measure/StateRecord.h"
#include "platform/Clock.h"
#include "platform/ProfileFiles.h"
#include "platform/Sockets.h"
#include "platform/TextFiles.h"
#include "settings/Settings.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace kov::window {

// The outside world of the program: the system's in the program, fakes (a
// clock that does not sleep, say) in tests.
struct HostWorld {
  platform::Sockets& sockets;
  platform::Clock& clock;
  platform::TextFiles& textFiles;
  platform::ProfileFiles& profileFiles;
  std::string programFolder;
  std::string waveformPath = measure::kWaveformFile;
};

// What the handlers of the main window act on: the window and its parts,
// and the outside world.
struct FormWorld {
  ui::Window& window;
  ui::Timers timers;
  measure::Display& display;
  HostWorld outside;
};

// The event handlers of KOV_Xport_WindowsAPI_Form and the state record they
// share. The window routes each event to one of these and nothing else. Once
// the program has ended, every handler returns at once.
class Form {
 public:
  explicit Form(FormWorld world);

  void Form_Load();
  void CmdMesStart_Click();
  void CmdMesBreak_Click();
  void CmdExit_Click();
  void BtnSaveMespara_Click();
  void Timer1_Timer();
  void Timer3_Timer();
  void Timer4_Timer();
  // The window was closed through its frame: the program ends without
  // sending anything, also when this comes from inside the receive loop.
  void WindowClosed();

  // Whether a tick of Timer1 now would do nothing but re-arm Timer1 with the
  // interval it has: a pass runs, and the interval entry reads as it did at
  // the last tick.
  bool Timer1TickIdle() const;

  const measure::StateRecord& State() const { return state_; }

 private:
  template <typename Handler>
  void Run(Handler&& handler);

  FormWorld world_;
  measure::StateRecord state_;
  settings::Settings settings_;
  link::Link link_;
  measure::Measurement measurement_;
  // The interval entry as the last tick of Timer1 read it.
  std::string timer1Interval_;
};

}  // namespace kov::window
