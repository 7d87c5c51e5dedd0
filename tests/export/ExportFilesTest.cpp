// The files of an export by identity, not spelling: no output replaces an
// input or another output, whatever links lead to it.
#include <filesystem>
#include <map>

#include "ExportHarness.h"
#include "OutputFile.h"
#include "platform/FilePath.h"

#ifdef _WIN32
#include <share.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
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
    args.push_back(a.front() == '-' || std::isdigit(a.front())
                       ? a
                       : platform::PathText(dir.Path() / platform::FsPath(a)));
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
                     "--peaks names the settings file of --ini"},
        // Compared as characters: no byte of one is folded on its own.
        SameFileCase{
            "case of full-width letters",
            {"--start", "450", "WFdata.txt", "--csv", "測定ＡＢ.csv", "--peaks", "測定ａｂ.csv"},
            "--csv and --peaks name one file"}
#endif
        ),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

#ifndef _WIN32
// A device or a pipe as an output is written as it is: renamed over, a
// null device would turn into a plain file, and with it the system's.
TEST(ExportStream, DevicesAndPipesAreWrittenAsTheyAre) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(1, 1, [](int, int) { return "-088 "; }));
  const std::string pipe = dir.File("pipe"), null = dir.File("null");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // A null device of the test's own, where the system lets it be made.
  const bool device = mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  // The test's own end of the pipe keeps the reader from waiting for ever
  // for an export that never opens it.
  const int held = open(pipe.c_str(), O_RDWR);
  std::string piped;
  std::thread reader([&] { piped = Slurp(pipe); });
  std::vector<std::string> args = {"--start", "450", dir.File("WFdata.txt"), "--summary", pipe};
  if (device) args.insert(args.end(), {"--csv", null});
  const Outcome o = RunTool(args);
  close(held);
  reader.join();
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Lines(piped).size(), 321u);
  struct stat st {};
  ASSERT_EQ(stat(pipe.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  if (device) {
    ASSERT_EQ(stat(null.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
  }
}
#endif

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

#ifndef _WIN32
// The program in a process of its own, as a shell starts it (every signal at
// its default whatever the test runner ignores), under a file-size limit;
// its errors go to `err`.
pid_t Start(const std::vector<std::string>& args, const fs::path& err,
            rlim_t fileLimit = RLIM_INFINITY) {
  std::vector<std::string> all = {WFDATA_EXPORT_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) signal(s, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const rlimit limit{fileLimit, fileLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

bool PartFilesIn(const fs::path& dir) {
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.path().string().ends_with(kPart)) return true;
  }
  return false;
}

class ExportInterrupted : public ::testing::TestWithParam<int> {};

// Stopped once both files beside the outputs exist, then signalled: the
// signal is handled as soon as it runs on, long before the read is through.
TEST_P(ExportInterrupted, RemovesItsPartFilesAndEndsAsKilled) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(10, 50, [](int, int) { return "-088 "; }));
  const pid_t pid = Start({"--start", "450", dir.File("WFdata.txt"), "--csv", dir.File("a.csv"),
                           "--summary", dir.File("s.csv")},
                          dir / "err.txt");
  ASSERT_GT(pid, 0);
  bool started = false;
  for (int step = 0; step < 20000 && !started; ++step) {
    kill(pid, SIGCONT);
    std::this_thread::sleep_for(std::chrono::microseconds(100));
    kill(pid, SIGSTOP);
    started = fs::exists(dir / ("a.csv" + kPart)) && fs::exists(dir / ("s.csv" + kPart));
  }
  kill(pid, GetParam());
  kill(pid, SIGCONT);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(started) << Slurp(dir / "err.txt");
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << status;
  EXPECT_FALSE(PartFilesIn(dir.Path()));
  EXPECT_FALSE(fs::exists(dir / "a.csv") || fs::exists(dir / "s.csv"));
}

INSTANTIATE_TEST_SUITE_P(Signals, ExportInterrupted, ::testing::Values(SIGINT, SIGTERM, SIGHUP));

// Killed by SIGXFSZ, it would leave its file beside the output and no word.
TEST(ExportFileSizeLimit, ReportedAsAFailedWrite) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(3, 10, [](int, int) { return "-088 "; }));
  Spit(dir / "a.csv", "earlier");
  const pid_t pid = Start({"--start", "450", dir.File("WFdata.txt"), "--csv", dir.File("a.csv")},
                          dir / "err.txt", 64 * 1024);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(Slurp(dir / "err.txt").find("cannot write " + dir.File("a.csv") + ": File too large"),
            std::string::npos)
      << Slurp(dir / "err.txt");
  EXPECT_EQ(Slurp(dir / "a.csv"), "earlier");
  EXPECT_FALSE(PartFilesIn(dir.Path()));
}
#endif

}  // namespace
}  // namespace kov::wfexport::testing
