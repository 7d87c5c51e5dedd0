#include "link/Protocol.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Numbers.h"

namespace kov::link {
namespace {

constexpr std::string_view kMarker = "/ ";
constexpr std::string_view kFillerLine = "\rF0000.0000L-100 ";
// A line starts with its line-break character; the level starts at the
// entry's 12th character.
constexpr std::size_t kLevelOffset = 12;

std::string BuildSubstituteReply() {
  const std::vector<ReplyEntry> entries(kPointsPerBand, ReplyEntry{0.0, LevelText(-100)});
  return BuildGDReply(entries);
}

}  // namespace

std::string CommandBytes(std::string_view command) {
  std::string bytes(command);
  bytes += kLineEnd;
  return bytes;
}

std::string CFCommand(double frequencyMHz) {
  const std::string text = platform::PlainNumber(frequencyMHz);
  return "CF" + platform::PlainNumber(platform::LeadingNumber(text));
}

double BandCenterFQ(std::int16_t startFQ, std::int16_t bandWidthMHz, std::int16_t n) {
  const auto offset = static_cast<std::int16_t>((n - 1) * bandWidthMHz);
  return static_cast<double>(startFQ) + static_cast<double>(bandWidthMHz) / 2.0 + offset;
}

platform::SocketAddressRecord BuildXportAddr(std::uint32_t ipNetworkOrder, std::uint16_t port) {
  platform::SocketAddressRecord record{};
  record[0] = 2;  // AF_INET, little-endian
  record[1] = 0;
  record[2] = static_cast<std::uint8_t>(port >> 8);
  record[3] = static_cast<std::uint8_t>(port & 0xFF);
  std::memcpy(&record[4], &ipNetworkOrder, 4);
  return record;
}

std::optional<std::uint16_t> PortFromText(std::string_view text) {
  const auto value = platform::RoundToLong(platform::LeadingNumber(text));
  if (!value) return std::nullopt;
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(*value) & 0xFFFFu);
}

std::string BuildGDReply(std::span<const ReplyEntry> entries, bool markers) {
  std::string reply = "GD \r\n";
  if (markers) reply += "/ \r\n";
  for (const ReplyEntry& e : entries) {
    char frequency[32];
    std::snprintf(frequency, sizeof frequency, "F%09.4f", std::max(e.mhz, 0.0));
    reply += frequency;
    if (e.level) reply += "L" + *e.level;
    reply += "\r\n";
  }
  if (markers) reply += "/ \r\n";
  return reply;
}

std::string LevelText(int dB) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%03d ", dB < 0 ? '-' : '+', std::abs(dB));
  return text;
}

const std::string& SubstituteReply() {
  static const std::string reply = BuildSubstituteReply();
  return reply;
}

BandLevels SplitGDReply(std::string_view recvStr) {
  // No marker at all: no data block to read, so the band is read as if the
  // instrument had not answered.
  if (recvStr.find(kMarker) == std::string_view::npos) recvStr = SubstituteReply();

  const std::size_t open = recvStr.find(kMarker);
  const std::size_t blockStart = open + kMarker.size();
  const std::size_t close = recvStr.find(kMarker, blockStart);
  const std::string_view block = recvStr.substr(
      blockStart, close == std::string_view::npos ? std::string_view::npos : close - blockStart);

  BandLevels levels;
  // Line 0 runs up to the first CR; lines 1 to 320 follow, each starting
  // with the LF after the previous CR. Points without a line get the filler.
  std::size_t pos = block.find('\r');
  for (int k = 1; k <= kPointsPerBand; ++k) {
    std::string_view line = kFillerLine;
    if (pos != std::string_view::npos) {
      const std::size_t start = pos + 1;
      const std::size_t next = block.find('\r', start);
      line = block.substr(start,
                          next == std::string_view::npos ? std::string_view::npos : next - start);
      pos = next;
    }
    if (line.size() > kLevelOffset) levels[k - 1] = std::string(line.substr(kLevelOffset));
  }
  return levels;
}

}  // namespace kov::link
