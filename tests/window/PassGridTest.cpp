// The window's Timer1 leaves alone the ticks that have nothing to do while a
// pass runs, yet every command goes on the wire when it did with a timer
// that runs each tick: the same run on both, side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RunRig.h"
#include "fakes/FakeToolkit.h"
#include "window/Host.h"

namespace kov::window {
namespace {

using fakes::FakeTimerBackend;

// The instrument: every command with the moment it came, the reply to each
// "GD" `delayMs` later, and an interval typed during the first "GD" if asked.
struct SlowInstrument {
  SlowInstrument(fakes::FakeClock& c, fakes::FakeSockets& s, std::int64_t delay,
                 std::function<void()> type)
      : clock(c), sockets(s), delayMs(delay) {
    sockets.onSend = [this, type](const std::string& bytes) {
      log.push_back(std::to_string(clock.now) + " " + bytes);
      if (bytes != "GD\r\n") return;
      replyAt = clock.now + delayMs;
      if (gds++ == 0 && type) type();
    };
  }
  // A wait for the reply that ends at the reply, its time-out or `tick`.
  void Wait(std::int32_t ms, std::int64_t tick) {
    std::int64_t end = clock.now + ms;
    if (tick >= 0) end = std::min(end, std::max(tick, clock.now));
    if (replyAt >= 0 && replyAt <= end) {
      end = std::max(replyAt, clock.now);
      sockets.incoming.push_back(fakes::FakeSockets::Data(testing::RunRig::FullReply("")));
      replyAt = -1;
    }
    clock.now = end;
  }
  fakes::FakeClock& clock;
  fakes::FakeSockets& sockets;
  std::int64_t delayMs;
  std::int64_t replyAt = -1;
  int gds = 0;
  std::vector<std::string> log;
};

// The toolkit's timers on the fake clock, run by its event loop.
struct BackendLoop {
  std::int64_t NextDue() const {
    std::int64_t next = -1;
    for (const FakeTimerBackend* b : timers) {
      if (b->due >= 0 && (next < 0 || b->due < next)) next = b->due;
    }
    return next;
  }
  void RunDue() {
    for (std::int64_t next = NextDue(); next >= 0 && next <= clock.now; next = NextDue()) Fire();
  }
  bool Step() {
    const std::int64_t next = NextDue();
    if (next < 0) return false;
    clock.now = std::max(clock.now, next);
    Fire();
    return true;
  }
  void Fire() {
    for (FakeTimerBackend* b : timers) {
      if (b->due == NextDue()) return b->Fire();
    }
  }
  fakes::FakeClock& clock;
  std::vector<FakeTimerBackend*> timers;
};

struct GridCase {
  const char* interval;
  std::int64_t replyDelayMs;
  const char* typed;  // the interval typed during the first "GD", or nullptr
};

class PassGridTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(PassGridTest, CommandsAtTheMomentsOfATimerThatRunsEachTick) {
  const GridCase& c = GetParam();
  // Every tick run, as the window's timers did.
  testing::RunRig design;
  SlowInstrument reference(design.fakeClock, design.sockets, c.replyDelayMs, [&] {
    if (c.typed) design.window.entries[ui::Entry::TxtInterval] = c.typed;
  });
  design.window.onWait = [&](platform::SocketHandle, std::int32_t ms) {
    reference.Wait(ms, design.loop.NextDue());
    design.loop.RunDue();
  };
  design.Entries("450", "470", "3", c.interval);
  design.form.CmdMesStart_Click();
  design.RunToEnd();

  // The window with its guarded timers.
  fakes::FakeClock clock;
  fakes::FakeSockets sockets{clock};
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  fakes::FakeToolkit toolkit;
  display::RasterSurface data{64, 32, {0, 0, 0}}, wf{64, 32, {0, 0, 255}};
  FakeTimerBackend t1{&clock}, t3{&clock}, t4{&clock};
  BackendLoop loop{clock, {&t1, &t3, &t4}};
  Host host{toolkit, HostWorld{sockets, clock, files, profiles, "/opt/kov", "WFdata.txt"},
            HostParts{data, wf, t1, t3, t4}};
  SlowInstrument instrument(clock, sockets, c.replyDelayMs, [&] {
    if (c.typed) toolkit.texts[Control::TxtInterval] = c.typed;
  });
  toolkit.onProcessEvents = [&] { loop.RunDue(); };
  toolkit.onWait = [&](platform::SocketHandle, std::int32_t ms) {
    instrument.Wait(ms, loop.NextDue());
    loop.RunDue();
  };
  host.Load();
  for (const auto& [entry, text] : {std::pair{Control::TxtStartFQ, "450"},
                                    {Control::TxtEndFQ, "470"},
                                    {Control::TxtTime, "3"},
                                    {Control::TxtInterval, c.interval}}) {
    toolkit.texts[entry] = text;
  }
  host.Input({InputEvent::Kind::Press, Control::CmdMesStart});
  while (!host.Ended() && loop.Step()) {
  }

  EXPECT_EQ(instrument.log, reference.log);
  EXPECT_EQ(clock.sleeps, design.fakeClock.sleeps);
  EXPECT_EQ(toolkit.texts[Control::Text1], "測定完了しました。");
  // Each wait for a reply ends with the reply, not with a tick of Timer1.
  EXPECT_LE(toolkit.waits, 3 * 2 + 2);
  EXPECT_LE(t1.fired, 3 + 3);
}

INSTANTIATE_TEST_SUITE_P(Intervals, PassGridTest,
                         ::testing::Values(GridCase{"0", 700, nullptr},
                                           GridCase{"0", 3000, nullptr},
                                           GridCase{"0.3", 700, nullptr},
                                           GridCase{"2.5", 3000, nullptr},
                                           GridCase{"7", 700, nullptr}, GridCase{"0", 700, "4"},
                                           GridCase{"5", 3000, "0"}));

}  // namespace
}  // namespace kov::window
