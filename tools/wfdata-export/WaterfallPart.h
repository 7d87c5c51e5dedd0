#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "HotInline.h"
#include "WaterfallGrid.h"

namespace kov::wfexport {

// A chunk's share of the waterfall, made on a worker and added to the
// waterfall in the file's order. Before the columns are laid (from the first
// pass, which needs the points in order) it holds the points as they come;
// after, the highest level of each column in each pass of the chunk, so that
// adding it costs a row per pass, not a step per point.
class WaterfallPart {
 public:
  // Empty, for the columns as they are now (nothing while not laid).
  void Reset(const WaterfallColumns* columns);

  KOV_HOT_INLINE void Add(std::int32_t pass, std::int32_t point, std::int16_t level) {
    if (columns_ == nullptr) {
      held_.push_back({pass, point, level});
      return;
    }
    const std::int32_t offset = point - columns_->layout.firstPoint;
    if (offset >= columns_->layout.points) return;  // beyond the first pass's bands
    if (pass != rowPass_) Choose(pass);
    if (row_ == nullptr) {
      held_.push_back({pass, point, level});
      return;
    }
    std::int16_t& cell = row_[columns_->columnOf[static_cast<std::size_t>(offset)]];
    cell = std::max(cell, level);
  }

  void AddTo(WaterfallGrid& grid) const;

 private:
  struct Held {
    std::int32_t pass, point;
    std::int16_t level;
  };
  // Rows kept; the points of passes beyond are held (a chunk of the usual
  // recording holds a few passes).
  static constexpr std::size_t kRows = 64;

  void Choose(std::int32_t pass);

  const WaterfallColumns* columns_ = nullptr;
  std::vector<Held> held_;
  std::vector<std::int32_t> passes_;  // of the rows
  std::vector<std::int16_t> cells_;   // a row of columns per pass
  std::int32_t rowPass_ = 0;
  std::int16_t* row_ = nullptr;  // that pass's, or none when rows ran out
};

}  // namespace kov::wfexport
