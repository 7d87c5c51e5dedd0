#pragma once

#include <vector>

namespace kov::sim {

// One trace asked of the instrument: `points` points from firstMHz up,
// stepMHz apart.
struct TraceRequest {
  double firstMHz = 0;
  double stepMHz = 0;
  int points = 0;
};

// Where the levels of the traces come from. Every session asks the one
// source, from its own thread.
class LevelSource {
 public:
  virtual ~LevelSource() = default;
  // The level in dB of every point of the trace, in order, from -100 to 0.
  virtual std::vector<int> Levels(const TraceRequest& trace) const = 0;
};

}  // namespace kov::sim
