// The settings file on disk as operators share it: programs saving at once,
// links, permissions and writes that fail part way.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "platform/IniProfileFiles.h"

namespace kov::platform {
namespace {

namespace fs = std::filesystem;

using testing::Slurp;

class ProfileFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "program");
    fs::create_directories(root_ / "shared");
#ifndef _WIN32
    signal(SIGXFSZ, SIG_IGN);
#endif
  }
  void TearDown() override {
#ifndef _WIN32
    Unlimit();
#endif
  }
  std::string Ini() const { return (root_ / "program" / "KOV_Xport.ini").string(); }
  std::string Shared(const char* name) const { return (root_ / "shared" / name).string(); }
  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // What a folder holds, so that a stray temporary file shows.
  std::vector<std::string> Entries(const char* folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_ / folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
#ifndef _WIN32
  // Writes past this size fail part way, as on a full disk.
  static void LimitFilesTo(rlim_t bytes) {
    rlimit limit{bytes, RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  static void Unlimit() { LimitFilesTo(RLIM_INFINITY); }
#endif

  testing::TempDir temp_;
  const fs::path& root_ = temp_.Path();
  IniProfileFiles ini_;
};

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Two programs save their own keys over and over at the same time; each
// reads its keys back after every save. None may get lost, nor a section.
TEST_F(ProfileFilesTest, WritersAtOnceKeepEachOthersKeys) {
  struct Writer {
    const char* section;
    std::vector<const char*> keys;
  };
  const Writer writers[] = {{"COMMUNICATION", {"Xport_IP", "Xport_Port"}},
                            {"MES_PARA", {"START_FQ", "END_FQ", "INTERVAL", "COUNT", "D_LEVEL"}}};
  constexpr int kRounds = 60;
  std::atomic<int> lost = 0;
  auto save = [&](const Writer& writer) {
    IniProfileFiles ini;  // a program of its own
    for (int round = 0; round < kRounds; ++round) {
      const std::string value = std::to_string(round);
      for (const char* key : writer.keys) ini.Write(writer.section, key, value, Ini());
      for (const char* key : writer.keys) {
        if (ini.Read(writer.section, key, "gone", Ini()) != value) ++lost;
      }
    }
  };
  std::thread other(save, writers[1]);
  save(writers[0]);
  other.join();

  EXPECT_EQ(lost, 0);
  const std::string file = Slurp(Ini());
  EXPECT_EQ(Count(file, "[COMMUNICATION]"), 1u) << file;
  EXPECT_EQ(Count(file, "[MES_PARA]"), 1u) << file;
  for (const Writer& writer : writers) {
    for (const char* key : writer.keys) {
      EXPECT_EQ(ini_.Read(writer.section, key, "gone", Ini()), std::to_string(kRounds - 1)) << key;
    }
  }
  EXPECT_EQ(Entries("program"), std::vector<std::string>{"KOV_Xport.ini"});
}

#ifdef _WIN32
TEST_F(ProfileFilesTest, AttributesStay) {
  Put(Ini(), "[COMMUNICATION]\r\nXport_IP=10.0.0.1\r\n");
  ASSERT_TRUE(SetFileAttributesA(Ini().c_str(), FILE_ATTRIBUTE_HIDDEN));
  ini_.Write("COMMUNICATION", "Xport_Port", "10001", Ini());
  EXPECT_EQ(ini_.Read("COMMUNICATION", "Xport_Port", "1", Ini()), "10001");
  EXPECT_TRUE(GetFileAttributesA(Ini().c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Entries("program"), std::vector<std::string>{"KOV_Xport.ini"});
}
#else
// The program's folder holds a link to a file that others share: the link
// stays, the file it leads to is written, and a failed write leaves both.
TEST_F(ProfileFilesTest, LinksStayAndTheirTargetIsWritten) {
  const std::string before = "[COMMUNICATION]\r\nXport_IP=10.0.0.1\r\n";
  const std::string after = before + "Xport_Port=10001\r\n";
  using Link = std::pair<std::string, std::string>;  // the link, what it names
  struct Case {
    const char* name;
    std::vector<Link> links;
    std::string target;  // the file finally written
    bool exists;
  };
  const Case cases[] = {
      {"relative link", {{Ini(), "../shared/real.ini"}}, Shared("real.ini"), true},
      {"chain of links",
       {{Ini(), Shared("hop.ini")}, {Shared("hop.ini"), "real.ini"}},
       Shared("real.ini"),
       true},
      {"dangling link", {{Ini(), Shared("real.ini")}}, Shared("real.ini"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [link, to] : c.links) fs::create_symlink(to, link);
    if (c.exists) Put(c.target, before);
    const auto program = Entries("program");
    const auto shared = Entries("shared");

    LimitFilesTo(8);
    ini_.Write("COMMUNICATION", "Xport_Port", "10001", Ini());
    Unlimit();
    EXPECT_EQ(fs::exists(c.target), c.exists);
    EXPECT_EQ(Entries("shared"), shared);

    ini_.Write("COMMUNICATION", "Xport_Port", "10001", Ini());
    for (const auto& [link, to] : c.links) EXPECT_EQ(fs::read_symlink(link), to);
    EXPECT_EQ(Slurp(c.target), c.exists ? after : "[COMMUNICATION]\r\nXport_Port=10001\r\n");
    EXPECT_EQ(Entries("program"), program);
    for (const auto& entry : fs::directory_iterator(root_ / "shared")) fs::remove(entry);
    fs::remove(Ini());
  }
  // A link to a folder: nothing is written there, nor read from it.
  fs::create_directory(Shared("folder.ini"));
  fs::create_symlink(Shared("folder.ini"), Ini());
  ini_.Write("MES_PARA", "COUNT", "25", Ini());
  EXPECT_EQ(ini_.Read("MES_PARA", "COUNT", "1", Ini()), "1");
  EXPECT_TRUE(fs::is_symlink(Ini()));
  EXPECT_TRUE(fs::is_empty(Shared("folder.ini")));
  EXPECT_EQ(Entries("shared"), std::vector<std::string>{"folder.ini"});
}

TEST_F(ProfileFilesTest, PermissionBitsStay) {
  const std::string before = "[MES_PARA]\r\nCOUNT=1\r\n";
  for (const auto mode : {0640, 0600, 0604, 0660}) {
    SCOPED_TRACE(mode);
    Put(Ini(), before);
    fs::permissions(Ini(), static_cast<fs::perms>(mode));
    LimitFilesTo(8);
    ini_.Write("MES_PARA", "COUNT", "25", Ini());
    Unlimit();
    EXPECT_EQ(Slurp(Ini()), before);
    ini_.Write("MES_PARA", "COUNT", "25", Ini());
    EXPECT_EQ(Slurp(Ini()), "[MES_PARA]\r\nCOUNT=25\r\n");
    EXPECT_EQ(static_cast<int>(fs::status(Ini()).permissions()), mode);
    EXPECT_EQ(Entries("program"), std::vector<std::string>{"KOV_Xport.ini"});
    fs::remove(Ini());
  }
  // A new file is made as the user's mask says, and not at all when the
  // first write fails.
  const mode_t mask = ::umask(027);
  LimitFilesTo(8);
  ini_.Write("MES_PARA", "COUNT", "25", Ini());
  Unlimit();
  EXPECT_TRUE(Entries("program").empty());
  ini_.Write("MES_PARA", "COUNT", "25", Ini());
  ::umask(mask);
  EXPECT_EQ(static_cast<int>(fs::status(Ini()).permissions()), 0640);
}

#endif

// The settings file may be written but no new file made beside it: a folder
// without the right to write (a program folder whose file alone was opened
// up to the operators), or on Windows a path too long for any name beside
// it. The file is written where it stands; a save that cannot have the room
// it needs leaves it whole.
TEST_F(ProfileFilesTest, SavedInPlaceWhereNoFileCanBeMadeBesideIt) {
  const std::string before =
      "[COMMUNICATION]\r\nXport_IP=10.0.0.1\r\n[MES_PARA]\r\nCOUNT=1234567\r\n";
  const ProfileSetting port{"COMMUNICATION", "Xport_Port", "10001"};
  struct Case {
    const char* name;
    ProfileSetting key;
    std::string after;
    long limit;  // a file-size limit (POSIX), or 0
  };
  const Case cases[] = {
      {"longer", port,
       "[COMMUNICATION]\r\nXport_IP=10.0.0.1\r\nXport_Port=10001\r\n[MES_PARA]\r\nCOUNT="
       "1234567\r\n",
       0},
      {"shorter",
       {"MES_PARA", "COUNT", "2"},
       "[COMMUNICATION]\r\nXport_IP=10.0.0.1\r\n[MES_PARA]\r\nCOUNT=2\r\n",
       0},
#ifndef _WIN32
      {"no room for the longer file", port, before, static_cast<long>(before.size()) + 4},
#endif
  };
#ifdef _WIN32
  const fs::path folder = root_ / "program";
  const std::string ini =
      (folder / (std::string(250 - folder.string().size(), 'k') + ".ini")).string();
#else
  const std::string ini = Ini();
  fs::permissions(root_ / "program", static_cast<fs::perms>(0555));
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(ini, before);
#ifdef _WIN32
    ini_.Write({c.key}, ini);
#else
    fs::permissions(ini, static_cast<fs::perms>(0666));
    // A user of the file, not root, whom the folder's rights do not stop.
    const pid_t child = ::fork();
    if (child == 0) {
      if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
      if (c.limit > 0) LimitFilesTo(static_cast<rlim_t>(c.limit));
      IniProfileFiles().Write({c.key}, ini);
      ::_exit(0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(status, 0);
#endif
    EXPECT_EQ(Slurp(ini), c.after);
    EXPECT_EQ(Entries("program").size(), 1u);
  }
  fs::permissions(root_ / "program", static_cast<fs::perms>(0755));
}

#ifndef _WIN32
// A start-up during a save never reads the file half written: the reading
// waits for the writer's lock.
TEST_F(ProfileFilesTest, ReadsWaitForTheWriter) {
  Put(Ini(), "[MES_PARA]\r\nCOUNT=1\r\n");
  const int writer = ::open(Ini().c_str(), O_RDWR);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
  ASSERT_EQ(::ftruncate(writer, 7), 0);  // half written: "[MES_PA"
  std::atomic<bool> done = false;
  std::string read;
  std::thread reader([&] {
    read = IniProfileFiles().Read("MES_PARA", "COUNT", "none", Ini());
    done = true;
  });
  // Until the reading waits for the lock (the system lists it) or is done.
  struct stat st {};
  ::stat(Ini().c_str(), &st);
  const std::string waiter = ":" + std::to_string(st.st_ino) + " ";
  auto waiting = [&] {
    const std::string locks = Slurp("/proc/locks");
    for (auto at = locks.find("->"); at != std::string::npos; at = locks.find("->", at + 2)) {
      if (locks.substr(at, locks.find('\n', at) - at).find(waiter) != std::string::npos) {
        return true;
      }
    }
    return false;
  };
  while (!done && !waiting()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const std::string after = "[MES_PARA]\r\nCOUNT=2\r\n";
  ASSERT_EQ(::pwrite(writer, after.data(), after.size(), 0), static_cast<ssize_t>(after.size()));
  ::close(writer);
  reader.join();
  EXPECT_EQ(read, "2");
}
#endif

}  // namespace
}  // namespace kov::platform
