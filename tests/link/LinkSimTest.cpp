// The link against the instrument simulator on 127.0.0.1, real sockets and a
// fake clock.
#include <gtest/gtest.h>

#include "FastForwardSockets.h"
#include "SimProcess.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeWindow.h"
#include "link/Link.h"
#include "link/Protocol.h"
#include "platform/SystemSockets.h"

namespace kov::link {
namespace {

struct SimCase {
  const char* name;
  std::vector<std::string> options = {};
  int measuredPoints = 0;  // points that carry the simulator's own level
  bool repeated = false;   // "GD" sent twice
  bool closesOnGD = false;
  // The polls wait on the fake clock only: the answer (or its absence) does
  // not depend on how fast the polls run, and the two 5 s limits pass at once.
  bool fakeWaits = false;
  // The simulator answers "CF": the band step's settling wait lets the
  // answer arrive before "GD" (here up to 2 s, ending when it is there).
  bool cfAnswered = false;
};

class LinkSimTest : public ::testing::TestWithParam<SimCase> {};

TEST_P(LinkSimTest, FetchesOneBand) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  const SimCase& c = GetParam();
  testing::SimProcess sim(c.options);
  ASSERT_TRUE(sim.Running());

  fakes::FakeClock clock;
  platform::SystemSockets realSockets;
  testing::FastForwardSockets fastSockets;
  fastSockets.clock = &clock;
  platform::Sockets& sockets =
      c.fakeWaits ? static_cast<platform::Sockets&>(fastSockets) : realSockets;
  fakes::FakeWindow window;
  window.entries[ui::Entry::TxtXportIP] = "127.0.0.1";
  window.entries[ui::Entry::TxtXportPort] = std::to_string(sim.Port());
  fakes::FakeTimer t1(clock, "Timer1"), t3(clock, "Timer3"), t4(clock, "Timer4");
  fakes::FakeProfileFiles profiles;
  settings::Settings settings(profiles, "/opt/kov");
  LinkState state;
  Link link(state, {.sockets = sockets,
                    .clock = clock,
                    .fields = window,
                    .messages = window,
                    .buttons = window,
                    .loop = window,
                    .timers = {t1, t3, t4},
                    .settings = settings});
  window.onWait = [&](platform::SocketHandle s, std::int32_t ms) { sockets.WaitReadable(s, ms); };

  link.SocketsInitialize();
  link.XportConnect();
  link.XportSend(kCmdFP10);
  ASSERT_TRUE(link.SendCF(BandCenterFQ(450, 10, 1), "x"));
  if (c.cfAnswered) realSockets.WaitReadable(state.XportSock, 2000);
  link.SendGD();
  EXPECT_EQ(link.RecvGDReply(), c.closesOnGD            ? ReplyOutcome::kConnectionLost
                                : c.measuredPoints == 0 ? ReplyOutcome::kSubstitute
                                                        : ReplyOutcome::kComplete);
  const BandLevels levels = SplitGDReply(state.RecvStr);
  link.XportDisconnect();

  int measured = 0;
  for (const auto& level : levels) {
    if (level && *level != "-100 ") ++measured;
    if (level) {
      EXPECT_EQ(level->size(), 5u) << *level;
    }
  }
  EXPECT_EQ(measured, c.measuredPoints);

  sim.Stop();
  std::vector<std::string> expected = {"FP10\r\n", "CF455\r\n", "GD\r\n"};
  if (!c.closesOnGD) {
    if (c.repeated) expected.push_back("GD\r\n");
    expected.push_back("EX\r\n");
  }
  EXPECT_EQ(sim.Commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LinkSimTest,
    ::testing::Values(
        SimCase{.name = "Normal", .measuredPoints = 320},
        SimCase{.name = "OneByteChunks", .options = {"--chunk-bytes", "1"}, .measuredPoints = 320},
        SimCase{.name = "ChunksWithGaps",
                .options = {"--chunk-bytes", "700", "--chunk-gap-ms", "20"},
                .measuredPoints = 320},
        SimCase{.name = "ShortReply", .options = {"--entries", "300"}, .measuredPoints = 300},
        SimCase{.name = "NoMarkerTimesOut",
                .options = {"--no-marker"},
                .repeated = true,
                .fakeWaits = true},
        SimCase{.name = "Silent", .options = {"--silent"}, .repeated = true, .fakeWaits = true},
        // The peer's close is seen at once; the "EX" offered after it must not
        // raise SIGPIPE.
        SimCase{.name = "PeerClosesOnGD", .options = {"--close-after", "3"}, .closesOnGD = true},
        SimCase{.name = "AnswersTheRepeatOnly",
                .options = {"--answer-repeat-only"},
                .measuredPoints = 320,
                .repeated = true,
                .fakeWaits = true},
        SimCase{.name = "CFAnswerBeforeGD",
                .options = {"--cf-reply", "CF OK / \r\n"},
                .measuredPoints = 320,
                .cfAnswered = true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XportSim, StopsCleanlyOnSigterm) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Running());
  EXPECT_EQ(sim.Stop(), 0);
}

}  // namespace
}  // namespace kov::link
