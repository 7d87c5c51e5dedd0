#pragma once

#include <cstdint>
#include <string>

namespace kov::bench {

// Writes a recording as the program writes it: an empty line, then passes of
// 102 bands (450 to 1470 MHz), each band's 320 point lines followed by an
// empty line, until the file holds at least `bytes`. The levels are a noise
// floor, steady and intermittent carriers, and now and then a point without
// data ("00"). The number of passes written.
std::int32_t WriteRecording(const std::string& path, std::uint64_t bytes);

// Writes the times file of such a recording of `passes` passes: a band every
// 600 ms from 2026-12-08 20:48:28.123 in Japan, crossing midnight.
void WriteTimes(const std::string& path, std::int32_t passes);

}  // namespace kov::bench
