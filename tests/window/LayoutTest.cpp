#include "window/Layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <variant>

#include "PrintControl.h"
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
  for (const ControlRow& c : kControls) EXPECT_TRUE(names.insert(c.name).second) << c.name;
  std::set<Control> focusable;
  for (const ControlRow& c : kControls) {
    if (TakesFocus(c.kind)) focusable.insert(c.id);
  }
  const std::set<Control> tabbed(std::begin(kTabOrder), std::end(kTabOrder));
  EXPECT_EQ(tabbed, focusable);
  EXPECT_EQ(std::size(kTabOrder), tabbed.size());
}

// Each role names the control of its own name, of the kind it needs.
TEST(Layout, EveryRoleOnceOnTheControlOfItsName) {
  const char* const entries[] = {"TxtXportIP", "TxtXportPort", "TxtStartFQ",
                                 "TxtEndFQ",   "TxtInterval",  "TxtTime"};
  const char* const buttons[] = {"CmdMesStart", "CmdMesBreak", "CmdExit", "BtnSaveMespara"};
  const char* const labels[] = {"Label16", "Label17", "Label18", "Label19", "Label20", "Label21"};
  const char* const graphs[] = {"XportData", "XportWF"};
  std::set<std::string> named;
  for (const ControlRow& c : kControls) {
    const auto check = [&](auto role, const auto& roleNames, Kind kind) {
      EXPECT_EQ(c.name, std::string(roleNames[static_cast<int>(role)]));
      EXPECT_EQ(c.kind, kind) << c.name;
      EXPECT_EQ(ControlOf(role), c.id) << c.name;
      named.insert(c.name);
    };
    if (const auto* e = std::get_if<ui::Entry>(&c.role)) check(*e, entries, Kind::Entry);
    if (const auto* b = std::get_if<ui::Button>(&c.role)) check(*b, buttons, Kind::Button);
    if (const auto* l = std::get_if<ui::Label>(&c.role)) check(*l, labels, Kind::Label);
    if (const auto* g = std::get_if<Graph>(&c.role)) check(*g, graphs, Kind::Graph);
  }
  EXPECT_EQ(named.size(), std::size(entries) + std::size(buttons) + std::size(labels) + 2);
  EXPECT_EQ(RowOf(ControlOf(ui::Label::Label21)).top, 9360);
}

TEST(TabOrder, NextStopSkipsWhatCannotTakeTheFocusAndWraps) {
  using enum Control;
  const Control order[] = {CmdMesStart, CmdExit, Chk1, Text1};
  const auto all = [](Control) { return true; };
  const auto notExit = [](Control c) { return c != CmdExit; };
  const auto none = [](Control) { return false; };
  EXPECT_EQ(NextTabStop(order, CmdMesStart, true, all), CmdExit);
  EXPECT_EQ(NextTabStop(order, CmdMesStart, true, notExit), Chk1);
  EXPECT_EQ(NextTabStop(order, Text1, true, all), CmdMesStart);
  EXPECT_EQ(NextTabStop(order, CmdMesStart, false, all), Text1);
  EXPECT_EQ(NextTabStop(order, Chk1, false, notExit), CmdMesStart);
  EXPECT_EQ(NextTabStop(order, Chk1, true, none), Chk1);
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
  gate.SetEnabled(Control::CmdMesBreak, false, 1000);
  gate.SetEnabled(Control::CmdMesBreak, true, 2000);
  EXPECT_EQ(gate.Accepts(Control::CmdMesBreak, c.madeAt, c.now), c.accepted)
      << c.madeAt << " at " << c.now;
  EXPECT_TRUE(gate.Accepts(Control::CmdExit, c.madeAt, c.now));
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
  gate.SetEnabled(Control::CmdMesBreak, false, 0xFFFFFF00u);
  gate.SetEnabled(Control::CmdMesBreak, true, 0x00000100u);  // 512 ms later, past the wrap
  EXPECT_FALSE(gate.Accepts(Control::CmdMesBreak, 0xFFFFFFF0u, 0x00000200u));
  EXPECT_TRUE(gate.Accepts(Control::CmdMesBreak, 0x00000180u, 0x00000200u));
}

}  // namespace
}  // namespace kov::window
