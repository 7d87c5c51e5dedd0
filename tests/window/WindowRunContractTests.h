#pragma once

// The window contract for whole runs against the simulator on 127.0.0.1:
// real sockets and files, a clock that does not sleep.
#include <sstream>

#include "WindowContract.h"
#include "measure/TimesFile.h"

namespace kov::testing {

template <typename Driver>
class WindowRunContract : public WindowContract<Driver> {
 protected:
  void SetUp() override {
    if (!this->SimAvailable()) GTEST_SKIP() << "XPORT_SIM not set";
  }
};

TYPED_TEST_SUITE_P(WindowRunContract);

TYPED_TEST_P(WindowRunContract, TwoPassesOverTwoBands) {
  SimProcess sim;
  ASSERT_TRUE(this->OpenForSim(sim, "2"));
  auto& d = this->driver;
  d.Press(Control::CmdMesStart);
  EXPECT_FALSE(d.Enabled(Control::CmdMesStart));
  ASSERT_TRUE(this->StatusIs("測定完了しました。"));
  this->StopSimAfterEx(sim);
  EXPECT_EQ(sim.Commands(), ExpectedCommands(450, 2, 2));

  const std::string file = Slurp(this->dir / "WFdata.txt");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 4 * 321);
  EXPECT_EQ(file.substr(0, 10), "\r\n 1,  1,-");
  // Every band timed, on the wall clock of the run.
  std::istringstream times(Slurp(this->dir / "WFtime.csv"));
  std::string line;
  int bands = 0;
  for (std::getline(times, line); std::getline(times, line); ++bands) {
    const auto band = measure::ParseTimesLine(line.substr(0, line.size() - 1));
    ASSERT_TRUE(band.has_value()) << line;
    EXPECT_GT(band->time.utcMs, this->clock.wallStart.utcMs);
    EXPECT_LE(band->time.utcMs, this->clock.Now().utcMs);
  }
  EXPECT_EQ(bands, 4);
  EXPECT_NE(Slurp(this->dir / "KOV_Xport.ini").find("Xport_IP=127.0.0.1\r\n"), std::string::npos);
  EXPECT_EQ(this->Text(Control::Label17), "450MHz");
  EXPECT_EQ(this->Text(Control::Label16), "460MHz");
  EXPECT_EQ(this->Text(Control::Label18), "470MHz");
  for (const Control stamp : {Control::Label19, Control::Label20, Control::Label21})
    EXPECT_NE(this->Text(stamp), "");
  EXPECT_TRUE(d.Enabled(Control::CmdMesStart));
  EXPECT_FALSE(d.Enabled(Control::CmdMesBreak));

  // What the screen shows once the window has handled its events: the
  // graphs are painted after a pass without anything asking for it.
  this->Until([] { return false; }, 50);
  const Image data = d.Shown(Control::XportData);
  const Image wf = d.Shown(Control::XportWF);
  int yellow = 0, coloured = 0;
  for (int x = 0; x < data.width; ++x) {
    yellow += data.At(x, data.height - 2) == 0xFFFF00u;
    coloured += wf.At(x, wf.height - 3) != 0x0000FFu;
  }
  EXPECT_GT(yellow, data.width / 2) << "level bars over the whole range";
  EXPECT_GT(coloured, 0) << "the second pass's row";
  EXPECT_EQ(data.At(data.width / 2, 5), 0x800080u) << "the magenta middle line";
}

