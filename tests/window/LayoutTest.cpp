#include "window/Layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "window/InputGate.h"
#include "window/InputRules.h"
#include "window/TabOrder.h"

namespace kov::window {
namespace {

TEST(Layout, TwipsToPixels) {
  const std::tuple<int, int, int> rows[] = {{8775, 96, 585},  {3615, 96, 241},   {612, 96, 40},
                                            {8775, 144, 877}, {10656, 120, 888}, {0, 96, 0}};
  for (const auto& [twips, dpi, pixels] : rows) EXPECT_EQ(Pixels(twips, dpi), pixels) << twips;
}

TEST(Layout, EveryControlOnceAndTheTabOrderOverThoseThatTakeTheFocus) {
  std::set<std::string> names;
  for (const ControlSpec& c : kControls) EXPECT_TRUE(names.insert(c.name).second) << c.name;
  std::set<std::string> focusable;
  for (const ControlSpec& c : kControls) {
    if (TakesFocus(c.kind)) focusable.insert(c.name);
  }
  const std::set<std::string> tabbed(std::begin(kTabOrder), std::end(kTabOrder));
  EXPECT_EQ(tabbed, focusable);
  EXPECT_EQ(std::size(kTabOrder), tabbed.size());
  for (ui::Entry e : {ui::Entry::TxtXportIP, ui::Entry::TxtTime}) {
    EXPECT_EQ(FindControl(ControlName(e))->kind, Kind::Entry);
  }
  EXPECT_EQ(FindControl(ControlName(ui::Label::Label21))->top, 9360);
  EXPECT_EQ(FindControl("nothing"), nullptr);
}

TEST(TabOrder, NextStopSkipsWhatCannotTakeTheFocusAndWraps) {
  const char* const order[] = {"A", "B", "C", "D"};
  const auto all = [](std::string_view) { return true; };
  const auto notB = [](std::string_view n) { return n != "B"; };
  const auto none = [](std::string_view) { return false; };
  EXPECT_EQ(NextTabStop(order, "A", true, all), "B");
  EXPECT_EQ(NextTabStop(order, "A", true, notB), "C");
  EXPECT_EQ(NextTabStop(order, "D", true, all), "A");
  EXPECT_EQ(NextTabStop(order, "A", false, all), "D");
  EXPECT_EQ(NextTabStop(order, "C", false, notB), "A");
  EXPECT_EQ(NextTabStop(order, "C", true, none), "C");
}

TEST(CheckBox, AClickLeavesTheThirdStateForChecked) {
  EXPECT_EQ(NextCheckState(CheckState::Third), CheckState::Checked);
  EXPECT_EQ(NextCheckState(CheckState::Checked), CheckState::Clear);
  EXPECT_EQ(NextCheckState(CheckState::Clear), CheckState::Checked);
}

struct GateCase {
  std::uint32_t madeAt;
  std::uint32_t now;
  bool accepted;
};

class InputGateTest : public ::testing::TestWithParam<GateCase> {};

// The button was disabled at 1000 and enabled at 2000 of the input clock.
TEST_P(InputGateTest, DropsInputMadeWhileTheButtonWasDisabled) {
  const GateCase& c = GetParam();
  InputGate gate;
  gate.SetEnabled("B", false, 1000);
  gate.SetEnabled("B", true, 2000);
  EXPECT_EQ(gate.Accepts("B", c.madeAt, c.now), c.accepted) << c.madeAt << " at " << c.now;
  EXPECT_TRUE(gate.Accepts("other", c.madeAt, c.now));
}

INSTANTIATE_TEST_SUITE_P(Times, InputGateTest,
                         ::testing::Values(GateCase{1500, 2100, false}, GateCase{900, 2100, false},
                                           GateCase{1999, 2000, false}, GateCase{2000, 2100, true},
                                           GateCase{2050, 2100, true},
                                           // no time, a time ahead of now, one from another clock
                                           GateCase{0, 2100, true}, GateCase{3000, 2100, true},
                                           GateCase{1500, 2000 + 11 * 60 * 1000, true}));

TEST(InputGate, TheClockWrapsAt32Bits) {
  InputGate gate;
  gate.SetEnabled("B", false, 0xFFFFFF00u);
  gate.SetEnabled("B", true, 0x00000100u);  // 512 ms later, past the wrap
  EXPECT_FALSE(gate.Accepts("B", 0xFFFFFFF0u, 0x00000200u));
  EXPECT_TRUE(gate.Accepts("B", 0x00000180u, 0x00000200u));
}

}  // namespace
}  // namespace kov::window
