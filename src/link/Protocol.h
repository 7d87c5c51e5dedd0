#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Sockets.h"

namespace kov::link {

// Every command text the program sends; each goes out followed by CR LF.
inline constexpr std::string_view kCmdFP10 = "FP10";
inline constexpr std::string_view kCmdGD = "GD";
inline constexpr std::string_view kCmdEX = "EX";
inline constexpr std::string_view kLineEnd = "\r\n";

inline constexpr int kPointsPerBand = 320;
inline constexpr std::int32_t kRecvBufSize = 9000;
// Failed polls after which "GD" is repeated, and then given up.
inline constexpr int kFailedPollLimit = 5000;
// The same limits in wall-clock time: a reply still incomplete this long
// after "GD" (or its repeat) counts as no reply, however much the peer sends.
inline constexpr std::int64_t kReplyTimeOutMs = 5000;
// Far more than a full reply (about 5.8 KB): what a peer sends beyond it is
// read and dropped, so a runaway stream cannot fill the memory.
inline constexpr std::size_t kMaxReplyBytes = 64 * 1024;

// The command as it goes on the wire: the text followed by CR LF.
std::string CommandBytes(std::string_view command);

// "CF" and the frequency in MHz: written as text, read back with
// LeadingNumber and written again ("CF455").
std::string CFCommand(double frequencyMHz);

// Centre frequency of band n (1-based): StartFQ + BandWidthMHz / 2 +
// (n - 1) * BandWidthMHz, the product in 16-bit arithmetic (the start command
// keeps it in range).
double BandCenterFQ(std::int16_t startFQ, std::int16_t bandWidthMHz, std::int16_t n);

// The 16-byte address record given to connect.
platform::SocketAddressRecord BuildXportAddr(std::uint32_t ipNetworkOrder, std::uint16_t port);

// The port of TxtXportPort: LeadingNumber rounded half to even into 32 bits,
// of which the low 16 bits are used. No value when it does not fit 32 bits.
std::optional<std::uint16_t> PortFromText(std::string_view text);

// The reply used when the instrument does not answer "GD": 320 points of
// level "-100 ".
const std::string& SubstituteReply();

// The level texts of one band: for point k (index k - 1) either the text from
// the entry's 12th character to the end of its line, trailing blank kept, or
// no value (the point's grid cell keeps what it holds).
using BandLevels = std::array<std::optional<std::string>, kPointsPerBand>;

// Cuts a collected reply into the level texts of the band's 320 points. A
// reply without any "/ " is read as the substitute reply.
BandLevels SplitGDReply(std::string_view recvStr);

// One entry of a reply to "GD": the frequency of its point in MHz and its
// level text as the instrument writes it ("-080 "), or none: the entry is then
// a line too short to hold a level, which SplitGDReply reads as no data.
struct ReplyEntry {
  double mhz = 0;
  std::optional<std::string> level;
};

// The reply to "GD" that carries the entries: "GD ", the opening "/ ", one
// line "F0450.0000L-080 " per entry and the closing "/ ", each line ending in
// CR LF; without markers both "/ " lines are left out (a faulty instrument).
// SplitGDReply gives the level texts back as they were.
std::string BuildGDReply(std::span<const ReplyEntry> entries, bool markers = true);

// The level text of a whole number of dB as the instrument writes it: a sign,
// three digits and a blank ("-080 ", "+005 ").
std::string LevelText(int dB);

}  // namespace kov::link
