#include "GDReply.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kov::sim {

std::string GDReply(double centreMHz, int entries, bool markers, const LevelSource& levels) {
  const TraceRequest trace{centreMHz - 5.0, 10.0 / 320.0, entries};
  const std::vector<int> found = levels.Levels(trace);
  std::string reply = "GD \r\n";
  if (markers) reply += "/ \r\n";
  for (int k = 0; k < entries; ++k) {
    const double mhz = trace.firstMHz + k * trace.stepMHz;
    const int level = found.at(static_cast<std::size_t>(k));
    char entry[40];
    std::snprintf(entry, sizeof entry, "F%09.4fL%c%03d \r\n", std::max(mhz, 0.0),
                  level < 0 ? '-' : '+', std::abs(level));
    reply += entry;
  }
  if (markers) reply += "/ \r\n";
  return reply;
}

}  // namespace kov::sim
