// How the simulator cuts a connection's bytes into commands, however the
// bytes are split between reads.
#include "CommandLines.h"

#include <gtest/gtest.h>

#include <vector>

namespace kov::sim {
namespace {

constexpr std::size_t kLongest = CommandLines::kLongest;

struct Stream {
  const char* name;
  std::string bytes;
  std::vector<std::string> taken;  // commands, and "dropped:" with a dropped line's beginning
};

void PrintTo(const Stream& stream, std::ostream* os) { *os << stream.name; }

std::vector<std::string> Fed(const std::vector<std::string_view>& pieces) {
  std::vector<std::string> taken;
  CommandLines lines;
  for (const std::string_view piece : pieces) {
    lines.Feed(piece, [&](CommandLines::Kind kind, std::string_view line) {
      taken.push_back((kind == CommandLines::Kind::Dropped ? "dropped:" : "") + std::string(line));
      return true;
    });
  }
  return taken;
}

class CommandLinesTest : public ::testing::TestWithParam<Stream> {};

TEST_P(CommandLinesTest, TakesTheSameCommandsHoweverTheBytesAreSplit) {
  const std::string_view bytes = GetParam().bytes;
  EXPECT_EQ(Fed({bytes}), GetParam().taken) << "in one piece";
  for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
    ASSERT_EQ(Fed({bytes.substr(0, cut), bytes.substr(cut)}), GetParam().taken) << "cut at " << cut;
  }
}

const std::string kFull(kLongest, 'x');

INSTANTIATE_TEST_SUITE_P(
    Streams, CommandLinesTest,
    ::testing::Values(
        Stream{"Commands", "CF455\r\nGD\r\n\r\nGD", {"CF455\r\n", "GD\r\n", "\r\n"}},
        Stream{"LoneCrAndLfStayInside", "A\rB\nC\r\r\nD\n\r\n", {"A\rB\nC\r\r\n", "D\n\r\n"}},
        Stream{"LongestKept", kFull + "\r\nGD\r\n", {kFull + "\r\n", "GD\r\n"}},
        Stream{"OneByteMoreDropped", kFull + "y\r\nGD\r\n", {"dropped:" + kFull, "GD\r\n"}},
        Stream{"ACrCounts", kFull + "\r\r\nGD\r\n", {"dropped:" + kFull, "GD\r\n"}},
        Stream{"EachLongLineOnce",
               kFull + kFull + "\ry\r\n" + kFull + "z\r\nGD\r\n",
               {"dropped:" + kFull, "dropped:" + kFull, "GD\r\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kov::sim
