// What a run does when the instrument or the link misbehaves: short real runs
// against the simulator on 127.0.0.1, real files in a temporary folder, the
// sleeps faked.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "FastForwardSockets.h"
#include "RunRig.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeWindow.h"
#include "platform/IniProfileFiles.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "window/Form.h"

namespace kov::measure {
namespace {

namespace fs = std::filesystem;

using testing::Slurp;

// The number of whole bands in a waveform file; -1 when any line is not a
// well-formed point line or the bands are not complete and in order.
int WholeBands(const std::string& file) {
  if (file.rfind("\r\n", 0) != 0) return -1;
  static const std::regex line(R"( (\d+),  ?(\d+),(-?\d{3} |[+]\d{3} |00)\r\n)");
  std::size_t pos = 2;
  int bands = 0;
  while (pos < file.size()) {
    for (int k = 1; k <= 320; ++k) {
      const std::size_t end = file.find("\r\n", pos);
      if (end == std::string::npos) return -1;
      const std::string text = file.substr(pos, end + 2 - pos);
      std::smatch m;
      if (!std::regex_match(text, m, line)) return -1;
      pos = end + 2;
    }
    if (file.compare(pos, 2, "\r\n") != 0) return -1;
    pos += 2;
    ++bands;
  }
  return bands;
}

const char* const kIni =
    "; the operator's own note\r\n"
    "[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port={PORT}\r\n"
    "[MES_PARA]\r\nSTART_FQ=450\r\nEND_FQ={END}\r\nINTERVAL=0\r\nCOUNT={COUNT}\r\nD_LEVEL= 1\r\n";

struct Row {
  const char* name;
  std::vector<std::string> simOptions = {};
  const char* endFQ = "470";  // 460: one band, 470: two
  const char* count = "1";
  // What must happen; the window stays in every row.
  const char* status = "測定完了しました。";  // the last status text
  int gdPerBand = 0;                          // "GD" sent per band step (0: not checked)
  int bands = 0;                              // whole bands in WFdata.txt
  bool substituteLevels = false;              // every stored level is "-100 "
  std::function<void(fakes::FakeClock&, const fs::path&, const window::Form&)> arrange = {};
  // The waits for data run fast on the fake clock: for peers whose silence
  // matters, not how long they take.
  bool fastForward = false;
};

class FaultMatrixTest : public ::testing::TestWithParam<Row> {
 protected:
  void SetUp() override {
    if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  }
  void TearDown() override {
    rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &unlimited);
  }
  testing::TempDir dir_;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST_P(FaultMatrixTest, KeepsItsPromises) {
  const Row& row = GetParam();
  testing::SimProcess sim(row.simOptions);
  ASSERT_TRUE(sim.Running());
  const std::string ini =
      Replace(Replace(Replace(kIni, "{PORT}", std::to_string(sim.Port())), "{END}", row.endFQ),
              "{COUNT}", row.count);
  testing::Spit(dir_ / "KOV_Xport.ini", ini);

  platform::SystemSockets realSockets;
  testing::FastForwardSockets fastSockets;
  platform::SystemTextFiles textFiles;
  platform::IniProfileFiles profiles;
  const fs::path wfdata = dir_ / "WFdata.txt";
  testing::RunRig rig(testing::RunWorld{
      row.fastForward ? static_cast<platform::Sockets&>(fastSockets) : realSockets, textFiles,
      profiles, dir_.Path().string(), wfdata.string()});
  fastSockets.clock = &rig.fakeClock;
  auto& controls = rig.window;
  auto& form = rig.form;
  if (row.arrange) row.arrange(rig.fakeClock, dir_.Path(), form);

  form.Form_Load();
  form.CmdMesStart_Click();
  rig.RunToEnd();
  sim.Stop();

  EXPECT_EQ(controls.status, row.status);
  EXPECT_FALSE(controls.ended);
  // The settings file keeps every key it had, and the operator's note.
  EXPECT_EQ(Slurp(dir_ / "KOV_Xport.ini"), ini);

  if (fs::is_regular_file(wfdata)) {
    const std::string file = Slurp(wfdata);
    const int bands = WholeBands(file);
    EXPECT_EQ(bands, row.bands) << file.substr(0, 200);
    const bool allSubstitute = file.find(",-100 \r\n") != std::string::npos &&
                               std::regex_search(file, std::regex(",-0[0-9][0-9] ")) == false;
    if (bands > 0) {
      EXPECT_EQ(allSubstitute, row.substituteLevels);
    }
  } else {
    EXPECT_EQ(row.bands, 0);
  }
  if (row.gdPerBand > 0) {
    const auto commands = sim.Commands();
    const auto gds = std::count(commands.begin(), commands.end(), "GD\r\n");
    const int bandSteps = (std::atoi(row.endFQ) - 450) / 10 * std::atoi(row.count);
    EXPECT_EQ(gds, row.gdPerBand * bandSteps) << "per band step";
  }
}

// The settling waits are long enough for the instrument's answer to "CF" to
// arrive before "GD" goes out: wait (at most 200 ms) until it is there.
void LetTheCFAnswerArrive(fakes::FakeClock& clock, const fs::path&, const window::Form& form) {
  clock.onSleep = [&form](std::int32_t ms) {
    if (ms < 500) return;
    platform::SystemSockets sockets;
    sockets.WaitReadable(form.State().XportSock, 200);
  };
}

// A size limit a little past the current length of WFdata.txt, set during
// the settling wait of the second band: that band's append fails part way.
void FailSecondAppend(fakes::FakeClock& clock, const fs::path& dir, const window::Form&) {
  signal(SIGXFSZ, SIG_IGN);
  clock.onSleep = [&clock, dir, sleeps = 0](std::int32_t ms) mutable {
    if (ms == 500 && ++sleeps == 1) {
      const auto size = fs::file_size(dir / "WFdata.txt");
      rlimit limit{size + 100, RLIM_INFINITY};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    (void)clock;
  };
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FaultMatrixTest,
    ::testing::Values(
        // No reply, or a reply without its closing marker and then nothing:
        // "GD" once more, then the substitute levels.
        Row{.name = "SilentInstrument",
            .simOptions = {"--silent"},
            .endFQ = "460",
            .gdPerBand = 2,
            .bands = 1,
            .substituteLevels = true,
            .fastForward = true},
        Row{.name = "AnswerToTheRepeatOnly",
            .simOptions = {"--answer-repeat-only"},
            .endFQ = "460",
            .gdPerBand = 2,
            .bands = 1,
            .fastForward = true},
        Row{.name = "ReplyDelayed2s",
            .simOptions = {"--reply-delay-ms", "2000"},
            .endFQ = "460",
            .gdPerBand = 1,
            .bands = 1},
        Row{.name = "OneByteChunks",
            .simOptions = {"--chunk-bytes", "1"},
            .gdPerBand = 1,
            .bands = 2},
        Row{.name = "ChunksWithGaps",
            .simOptions = {"--chunk-bytes", "64", "--chunk-gap-ms", "2"},
            .gdPerBand = 1,
            .bands = 2},
        Row{.name = "ReplyOver9000BytesInOneChunk",
            .simOptions = {"--entries", "600"},
            .gdPerBand = 1,
            .bands = 2},
        Row{.name = "Entries300", .simOptions = {"--entries", "300"}, .gdPerBand = 1, .bands = 2},
        Row{.name = "Entries400", .simOptions = {"--entries", "400"}, .gdPerBand = 1, .bands = 2},
        Row{.name = "NoiseAfterCF",
            .simOptions = {"--cf-reply", "CF OK / ready\r\n"},
            .count = "2",
            .gdPerBand = 1,
            .bands = 4,
            .arrange = LetTheCFAnswerArrive},
        // The device server goes away: the run ends with its message, the
        // window stays, and only whole bands the instrument sent are kept.
        Row{.name = "PeerClosesMidPass",
            .simOptions = {"--close-after", "5"},
            .status = "ソケット切断エラー",
            .bands = 1},
        Row{.name = "PeerClosesBetweenPasses",
            .simOptions = {"--close-after", "4"},
            .endFQ = "460",
            .count = "2",
            .status = "ソケット切断エラー",
            .bands = 1},
        Row{.name = "FileNotWritableAtStart",
            .status = "WFdata.txtに書き込めません",
            .arrange =
                [](fakes::FakeClock&, const fs::path& dir, const window::Form&) {
                  fs::create_directories(dir / "WFdata.txt");  // a folder in its place
                }},
        Row{.name = "FileNotWritableMidRun",
            .status = "WFdata.txtに書き込めません",
            .bands = 1,
            .arrange = FailSecondAppend}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaultMatrix, ConnectionRefused) {
  if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  int port;
  {
    testing::SimProcess sim;
    port = sim.Port();
  }
  const testing::TempDir dir;
  const std::string ini = Replace(
      Replace(Replace(kIni, "{PORT}", std::to_string(port)), "{END}", "470"), "{COUNT}", "1");
  testing::Spit(dir / "KOV_Xport.ini", ini);
  testing::Spit(dir / "WFdata.txt", "previous run");

  platform::SystemSockets sockets;
  platform::SystemTextFiles textFiles;
  platform::IniProfileFiles profiles;
  testing::RunRig rig(
      testing::RunWorld{sockets, textFiles, profiles, dir.Path().string(), dir.File("WFdata.txt")});
  auto& controls = rig.window;
  auto& form = rig.form;
  form.Form_Load();
  form.CmdMesStart_Click();
  EXPECT_TRUE(controls.ended);
  EXPECT_EQ(controls.messages, std::vector<std::string>{"ソケットCONNECTエラー"});
  EXPECT_EQ(Slurp(dir / "KOV_Xport.ini"), ini);
  EXPECT_EQ(Slurp(dir / "WFdata.txt"), "previous run");
}

}  // namespace
}  // namespace kov::measure
