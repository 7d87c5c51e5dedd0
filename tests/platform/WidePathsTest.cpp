// The files in folders as operators name them: any script, a second byte
// that is "\" in the ANSI code page, and a path too long for ANSI buffers.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "platform/SystemText.h"
#include "platform/Utf16.h"
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "TestFiles.h"
#include "platform/FilePath.h"
#include "platform/IniProfileFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/SystemTextFiles.h"

namespace kov::platform {
namespace {

namespace fs = std::filesystem;

struct Folder {
  std::vector<std::string> names;  // one inside the other
  bool pastAnsiBuffers = false;
};

// 50 characters: 100 bytes in CP932, within every system's limit for a name.
const std::string kLong =
    "長い名前の測定記録フォルダ長い名前の測定記録フォルダ長い名前の測定記録フォルダ長い名前の測定記"
    "録フォ";

const Folder kFolders[] = {
    {{"한국 측정"}},
    {{"𠮷"}},                   // outside the code page and the BMP
    {{"ソフト", "表示 能力"}},  // second bytes 0x5C in CP932
    {{kLong + "一", kLong + "二"}, true},
};

class WidePathsTest : public ::testing::TestWithParam<Folder> {
 protected:
  void SetUp() override {
    folder_ = PathText(temp_.Path());
    for (const std::string& name : GetParam().names) folder_ += PathSeparator() + name;
    std::error_code ec;
    fs::create_directories(FsPath(folder_), ec);
    // Wine names files in the locale's character set: one that is not
    // installed has none beyond ASCII (scripts/wine-gui makes the one asked for).
    if (ec) GTEST_SKIP() << "this system takes no such folder name: " << ec.message();
#ifdef _WIN32
    // Past the ANSI calls' 260 bytes, within the wide calls' 260 units.
    const std::wstring longest = Utf16(In("WFdata-20261208-173500.txt.1234-10.tmp"));
    ASSERT_LT(longest.size(), std::size_t{MAX_PATH});
    if (GetParam().pastAnsiBuffers) {
      ASSERT_GT(WideCharToMultiByte(932, 0, longest.c_str(), -1, nullptr, 0, nullptr, nullptr),
                MAX_PATH);
    }
#endif
  }
  std::string In(const char* name) const { return folder_ + PathSeparator() + name; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(FsPath(folder_))) {
      names.push_back(PathText(e.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempDir temp_;
  std::string folder_;
};

TEST_P(WidePathsTest, RecordingFilesRoundTrip) {
  SystemTextFiles files;
  ASSERT_TRUE(files.Write(In("WFdata.txt"), "\r\n"));
  ASSERT_TRUE(files.Append(In("WFdata.txt"), " 1,  1,-100 \r\n"));
  const FileBytes both[] = {{In("WFdata.txt"), "x"}, {In("WFtime.csv"), "1,1,455,t\r\n"}};
  ASSERT_TRUE(files.AppendAll(both));
  EXPECT_EQ(testing::Slurp(FsPath(In("WFdata.txt"))), "\r\n 1,  1,-100 \r\nx");
  EXPECT_EQ(files.ReadStart(In("WFtime.csv"), 4096), "1,1,455,t\r\n");
  EXPECT_EQ(files.FileSize(In("WFdata.txt")), 17u);
  EXPECT_TRUE(files.Modified(In("WFdata.txt")).has_value());
  EXPECT_TRUE(files.Exists(In("WFdata.txt")));
  EXPECT_TRUE(files.Exists(folder_));
  EXPECT_TRUE(files.Rename(In("WFdata.txt"), In("WFdata-20261208-173500.txt")));
  EXPECT_FALSE(files.Exists(In("WFdata.txt")));
  EXPECT_EQ(files.FileSize(In("WFdata-20261208-173500.txt")), 17u);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"WFdata-20261208-173500.txt", "WFtime.csv"}));
}

// The settings file is read, changed and replaced under its lock where it
// lies, and a new one is made there, not in a folder above.
TEST_P(WidePathsTest, TheSettingsFileIsReplacedWhereItLies) {
  IniProfileFiles ini;
  const std::string before = "; mine\r\n[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\n";
  testing::Spit(FsPath(In("KOV_Xport.ini")), before);
  EXPECT_EQ(ini.Read("COMMUNICATION", "Xport_IP", "1", In("KOV_Xport.ini")), "127.0.0.1");
  ini.Write("COMMUNICATION", "Xport_Port", "10001", In("KOV_Xport.ini"));
  EXPECT_EQ(testing::Slurp(FsPath(In("KOV_Xport.ini"))), before + "Xport_Port=10001\r\n");
  ini.Write("MES_PARA", "COUNT", "2", In("new.ini"));
  EXPECT_EQ(ini.Read("MES_PARA", "COUNT", "1", In("new.ini")), "2");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"KOV_Xport.ini", "new.ini"}));
  std::vector<std::string> top;
  for (const auto& e : fs::directory_iterator(temp_.Path())) top.push_back(PathText(e.path()));
  EXPECT_EQ(top.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Folders, WidePathsTest, ::testing::ValuesIn(kFolders));

#ifdef _WIN32
// The system's two ways of saying that a buffer was too small: the size it
// needs, or the text cut to the buffer's size.
TEST(SystemText, GrowsUntilTheWholeTextFits) {
  struct Case {
    std::size_t length;
    bool cuts;
  };
  for (const Case c :
       {Case{0, false}, Case{5, false}, Case{7, false}, Case{8, false}, Case{9, true},
        Case{8, true}, Case{7, true}, Case{1000, true}, Case{40000, false}}) {
    const std::wstring text(c.length, L'x');
    int calls = 0;
    const auto got = SystemText(
        [&](wchar_t* buffer, std::uint32_t size) -> std::uint32_t {
          ++calls;
          if (text.empty()) return 0;
          if (text.size() < size) {
            std::copy(text.begin(), text.end(), buffer);
            return static_cast<std::uint32_t>(text.size());
          }
          if (!c.cuts) return static_cast<std::uint32_t>(text.size() + 1);
          std::copy_n(text.begin(), size, buffer);
          return size;
        },
        8);
    if (c.length == 0) {
      EXPECT_EQ(got, std::nullopt);
      continue;
    }
    EXPECT_EQ(got, text) << c.length << " " << c.cuts;
    EXPECT_LE(calls, 10) << c.length;
  }
}
#endif

}  // namespace
}  // namespace kov::platform
