// A whole run against the simulator on 127.0.0.1: real sockets, every other
// part of the outside world faked (no real sleeps).
#include <gtest/gtest.h>

#include <algorithm>

#include "FormRig.h"
#include "SimProcess.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeTextFiles.h"
#include "fakes/FakeTimers.h"
#include "measure/Form.h"
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
  testing::FormRig rig(sockets, files, profiles, "/opt/kov", "WFdata.txt");
  auto& controls = rig.controls;
  auto& form = rig.form;

  form.Form_Load();
  controls.entries[settings::Entry::TxtXportIP] = "127.0.0.1";
  controls.entries[settings::Entry::TxtXportPort] = std::to_string(sim.Port());
  controls.entries[settings::Entry::TxtStartFQ] = "450";
  controls.entries[settings::Entry::TxtEndFQ] = "470";
  controls.entries[settings::Entry::TxtTime] = "2";
  form.CmdMesStart_Click();
  rig.RunToEnd();
  sim.Stop();

  const std::vector<std::string> pass = {"CF455\r\n", "GD\r\n", "CF465\r\n",
                                         "CF465\r\n", "GD\r\n", "CF455\r\n"};
  std::vector<std::string> expected = {"FP10\r\n"};
  for (int p = 0; p < 2; ++p) expected.insert(expected.end(), pass.begin(), pass.end());
  expected.push_back("EX\r\n");
  EXPECT_EQ(sim.Commands(), expected);

  const std::string& file = files.files["WFdata.txt"];
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 4 * 321);
  EXPECT_EQ(file.find("-100 "), std::string::npos) << "every band answered";
  EXPECT_TRUE(form.State().ErrMsg.empty());
  EXPECT_FALSE(form.Ended());
  EXPECT_EQ(profiles.writes.size(), 1u);  // the IP, at the connection
  EXPECT_EQ(form.State().ConnectFlag, 0);
}

}  // namespace
}  // namespace kov::measure
