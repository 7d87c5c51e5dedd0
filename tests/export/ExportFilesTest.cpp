// The files of an export by identity, not spelling: no output replaces an
// input or another output, whatever links lead to it.
#include <filesystem>
#include <map>

#include "ExportHarness.h"
#include "OutputFile.h"

#ifdef _WIN32
#include <share.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kov::wfexport::testing {
namespace {

namespace fs = std::filesystem;

struct SameFileCase {
  const char* name;
  std::vector<std::string> args;  // files relative to the test's folder
  const char* message;
};

class ExportSameFile : public ::testing::TestWithParam<SameFileCase> {};

// Everything in the folder, by name: bytes of files, targets of links.
std::map<std::string, std::string> Contents(const fs::path& dir) {
  std::map<std::string, std::string> contents;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const std::string name = fs::relative(e.path(), dir).string();
    if (e.is_symlink()) {
      contents[name] = "-> " + fs::read_symlink(e.path()).string();
    } else if (e.is_regular_file()) {
      contents[name] = Slurp(e.path());
    } else {
      contents[name] = "folder";
    }
  }
  return contents;
}

TEST_P(ExportSameFile, RefusedWithStatus2AndNothingTouched) {
  const SameFileCase& c = GetParam();
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(1, 1, [](int, int) { return "-088 "; }));
  Spit(dir / "KOV_Xport.ini", "[MES_PARA]\r\nSTART_FQ=450\r\nEND_FQ=460\r\n");
  Spit(dir / "s.csv", "earlier");
#ifndef _WIN32
  fs::create_symlink("s.csv", dir / "link.csv");
  fs::create_symlink(".", dir / "here");
  fs::create_hard_link(dir / "KOV_Xport.ini", dir / "hard.ini");
#endif
  const auto before = Contents(dir.Path());
  std::vector<std::string> args;
  for (const std::string& a : c.args) {
    args.push_back(a.front() == '-' || std::isdigit(a.front()) ? a : dir.File(a));
  }
  const Outcome o = RunTool(args);
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
  EXPECT_EQ(Contents(dir.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportSameFile,
    ::testing::Values(
        SameFileCase{"ini",
                     {"--ini", "KOV_Xport.ini", "WFdata.txt", "--summary", "KOV_Xport.ini"},
                     "--summary names the settings file of --ini"},
        SameFileCase{"dotted",
                     {"--start", "450", "WFdata.txt", "--csv", "n.csv", "--peaks", "./n.csv"},
                     "--csv and --peaks name one file"}
#ifndef _WIN32
        ,
        SameFileCase{"hard link to the ini",
                     {"--ini", "KOV_Xport.ini", "WFdata.txt", "--peaks", "hard.ini"},
                     "--peaks names the settings file of --ini"},
        SameFileCase{"link to another output",
                     {"--start", "450", "WFdata.txt", "--summary", "s.csv", "--peaks", "link.csv"},
                     "--summary and --peaks name one file"},
        SameFileCase{"new file through a linked folder",
                     {"--start", "450", "WFdata.txt", "--csv", "n.csv", "--peaks", "here/n.csv"},
                     "--csv and --peaks name one file"},
        SameFileCase{"recording through a linked folder",
                     {"--start", "450", "WFdata.txt", "--csv", "here/WFdata.txt"},
                     "--csv names the waveform file itself"}
#else
        ,
        SameFileCase{"case",
                     {"--start", "450", "WFdata.txt", "--csv", "n.csv", "--peaks", "N.CSV"},
                     "--csv and --peaks name one file"},
        SameFileCase{"case of the ini",
                     {"--ini", "KOV_Xport.ini", "WFdata.txt", "--peaks", "kov_xport.INI"},
                     "--peaks names the settings file of --ini"}
#endif
        ),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

const std::string kPart(OutputFile::kPartSuffix);

// A killed export leaves its file beside the output; the next one takes it
// over, so that such files never pile up.
TEST(ExportPartFile, OneLeftByAKilledExportIsTakenOver) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(1, 1, [](int, int) { return "-088 "; }));
  Spit(dir / ("s.csv" + kPart), std::string(100000, 'x'));
  const Outcome o =
      RunTool({"--start", "450", dir.File("WFdata.txt"), "--summary", dir.File("s.csv")});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Lines(Slurp(dir / "s.csv")).size(), 321u);
  EXPECT_FALSE(fs::exists(dir / ("s.csv" + kPart)));
}

// Two exports to one output at once: the second stops, and touches neither
// the first one's file nor the output.
TEST(ExportPartFile, OneHeldByAnotherExportIsLeftAlone) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(1, 1, [](int, int) { return "-088 "; }));
  Spit(dir / "s.csv", "earlier");
  const std::string part = dir.File("s.csv" + kPart);
#ifdef _WIN32
  std::FILE* held = _fsopen(part.c_str(), "wb", _SH_DENYRW);
  ASSERT_NE(held, nullptr);
  std::fputs("held", held);
  std::fflush(held);
#else
  const int held = open(part.c_str(), O_WRONLY | O_CREAT, 0666);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  ASSERT_EQ(write(held, "held", 4), 4);
#endif
  const Outcome o =
      RunTool({"--start", "450", dir.File("WFdata.txt"), "--summary", dir.File("s.csv")});
#ifdef _WIN32
  std::fclose(held);
#else
  close(held);
#endif
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("cannot write " + dir.File("s.csv") + ": another export is writing it"),
            std::string::npos)
      << o.err;
  EXPECT_EQ(Slurp(dir / "s.csv"), "earlier");
  EXPECT_EQ(Slurp(part), "held");
}

}  // namespace
}  // namespace kov::wfexport::testing
