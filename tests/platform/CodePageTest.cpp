// What leaves the program for the settings file: the system's code page.
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf16.h"
#endif

#include "TestFiles.h"
#include "platform/IniProfileFiles.h"

namespace kov::platform {
namespace {

// 測定開始 in Shift-JIS (code page 932), as a Japanese system writes it.
const std::string kJapanese = "測定開始";
const std::string kShiftJis = "\x91\xaa\x92\xe8\x8a\x4a\x8e\x6e";

bool ShiftJisSystem() {
#ifdef _WIN32
  return GetACP() == 932;
#else
  return false;
#endif
}

TEST(CodePage, AsciiPassesUnchanged) {
  EXPECT_EQ(ToSystemCodePage("192.168.0.10"), "192.168.0.10");
  EXPECT_EQ(FromSystemCodePage(" 1"), " 1");
  EXPECT_EQ(ToSystemCodePage(""), "");
}

TEST(CodePage, TheSettingsFileIsInTheSystemsCodePage) {
#ifdef _WIN32
  if (!ShiftJisSystem()) GTEST_SKIP() << "not a Japanese system (run Wine with LANG=ja_JP.UTF-8)";
#endif
  const testing::TempDir dir;
  const std::string path = dir.File("KOV_Xport.ini");
  IniProfileFiles files;
  files.Write("MES_PARA", "START_FQ", kJapanese, path);
  const std::string expected = ShiftJisSystem() ? kShiftJis : kJapanese;
  EXPECT_EQ(testing::Slurp(path), "[MES_PARA]\r\nSTART_FQ=" + expected + "\r\n");
  // A file a Japanese system saved in its own code page reads unchanged.
  testing::Spit(path, "[COMMUNICATION]\r\nXport_IP=" + expected + "\r\n");
  EXPECT_EQ(files.Read("COMMUNICATION", "Xport_IP", "1", path), kJapanese);
}

#ifdef _WIN32
// The one conversion to and from the system's wide texts.
TEST(Utf16, BothWaysInUtf8AndTheSystemsCodePage) {
  struct Row {
    std::string narrow;
    std::wstring wide;
    Narrow code;
  };
  std::vector<Row> rows = {{"", L"", Narrow::Utf8},
                           {"KOV_Xport.ini", L"KOV_Xport.ini", Narrow::Utf8},
                           {kJapanese, L"\u6e2c\u5b9a\u958b\u59cb", Narrow::Utf8},
                           {"\xf0\xa0\xae\xb7", L"\xd842\xdfb7", Narrow::Utf8}};  // U+20BB7
  if (ShiftJisSystem()) rows.push_back({kShiftJis, L"\u6e2c\u5b9a\u958b\u59cb", Narrow::Ansi});
  for (const Row& row : rows) {
    EXPECT_EQ(Utf16(row.narrow, row.code), row.wide) << row.narrow;
    EXPECT_EQ(FromUtf16(row.wide, row.code), row.narrow) << row.narrow;
  }
  EXPECT_EQ(Utf16("a\xff"), L"a\xfffd") << "a byte that is no UTF-8";
}
#endif

}  // namespace
}  // namespace kov::platform
