// How the simulator cuts a connection's bytes into commands, wherever a read
// happens to end.
#include "CommandLines.h"

#include <gtest/gtest.h>

namespace kov::sim {
namespace {

using Taken = std::vector<std::string>;  // commands, and "dropped:" with a dropped line's start

struct Stream {
  const char* name;
  std::string bytes;
  Taken taken;
};

void PrintTo(const Stream& stream, std::ostream* os) { *os << stream.name; }

class CommandLinesTest : public ::testing::TestWithParam<Stream> {};

TEST_P(CommandLinesTest, TakesTheSameCommandsWhereverAReadEnds) {
  const std::string_view bytes = GetParam().bytes;
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    Taken taken;
    CommandLines lines;
    for (const std::string_view read : {bytes.substr(0, cut), bytes.substr(cut)}) {
      lines.Feed(read, [&](CommandLines::Kind kind, std::string_view line) {
        taken.push_back((kind == CommandLines::Kind::Dropped ? "dropped:" : "") +
                        std::string(line));
        return true;
      });
    }
    ASSERT_EQ(taken, GetParam().taken) << "cut at " << cut;
  }
}

const std::string kFull(CommandLines::kLongest, 'x');

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
