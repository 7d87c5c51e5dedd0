#pragma once

#include <utility>

#include "LevelSource.h"
#include "Recording.h"

namespace kov::sim {

// Plays a recorded run back: the n-th trace of a band is pass n of that band
// in the recording, from pass 1 again after its last. The level fields go
// back as they were written, "00" as a line without a level, so the program
// stores the same texts again. Points of a band the recording does not hold,
// or beyond its 320, get -100 dB, as the program itself stores a band the
// instrument did not send.
class ReplaySource : public LevelSource {
 public:
  // startMHz: the lower edge of band 1 of the recorded run.
  ReplaySource(Recording recording, double startMHz)
      : recording_(std::move(recording)), startMHz_(startMHz) {}
  TraceLevels Levels(const TraceRequest& trace) const override;

 private:
  // The band of the recording the trace starts at (from 1), or 0.
  int BandAt(double firstMHz) const;

  Recording recording_;
  double startMHz_;
};

}  // namespace kov::sim
