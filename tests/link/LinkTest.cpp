#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeWindow.h"
#include "link/Link.h"
#include "link/Protocol.h"
#include "ui/ProgramEnded.h"

namespace kov::link {
namespace {

using fakes::FakeSockets;

// One entry line as the instrument sends it: the reply without "GD " and markers.
std::string Entry(double mhz, int level) {
  const std::vector<ReplyEntry> one = {{mhz, LevelText(level)}};
  return BuildGDReply(one, false).substr(5);
}

std::string Reply(int entries, int level = -80) {
  std::vector<ReplyEntry> list;
  for (int k = 0; k < entries; ++k) list.push_back({450 + k * 0.03125, LevelText(level)});
  return BuildGDReply(list);
}

TEST(Protocol, CommandBytes) {
  EXPECT_EQ(CommandBytes(kCmdFP10), "FP10\r\n");
  EXPECT_EQ(CommandBytes(kCmdGD), "\x47\x44\x0D\x0A");
  EXPECT_EQ(CommandBytes(kCmdEX), "\x45\x58\x0D\x0A");
  EXPECT_EQ(CommandBytes(CFCommand(BandCenterFQ(450, 10, 1))), "\x43\x46\x34\x35\x35\x0D\x0A");
  EXPECT_EQ(CFCommand(BandCenterFQ(450, 10, 2)), "CF465");
  EXPECT_EQ(CFCommand(BandCenterFQ(1000, 10, 102)), "CF2015");
  EXPECT_EQ(CFCommand(455.25), "CF455.25");
}

TEST(Protocol, AddressRecordAndPort) {
  const std::uint8_t ip[4] = {192, 168, 0, 10};
  std::uint32_t networkOrder;
  std::memcpy(&networkOrder, ip, 4);
  const platform::SocketAddressRecord expected = {0x02, 0x00, 0x27, 0x11, 0xC0, 0xA8, 0x00, 0x0A,
                                                  0,    0,    0,    0,    0,    0,    0,    0};
  EXPECT_EQ(BuildXportAddr(networkOrder, *PortFromText("10001")), expected);
  EXPECT_EQ(PortFromText("10001.5"), 10002);
  EXPECT_EQ(PortFromText("70000"), 4464);
  EXPECT_EQ(PortFromText("-1"), 65535);
  EXPECT_EQ(PortFromText("abc"), 0);
  EXPECT_EQ(PortFromText("2147483648"), std::nullopt);
}

TEST(SplitGDReply, EntryCounts) {
  struct Case {
    int entries;
    int measured;  // points with the instrument's level
  };
  for (const Case c : {Case{320, 320}, Case{300, 300}, Case{400, 320}, Case{0, 0}}) {
    const BandLevels levels = SplitGDReply(Reply(c.entries));
    for (int k = 1; k <= kPointsPerBand; ++k) {
      const auto& level = levels[k - 1];
      if (k <= c.measured) {
        EXPECT_EQ(level, "-080 ") << c.entries << " entries, point " << k;
      } else if (k == c.measured + 1 && c.entries < 320) {
        EXPECT_EQ(level, std::nullopt) << "the lone LF after the last entry";
      } else {
        EXPECT_EQ(level, "-100 ") << c.entries << " entries, point " << k;
      }
    }
  }
}

TEST(SplitGDReply, ShortLinesAndMissingMarkers) {
  std::string reply = "/ \r\n" + Entry(450, -70) + "short\r\n\r\n" + Entry(451, -60) + "/ \r\n";
  BandLevels levels = SplitGDReply(reply);
  EXPECT_EQ(levels[0], "-070 ");
  EXPECT_EQ(levels[1], std::nullopt);
  EXPECT_EQ(levels[2], std::nullopt);
  EXPECT_EQ(levels[3], "-060 ");
  // Without any marker the band reads as not answered.
  levels = SplitGDReply(Entry(450, -70) + Entry(451, -60));
  for (const auto& level : levels) EXPECT_EQ(level, "-100 ");
  EXPECT_EQ(SplitGDReply(SubstituteReply()), levels);
}

struct BuiltReply {
  const char* name;
  std::vector<ReplyEntry> entries;
};

class BuildGDReplyTest : public ::testing::TestWithParam<BuiltReply> {};

// What the builder writes, the splitter reads back: every level text as it
// was, a point without a level as no level.
TEST_P(BuildGDReplyTest, SplitGivesTheLevelsBack) {
  const auto& entries = GetParam().entries;
  const BandLevels levels = SplitGDReply(BuildGDReply(entries));
  for (std::size_t k = 0; k < entries.size() && k < levels.size(); ++k) {
    EXPECT_EQ(levels[k], entries[k].level) << "point " << k + 1;
  }
}

std::vector<ReplyEntry> Band(const std::function<std::optional<std::string>(int)>& level) {
  std::vector<ReplyEntry> entries;
  for (int k = 0; k < kPointsPerBand; ++k) entries.push_back({450 + k / 32.0, level(k)});
  return entries;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, BuildGDReplyTest,
    ::testing::Values(BuiltReply{"Levels", Band([](int k) { return LevelText(-k % 101); })},
                      BuiltReply{"PointsWithoutData", Band([](int k) -> std::optional<std::string> {
                                   if (k % 7 == 3) return std::nullopt;
                                   return LevelText(k % 2 == 0 ? 5 : -99);
                                 })},
                      BuiltReply{"OddLevelTexts", Band([](int k) -> std::optional<std::string> {
                                   return k == 0 ? "-12.5 " : k == 1 ? "x" : "+000 ";
                                 })}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Protocol, ReplyLayout) {
  const std::vector<ReplyEntry> two = {{450.0, "-080 "}, {3000.03125, std::nullopt}};
  EXPECT_EQ(BuildGDReply(two), "GD \r\n/ \r\nF0450.0000L-080 \r\nF3000.0312\r\n/ \r\n");
  EXPECT_EQ(BuildGDReply(two, false), "GD \r\nF0450.0000L-080 \r\nF3000.0312\r\n");
  EXPECT_EQ(LevelText(-100), "-100 ");
  EXPECT_EQ(LevelText(0), "+000 ");
  EXPECT_EQ(LevelText(7), "+007 ");
  EXPECT_EQ(SubstituteReply().substr(0, 28), "GD \r\n/ \r\nF0000.0000L-100 \r\nF");
}

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() : sockets(clock), t1(clock, "Timer1"), t3(clock, "Timer3"), t4(clock, "Timer4") {
    window.entries[ui::Entry::TxtXportIP] = "127.0.0.1";
    window.entries[ui::Entry::TxtXportPort] = "10001";
  }

  void Connected() {
    state.ConnectFlag = 1;
    state.XportSock = 7;
  }
  // Runs an operation that may end the program.
  bool Ends(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const ui::ProgramEnded&) {
      return true;
    }
    return false;
  }

