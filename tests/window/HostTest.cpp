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

using Key = InputEvent::Key;
using InputKind = InputEvent::Kind;

class HostTest : public ::testing::Test {
 protected:
  HostTest() { host.Load(); }

  void Disable(ui::Button b) { host.SetButtonEnabled(b, false); }
  void Enable(ui::Button b) { host.SetButtonEnabled(b, true); }
  InputAnswer KeyDown(Key key, bool shift = false) {
    return host.Input({InputKind::KeyDown, toolkit.focus, key, shift});
  }

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
  EXPECT_EQ(toolkit.focus, Control::CmdMesStart);
  EXPECT_TRUE(toolkit.disabled[Control::CmdMesBreak]);
  EXPECT_FALSE(toolkit.disabled[Control::CmdMesStart]);
  EXPECT_EQ(toolkit.texts[Control::TxtStartFQ], "451");
  EXPECT_EQ(toolkit.check, CheckState::Checked);
  EXPECT_EQ(t1.armed + t3.armed + t4.armed, 0) << "no timer runs after start-up";
}

struct InputCase {
  const char* name;
  InputEvent event;
  InputAnswer answer;
  const char* pressed;  // the button whose handler ran; "" for none
};

class InputTest : public HostTest, public ::testing::WithParamInterface<InputCase> {};

// Every input goes through one door: what the toolkit does with it, and
// which button it presses. 測定中断 is disabled, as after start-up.
TEST_P(InputTest, DecidesWhatEachInputDoes) {
  const InputCase& c = GetParam();
  toolkit.texts[Control::TxtTime] = "0";  // a press of 測定開始 shows at once
  EXPECT_EQ(host.Input(c.event), c.answer);
  const std::string pressed = c.pressed;
  EXPECT_EQ(host.Ended(), pressed == "CmdExit");
  EXPECT_EQ(toolkit.texts[Control::Text1] == "ダウンロード回数は1～32767回で指定してください",
            pressed == "CmdMesStart");
  EXPECT_EQ(!profiles.writes.empty(), pressed == "BtnSaveMespara");
}

