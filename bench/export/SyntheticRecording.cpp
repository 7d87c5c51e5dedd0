#include "SyntheticRecording.h"

#include <cstdio>
#include <string>
#include <vector>

#include "SpectrumHash.h"
#include "link/Protocol.h"
#include "measure/TimesFile.h"
#include "measure/WaveformFile.h"
#include "platform/Numbers.h"

namespace kov::bench {
namespace {

constexpr int kBands = 102;
constexpr int kPoints = kBands * link::kPointsPerBand;

using sim::Hash;

int Level(std::int32_t pass, int point) {
  const std::uint32_t h = Hash(static_cast<std::uint32_t>(pass) * 40503u + point);
  int level = -95 + static_cast<int>(h % 11);
  const int carrier = point % 1087;  // about 30 carriers, three points wide
  if (carrier < 3 && (point / 1087 % 3 != 0 || pass % 7 < 3)) level = -30 - 5 * carrier;
  return level;
}

}  // namespace

std::int32_t WriteRecording(const std::string& path, std::uint64_t bytes) {
  std::vector<std::string> levels(101), points(kPoints + 1);
  for (int l = 0; l <= 100; ++l) levels[l] = link::LevelText(-l);
  for (int k = 1; k <= kPoints; ++k) points[k] = platform::BlankNumber(k) + ",";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::uint64_t written = 2;
  std::fputs("\r\n", file);
  std::string pass;
  std::int32_t p = 0;
  while (written < bytes && p < 32767) {
    ++p;
    pass.clear();
    const std::string prefix = platform::BlankNumber(p) + ", ";
    for (int k = 1; k <= kPoints; ++k) {
      const bool none = Hash(static_cast<std::uint32_t>(p) * 7919u + k) % 1000 == 0;
      pass += prefix;
      pass += points[k];
      pass += none ? std::string(measure::kNoData) : levels[-Level(p, k)];
      pass += "\r\n";
      if (k % link::kPointsPerBand == 0) pass += "\r\n";
    }
    written += std::fwrite(pass.data(), 1, pass.size(), file);
  }
  std::fclose(file);
  // The lines are the program's own.
  std::string line;
  measure::AppendPointLine(line, 1, 1, levels[-Level(1, 1)]);
  return line == platform::BlankNumber(1) + ", " + points[1] + levels[-Level(1, 1)] + "\r\n" ? p
                                                                                             : 0;
}

void WriteTimes(const std::string& path, std::int32_t passes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::string text = std::string(measure::kTimesHeader) + "\r\n";
  for (std::int32_t p = 1; p <= passes; ++p) {
    for (std::int32_t band = 1; band <= kBands; ++band) {
      const std::int64_t ms = 1796730508123 + (std::int64_t{p - 1} * kBands + band) * 600;
      measure::AppendTimesLine(text, {p, band, 445.0 + 10 * band, {ms, 540}});
    }
    std::fwrite(text.data(), 1, text.size(), file);
    text.clear();
  }
  std::fclose(file);
}

}  // namespace kov::bench
