// The tools' standard output and error: a flush in the middle of a
// character keeps its first bytes back, so that no character is converted
// in halves.
#include <gtest/gtest.h>

#include <string>

#include "platform/Console.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kov::platform {
namespace {

TEST(Console, WholeCharactersEndAtTheEndOfACharacter) {
  using namespace std::string_literals;
  const std::string hyo = "表", kichi = "𠮷";  // 3 and 4 bytes in UTF-8
  for (const auto& [text, whole] : {std::pair{""s, 0u},
                                    {"abc"s, 3u},
                                    {"a" + hyo, 4u},
                                    {"a" + hyo.substr(0, 2), 1u},
                                    {"a" + hyo.substr(0, 1), 1u},
                                    {kichi, 4u},
                                    {kichi.substr(0, 3), 0u},
                                    {hyo + "\n", 4u},
                                    {"\xC3"s, 0u},
                                    // No character at all: nothing to wait for.
                                    {"\x80\x80\x80\x80\x80"s, 5u}}) {
    EXPECT_EQ(WholeCharacters(text), whole) << text;
  }
}

#ifdef _WIN32
// In a console of the test's own, a character outside the system's code page
// shows as itself.
TEST(Console, WritesToAConsoleInUtf16) {
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  const HANDLE before = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, screen);
  Console(Console::Stream::Output) << "表示 한국 測定\n";
  SetStdHandle(STD_OUTPUT_HANDLE, before);
  wchar_t shown[40] = {};
  DWORD read = 0;
  ReadConsoleOutputCharacterW(screen, shown, 40, COORD{0, 0}, &read);
  CloseHandle(screen);
  FreeConsole();
  EXPECT_EQ(std::wstring(shown, read).substr(0, 8), L"表示 한국 測定");
}
#endif

}  // namespace
}  // namespace kov::platform