// The focus stays with 測定開始 while it is disabled: Enter pressed again
// during a run presses nothing (not 終了), and starts the next run after it.
TYPED_TEST_P(WindowRunContract, FocusStaysWithTheStartButton) {
  SimProcess sim;
  ASSERT_TRUE(this->OpenForSim(sim, "1"));
  auto& d = this->driver;
  ASSERT_EQ(this->Focused(), Control::CmdMesStart);
  d.Key(Key::Return);
  ASSERT_TRUE(this->Until([&] { return !d.Enabled(Control::CmdMesStart); }, 5000)) << "started";
  EXPECT_NE(this->Focused(), Control::CmdExit);
  EXPECT_NE(this->Focused(), Control::CmdMesBreak);
  d.Key(Key::Return);
  d.Key(Key::Space);
  EXPECT_FALSE(d.Host().Ended());
  ASSERT_TRUE(this->StatusIs("測定完了しました。"));
  EXPECT_EQ(this->Focused(), Control::CmdMesStart);

  d.Key(Key::Return);
  ASSERT_TRUE(this->Until([&] { return !d.Enabled(Control::CmdMesStart); }, 5000))
      << "started again";
  d.Key(Key::Tab);
  EXPECT_EQ(this->Focused(), Control::CmdExit) << "Tab goes on along the tab order";
  ASSERT_TRUE(this->StatusIs("測定完了しました。"));
  this->StopSimAfterEx(sim, 2);
  const auto commands = sim.Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "FP10\r\n"), 2);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "EX\r\n"), 2);
}

// A click on 測定中断 while it is still disabled never breaks the run; a
// click on 終了, enabled all along, ends the program once the wait is over.
TYPED_TEST_P(WindowRunContract, ClicksDuringAWaitCountOnlyOnEnabledButtons) {
  for (const Control button : {Control::CmdMesBreak, Control::CmdExit}) {
    SimProcess sim;
    TypeParam d;
    this->Ini("[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=" + std::to_string(sim.Port()) +
              "\r\n[MES_PARA]\r\nSTART_FQ=450\r\nEND_FQ=470\r\nINTERVAL=0\r\nCOUNT=2\r\n");
    ASSERT_TRUE(
        d.Open(window::HostWorld{this->sockets, this->clock, this->textFiles, this->profiles,
                                 this->dir.Path().string(), this->dir.File("WFdata.txt")}));
    this->clock.onSleep = [&](std::int32_t ms) {
      if (ms == 1000 && d.Toolkit().Text(Control::Text1).rfind("帯域", 0) == 0)
        d.PostClick(button, 20);
    };
    d.Press(Control::CmdMesStart);
    this->clock.onSleep = nullptr;
    ASSERT_TRUE(
        d.RunUntil([&] { return d.Host().Ended() || d.Enabled(Control::CmdMesStart); }, 30000));
    this->StopSimAfterEx(sim);
    const auto commands = sim.Commands();
    if (button == Control::CmdExit) {
      EXPECT_TRUE(d.Host().Ended());
      EXPECT_EQ(commands, (std::vector<std::string>{"FP10\r\n", "EX\r\n"}));
    } else {
      EXPECT_EQ(d.Toolkit().Text(Control::Text1), "測定完了しました。");
      EXPECT_EQ(std::count(commands.begin(), commands.end(), "GD\r\n"), 4) << "both passes";
    }
  }
}

// The status line, and the waterfall's centre line, are on the screen during
// the waits they belong to, though the window handles no events then.
TYPED_TEST_P(WindowRunContract, WhatAWaitAnnouncesIsShownDuringIt) {
  SimProcess sim;
  ASSERT_TRUE(this->OpenForSim(sim, "1"));
  auto& d = this->driver;
  this->Until([] { return false; }, 50);  // painted once
  const Image before = d.Shown(Control::Text1);
  std::vector<std::pair<std::string, Image>> shown;
  bool centreLine = false;
  this->clock.onSleep = [&](std::int32_t ms) {
    if (ms < 1000) return;
    shown.emplace_back(this->Text(Control::Text1), d.Shown(Control::Text1));
    const Image wf = d.Shown(Control::XportWF);
    if (shown.size() == 1) centreLine = wf.At(wf.width / 2, wf.height / 2) == 0xC0C0C0u;
  };
  d.Press(Control::CmdMesStart);
  ASSERT_TRUE(this->StatusIs("測定完了しました。"));
  this->clock.onSleep = nullptr;
  sim.Stop();
  // The band-count pause, then the first band's wait (2 bands: 2000 ms).
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].first, "帯域の測定は 2回です。");
  EXPECT_EQ(shown[1].first, "1-1を測定中です");
  EXPECT_NE(shown[0].second, before) << "the band count is on the screen";
  EXPECT_NE(shown[1].second, shown[0].second) << "the band step's text is on the screen";
  EXPECT_TRUE(centreLine);
}

