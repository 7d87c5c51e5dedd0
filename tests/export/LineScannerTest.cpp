// The exporter's reader, cut into chunks of every size, against a plain
// reader of each line through ParsePointLine: the lines the program writes,
// the shapes it never writes, and lines too long to be any.
#include <gtest/gtest.h>

#include "ChunkedReading.h"

namespace kov::wfexport::testing {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string file;
  for (const std::string& line : lines) file += line + "\r\n";
  return file;
}

std::string Counting(int pass, int from, int to, const char* cell = "-087 ") {
  std::string file;
  for (int point = from; point <= to; ++point) {
    measure::AppendPointLine(file, static_cast<std::int16_t>(pass), point, cell);
  }
  return file;
}

struct ScanCase {
  const char* name;
  std::string file;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

// After each point, the one after the next: a reader that counted its digits
// on wrong would take the line for the point it expected.
std::string Jumps() {
  std::string file;
  for (const int point : {9, 19, 99, 109, 199, 999, 1099, 1999, 9999, 19999}) {
    file += Counting(5, point, point) + Counting(5, point + 2, point + 2);
  }
  return file;
}

class LineScanner : public ::testing::TestWithParam<ScanCase> {};

TEST_P(LineScanner, EveryChunkSizeReadsAsThePlainReader) {
  const std::string& file = GetParam().file;
  const Reading plain = ReadPlainly(file);
  ASSERT_FALSE(plain.points.empty() && plain.skipped.empty() && file.size() > 20);
  for (const std::uint64_t chunk : {1, 2, 3, 7, 64, 4097, 1 << 20}) {
    EXPECT_EQ(Difference(plain, ReadInChunks(file, chunk)), "") << "chunks of " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineScanner,
    ::testing::Values(
        // Counting on in place: 9 to 10, 99 to 100, 999 to 1000; passes and
        // bands in turn; the same point again, a point skipped.
        ScanCase{"counting", "\r\n" + Counting(1, 1, 1200) + "\r\n" + Counting(2, 1, 12) +
                                 Counting(2, 12, 12) + Counting(2, 14, 20, "00") +
                                 Counting(32767, 32630, 32640) + Counting(3, 1, 3, "+003 ") +
                                 Jumps()},
        ScanCase{"levels", Lines({" 1,  1,-087 ",       " 1,  2,00",
                                  " 1,  3,00 ",         " 1,  4, 00",
                                  " 1,  5,0",           " 1,  6,-0",
                                  " 1,  7,-0.0",        " 1,  8,1.5",
                                  " 1,  9,.5",          " 1,  10,5.",
                                  " 1,  11,-",          " 1,  12,+",
                                  " 1,  13,",           " 1,  14,1e3",
                                  " 1,  15,-08 8",      " 1,  16, -87 ",
                                  " 1,  17,-87\t",      " 1,  18,123456789",
                                  " 1,  19,1234567890", " 1,  20,99999999999999999999",
                                  " 1,  21,-087 x",     " 1,  22,-1087 ",
                                  " 1,  23,-0870",      " 1,  24,--87",
                                  " 1,  25,-8.7.",      " 1,  26,-087  ",
                                  " 1,  27,12345678901"})},
        ScanCase{"numbers",
                 Lines({"1,1,-88", "  1,   2,-88", "01, 003,-88", "123456, 4,-88",
                        "1234567890, 5,-88", "-1, 6,-88", "0, 7,-88", "32768, 8,-88",
                        " 1, 32640,-88", " 1, 32641,-88", "1 ,9,-88", "+1, 10,-88", " 1,\t11,-88",
                        " 1,  12 ,-88", " 1, , -88", ",,", " 1,  000000000013,-88"})},
        ScanCase{"lineEnds",
                 " 1,  1,-087 \n 1,  2,-087 \r\r\n 1,\r  3,-087 \r\n\r\n\n \r\n"
                 " 1,  4,-087 \r\n\r 1,  5,-087 \r\n 1,  6,-08"},
        ScanCase{"longLines", Counting(1, 1, 3) + std::string(4090, ' ') + "1,  4,-87\r\n" +
                                  std::string(4091, ' ') + "1,  5,-87\r\n" +
                                  std::string(10000, 'x') + "\r\n" + Counting(1, 6, 8) +
                                  std::string(4097, 'y')},
        // A point line of another shape between a line and the one it leads
        // to expect: the last pass is the expected line's.
        ScanCase{"between", Counting(2, 1, 1) + " 1,  5,-87.5 \r\n" + Counting(2, 2, 2)},
        ScanCase{"shortTail", Counting(1, 1, 3) + std::string(4096, 'y')}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kov::wfexport::testing
