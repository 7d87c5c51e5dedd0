#pragma once

#include <cstdint>
#include <string>

#include "link/LinkState.h"
#include "measure/WFGrid.h"

namespace kov::measure {

// The fields of the main window that every handler shares; one instance for
// the window's life. Integer fields are 16-bit and Long fields 32-bit, and
// the arithmetic on them keeps those widths.
struct StateRecord : link::LinkState {
  // Run.
  std::int16_t BreakFlag = 0;
  std::int16_t DownloadCount = 0;
  std::int16_t BandWidthMHz = 0;
  std::int16_t BandCount = 0;
  std::int16_t StartFQ = 0;
  std::int16_t EndFQ = 0;

  // Download sequencer.
  std::int16_t DownloadNo = 0;
  std::int16_t WFLineNo = 0;
  std::int16_t BandNo = 0;
  std::int16_t DownloadFlag = 0;

  // Trace store.
  measure::WFGrid WFGrid;
  std::string WFDataStr;
};

}  // namespace kov::measure
