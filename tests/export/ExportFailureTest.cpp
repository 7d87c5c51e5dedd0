// Refused command lines, missing and unwritable files: a clear message, a
// non-zero status, and nothing half-written under an output's name.
#include <filesystem>

#include "ExportHarness.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace kov::wfexport::testing {
namespace {

namespace fs = std::filesystem;

struct BadCase {
  const char* name;
  std::vector<std::string> args;  // {in}, {out}, {ini} stand for files of the test
  int status;
  const char* message;
};

class ExportBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(ExportBadInput, RefusedWithoutAnyOutput) {
  const BadCase& c = GetParam();
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(3, 1, [](int, int) { return "-088 "; }));
  Spit(dir / "empty.txt", "");
  Spit(dir / "458-452.ini", "[MES_PARA]\r\nSTART_FQ=458\r\nEND_FQ=452\r\n");
  Spit(dir / "2000.ini", "[MES_PARA]\r\nSTART_FQ=0\r\nEND_FQ=2000\r\n");
  Spit(dir / "png.ini", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  Spit(dir / "utf16.ini", std::string("\xFF\xFE[\0M\0", 6));
  Spit(dir / "huge.ini", "[MES_PARA]\r\n");
  fs::resize_file(dir / "huge.ini", 65 << 20);  // sparse: no disk taken
  fs::create_directories(dir / "out");
  std::vector<std::string> args;
  for (const std::string& a : c.args) {
    if (a.rfind("{in}", 0) == 0)
      args.push_back(dir.File(a.substr(4)));
    else if (a.rfind("{out}", 0) == 0)
      args.push_back((dir / "out" / a.substr(5)).string());
    else
      args.push_back(a);
  }
  const Outcome o = RunTool(args);
  EXPECT_EQ(o.status, c.status) << o.err;
  EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
  EXPECT_TRUE(fs::is_empty(dir / "out"));
}

const std::vector<std::string> kSummary = {"--summary", "{out}s.csv"};

std::vector<std::string> With(std::vector<std::string> args,
                              const std::vector<std::string>& more = kSummary) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportBadInput,
    ::testing::Values(
        BadCase{"missing", With({"--start", "450", "{in}none.txt"}), 1, "none.txt: "},
        BadCase{"folder", With({"--start", "450", "{in}out"}), 1, "is a folder"},
        BadCase{"empty", With({"--start", "450", "{in}empty.txt"}), 1, "holds no point line"},
        BadCase{"no output folder",
                {"--start", "450", "{in}WFdata.txt", "--csv", "{out}no/a.csv"},
                1,
                "cannot write"},
        BadCase{"passes backwards", With({"--start", "450", "{in}WFdata.txt", "--passes", "5:2"}),
                2, "above the second"},
        BadCase{"passes not whole", With({"--start", "450", "{in}WFdata.txt", "--passes", "1.5:"}),
                2, "whole numbers"},
        BadCase{"negative width", With({"--start", "450", "{in}WFdata.txt", "--width=-5"}), 2,
                "--width"},
        BadCase{"no pass selected",
                With({"--start", "450", "{in}WFdata.txt", "--passes", "100:200"}), 1,
                "nothing selected"},
        // Either end, the same refusal: beyond the program's frequencies, NaN or inf.
        BadCase{"freq low too high", With({"--start", "450", "{in}WFdata.txt", "--freq", "1e30:"}),
                2, "--freq: frequencies lie from 0 to 32767 MHz, not 1e+30"},
        BadCase{"freq high too high", With({"--start", "450", "{in}WFdata.txt", "--freq", ":1e30"}),
                2, "--freq: frequencies lie from 0 to 32767 MHz, not 1e+30"},
        BadCase{"freq negative", With({"--start", "450", "{in}WFdata.txt", "--freq", ":-1"}), 2,
                "--freq: frequencies lie from 0 to 32767 MHz, not -1"},
        BadCase{"freq nan", With({"--start", "450", "{in}WFdata.txt", "--freq", "nan:"}), 2,
                "--freq: frequencies lie from 0 to 32767 MHz, not nan"},
        BadCase{"freq inf", With({"--start", "450", "{in}WFdata.txt", "--freq", "1:inf"}), 2,
                "--freq: frequencies lie from 0 to 32767 MHz, not inf"},
        BadCase{"colour bound inf",
                With({"--start", "450", "{in}WFdata.txt", "--db-min=-inf", "--db-max", "0"}), 2,
                "--db-min: a level in dB, not -inf"},
        BadCase{"no frequency selected",
                With({"--start", "450", "{in}WFdata.txt", "--freq", "300:400"}), 1,
                "--freq 300:400 selects no point: WFdata.txt holds 450 to 459.96875 MHz (1 band)"},
        BadCase{"neither start nor ini", With({"{in}WFdata.txt"}), 2,
                "the frequency axis is unknown: no WFtime.csv lies beside WFdata.txt; give"},
        BadCase{"start and ini", With({"--start", "450", "--ini", "{in}x.ini", "{in}WFdata.txt"}),
                2, "not both"},
        BadCase{"start off the tens", With({"--start", "451", "{in}WFdata.txt"}), 2,
                "multiple of 10"},
        BadCase{"ini missing", With({"--ini", "{in}x.ini", "{in}WFdata.txt"}), 1, "x.ini: "},
        BadCase{"ini without a band", With({"--ini", "{in}458-452.ini", "{in}WFdata.txt"}), 1,
                "plan no band"},
        BadCase{"ini over 102 bands", With({"--ini", "{in}2000.ini", "{in}WFdata.txt"}), 1,
                "start no run"},
        BadCase{"ini a picture", With({"--ini", "{in}png.ini", "{in}WFdata.txt"}), 1,
                "png.ini: is no settings file: it holds binary content (byte 0x1A at offset 6)"},
        BadCase{"ini a recording", With({"--ini", "{in}WFdata.txt", "{in}WFdata.txt"}), 1,
                "WFdata.txt: is no settings file: it holds no section"},
        BadCase{"ini too large", With({"--ini", "{in}huge.ini", "{in}WFdata.txt"}), 1,
                "huge.ini: is no settings file: it holds 65 MB"},
        BadCase{"ini in UTF-16", With({"--ini", "{in}utf16.ini", "{in}WFdata.txt"}), 1,
                "utf16.ini: is in UTF-16"},
        BadCase{"one colour bound", With({"--start", "450", "{in}WFdata.txt", "--db-min", "-90"}),
                2, "go together"},
        BadCase{"usual outputs without an axis",
                {"{in}WFdata.txt"},
                2,
                ", nor KOV_Xport.ini beside it or beside the program; give"},
        BadCase{"output over the input",
                With({"--start", "450", "{in}WFdata.txt"}, {"--summary", "{in}WFdata.txt"}), 2,
                "the waveform file itself"},
        BadCase{"one output twice",
                With({"--start", "450", "{in}WFdata.txt", "--csv", "{out}s.csv"}), 2,
                "name one file"}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

bool LeftoversIn(const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename().string().find(".part") != std::string::npos) return true;
  }
  return false;
}

