// The operator window's own behaviour, on a toolkit in memory.
#include "window/Host.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTextFiles.h"
#include "fakes/FakeToolkit.h"

namespace kov::window {
namespace {

class HostTest : public ::testing::Test {
 protected:
  HostTest() { host.Load(); }

  bool Logged(const std::string& entry) const {
    return std::find(toolkit.log.begin(), toolkit.log.end(), entry) != toolkit.log.end();
  }
  void Disable(ui::Button b) { host.SetButtonEnabled(b, false); }
  void Enable(ui::Button b) { host.SetButtonEnabled(b, true); }

  fakes::FakeToolkit toolkit;
  fakes::FakeClock clock;
  fakes::FakeSockets sockets{clock};
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  display::RasterSurface data{64, 32, {0, 0, 0}}, wf{64, 32, {0, 0, 255}};
  fakes::FakeTimerBackend t1, t3, t4;
  Host host{toolkit, HostWorld{sockets, clock, files, profiles, "/opt/kov", "WFdata.txt"},
            HostParts{data, wf, t1, t3, t4}};
};

TEST_F(HostTest, OpensWithTheFocusOnTheStartButtonAndTheBreakButtonOff) {
  EXPECT_EQ(toolkit.focus, "CmdMesStart");
  EXPECT_TRUE(toolkit.disabled["CmdMesBreak"]);
  EXPECT_FALSE(toolkit.disabled["CmdMesStart"]);
  EXPECT_EQ(toolkit.texts["TxtStartFQ"], "451");
  EXPECT_EQ(toolkit.check, CheckState::Checked);
  EXPECT_EQ(t1.armed + t3.armed + t4.armed, 0) << "no timer runs after start-up";
}

struct FocusCase {
  const char* name;
  const char* focusBefore;  // where the operator left the focus
  int tab;                  // Tab presses while disabled: 1 forward, -1 back, 0 none
  const char* focusWhileDisabled;
  const char* focusAfter;  // once the start button is enabled again
};

class FocusTest : public HostTest, public ::testing::WithParamInterface<FocusCase> {};

// The start button keeps the focus while it is disabled, so keys press
// nothing, and has it back when it is enabled; Tab goes on from it.
TEST_P(FocusTest, StaysWithTheDisabledStartButton) {
  const FocusCase& c = GetParam();
  toolkit.focus = c.focusBefore;
  Disable(ui::Button::CmdMesStart);
  Enable(ui::Button::CmdMesBreak);
  if (c.tab != 0) {
    const bool parked = toolkit.focus.empty();
    EXPECT_EQ(host.Tab(c.tab > 0), parked);
  }
  EXPECT_EQ(toolkit.focus, c.focusWhileDisabled);
  if (toolkit.focus.empty()) {
    EXPECT_FALSE(host.EnterPresses(toolkit.focus)) << "keys press nothing";
  }
  Disable(ui::Button::CmdMesBreak);
  Enable(ui::Button::CmdMesStart);
  EXPECT_EQ(toolkit.focus, c.focusAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FocusTest,
    ::testing::Values(FocusCase{"Kept", "CmdMesStart", 0, "", "CmdMesStart"},
                      FocusCase{"TabGoesOn", "CmdMesStart", 1, "CmdExit", "CmdExit"},
                      FocusCase{"ShiftTabWraps", "CmdMesStart", -1, "TxtXportPort", "TxtXportPort"},
                      FocusCase{"ElsewhereStays", "TxtInterval", 0, "TxtInterval", "TxtInterval"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, TabFromAParkedButtonSkipsDisabledButtons) {
  toolkit.focus = "CmdExit";
  host.Tab(true);  // not parked: the toolkit's own Tab
  EXPECT_EQ(toolkit.focus, "CmdExit");
  toolkit.focus = "Chk1";
  Enable(ui::Button::CmdMesBreak);
  toolkit.focus = "CmdMesBreak";
  Disable(ui::Button::CmdMesBreak);
  EXPECT_TRUE(host.Tab(false));
  EXPECT_EQ(toolkit.focus, "Chk1");
}

TEST_F(HostTest, EnterPressesOnlyAnEnabledPushButton) {
  const std::pair<const char*, bool> rows[] = {
      {"CmdMesStart", true}, {"CmdExit", true},   {"BtnSaveMespara", true}, {"CmdMesBreak", false},
      {"TxtStartFQ", false}, {"Chk1", false},     {"Text1", false},         {"", false},
      {"Label3", false},     {"XportData", false}};
  for (const auto& [focused, presses] : rows)
    EXPECT_EQ(host.EnterPresses(focused), presses) << focused;
}

TEST_F(HostTest, InputMadeWhileAButtonWasDisabledIsDropped) {
  toolkit.inputClock = 5000;
  Enable(ui::Button::CmdMesBreak);  // at 5000
  toolkit.inputClock = 6000;
  const std::pair<std::uint32_t, bool> rows[] = {{4000, false}, {4999, false}, {5000, true},
                                                 {5500, true},  {0, true},     {3000000000u, true}};
  for (const auto& [madeAt, accepted] : rows) {
    EXPECT_EQ(host.Accepts("CmdMesBreak", madeAt), accepted) << madeAt;
  }
  EXPECT_TRUE(host.Accepts("CmdExit", 4000)) << "enabled all along";
}

// What a wait announces is on the screen before the wait: the band count
// and the waterfall's centre line during the band-count pause.
TEST_F(HostTest, PaintsWhatAWaitAnnouncesBeforeTheWait) {
  toolkit.texts["TxtXportIP"] = "127.0.0.1";
  std::vector<std::string> atTheWait;
  toolkit.log.clear();
  clock.onSleep = [&](std::int32_t) { atTheWait = toolkit.log; };
  host.Handlers().CmdMesStart_Click();
  ASSERT_FALSE(atTheWait.empty());
  EXPECT_EQ(toolkit.texts["Text1"], "帯域の測定は 10回です。");
  EXPECT_EQ(std::count(atTheWait.begin(), atTheWait.end(), "paint Text1"), 1);
  EXPECT_EQ(std::count(atTheWait.begin(), atTheWait.end(), "paint XportWF"), 1);
}

TEST_F(HostTest, AGraphIsPaintedOnceForManyChanges) {
  for (int i = 0; i < 1000; ++i) wf.DrawLine(i % 64, 0, i % 64, 10, {255, 0, 0});
  EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "request XportWF"), 1);
  host.GraphPainted("XportWF");
  wf.Clear();
  EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "request XportWF"), 2);
}

TEST_F(HostTest, EndingHidesTheWindowQuitsAndStopsTheTimers) {
  host.Timer(1).SetInterval(5);
  host.Timer(1).SetEnabled(true);
  ASSERT_EQ(t1.armed, 5);
  host.Clicked("CmdExit");
  EXPECT_TRUE(host.Ended());
  EXPECT_EQ(t1.armed, 0);
  EXPECT_EQ(std::vector<std::string>(toolkit.log.end() - 2, toolkit.log.end()),
            (std::vector<std::string>{"hide", "quit"}));
  const auto calls = toolkit.log.size();
  host.Clicked("CmdMesStart");
  host.Closed();
  host.Timer(1).SetEnabled(true);
  EXPECT_EQ(t1.armed, 0) << "no tick after the end";
  EXPECT_EQ(toolkit.log.size(), calls);
}

TEST_F(HostTest, TheCheckBoxHoldsThreeStates) {
  const std::pair<std::int16_t, CheckState> rows[] = {
      {0, CheckState::Clear}, {1, CheckState::Checked}, {2, CheckState::Third}};
  for (const auto& [value, state] : rows) {
    host.SetCheckValue(value);
    EXPECT_EQ(toolkit.check, state);
    EXPECT_EQ(host.CheckValue(), value);
  }
}

}  // namespace
}  // namespace kov::window
