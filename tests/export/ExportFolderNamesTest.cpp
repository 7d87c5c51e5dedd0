// The exporter as a program on files in folders as operators name them: in
// any script, with a CP932 second byte that is "\", or longer than the ANSI
// calls take. It finds, reads and writes them, and names them whole.
#include <cstdio>

#include "ExportHarness.h"
#include "FileCalls.h"
#include "FolderNames.h"
#include "RecordingInput.h"
#include "ToolRun.h"

namespace kov::wfexport::testing {
namespace {

namespace fs = std::filesystem;
using kov::testing::FolderName;
using kov::testing::In;
using kov::testing::Redirected;
using kov::testing::SpitTo;

class ExportFolderNames : public ::testing::TestWithParam<FolderName> {
 protected:
  kov::testing::ToolRun RunExporter(const std::vector<std::string>& arguments) {
    return kov::testing::RunProgram(WFDATA_EXPORT_PATH, arguments, dir_);
  }
  TempDir dir_;
  const std::string folder_ = kov::testing::MakeFolder(dir_, GetParam());
  const std::string recording_ = In(folder_, GetParam().recording);
};

TEST_P(ExportFolderNames, ReadsTheRunsFilesAndWritesBesideTheRecording) {
  SpitTo(recording_, Recording(1, 1, [](int, int) { return "-088 "; }));
  SpitTo(In(folder_, "WFtime.csv"), TimesFile(1, 1, [](int, int) { return 1765000000000; }));
  SpitTo(In(folder_, "KOV_Xport.ini"), "[MES_PARA]\r\nSTART_FQ=450\r\nEND_FQ=460\r\n");
  const auto run = RunExporter(
      {"--ini", In(folder_, "KOV_Xport.ini"), "--times", In(folder_, "WFtime.csv"), recording_});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string base = recording_.substr(0, recording_.size() - 4);
  std::string listed;
  for (const char* output :
       {"-summary.csv", "-waterfall.png", "-spectrum.png", "-peaks.csv", "-report.html"}) {
    listed += "wrote " + base + output + "\n";
    EXPECT_TRUE(fs::exists(platform::FsPath(base + output))) << output;
  }
  EXPECT_EQ(run.out, Redirected(listed));
  EXPECT_NE(Slurp(platform::FsPath(base + "-report.html")).find(GetParam().recording),
            std::string::npos);
}

TEST_P(ExportFolderNames, NamesAMissingRecordingWhole) {
  const auto run = RunExporter({"--start", "450", recording_, "--summary", In(folder_, "s.csv")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            Redirected("wfdata-export: " + GetParam().recording + ": No such file or directory\n"));
}

INSTANTIATE_TEST_SUITE_P(Folders, ExportFolderNames,
                         ::testing::ValuesIn(kov::testing::FolderNames()),
                         [](const auto& info) { return std::string(info.param.name); });

// The program sets its last recording aside by renaming it, whether or not
// an export of it runs: the name is free, and what is open stays readable.
TEST(ExportInput, MayBeRenamedWhileItIsOpen) {
  TempDir dir;
  const std::string bytes = Recording(1, 1, [](int, int) { return "-088 "; });
  Spit(dir / "WFdata.txt", bytes);
  std::string problem;
  const auto recording = RecordingInput::Open(dir.File("WFdata.txt"), problem);
  std::FILE* times = OpenInputFile(dir.File("WFdata.txt"));  // and the times and settings files
  ASSERT_TRUE(recording && times) << problem;
  std::error_code error;
  fs::rename(dir / "WFdata.txt", dir / "WFdata-20261208-174500.txt", error);
  EXPECT_FALSE(error) << error.message();
  std::string read(bytes.size(), '\0'), alsoRead = read;
  EXPECT_EQ(recording->ReadAt(0, read.data(), read.size()), "");
  alsoRead.resize(std::fread(alsoRead.data(), 1, alsoRead.size(), times));
  std::fclose(times);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(alsoRead, bytes);
}

}  // namespace
}  // namespace kov::wfexport::testing
