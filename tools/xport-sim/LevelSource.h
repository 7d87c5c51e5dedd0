#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kov::sim {

// One trace asked of the instrument: `points` points from firstMHz up,
// stepMHz apart. `pass` counts the traces this connection has been given for
// the band, from 1: the pass of the run, as far as the simulator can tell.
struct TraceRequest {
  double firstMHz = 0;
  double stepMHz = 0;
  int points = 0;
  int pass = 1;
};

// Every point's level text as the instrument writes it ("-087 "), or none:
// its entry is then a line too short to hold a level.
using TraceLevels = std::vector<std::optional<std::string>>;

// Where the levels of the traces come from. Every session asks the one
// source, from its own thread.
class LevelSource {
 public:
  virtual ~LevelSource() = default;
  virtual TraceLevels Levels(const TraceRequest& trace) const = 0;
};

}  // namespace kov::sim