constexpr InputEvent Down(std::optional<Control> at, Key key, bool alt = false) {
  return {.kind = InputKind::KeyDown, .control = at, .key = key, .alt = alt};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputTest,
    ::testing::Values(
        InputCase{"EnterOnAButton", Down(Control::CmdExit, Key::Return), InputAnswer::Handled,
                  "CmdExit"},
        InputCase{"EnterOnTheSaveButton", Down(Control::BtnSaveMespara, Key::Return),
                  InputAnswer::Handled, "BtnSaveMespara"},
        InputCase{"EnterOnADisabledButton", Down(Control::CmdMesBreak, Key::Return),
                  InputAnswer::Drop, ""},
        InputCase{"EnterOnAnEntry", Down(Control::TxtStartFQ, Key::Return), InputAnswer::Handled,
                  ""},
        InputCase{"EnterOnTheWindow", Down(std::nullopt, Key::Return), InputAnswer::Handled, ""},
        InputCase{"AltEnterIsTheSystems", Down(Control::CmdExit, Key::Return, true),
                  InputAnswer::Pass, ""},
        InputCase{"Escape", Down(Control::CmdExit, Key::Escape), InputAnswer::Drop, ""},
        InputCase{"TabGoesToTheToolkit", Down(Control::CmdExit, Key::Tab), InputAnswer::Pass, ""},
        InputCase{"EnterReleased",
                  {InputKind::KeyUp, Control::CmdExit, Key::Return},
                  InputAnswer::Pass,
                  ""},
        InputCase{"EnterAsACharacter",
                  {InputKind::Character, Control::TxtTime, Key::Return},
                  InputAnswer::Drop,
                  ""},
        InputCase{"EscapeAsACharacter",
                  {InputKind::Character, Control::TxtTime, Key::Escape},
                  InputAnswer::Drop,
                  ""},
        InputCase{"ACharacter", {InputKind::Character, Control::TxtTime}, InputAnswer::Pass, ""},
        InputCase{
            "AClickLetThrough", {InputKind::Mouse, Control::CmdMesStart}, InputAnswer::Pass, ""},
        InputCase{"APressedButton",
                  {InputKind::Press, Control::CmdMesStart},
                  InputAnswer::Handled,
                  "CmdMesStart"},
        InputCase{"APressedLabel", {InputKind::Press, Control::Label3}, InputAnswer::Handled, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Input made while a button was disabled is dropped, however it comes.
TEST_F(HostTest, InputMadeWhileAButtonWasDisabledIsDropped) {
  toolkit.inputClock = 5000;
  Enable(ui::Button::CmdMesBreak);  // at 5000
  toolkit.inputClock = 6000;
  const std::pair<std::uint32_t, InputAnswer> rows[] = {
      {4000, InputAnswer::Drop}, {4999, InputAnswer::Drop}, {5000, InputAnswer::Pass},
      {5500, InputAnswer::Pass}, {0, InputAnswer::Pass},    {3000000000u, InputAnswer::Pass}};
  for (const auto& [madeAt, answer] : rows) {
    for (const InputKind kind : {InputKind::Mouse, InputKind::Wheel, InputKind::KeyUp}) {
      InputEvent event{kind, Control::CmdMesBreak};
      event.madeAt = madeAt;
      EXPECT_EQ(host.Input(event), answer) << madeAt << " kind " << static_cast<int>(kind);
    }
  }
  InputEvent enter = Down(Control::CmdMesBreak, Key::Return);
  enter.madeAt = 4000;
  EXPECT_EQ(host.Input(enter), InputAnswer::Drop);
  EXPECT_EQ(host.Handlers().State().BreakFlag, 0) << "the late Enter breaks nothing";
  enter.madeAt = 5500;
  host.Input(enter);
  EXPECT_EQ(host.Handlers().State().BreakFlag, 1);
}

TEST_F(HostTest, APressOfTheCheckBoxLeavesTheThirdStateForChecked) {
  const std::pair<CheckState, CheckState> rows[] = {{CheckState::Third, CheckState::Checked},
                                                    {CheckState::Checked, CheckState::Clear},
                                                    {CheckState::Clear, CheckState::Checked}};
  for (const auto& [before, after] : rows) {
    toolkit.check = before;
    EXPECT_EQ(host.Input({InputKind::Press, Control::Chk1}), InputAnswer::Handled);
    EXPECT_EQ(toolkit.check, after);
  }
}

struct FocusCase {
  const char* name;
  std::optional<Control> focusBefore;  // where the operator left the focus
  int tab;                             // Tab presses while disabled: 1 forward, -1 back, 0 none
  std::optional<Control> focusWhileDisabled;
  std::optional<Control> focusAfter;  // once the start button is enabled again
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
    const bool parked = !toolkit.focus;
    EXPECT_EQ(KeyDown(Key::Tab, c.tab < 0), parked ? InputAnswer::Handled : InputAnswer::Pass);
  }
  EXPECT_EQ(toolkit.focus, c.focusWhileDisabled);
  if (!toolkit.focus) {
    KeyDown(Key::Return);
    EXPECT_FALSE(host.Ended() || host.Handlers().State().ConnectFlag == 1) << "keys press nothing";
  }
  Disable(ui::Button::CmdMesBreak);
  Enable(ui::Button::CmdMesStart);
  EXPECT_EQ(toolkit.focus, c.focusAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, FocusTest,
                         ::testing::Values(FocusCase{"Kept", Control::CmdMesStart, 0, std::nullopt,
                                                     Control::CmdMesStart},
                                           FocusCase{"TabGoesOn", Control::CmdMesStart, 1,
                                                     Control::CmdExit, Control::CmdExit},
                                           FocusCase{"ShiftTabWraps", Control::CmdMesStart, -1,
                                                     Control::TxtXportPort, Control::TxtXportPort},
                                           FocusCase{"ElsewhereStays", Control::TxtInterval, 0,
                                                     Control::TxtInterval, Control::TxtInterval}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, TabFromAParkedButtonSkipsDisabledButtons) {
  toolkit.focus = Control::Chk1;
  Enable(ui::Button::CmdMesBreak);
  toolkit.focus = Control::CmdMesBreak;
  Disable(ui::Button::CmdMesBreak);
  EXPECT_EQ(KeyDown(Key::Tab, true), InputAnswer::Handled);
  EXPECT_EQ(toolkit.focus, Control::Chk1);
}

// What a wait announces is on the screen before the wait: the band count
// and the waterfall's centre line during the band-count pause.
TEST_F(HostTest, PaintsWhatAWaitAnnouncesBeforeTheWait) {
  toolkit.texts[Control::TxtXportIP] = "127.0.0.1";
  std::vector<std::string> atTheWait;
  toolkit.log.clear();
  clock.onSleep = [&](std::int32_t) { atTheWait = toolkit.log; };
  host.Handlers().CmdMesStart_Click();
  ASSERT_FALSE(atTheWait.empty());
  EXPECT_EQ(toolkit.texts[Control::Text1], "帯域の測定は 10回です。");
  EXPECT_EQ(std::count(atTheWait.begin(), atTheWait.end(), "paint Text1"), 1);
  EXPECT_EQ(std::count(atTheWait.begin(), atTheWait.end(), "paint XportWF"), 1);
}

TEST_F(HostTest, AGraphIsPaintedOnceForManyChanges) {
  for (int i = 0; i < 1000; ++i) wf.DrawLine(i % 64, 0, i % 64, 10, {255, 0, 0});
  EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "request XportWF"), 1);
  host.GraphPainted(Graph::Waterfall);
  wf.Clear();
  EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "request XportWF"), 2);
}

TEST_F(HostTest, EndingHidesTheWindowQuitsAndStopsTheTimers) {
  host.Timer(1).SetInterval(5);
  host.Timer(1).SetEnabled(true);
  ASSERT_EQ(t1.armed, 5);
  host.Input({InputKind::Press, Control::CmdExit});
  EXPECT_TRUE(host.Ended());
  EXPECT_EQ(t1.armed, 0);
  EXPECT_EQ(std::vector<std::string>(toolkit.log.end() - 2, toolkit.log.end()),
            (std::vector<std::string>{"hide", "quit"}));
  const auto calls = toolkit.log.size();
  host.Input({InputKind::Press, Control::CmdMesStart});
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
