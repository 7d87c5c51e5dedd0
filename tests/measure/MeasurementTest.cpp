#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ExpectedCommands.h"
#include "RunRig.h"

namespace kov::measure {
namespace {

using testing::RunRig;
using ui::Entry;
using ui::Label;

struct PlanCase {
  const char* start;
  const char* end;
  const char* startBox;
  const char* endBox;
  int bands;
};

class StartCommandTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(StartCommandTest, NormalisesTheRange) {
  const PlanCase& c = GetParam();
  RunRig run;
  run.Entries(c.start, c.end, "1", "5");
  run.form.CmdMesStart_Click();
  EXPECT_EQ(run.window.EntryText(Entry::TxtStartFQ), c.startBox);
  EXPECT_EQ(run.window.EntryText(Entry::TxtEndFQ), c.endBox);
  EXPECT_EQ(run.form.State().BandCount, c.bands);
  EXPECT_EQ(run.form.State().ConnectFlag, 1);
  if (c.bands == 0) {
    // Nothing after the band count: no graphs, no timer, no FP10, buttons kept.
    EXPECT_TRUE(run.display.calls.empty());
    EXPECT_FALSE(run.t1.Enabled());
    EXPECT_TRUE(run.sockets.sent.empty());
    EXPECT_EQ(run.window.status, "");
    return;
  }
  const std::string s = c.startBox, e = c.endBox, b = std::to_string(c.bands);
  EXPECT_EQ(run.display.calls,
            (std::vector<std::string>{"ScaleWaterfall " + b + " 1", "DrawGraphFrame " + b,
                                      "SetFrequencyLabels " + s + " " + e, "ClearWaterfall"}));
  EXPECT_EQ(run.window.status, "帯域の測定は " + b + "回です。");
  EXPECT_EQ(run.fakeClock.sleeps, std::vector<std::int32_t>{1000});
  EXPECT_EQ(run.sockets.sent, std::vector<std::string>{"FP10\r\n"});
  EXPECT_TRUE(run.t1.Enabled());
  EXPECT_EQ(run.t1.Interval(), 1);
  EXPECT_FALSE(run.window.ButtonEnabled(ui::Button::CmdMesStart));
  EXPECT_TRUE(run.window.ButtonEnabled(ui::Button::CmdMesBreak));
}

// The normalisation itself is the plan's (SweepPlanTest); here what the
// start command does with a plan.
INSTANTIATE_TEST_SUITE_P(Ranges, StartCommandTest,
                         ::testing::Values(PlanCase{"451", "550", "450", "550", 10},
                                           PlanCase{"550", "451", "450", "550", 10},
                                           PlanCase{"458", "452", "450", "450", 0},
                                           PlanCase{"1000", "2020", "1000", "2020", 102}));

struct Refusal {
  const char* start;
  const char* end;
  const char* count;
  const char* interval;
  const char* port;
  const char* message;
};

class RefusedStartTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedStartTest, ChangesNothingElse) {
  const Refusal& r = GetParam();
  RunRig run;
  run.files.files["WFdata.txt"] = "earlier run";
  run.Entries(r.start, r.end, r.count, r.interval);
  run.window.entries[Entry::TxtXportPort] = r.port;
  run.window.log.clear();
  run.form.CmdMesStart_Click();
  EXPECT_EQ(run.window.log, std::vector<std::string>{std::string("status ") + r.message});
  EXPECT_EQ(run.sockets.calls, std::vector<std::string>{"Startup"});
  EXPECT_EQ(run.files.files["WFdata.txt"], "earlier run");
  EXPECT_TRUE(run.profiles.writes.empty());
  EXPECT_TRUE(run.display.calls.empty());
  EXPECT_FALSE(run.window.ended);
}

// One refusal of each kind; the limits themselves are the plan's.
INSTANTIATE_TEST_SUITE_P(
    Entries, RefusedStartTest,
    ::testing::Values(
        Refusal{"40000", "550", "1", "5", "10001", "周波数の値が範囲外です"},
        Refusal{"0", "1030", "1", "5", "10001", "測定周波数範囲は1020MHz以内にしてください"},
        Refusal{"451", "550", "0", "5", "10001", "ダウンロード回数は1～32767回で指定してください"},
        Refusal{"451", "550", "1", "-1", "10001", "ダウンロード間隔が範囲外です"},
        Refusal{"451", "550", "1", "2147484", "10001", "ダウンロード間隔が範囲外です"},
        Refusal{"451", "550", "1", "5", "4294967296", "XPort Portの値が範囲外です"}));

std::vector<std::string> BandStepTexts(const std::vector<std::string>& history) {
  std::vector<std::string> texts;
  for (const auto& t : history) {
    if (!t.empty() && t.find("帯域の測定は") == std::string::npos) texts.push_back(t);
  }
  return texts;
}

TEST(Run, ThreePassesOverTwoBands) {
  RunRig run;
  run.Entries("450", "470", "3", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  EXPECT_EQ(BandStepTexts(run.window.statusHistory),
            (std::vector<std::string>{"1-1を測定中です", "1-2を測定中です", "2-1測定待機中です",
                                      "2-1を測定中です", "2-2を測定中です", "3-1測定待機中です",
                                      "3-1を測定中です", "3-2を測定中です", "4-1測定待機中です",
                                      "測定完了しました。"}));
  EXPECT_EQ(run.sockets.sent, testing::ExpectedCommands(450, 2, 3));
  EXPECT_EQ(run.display.calls.back(), "DrawPass 2 3");
  EXPECT_EQ(std::count(run.display.calls.begin(), run.display.calls.end(), "DrawPass 2 1"), 1);
  EXPECT_TRUE(run.window.ButtonEnabled(ui::Button::CmdMesStart));
  EXPECT_FALSE(run.window.ButtonEnabled(ui::Button::CmdMesBreak));
  EXPECT_EQ(run.form.State().ConnectFlag, 0);
  EXPECT_FALSE(run.t1.Armed() || run.t3.Armed() || run.t4.Armed());
}

TEST(Run, TimeStampsAtTheirMoments) {
  RunRig run;
  run.Entries("450", "470", "3", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  // Label19 after the first settling wait, Label20 at the end of pass 1
  // (3 / 2 = 1), Label21 at the end: each once, in this order.
  std::vector<std::pair<Label, std::string>> stamps;
  for (const auto& [label, text] : run.window.labelHistory) {
    if (!text.empty()) stamps.emplace_back(label, text);
  }
  ASSERT_EQ(stamps.size(), 3u);
  EXPECT_EQ(stamps[0].first, Label::Label19);
  EXPECT_EQ(stamps[1].first, Label::Label20);
  EXPECT_EQ(stamps[2].first, Label::Label21);
  EXPECT_EQ(stamps[0].second, "00:00:03");  // 1 s band count + 2 x 1000 ms wait
}

struct MiddleMark {
  const char* count;
  int pass;  // the pass at whose end Label20 is set; 0: never
};

class MiddleMarkTest : public ::testing::TestWithParam<MiddleMark> {};

TEST_P(MiddleMarkTest, SetAtTheEndOfPassHalfTheCountRoundedDown) {
  RunRig run;
  std::vector<int> passes;
  run.window.onLabel = [&](Label label) {
    if (label == Label::Label20 && !run.window.LabelText(label).empty()) {
      passes.push_back(run.form.State().DownloadNo);
    }
  };
  run.Entries("450", "460", GetParam().count, "0");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  EXPECT_EQ(passes, GetParam().pass == 0 ? std::vector<int>{} : std::vector<int>{GetParam().pass});
}

INSTANTIATE_TEST_SUITE_P(Counts, MiddleMarkTest,
                         ::testing::Values(MiddleMark{"1", 0}, MiddleMark{"2", 1},
                                           MiddleMark{"3", 1}, MiddleMark{"4", 2},
                                           MiddleMark{"5", 2}, MiddleMark{"7", 3}));

struct IntervalCase {
  const char* text;  // TxtInterval at the first tick of Timer1
  std::int32_t ms;   // the interval Timer1 then runs with
};

class PassIntervalTest : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(PassIntervalTest, ReadAtEveryTickInSeconds) {
  RunRig run;
  run.Entries("450", "460", "2", "5");
  run.form.CmdMesStart_Click();
  run.window.entries[Entry::TxtInterval] = GetParam().text;
  run.loop.Step();  // the first tick of Timer1
  EXPECT_EQ(run.t1.Interval(), GetParam().ms) << GetParam().text;
  EXPECT_TRUE(run.t1.Enabled());
}

INSTANTIATE_TEST_SUITE_P(Texts, PassIntervalTest,
                         ::testing::Values(IntervalCase{"5", 5000}, IntervalCase{"0.5", 500},
                                           IntervalCase{"1.25", 1250},
                                           IntervalCase{"2147483", 2147483000},
                                           IntervalCase{"0", 1}, IntervalCase{"-3", 1},
                                           IntervalCase{"1e10", 2147483647},
                                           IntervalCase{"abc", 1}));

TEST(Run, SettlingWaitsForTenBands) {
  RunRig run;
  run.Entries("450", "550", "2", "0");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  std::vector<std::int32_t> expected = {1000, 10000, 50};
  for (int b = 2; b <= 10; ++b) expected.insert(expected.end(), {500, 50});
  expected.insert(expected.end(), {1000, 50});
  for (int b = 2; b <= 10; ++b) expected.insert(expected.end(), {500, 50});
  EXPECT_EQ(run.fakeClock.sleeps, expected);
}

struct BreakCase {
  const char* name;
  bool betweenPasses;
  int passesRun;
};

class BreakTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(BreakTest, EndsAfterThePassInProgressOrTheNext) {
  RunRig run;
  run.Entries("450", "470", "5", "60");
  run.form.CmdMesStart_Click();
  if (GetParam().betweenPasses) {
    run.loop.RunUntil([&] {
      return run.form.State().DownloadNo == 2 && run.t1.Armed() && !run.t3.Armed() &&
             !run.t4.Armed() && run.form.State().DownloadFlag == 0;
    });
    run.form.CmdMesBreak_Click();
  } else {
    run.window.onProcessEvents = [&] {
      if (run.form.State().DownloadNo == 2 && run.form.State().BreakFlag == 0) {
        run.form.CmdMesBreak_Click();
        EXPECT_EQ(run.window.status, "測定中断中・・・");
      }
      run.loop.RunDue();
    };
  }
  run.RunToEnd();
  EXPECT_EQ(run.form.State().DownloadNo, GetParam().passesRun);
  EXPECT_EQ(run.window.status, "測定中断しました。");
  EXPECT_EQ(std::count(run.sockets.sent.begin(), run.sockets.sent.end(), "EX\r\n"), 1);
  EXPECT_EQ(run.sockets.sent.back(), "EX\r\n");
  if (GetParam().betweenPasses) {
    const auto& h = run.window.statusHistory;
    EXPECT_NE(std::find(h.begin(), h.end(), "3-1を測定中です ・・測定中断中です・・"), h.end());
    EXPECT_NE(std::find(h.begin(), h.end(), "3-2を測定中です ・・測定中断中です・・"), h.end());
  }
}

INSTANTIATE_TEST_SUITE_P(Moments, BreakTest,
                         ::testing::Values(BreakCase{"DuringPass2Of5", false, 2},
                                           BreakCase{"BetweenPasses2And3", true, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

std::string TimedOutFile() {
  std::string file = "\r\n";
  for (int point = 1; point <= 640; ++point) {
    file += " 1,  " + std::to_string(point) + ",-100 \r\n";
    if (point % 320 == 0) file += "\r\n";
  }
  return file;
}

TEST(WaveformFile, TwoTimedOutBands) {
  RunRig run;
  run.answer = false;
  run.Entries("450", "470", "1", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  const std::string& file = run.files.files["WFdata.txt"];
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 643);
  EXPECT_EQ(file, TimedOutFile());
  EXPECT_EQ(run.window.status, "測定完了しました。");
}

TEST(WaveformFile, LoneLineFeedKeepsTheResetValue) {
  RunRig run;
  run.reply = [](const std::string&) {
    std::string reply = "GD \r\n/ \r\n";
    for (int k = 1; k <= 320; ++k) reply += k == 5 ? "\r\n" : "F0450.0000L-080 \r\n";
    return reply + "/ \r\n";
  };
  run.Entries("450", "460", "1", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  EXPECT_EQ(run.form.State().WFGrid.At(0, 4), "00");
  EXPECT_EQ(run.form.State().WFGrid.At(0, 5), "-080 ");
  const std::string& file = run.files.files["WFdata.txt"];
  EXPECT_NE(file.find("\r\n 1,  5,00\r\n 1,  6,-080 \r\n"), std::string::npos);
}

TEST(WaveformFile, ASecondRunKeepsOnlyItsOwnLines) {
  RunRig run;
  run.Entries("450", "470", "1", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  run.answer = false;
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  EXPECT_EQ(run.files.files["WFdata.txt"], TimedOutFile());
}

TEST(WaveformFile, CannotBeAppendedDuringARun) {
  RunRig run;
  run.files.appendsBeforeFailure = 1;
  run.Entries("450", "470", "2", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  EXPECT_EQ(run.window.status, "WFdata.txtに書き込めません");
  EXPECT_FALSE(run.window.LabelText(Label::Label21).empty());
  EXPECT_EQ(run.sockets.sent.back(), "EX\r\n");
  EXPECT_EQ(run.form.State().ConnectFlag, 0);
  // Band 1 stays in both files, line for line.
  const std::string& file = run.files.files["WFdata.txt"];
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 321);
  const std::string& times = run.files.files["WFtime.csv"];
  EXPECT_EQ(std::count(times.begin(), times.end(), '\n'), 1 + 1);
  EXPECT_FALSE(run.window.ended);
}

TEST(Run, ExitInsideTheReceiveLoopEndsEverything) {
  RunRig run;
  run.answer = false;
  run.Entries("450", "470", "2", "5");
  run.form.CmdMesStart_Click();
  run.window.onProcessEvents = [&] {
    if (run.window.processEventsCalls == 3) run.form.CmdExit_Click();
  };
  run.RunToEnd();
  EXPECT_TRUE(run.window.ended);
  EXPECT_EQ(run.sockets.sent.back(), "EX\r\n");
  const auto sends = run.sockets.sent.size();
  const auto recvs = run.sockets.recvCalls;
  // No handler runs any more, whatever ticks or clicks come.
  run.form.Timer3_Timer();
  run.form.Timer1_Timer();
  run.form.CmdMesStart_Click();
  EXPECT_EQ(run.sockets.sent.size(), sends);
  EXPECT_EQ(run.sockets.recvCalls, recvs);
  EXPECT_EQ(run.files.files["WFdata.txt"], "\r\n");
}

TEST(Run, AStartAfterOneThatFoundNoBandClosesTheOldConnection) {
  RunRig run;
  run.Entries("458", "452", "1", "5");
  run.form.CmdMesStart_Click();
  EXPECT_EQ(run.form.State().ConnectFlag, 1);
  run.Entries("450", "460", "1", "5");
  run.form.CmdMesStart_Click();
  EXPECT_EQ(run.sockets.sent, (std::vector<std::string>{"EX\r\n", "FP10\r\n"}));
  EXPECT_EQ(run.sockets.closed.size(), 1u);
}

TEST(Run, IntervalTypedAsZeroDuringARunMeansBackToBack) {
  RunRig run;
  run.Entries("450", "460", "3", "5");
  run.form.CmdMesStart_Click();
  run.window.entries[Entry::TxtInterval] = "0";
  run.RunToEnd();
  EXPECT_EQ(run.form.State().DownloadNo, 3);
  EXPECT_EQ(run.window.status, "測定完了しました。");
}

struct LostCase {
  const char* name;
  fakes::FakeSockets::RecvEvent event;
  bool afterGD;  // lost while waiting for the reply, or at the "CF" after it
};

class ConnectionLostTest : public ::testing::TestWithParam<LostCase> {};

// The device server goes away during band 2 of pass 1: the run ends at once
// with its message, keeps band 1 byte for byte and stores nothing of band 2.
TEST_P(ConnectionLostTest, EndsTheRunAndKeepsWhatWasStored) {
  const LostCase& c = GetParam();
  RunRig run;
  int gds = 0;
  run.sockets.onSend = [&](const std::string& bytes) {
    if (bytes.rfind("CF", 0) == 0 && !c.afterGD && gds == 1 && bytes == "CF465\r\n") {
      run.sockets.incoming.push_back(c.event);
    }
    if (bytes != "GD\r\n") return;
    if (++gds == 2 && c.afterGD) {
      run.sockets.incoming.push_back(c.event);
    } else {
      run.sockets.incoming.push_back(fakes::FakeSockets::Data(RunRig::FullReply("")));
    }
  };
  run.Entries("450", "470", "2", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  EXPECT_EQ(run.window.status, "ソケット切断エラー");
  EXPECT_EQ(run.form.State().ErrMsg, "ソケット切断エラー");
  EXPECT_FALSE(run.window.LabelText(Label::Label21).empty());
  EXPECT_EQ(run.sockets.sent.back(), "EX\r\n");
  EXPECT_EQ(run.sockets.closed.size(), 1u);
  EXPECT_EQ(run.form.State().ConnectFlag, 0);
  EXPECT_TRUE(run.window.ButtonEnabled(ui::Button::CmdMesStart));
  EXPECT_FALSE(run.window.ButtonEnabled(ui::Button::CmdMesBreak));
  EXPECT_FALSE(run.window.ended);
  EXPECT_FALSE(run.t1.Armed() || run.t3.Armed() || run.t4.Armed());
  const std::string& file = run.files.files["WFdata.txt"];
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 321) << "band 1 only";
  EXPECT_EQ(file.find("-100 "), std::string::npos) << "nothing made up";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ConnectionLostTest,
    ::testing::Values(LostCase{"PeerClosesAwaitingTheReply", fakes::FakeSockets::Closed(), true},
                      LostCase{"ResetAwaitingTheReply", fakes::FakeSockets::Broken(), true},
                      LostCase{"PeerClosesAtTheNextCF", fakes::FakeSockets::Closed(), false}),
    [](const auto& info) { return std::string(info.param.name); });

// A peer that streams without the closing marker costs each band its two
// time-outs, and the break still ends the run after the pass.
TEST(Run, StreamingPeerStillHonoursTheBreak) {
  RunRig run;
  run.answer = false;
  run.sockets.stream = [] { return std::string(9000, 'x'); };
  run.sockets.msPerChunk = 1;
  run.Entries("450", "470", "5", "0");
  run.form.CmdMesStart_Click();
  run.window.onProcessEvents = [&] {
    if (run.form.State().BreakFlag == 0) run.form.CmdMesBreak_Click();
    run.loop.RunDue();
  };
  run.RunToEnd();
  EXPECT_EQ(run.window.status, "測定中断しました。");
  EXPECT_EQ(run.form.State().DownloadNo, 1);
  EXPECT_LE(run.form.State().RecvStr.capacity(), link::kMaxReplyBytes);
}

}  // namespace
}  // namespace kov::measure
