// The tools' standard output and error: a flush in the middle of a
// character keeps its first bytes back, so that no character is converted
// in halves.
#include <gtest/gtest.h>

#include <string>

#include "platform/Console.h"

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

}  // namespace
}  // namespace kov::platform
