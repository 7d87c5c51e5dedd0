#include "GDReply.h"

#include <vector>

#include "link/Protocol.h"

namespace kov::sim {

std::string GDReply(double centreMHz, int entries, int pass, bool markers,
                    const LevelSource& levels) {
  const TraceRequest trace{centreMHz - 5.0, 10.0 / 320.0, entries, pass};
  TraceLevels found = levels.Levels(trace);
  std::vector<link::ReplyEntry> reply;
  for (int k = 0; k < entries; ++k) {
    reply.push_back(
        {trace.firstMHz + k * trace.stepMHz, std::move(found.at(static_cast<std::size_t>(k)))});
  }
  return link::BuildGDReply(reply, markers);
}

}  // namespace kov::sim
