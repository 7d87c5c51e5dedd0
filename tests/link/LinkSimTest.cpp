// The link against the instrument simulator on 127.0.0.1, real sockets and a
// fake clock.
#include <gtest/gtest.h>

#include "SimProcess.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeTimers.h"
#include "link/Link.h"
#include "link/Protocol.h"
#include "platform/SystemSockets.h"

namespace kov::link {
namespace {

struct SimCase {
  const char* name;
  std::vector<std::string> options;
  int measuredPoints;  // points that carry the simulator's own level
  bool repeated;       // "GD" sent twice
};

class LinkSimTest : public ::testing::TestWithParam<SimCase> {};

TEST_P(LinkSimTest, FetchesOneBand) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  const SimCase& c = GetParam();
  testing::SimProcess sim(c.options);
  ASSERT_TRUE(sim.Running());

  fakes::FakeClock clock;
  platform::SystemSockets sockets;
  fakes::FakeControls controls;
  controls.entries[settings::Entry::TxtXportIP] = "127.0.0.1";
  controls.entries[settings::Entry::TxtXportPort] = std::to_string(sim.Port());
  fakes::FakeTimer t1(clock, "Timer1"), t3(clock, "Timer3"), t4(clock, "Timer4");
  fakes::FakeProfileFiles profiles;
  settings::Settings settings(profiles, "/opt/kov");
  LinkState state;
  Link link(state, sockets, clock, controls, Timers{t1, t3, t4}, settings);

  link.SocketsInitialize();
  link.XportConnect();
  link.XportSend(kCmdFP10);
  link.SendCF(BandCenterFQ(450, 10, 1), "x");
  link.SendGD();
  link.RecvGDReply();
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
  if (c.repeated) expected.push_back("GD\r\n");
  expected.push_back("EX\r\n");
  EXPECT_EQ(sim.Commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LinkSimTest,
    ::testing::Values(
        SimCase{"Normal", {}, 320, false},
        SimCase{"OneByteChunks", {"--chunk-bytes", "1"}, 320, false},
        SimCase{"ChunksWithGaps", {"--chunk-bytes", "700", "--chunk-gap-ms", "20"}, 320, false},
        SimCase{"ShortReply", {"--entries", "300"}, 300, false},
        SimCase{"NoMarkerTimesOut", {"--no-marker"}, 0, true},
        SimCase{"AnswersTheRepeatOnly", {"--answer-repeat-only"}, 320, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XportSim, StopsCleanlyOnSigterm) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Running());
  EXPECT_EQ(sim.Stop(), 0);
}

}  // namespace
}  // namespace kov::link
