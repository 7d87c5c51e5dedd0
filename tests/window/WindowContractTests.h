#pragma once

// The cases of the window contract (see WindowContract.h).
#include "WindowContract.h"

namespace kov::testing {

TYPED_TEST_P(WindowContract, StartUpWithoutASettingsFile) {
  ASSERT_TRUE(this->Open());
  auto& d = this->driver;
  EXPECT_EQ(d.Caption(), "KOV_Xport_WindowsAPI_広帯域電磁波測定");
  const std::pair<Control, const char*> defaults[] = {
      {Control::TxtXportIP, "1"}, {Control::TxtXportPort, "1"}, {Control::TxtStartFQ, "451"},
      {Control::TxtEndFQ, "550"}, {Control::TxtInterval, "5"},  {Control::TxtTime, "1"}};
  for (const auto& [name, value] : defaults) EXPECT_EQ(this->Text(name), value) << RowOf(name).name;
  EXPECT_EQ(d.Toolkit().Check(), window::CheckState::Checked);
  for (const Control name : {Control::Text1, Control::Label16, Control::Label17, Control::Label18,
                             Control::Label19, Control::Label20, Control::Label21}) {
    EXPECT_EQ(this->Text(name), "") << RowOf(name).name;
  }
  EXPECT_FALSE(d.Enabled(Control::CmdMesBreak));
  for (const Control b : {Control::CmdMesStart, Control::CmdExit, Control::BtnSaveMespara,
                          Control::TxtStartFQ, Control::Chk1}) {
    EXPECT_TRUE(d.Enabled(b)) << RowOf(b).name;
  }
  EXPECT_EQ(this->Focused(), Control::CmdMesStart);
  // Every control where the layout puts it (twips / 15 at 96 dpi).
  for (const window::ControlRow& c : window::kControls) {
    EXPECT_EQ(d.Geometry(c.id), (Rect{c.left / 15, c.top / 15, c.width / 15, c.height / 15}))
        << c.name;
  }
  EXPECT_EQ(d.Client(), (Rect{0, 0, 10656 / 15, 10215 / 15}));
  EXPECT_FALSE(d.Resizable());
  this->Until([] { return false; }, 50);
  // Both graphs show their background only.
  EXPECT_EQ(d.Shown(Control::XportData).At(3, 3), 0x000000u);
  EXPECT_EQ(d.Shown(Control::XportWF).At(3, 3), 0x0000FFu);
  EXPECT_EQ(d.Host().Timer(1).Interval(), 0);
  EXPECT_FALSE(d.Host().Timer(1).Enabled() || d.Host().Timer(3).Enabled() ||
               d.Host().Timer(4).Enabled());
  EXPECT_TRUE(std::filesystem::is_empty(this->dir.Path())) << "nothing written at start-up";
}

TYPED_TEST_P(WindowContract, StartUpWithASettingsFileAndTheSaveButton) {
  this->Ini(
      "[COMMUNICATION]\r\nXport_IP=10.1.2.3\r\nXport_Port=2000\r\n"
      "[MES_PARA]\r\nSTART_FQ=600\r\nEND_FQ=700\r\nINTERVAL=2\r\nCOUNT=4\r\nD_LEVEL=2\r\n");
  ASSERT_TRUE(this->Open());
  auto& d = this->driver;
  EXPECT_EQ(this->Text(Control::TxtXportIP), "10.1.2.3");
  EXPECT_EQ(this->Text(Control::TxtTime), "4");
  EXPECT_EQ(d.Toolkit().Check(), window::CheckState::Third);
  d.Press(Control::Chk1);
  EXPECT_EQ(d.Toolkit().Check(), window::CheckState::Checked) << "a click leaves the third state";
  d.Press(Control::Chk1);
  EXPECT_EQ(d.Toolkit().Check(), window::CheckState::Clear);
  d.Press(Control::Chk1);
  d.Toolkit().SetText(Control::TxtEndFQ, "");
  d.Press(Control::BtnSaveMespara);
  EXPECT_EQ(Slurp(this->dir / "KOV_Xport.ini"),
            "[COMMUNICATION]\r\nXport_IP=10.1.2.3\r\nXport_Port=2000\r\n"
            "[MES_PARA]\r\nSTART_FQ=600\r\nEND_FQ=\r\nINTERVAL=2\r\nCOUNT=4\r\nD_LEVEL= 1\r\n");
}

// Enter presses the focused push button and nothing else; Esc presses
// nothing. Each row in a window of its own over a world in memory.
TYPED_TEST_P(WindowContract, EnterPressesOnlyTheFocusedButton) {
  struct Row {
    Control focus;
    Key key;
    std::optional<Control> pressed;
  };
  const Row rows[] = {{Control::CmdMesStart, Key::Return, Control::CmdMesStart},
                      {Control::CmdMesStart, Key::Enter, Control::CmdMesStart},
                      {Control::CmdExit, Key::Return, Control::CmdExit},
                      {Control::BtnSaveMespara, Key::Return, Control::BtnSaveMespara},
                      {Control::CmdMesStart, Key::Escape, std::nullopt},
                      {Control::TxtStartFQ, Key::Return, std::nullopt},
                      {Control::TxtXportPort, Key::Enter, std::nullopt},
                      {Control::Chk1, Key::Return, std::nullopt},
                      {Control::Text1, Key::Return, std::nullopt}};
  for (const Row& row : rows) {
    TypeParam d;
    this->fakeProfiles.writes.clear();
    ASSERT_TRUE(this->OpenInMemory(d));
    // A count the start refuses: a press of 測定開始 shows at once and
    // starts no run.
    d.Toolkit().SetText(Control::TxtTime, "0");
    d.Toolkit().Focus(row.focus);
    d.Key(row.key);
    d.RunUntil([] { return false; }, 20);
    const std::string what =
        std::string(window::RowOf(row.focus).name) + " key " + std::to_string(int(row.key));
    const std::optional<Control> pressed = row.pressed;
    const auto& writes = this->fakeProfiles.writes;
    const bool saved =
        std::any_of(writes.begin(), writes.end(), [](const auto& w) { return w.key == "D_LEVEL"; });
    EXPECT_EQ(d.Toolkit().Text(Control::Text1) == "ダウンロード回数は1～32767回で指定してください",
              pressed == Control::CmdMesStart)
        << what;
    EXPECT_EQ(d.Host().Ended(), pressed == Control::CmdExit) << what;
    EXPECT_EQ(saved, pressed == Control::BtnSaveMespara) << what;
  }
}

TYPED_TEST_P(WindowContract, TabWalksTheDesignOrderAndSkipsLabelsAndGraphs) {
  ASSERT_TRUE(this->Open());
  auto& d = this->driver;
  const std::vector<Control> order(std::begin(window::kTabOrder), std::end(window::kTabOrder));
  // The break button is disabled after start-up and so skipped; enable it to
  // see its place.
  d.Host().SetButtonEnabled(ui::Button::CmdMesBreak, true);
  d.Toolkit().Focus(Control::CmdMesStart);
  std::vector<Control> walked;
  for (std::size_t i = 0; i < order.size(); ++i) {
    walked.push_back(this->Focused().value_or(Control::Label3));
    d.Key(Key::Tab);
  }
  EXPECT_EQ(walked, order);
  EXPECT_EQ(this->Focused(), Control::CmdMesStart) << "wraps round";
  d.Key(Key::Backtab);
  EXPECT_EQ(this->Focused(), Control::TxtXportPort);
}

REGISTER_TYPED_TEST_SUITE_P(WindowContract, StartUpWithoutASettingsFile,
                            StartUpWithASettingsFileAndTheSaveButton,
                            EnterPressesOnlyTheFocusedButton,
                            TabWalksTheDesignOrderAndSkipsLabelsAndGraphs);

}  // namespace kov::testing
