#include "WaterfallPart.h"

namespace kov::wfexport {

void WaterfallPart::Reset(const WaterfallColumns* columns) {
  columns_ = columns;
  held_.clear();
  passes_.clear();
  cells_.clear();
  rowPass_ = 0;
  row_ = nullptr;
}

void WaterfallPart::Choose(std::int32_t pass) {
  const auto columns = static_cast<std::size_t>(columns_->layout.columns);
  rowPass_ = pass;
  const auto found = std::find(passes_.begin(), passes_.end(), pass);
  if (found != passes_.end()) {
    row_ = &cells_[static_cast<std::size_t>(found - passes_.begin()) * columns];
  } else if (passes_.size() < kRows) {
    passes_.push_back(pass);
    cells_.resize(passes_.size() * columns, WaterfallImage::kNoLevel);
    row_ = &cells_[(passes_.size() - 1) * columns];
  } else {
    row_ = nullptr;
  }
}

void WaterfallPart::AddTo(WaterfallGrid& grid) const {
  for (const Held& h : held_) grid.AddTenths(h.pass, h.point, h.level);
  const auto columns = static_cast<std::size_t>(columns_ == nullptr ? 0 : columns_->layout.columns);
  for (std::size_t r = 0; r < passes_.size(); ++r) grid.AddRow(passes_[r], &cells_[r * columns]);
}

}  // namespace kov::wfexport
