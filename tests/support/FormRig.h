#pragma once

#include <string>

#include "fakes/FakeClock.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeTimers.h"
#include "measure/Form.h"

namespace kov::testing {

// The handlers with a faked window (controls, timers on a fake clock, display)
// around the given sockets and files. Pending events run the due timers, as
// the window's event loop would inside the receive loop.
struct FormRig {
  FormRig(platform::Sockets& sockets, platform::TextFiles& textFiles,
          platform::ProfileFiles& profiles, const std::string& folder,
          const std::string& waveformPath)
      : form{measure::FormWorld{controls, link::Timers{t1, t3, t4}, display, sockets, clock,
                                textFiles, profiles, folder, waveformPath}} {
    t1.handler = [this] { form.Timer1_Timer(); };
    t3.handler = [this] { form.Timer3_Timer(); };
    t4.handler = [this] { form.Timer4_Timer(); };
    loop.Add(t1);
    loop.Add(t3);
    loop.Add(t4);
    controls.onProcessEvents = [this] { loop.RunDue(); };
  }

  // Runs the timers until none is armed or the program has ended.
  void RunToEnd() {
    loop.RunUntil([this] { return form.Ended(); });
  }

  fakes::FakeClock clock;
  fakes::FakeControls controls;
  fakes::FakeTimer t1{clock, "Timer1"}, t3{clock, "Timer3"}, t4{clock, "Timer4"};
  fakes::FakeEventLoop loop{clock};
  fakes::FakeDisplay display;
  measure::Form form;
};

}  // namespace kov::testing
