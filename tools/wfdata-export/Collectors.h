#pragma once

#include <algorithm>
#include <cstdint>

#include "PeakFinder.h"
#include "PointSink.h"
#include "PointStatistics.h"
#include "Selection.h"
#include "TidyCsv.h"
#include "TrackTable.h"
#include "WaterfallGrid.h"

namespace kov::wfexport {

// Hands each selected point to every output that wants it, in one read; the
// tracked points are selected by pass only.
class Collectors : public PointSink {
 public:
  explicit Collectors(const Selection& selection) : selection_(selection) {}

  TidyCsv* csv = nullptr;
  PointStatistics* statistics = nullptr;
  PeakFinder* peaks = nullptr;
  WaterfallGrid* waterfall = nullptr;
  TrackTable* track = nullptr;

  void Add(const measure::WaveformPoint& p) override {
    if (p.pass < selection_.firstPass || p.pass > selection_.lastPass) return;
    if (track != nullptr && track->Tracks(p.point)) {
      ++tracked_;
      track->Add(p.pass, p.point, p.level);
    }
    if (p.point < selection_.firstPoint || p.point > selection_.lastPoint) return;
    if (selected_++ == 0 || p.pass < firstPass_) firstPass_ = p.pass;
    lastPass_ = std::max(lastPass_, p.pass);
    highestPoint_ = std::max(highestPoint_, p.point);
    if (!p.level) ++withoutData_;
    if (csv != nullptr) csv->Add(p);
    if (statistics != nullptr) statistics->Add(p.point, p.level);
    if (peaks != nullptr && p.level) peaks->Add(p.pass, p.point, *p.level);
    if (waterfall != nullptr) waterfall->Add(p.pass, p.point, p.level);
  }

  // Point lines in the selected passes and frequencies.
  std::int64_t Selected() const { return selected_; }
  std::int64_t WithoutData() const { return withoutData_; }
  std::int64_t Tracked() const { return tracked_; }
  std::int32_t HighestPoint() const { return highestPoint_; }
  std::int32_t FirstPass() const { return firstPass_; }
  std::int32_t LastPass() const { return lastPass_; }

 private:
  Selection selection_;
  std::int64_t selected_ = 0, withoutData_ = 0, tracked_ = 0;
  std::int32_t firstPass_ = 0, lastPass_ = 0, highestPoint_ = 0;
};

}  // namespace kov::wfexport
