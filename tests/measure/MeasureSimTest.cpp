// A whole run against the simulator on 127.0.0.1: real sockets, every other
// part of the outside world faked (no real sleeps).
#include <gtest/gtest.h>

#include <algorithm>

#include "ExpectedCommands.h"
#include "RunRig.h"
#include "SimProcess.h"
#include "platform/SystemSockets.h"

namespace kov::measure {
namespace {

TEST(MeasureSim, TwoPassesOverTwoBands) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Running());

  platform::SystemSockets sockets;
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  testing::RunRig rig(testing::RunWorld{sockets, files, profiles, "/opt/kov", "WFdata.txt"});
  rig.form.Form_Load();
  rig.Instrument("127.0.0.1", sim.Port());
  rig.Entries("450", "470", "2", "5");
  rig.form.CmdMesStart_Click();
  rig.RunToEnd();
  sim.Stop();

  EXPECT_EQ(sim.Commands(), testing::ExpectedCommands(450, 2, 2));
  const std::string& file = files.files["WFdata.txt"];
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 4 * 321);
  EXPECT_EQ(file.find("-100 "), std::string::npos) << "every band answered";
  EXPECT_TRUE(rig.form.State().ErrMsg.empty());
  EXPECT_FALSE(rig.form.Ended());
  EXPECT_EQ(profiles.writes.size(), 1u);  // the IP, at the connection
  EXPECT_EQ(rig.form.State().ConnectFlag, 0);
}

}  // namespace
}  // namespace kov::measure
