#pragma once

#include <algorithm>
#include <functional>
#include <string>

#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTextFiles.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeWindow.h"
#include "link/Protocol.h"
#include "ui/Controls.h"
#include "window/Form.h"

namespace kov::testing {

// The outside world of a run when it is not the rig's own fakes: real
// sockets and files, say, and the system's clock for a benchmark.
struct RunWorld {
  platform::Sockets& sockets;
  platform::TextFiles& textFiles;
  platform::ProfileFiles& profileFiles;
  std::string programFolder;
  std::string waveformPath;
  platform::Clock* clock = nullptr;  // nullptr: the rig's fake clock
};

// The form's handlers with a faked window around them: its controls, the
// display and the three timers on the rig's event loop; pending events run
// the due timers, as the window's event loop would inside the receive loop.
// By default the outside world is faked too, and the instrument answers every
// "GD" at once with `reply` (unless `answer` is false).
class RunRig {
 public:
  RunRig() : RunRig(RunWorld{sockets, files, profiles, "/opt/kov", "WFdata.txt"}) {
    sockets.onSend = [this](const std::string& bytes) {
      if (bytes.rfind("CF", 0) == 0) lastCF = bytes;
      if (bytes == "GD\r\n" && answer) {
        sockets.incoming.push_back(fakes::FakeSockets::Data(reply(lastCF)));
      }
    };
    form.Form_Load();
  }

  // Another outside world; Form_Load is left to the test.
  explicit RunRig(RunWorld world)
      : clock(world.clock != nullptr ? *world.clock : fakeClock),
        t1(clock, "Timer1"),
        t3(clock, "Timer3"),
        t4(clock, "Timer4"),
        loop(world.clock != nullptr ? fakes::FakeEventLoop(*world.clock)
                                    : fakes::FakeEventLoop(fakeClock)),
        form{window::FormWorld{
            window, ui::Timers{t1, t3, t4}, display,
            window::HostWorld{world.sockets, clock, world.textFiles, world.profileFiles,
                              world.programFolder, world.waveformPath}}} {
    t1.handler = [this] { form.Timer1_Timer(); };
    t3.handler = [this] { form.Timer3_Timer(); };
    t4.handler = [this] { form.Timer4_Timer(); };
    loop.Add(t1);
    loop.Add(t3);
    loop.Add(t4);
    window.onProcessEvents = [this] { loop.RunDue(); };
    // A wait for the instrument ends early when a timer is due, as the
    // window's own wait wakes for a tick.
    window.onWait = [this, &sockets = world.sockets](platform::SocketHandle s, std::int32_t ms) {
      const std::int64_t due = loop.NextDue();
      const std::int64_t untilTick =
          due < 0 ? ms : std::max<std::int64_t>(due - clock.MonotonicMs(), 0);
      sockets.WaitReadable(s, static_cast<std::int32_t>(std::min<std::int64_t>(ms, untilTick)));
      loop.RunDue();
    };
  }

  void Entries(const char* start, const char* end, const char* count, const char* interval) {
    window.entries[ui::Entry::TxtStartFQ] = start;
    window.entries[ui::Entry::TxtEndFQ] = end;
    window.entries[ui::Entry::TxtTime] = count;
    window.entries[ui::Entry::TxtInterval] = interval;
  }
  void Instrument(const std::string& ip, int port) {
    window.entries[ui::Entry::TxtXportIP] = ip;
    window.entries[ui::Entry::TxtXportPort] = std::to_string(port);
  }

  // Runs the timers until none is armed, or the program has ended.
  void RunToEnd() {
    loop.RunUntil([this] { return window.ended; });
  }

  // A full reply of 320 points at -80 dB.
  static std::string FullReply(const std::string&) {
    static const std::string reply = [] {
      std::vector<link::ReplyEntry> entries;
      for (int k = 0; k < link::kPointsPerBand; ++k) entries.push_back({455.0, "-080 "});
      return link::BuildGDReply(entries);
    }();
    return reply;
  }

  fakes::FakeClock fakeClock;
  fakes::FakeSockets sockets{fakeClock};
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  platform::Clock& clock;
  fakes::FakeWindow window;
  fakes::FakeTimer t1, t3, t4;
  fakes::FakeEventLoop loop;
  fakes::FakeDisplay display;
  bool answer = true;
  std::string lastCF;
  std::function<std::string(const std::string&)> reply = FullReply;
  window::Form form;
};

}  // namespace kov::testing
