// The exporter as a program on files in folders as operators name them: in
// any script, with a CP932 second byte that is "\", or longer than the ANSI
// calls take. It finds, reads and writes them, and names them whole.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

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

using Opened = std::function<std::string(const std::string& path)>;

// The program sets its last recording aside by renaming it, whether or not
// an export of it runs: what is open stays readable, and the name is free.
// Each opener gives the bytes it reads after the rename.
class ExportInputRenamed : public ::testing::TestWithParam<Opened> {};

TEST_P(ExportInputRenamed, WhileItIsOpen) {
  TempDir dir;
  const std::string bytes = Recording(1, 1, [](int, int) { return "-088 "; });
  Spit(dir / "WFdata.txt", bytes);
  EXPECT_EQ(GetParam()(dir.File("WFdata.txt")), bytes);
  EXPECT_EQ(Slurp(dir / "WFdata-20261208-174500.txt"), bytes);
}

std::string RenamedAside(const std::string& path) {
  std::error_code error;
  fs::rename(path, path.substr(0, path.size() - 4) + "-20261208-174500.txt", error);
  return error ? "not renamed: " + error.message() : "";
}

INSTANTIATE_TEST_SUITE_P(Openers, ExportInputRenamed,
                         ::testing::Values(
                             [](const std::string& path) -> std::string {
                               std::string problem;
                               const auto input = RecordingInput::Open(path, problem);
                               if (!input) return problem;
                               if (auto renamed = RenamedAside(path); !renamed.empty())
                                 return renamed;
                               std::string read(input->Size(), '\0');
                               const std::string failed =
                                   input->ReadAt(0, read.data(), read.size());
                               return failed.empty() ? read : failed;
                             },
                             [](const std::string& path) -> std::string {
                               std::FILE* file = OpenInputFile(path);
                               if (file == nullptr) return std::strerror(errno);
                               std::string renamed = RenamedAside(path), read(1 << 20, '\0');
                               read.resize(std::fread(read.data(), 1, read.size(), file));
                               std::fclose(file);
                               return renamed.empty() ? read : renamed;
                             }));

}  // namespace
}  // namespace kov::wfexport::testing
