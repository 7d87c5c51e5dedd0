#pragma once

#include "measure/WaveformFile.h"

namespace kov::wfexport {

// Takes the point lines of a waveform file, in the file's order.
class PointSink {
 public:
  virtual ~PointSink() = default;
  virtual void Add(const measure::WaveformPoint& point) = 0;
};

}  // namespace kov::wfexport
