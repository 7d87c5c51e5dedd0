#pragma once

#include <algorithm>
#include <cstdint>

#include "PeakFinder.h"
#include "PointSink.h"
#include "PointStatistics.h"
#include "Selection.h"
#include "TidyCsv.h"
#include "WaterfallGrid.h"

namespace kov::wfexport {

// Hands each selected point to every output that wants it, in one read.
class Collectors : public PointSink {
 public:
  explicit Collectors(const Selection& selection) : selection_(selection) {}

  TidyCsv* csv = nullptr;
  PointStatistics* statistics = nullptr;
  PeakFinder* peaks = nullptr;
  WaterfallGrid* waterfall = nullptr;

  void Add(const measure::WaveformPoint& p) override {
    if (!selection_.Holds(p.pass, p.point)) return;
    if (selected_++ == 0 || p.pass < firstPass_) firstPass_ = p.pass;
    lastPass_ = std::max(lastPass_, p.pass);
    if (csv != nullptr) csv->Add(p);
    if (statistics != nullptr) statistics->Add(p.point, p.level);
    if (peaks != nullptr && p.level) peaks->Add(p.pass, p.point, *p.level);
    if (waterfall != nullptr) waterfall->Add(p.pass, p.point, p.level);
  }

  std::int64_t Selected() const { return selected_; }
  std::int32_t FirstPass() const { return firstPass_; }
  std::int32_t LastPass() const { return lastPass_; }

 private:
  Selection selection_;
  std::int64_t selected_ = 0;
  std::int32_t firstPass_ = 0, lastPass_ = 0;
};

}  // namespace kov::wfexport