TEST(ExportOutputFailure, AnEarlierOutputIsReplacedWhole) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(1, 1, [](int, int) { return "-088 "; }));
  Spit(dir / "p.csv", "earlier");
  ASSERT_EQ(
      RunTool({"--start", "450", dir.File("WFdata.txt"), "--peaks", dir.File("p.csv")}).status, 0);
  EXPECT_EQ(Slurp(dir / "p.csv"),
            "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,first_pass,last_pass,"
            "passes_above_threshold\n");
  EXPECT_FALSE(LeftoversIn(dir.Path()));
}

TEST(ExportOutputFailure, AFolderInTheOutputsPlaceStaysAndNothingIsLeft) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(1, 1, [](int, int) { return "-088 "; }));
  fs::create_directories(dir / "taken.png");
  const Outcome o =
      RunTool({"--start", "450", dir.File("WFdata.txt"), "--waterfall", dir.File("taken.png")});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("cannot write " + dir.File("taken.png")), std::string::npos) << o.err;
  EXPECT_TRUE(fs::is_directory(dir / "taken.png"));
  EXPECT_TRUE(fs::is_empty(dir / "taken.png"));
  EXPECT_FALSE(LeftoversIn(dir.Path()));
}

#ifndef _WIN32
// A file-size limit that the CSV outgrows: the earlier file of that name
// stays as it was.
TEST(ExportOutputFailure, AFullFileLeavesTheEarlierOneAsItWas) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(3, 10, [](int, int) { return "-088 "; }));
  Spit(dir / "a.csv", "earlier");
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  rlimit limit = before;
  limit.rlim_cur = 64 * 1024;
  const auto handler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limit);
  const Outcome o = RunTool({"--start", "450", dir.File("WFdata.txt"), "--csv", dir.File("a.csv")});
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, handler);
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("cannot write " + dir.File("a.csv")), std::string::npos) << o.err;
  EXPECT_EQ(Slurp(dir / "a.csv"), "earlier");
  EXPECT_FALSE(LeftoversIn(dir.Path()));
}
#endif

}  // namespace
}  // namespace kov::wfexport::testing