  fakes::FakeClock clock;
  FakeSockets sockets;
  fakes::FakeWindow window;
  fakes::FakeTimer t1, t3, t4;
  fakes::FakeProfileFiles profiles;
  settings::Settings settings{profiles, "/opt/kov"};
  LinkState state;
  Link link{state,
            {.sockets = sockets,
             .clock = clock,
             .fields = window,
             .messages = window,
             .buttons = window,
             .loop = window,
             .timers = {t1, t3, t4},
             .settings = settings}};
};

TEST_F(LinkTest, ConnectConfiguresTheSocketAndStoresTheIP) {
  window.entries[ui::Entry::TxtXportPort] = "10001.5";
  link.XportConnect();
  EXPECT_EQ(sockets.calls, (std::vector<std::string>{"Socket", "InetAddr", "Connect",
                                                     "SetNonBlocking", "SetNoDelay"}));
  EXPECT_EQ(sockets.connectedTo[2] << 8 | sockets.connectedTo[3], 10002);
  EXPECT_EQ(sockets.noDelayValue, 1);
  EXPECT_EQ(state.ConnectFlag, 1);
  ASSERT_EQ(profiles.writes.size(), 1u);
  EXPECT_EQ(profiles.writes[0].value, "127.0.0.1");
  EXPECT_TRUE(window.log.empty());
}

struct ConnectFailure {
  const char* name;
  int failingStep;  // 0 socket, 1 connect, 2 non-blocking
  const char* message;
};

class ConnectFailureTest : public LinkTest, public ::testing::WithParamInterface<ConnectFailure> {};

TEST_P(ConnectFailureTest, MessageThenStatusThenTheEnd) {
  const ConnectFailure& f = GetParam();
  if (f.failingStep == 0) sockets.socketResult = platform::kInvalidSocket;
  if (f.failingStep == 1) sockets.connectResult = -1;
  if (f.failingStep == 2) sockets.nonBlockingResult = -1;
  EXPECT_TRUE(Ends([&] { link.XportConnect(); }));
  EXPECT_TRUE(window.ended);
  EXPECT_TRUE(window.ended);
  ASSERT_GE(window.log.size(), 3u);
  EXPECT_EQ(window.log[0], std::string("message ") + f.message);
  EXPECT_EQ(window.log[1], std::string("status ") + f.message);
  EXPECT_TRUE(profiles.writes.empty()) << "the previous IP stays in the file";
  if (f.failingStep == 0) {
    EXPECT_TRUE(sockets.sent.empty());
    EXPECT_EQ(state.ConnectFlag, 0);
  } else {
    // FatalExit: "EX" offered, socket closed, buttons reset, then the end.
    EXPECT_EQ(sockets.sent, std::vector<std::string>{"EX\r\n"});
    EXPECT_EQ(sockets.closed.size(), 1u);
    EXPECT_EQ(state.ConnectFlag, 0);
    EXPECT_EQ(window.log.back(), "end");
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, ConnectFailureTest,
                         ::testing::Values(ConnectFailure{"socket", 0, "ソケット生成エラー"},
                                           ConnectFailure{"connect", 1, "ソケットCONNECTエラー"},
                                           ConnectFailure{"mode", 2,
                                                          "ソケット非ブロッキング・エラー"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkTest, SocketLibraryThatWillNotStart) {
  sockets.startupResult = 10091;
  EXPECT_TRUE(Ends([&] { link.SocketsInitialize(); }));
  EXPECT_EQ(sockets.startupVersion, 0x0202);
  EXPECT_EQ(window.log,
            (std::vector<std::string>{"status Winsock.dll is not responding.",
                                      "message Winsock.dll is not responding.", "end"}));
}

TEST_F(LinkTest, SendFailuresEndTheProgramWithTheirMessage) {
  Connected();
  sockets.sendFailsAfter = 0;
  EXPECT_TRUE(Ends([&] { (void)link.SendCF(455, "Send CF to Next Step エラー"); }));
  EXPECT_EQ(state.ErrMsg, "Send CF to Next Step エラー");
  EXPECT_EQ(window.status, "Send CF to Next Step エラー");
  EXPECT_TRUE(window.messages.empty()) << "send failures show no message box";
  EXPECT_EQ(sockets.closed.size(), 1u);

  window.ended = false;
  EXPECT_TRUE(Ends([&] { link.SendGD(); }));
  EXPECT_EQ(window.status, "Send GD エラー");
}

TEST_F(LinkTest, ExitDisconnectsOnlyWhenConnected) {
  EXPECT_TRUE(Ends([&] { link.CmdExit_Click(); }));
  EXPECT_TRUE(sockets.sent.empty());
  window.ended = false;
  Connected();
  t1.SetInterval(5000);
  t1.SetEnabled(true);
  t3.SetEnabled(true);
  EXPECT_TRUE(Ends([&] { link.CmdExit_Click(); }));
  EXPECT_EQ(sockets.sent, std::vector<std::string>{"EX\r\n"});
  EXPECT_FALSE(t1.Enabled());
  EXPECT_FALSE(t3.Enabled());
}

struct RecvCase {
  const char* name;
  std::vector<FakeSockets::RecvEvent> events;
  int gdRepeats;
  ReplyOutcome outcome;
};

class RecvGDReplyTest : public LinkTest, public ::testing::WithParamInterface<RecvCase> {};

TEST_P(RecvGDReplyTest, CollectsUntilTheClosingMarker) {
  Connected();
  const RecvCase& c = GetParam();
  std::string expected;
  for (const auto& e : c.events) expected += e.data;
  link.SendGD();
  sockets.incoming.assign(c.events.begin(), c.events.end());
  EXPECT_EQ(link.RecvGDReply(), c.outcome);
  EXPECT_EQ(static_cast<int>(sockets.sent.size()) - 1, c.gdRepeats);
  if (c.outcome == ReplyOutcome::kSubstitute) {
    EXPECT_EQ(state.RecvStr, SubstituteReply());
  } else if (c.outcome == ReplyOutcome::kComplete) {
    EXPECT_EQ(state.SlashCount, 2);
    EXPECT_EQ(state.RecvStr, expected);
  }
  // Every poll first lets the window handle its events (one receive more:
  // the look for stale bytes before "GD").
  EXPECT_EQ(window.processEventsCalls, sockets.recvCalls - 1);
}

const std::string kFull = Reply(320);

std::vector<FakeSockets::RecvEvent> AfterSilence(int polls, const std::string& data) {
  std::vector<FakeSockets::RecvEvent> events(polls, FakeSockets::Nothing());
  events.push_back(FakeSockets::Data(data));
  return events;
}

constexpr auto kComplete = ReplyOutcome::kComplete;
constexpr auto kSubstitute = ReplyOutcome::kSubstitute;
constexpr auto kLost = ReplyOutcome::kConnectionLost;

INSTANTIATE_TEST_SUITE_P(
    Chunks, RecvGDReplyTest,
    ::testing::Values(
        RecvCase{"OneChunk", {FakeSockets::Data(kFull)}, 0, kComplete},
        RecvCase{
            "ClosingMarkerThreeChunksLater",
            {FakeSockets::Data(kFull.substr(0, 100)), FakeSockets::Nothing(),
             FakeSockets::Data(kFull.substr(100, 2000)),
             FakeSockets::Data(kFull.substr(2100, 3000)), FakeSockets::Data(kFull.substr(5100))},
            0,
            kComplete},
        RecvCase{"AnswerJustBeforeTheRepeat", AfterSilence(5000, kFull), 0, kComplete},
        RecvCase{"AnswerToTheRepeat", AfterSilence(5001, kFull), 1, kComplete},
        RecvCase{"SilentInstrument", {}, 1, kSubstitute},
        // A closed or broken connection ends the wait at once: no repeat,
        // and nothing of the band is kept.
        RecvCase{
            "PeerClosed", {FakeSockets::Data("GD \r\n/ \r\n"), FakeSockets::Closed()}, 0, kLost},
        RecvCase{"ConnectionBroken", {FakeSockets::Nothing(), FakeSockets::Broken()}, 0, kLost}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkTest, SendCFTellsWhetherTheConnectionStands) {
  Connected();
  const std::pair<FakeSockets::RecvEvent, bool> rows[] = {
      {FakeSockets::Nothing(), true},
      {FakeSockets::Data("CF OK\r\n"), true},
      {FakeSockets::Closed(), false},
      {FakeSockets::Broken(), false},
  };
  for (const auto& [event, stands] : rows) {
    sockets.incoming = {event};
    EXPECT_EQ(link.SendCF(455, "Send CF エラー"), stands) << event.result;
  }
  EXPECT_FALSE(window.ended);
}

// A peer that streams without the closing marker: the reply is cut off at
// its bound, and the wait ends by the clock as a silent one would.
TEST_F(LinkTest, StreamWithoutTheClosingMarker) {
  Connected();
  sockets.stream = [] { return std::string(9000, 'x'); };
  sockets.msPerChunk = 1;
  std::size_t largest = 0;
  window.onProcessEvents = [&] { largest = std::max(largest, state.RecvStr.capacity()); };
  link.SendGD();
  const std::int64_t sent = clock.now;
  EXPECT_EQ(link.RecvGDReply(), ReplyOutcome::kSubstitute);
  EXPECT_EQ(sockets.sent, (std::vector<std::string>{"GD\r\n", "GD\r\n"}));
  EXPECT_EQ(clock.now - sent, 2 * kReplyTimeOutMs + 10);
  EXPECT_LE(largest, 2 * kMaxReplyBytes);
  link.ReleaseReply();
  EXPECT_LT(state.RecvStr.capacity(), 64u);
}

TEST_F(LinkTest, BytesWaitingBeforeGDAreNotTakenForTheReply) {
  Connected();
  sockets.incoming.push_back(FakeSockets::Data("CF answer / noise\r\n"));
  sockets.incoming.push_back(FakeSockets::Data(std::string(3000, 'x') + "/ tail"));
  link.SendGD();
  EXPECT_TRUE(sockets.incoming.empty());
  sockets.incoming.push_back(FakeSockets::Data(kFull));
  link.RecvGDReply();
  EXPECT_EQ(state.RecvStr, kFull);
}

TEST_F(LinkTest, OneByteChunks) {
  Connected();
  for (char c : kFull) sockets.incoming.push_back(FakeSockets::Data(std::string(1, c)));
  link.RecvGDReply();
  // Complete with the chunk that holds the closing "/": the rest of its line
  // stays on the socket for the receive after the next "CF".
  EXPECT_EQ(state.RecvStr, kFull.substr(0, kFull.size() - 3));
  EXPECT_EQ(state.SlashCount, 2);
  EXPECT_EQ(sockets.incoming.size(), 3u);
}

// A silent instrument: the loop waits (for data or the window's input) until
// each time-out, 5 s before the repeat and 5 s after it, and no longer.
TEST_F(LinkTest, SilenceWaitsFiveSecondsTwiceAndRepeatsOnce) {
  Connected();
  window.onWait = [&](platform::SocketHandle s, std::int32_t ms) { sockets.WaitReadable(s, ms); };
  link.SendGD();
  link.RecvGDReply();
  EXPECT_EQ(sockets.sent, (std::vector<std::string>{"GD\r\n", "GD\r\n"}));
  EXPECT_EQ(clock.sleeps, std::vector<std::int32_t>{10});
  EXPECT_EQ(window.waits, 2) << "one wait a time-out: nothing spins";
  EXPECT_EQ(clock.now, 10000 + 10);
  EXPECT_EQ(state.SockRet, -1);
  EXPECT_EQ(state.ResendRet, 4);
}

// Waits that end at once (a window flooded with events) still end at the
// 5001st failed poll, however little time has passed.
TEST_F(LinkTest, FailedPollsBoundWaitsThatEndAtOnce) {
  Connected();
  link.SendGD();
  link.RecvGDReply();
  EXPECT_EQ(sockets.sent, (std::vector<std::string>{"GD\r\n", "GD\r\n"}));
  EXPECT_EQ(window.waits, 2 * 5000);
  EXPECT_EQ(clock.now, 10) << "only the 10 ms before the repeat";
}

TEST_F(LinkTest, ExitFromInsideTheReceiveLoopStopsItAtOnce) {
  Connected();
  window.onProcessEvents = [&] {
    if (window.processEventsCalls == 3) link.CmdExit_Click();
  };
  EXPECT_TRUE(Ends([&] { link.RecvGDReply(); }));
  EXPECT_EQ(sockets.sent, std::vector<std::string>{"EX\r\n"});
  EXPECT_EQ(sockets.recvCalls, 2) << "no receive after the end";
}

TEST_F(LinkTest, WindowClosedInsideTheLoopSendsNothing) {
  Connected();
  window.onProcessEvents = [&] {
    if (window.processEventsCalls == 2) window.ended = true;
  };
  EXPECT_TRUE(Ends([&] { link.RecvGDReply(); }));
  EXPECT_TRUE(sockets.sent.empty());
  EXPECT_TRUE(sockets.closed.empty());
}

}  // namespace
}  // namespace kov::link
