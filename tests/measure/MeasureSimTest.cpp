// A whole run against the simulator on 127.0.0.1: real sockets, every other
// part of the outside world faked (no real sleeps).
#include <gtest/gtest.h>

#include <algorithm>

#include "ExpectedCommands.h"
#include "RunRig.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "platform/SystemSockets.h"

namespace kov::measure {
namespace {

// A run from 450 MHz against the simulator, the files in memory.
struct SimRun {
  SimRun(testing::SimProcess& sim, const char* endMHz, const char* passes) {
    rig.form.Form_Load();
    rig.Instrument("127.0.0.1", sim.Port());
    rig.Entries("450", endMHz, passes, "5");
    rig.form.CmdMesStart_Click();
    rig.RunToEnd();
  }
  const std::string& File() { return files.files["WFdata.txt"]; }

  platform::SystemSockets sockets;
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  testing::RunRig rig{testing::RunWorld{sockets, files, profiles, "/opt/kov", "WFdata.txt"}};
};

TEST(MeasureSim, TwoPassesOverTwoBands) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Running());
  SimRun run(sim, "470", "2");
  sim.Stop();

  EXPECT_EQ(sim.Commands(), testing::ExpectedCommands(450, 2, 2));
  const std::string& file = run.File();
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 4 * 321);
  EXPECT_EQ(file.find("-100 "), std::string::npos) << "every band answered";
  EXPECT_TRUE(run.rig.form.State().ErrMsg.empty());
  EXPECT_FALSE(run.rig.window.ended);
  EXPECT_EQ(run.profiles.writes.size(), 1u);  // the IP, at the connection
  EXPECT_EQ(run.rig.form.State().ConnectFlag, 0);
}

// The WFdata.txt of a run from 450 to endMHz against the simulator.
std::string Record(testing::SimProcess& sim, const char* endMHz, const char* passes) {
  SimRun run(sim, endMHz, passes);
  EXPECT_TRUE(run.rig.form.State().ErrMsg.empty());
  return run.File();
}

struct Synthetic {
  std::vector<std::string> options;
  int noDataPerBand;  // points stored as "00"
};

void PrintTo(const Synthetic& synthetic, std::ostream* os) {
  for (const auto& option : synthetic.options) *os << option << ' ';
}

class MeasureReplayTest : public ::testing::TestWithParam<Synthetic> {};

// A recording played back is recorded again byte for byte: every pass of
// every band, each level text, and with a short reply the point without data
// ("00") and the points the program fills with -100.
TEST_P(MeasureReplayTest, RecordingReplayedIsRecordedAgain) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  const testing::TempDir dir;
  std::string first;
  {
    testing::SimProcess synthetic(GetParam().options);
    ASSERT_TRUE(synthetic.Running());
    first = Record(synthetic, "480", "3");
  }
  ASSERT_EQ(std::count(first.begin(), first.end(), '\n'), 1 + 9 * 321);
  int noData = 0;
  for (std::size_t at = 0; (at = first.find(",00\r\n", at)) != std::string::npos; ++at) ++noData;
  EXPECT_EQ(noData, 9 * GetParam().noDataPerBand);
  testing::Spit(dir / "WFdata.txt", first);

  testing::SimProcess replay({"--replay", dir.File("WFdata.txt"), "--start", "450"});
  ASSERT_TRUE(replay.Running());
  EXPECT_EQ(Record(replay, "480", "3"), first);
}

INSTANTIATE_TEST_SUITE_P(Replies, MeasureReplayTest,
                         ::testing::Values(Synthetic{{}, 0}, Synthetic{{"--entries", "300"}, 1}));

}  // namespace
}  // namespace kov::measure
