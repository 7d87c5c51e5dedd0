#pragma once

#include <functional>
#include <string>

#include "fakes/FakeClock.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTextFiles.h"
#include "fakes/FakeTimers.h"
#include "measure/Form.h"

namespace kov::testing {

// A whole window's worth of fakes around the handlers: the event loop runs
// the timers on the fake clock, pending events run inside the receive loop,
// and the instrument answers every "GD" at once (unless `answer` is false).
struct RunHarness {
  RunHarness() {
    t1.handler = [this] { form.Timer1_Timer(); };
    t3.handler = [this] { form.Timer3_Timer(); };
    t4.handler = [this] { form.Timer4_Timer(); };
    loop.Add(t1);
    loop.Add(t3);
    loop.Add(t4);
    controls.onProcessEvents = [this] { loop.RunDue(); };
    sockets.onSend = [this](const std::string& bytes) {
      if (bytes.rfind("CF", 0) == 0) lastCF = bytes;
      if (bytes == "GD\r\n" && answer) {
        sockets.incoming.push_back(fakes::FakeSockets::Data(reply(lastCF)));
      }
    };
    form.Form_Load();
  }

  void Entries(const char* start, const char* end, const char* count, const char* interval) {
    controls.entries[settings::Entry::TxtStartFQ] = start;
    controls.entries[settings::Entry::TxtEndFQ] = end;
    controls.entries[settings::Entry::TxtTime] = count;
    controls.entries[settings::Entry::TxtInterval] = interval;
  }

  // Runs the timers until none is armed (or the program ended).
  void RunToEnd() {
    loop.RunUntil([this] { return form.Ended(); });
  }

  static std::string FullReply(const std::string&) {
    std::string r = "GD \r\n/ \r\n";
    for (int k = 0; k < 320; ++k) r += "F0455.0000L-080 \r\n";
    return r + "/ \r\n";
  }

  fakes::FakeClock clock;
  fakes::FakeSockets sockets{clock};
  fakes::FakeControls controls;
  fakes::FakeTimer t1{clock, "Timer1"}, t3{clock, "Timer3"}, t4{clock, "Timer4"};
  fakes::FakeEventLoop loop{clock};
  fakes::FakeDisplay display;
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  bool answer = true;
  std::string lastCF;
  std::function<std::string(const std::string&)> reply = FullReply;
  measure::Form form{measure::FormWorld{controls, link::Timers{t1, t3, t4}, display, sockets, clock,
                                        files, profiles, "/opt/kov", "WFdata.txt"}};
};

}  // namespace kov::testing