TYPED_TEST_P(WindowRunContract, BreakDuringARun) {
  SimProcess sim({"--reply-delay-ms", "50"});
  ASSERT_TRUE(this->OpenForSim(sim, "5"));
  auto& d = this->driver;
  d.Press(Control::CmdMesStart);
  d.WhenThen([&] { return this->Text(Control::Text1).rfind("1-", 0) == 0; },
             [&] { d.Press(Control::CmdMesBreak); });
  ASSERT_TRUE(this->StatusIs("測定中断しました。"));
  this->StopSimAfterEx(sim);
  const auto commands = sim.Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "GD\r\n"), 2) << "one pass only";
  EXPECT_EQ(commands.back(), "EX\r\n");
  EXPECT_FALSE(d.Host().Ended());
}

TYPED_TEST_P(WindowRunContract, ExitInsideTheReceiveLoop) {
  SimProcess sim({"--silent"});
  ASSERT_TRUE(this->OpenForSim(sim, "1"));
  auto& d = this->driver;
  d.Press(Control::CmdMesStart);
  d.WhenThen([&] { return sim.Commands().size() >= 3; },  // FP10, CF, GD
             [&] { d.Press(Control::CmdExit); });
  ASSERT_TRUE(this->Until([&] { return d.Host().Ended(); }, 20000));
  this->Until([] { return false; }, 50);
  this->StopSimAfterEx(sim);
  EXPECT_EQ(sim.Commands(),
            (std::vector<std::string>{"FP10\r\n", "CF455\r\n", "GD\r\n", "EX\r\n"}));
  EXPECT_FALSE(d.Visible());
}

TYPED_TEST_P(WindowRunContract, CloseThroughTheFrameInsideTheReceiveLoopSendsNothing) {
  SimProcess sim({"--silent"});
  ASSERT_TRUE(this->OpenForSim(sim, "1"));
  auto& d = this->driver;
  d.Press(Control::CmdMesStart);
  d.WhenThen([&] { return sim.Commands().size() >= 3; }, [&] { d.Close(); });
  ASSERT_TRUE(this->Until([&] { return d.Host().Ended(); }, 20000));
  this->Until([] { return false; }, 50);
  sim.Stop();
  EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"FP10\r\n", "CF455\r\n", "GD\r\n"}));
  EXPECT_EQ(Slurp(this->dir / "WFdata.txt"), "\r\n");
  EXPECT_FALSE(d.Visible());
}

TYPED_TEST_P(WindowRunContract, RefusedConnection) {
  int port;
  {
    SimProcess sim;
    port = sim.Port();
  }  // stopped: nothing listens there now
  const std::string ini =
      "[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=" + std::to_string(port) + "\r\n";
  this->Ini(ini);
  ASSERT_TRUE(this->Open());
  auto& d = this->driver;
  d.Press(Control::CmdMesStart);
  EXPECT_TRUE(d.Host().Ended());
  EXPECT_EQ(d.Messages(), std::vector<std::string>{"KOV_Xport_WindowsAPI|ソケットCONNECTエラー"});
  EXPECT_EQ(this->Text(Control::Text1), "ソケットCONNECTエラー");
  EXPECT_EQ(Slurp(this->dir / "KOV_Xport.ini"), ini);
  EXPECT_FALSE(d.Visible());
}

REGISTER_TYPED_TEST_SUITE_P(WindowRunContract, TwoPassesOverTwoBands, FocusStaysWithTheStartButton,
                            ClicksDuringAWaitCountOnlyOnEnabledButtons,
                            WhatAWaitAnnouncesIsShownDuringIt, BreakDuringARun,
                            ExitInsideTheReceiveLoop,
                            CloseThroughTheFrameInsideTheReceiveLoopSendsNothing,
                            RefusedConnection);

}  // namespace kov::testing
