#include "WaterfallGrid.h"

#include <algorithm>
#include <cmath>

namespace kov::wfexport {
namespace {

// Rows held while reading, beyond twice the picture's: more of them bring
// the final row count closer to the height asked for.
constexpr std::size_t kBudgetBytes = std::size_t{16} << 20;

std::int16_t Tenths(const std::optional<double>& level) {
  if (!level) return WaterfallImage::kNoLevel;
  return static_cast<std::int16_t>(std::lround(std::clamp(*level * 10, -32767.0, 32767.0)));
}

}  // namespace

WaterfallGrid::WaterfallGrid(const Selection& selection, int maxColumns, int maxRows)
    : selection_(selection), maxColumns_(maxColumns), maxRows_(maxRows) {}

void WaterfallGrid::Add(std::int32_t pass, std::int32_t point, const std::optional<double>& level) {
  if (!laid_) {
    if (firstPass_.empty() || (pass == firstPass_.front().pass &&
                               firstPass_.size() < static_cast<std::size_t>(selection_.Points()))) {
      firstPass_.push_back({pass, point, Tenths(level)});
      return;
    }
    Lay();
  }
  Put(pass, point, Tenths(level));
}

void WaterfallGrid::Lay() {
  laid_ = true;
  std::int32_t last = selection_.firstPoint;
  for (const Held& h : firstPass_) last = std::max(last, h.point);
  layout_ = PointLayout::Of(selection_.firstPoint, last, maxColumns_);
  columnOf_.resize(static_cast<std::size_t>(layout_.points));
  for (std::int32_t p = 0; p < layout_.points; ++p) {
    columnOf_[static_cast<std::size_t>(p)] = layout_.Column(layout_.firstPoint + p);
  }
  const std::size_t rowBytes = static_cast<std::size_t>(layout_.columns) * sizeof(std::int16_t);
  const auto rows = static_cast<std::size_t>(maxRows_);
  capacity_ = std::max(2 * rows, std::min(8 * rows, kBudgetBytes / rowBytes));
  // All of it at once: the memory an export takes does not grow with the file.
  cells_.assign(capacity_ * static_cast<std::size_t>(layout_.columns), WaterfallImage::kNoLevel);
  for (const Held& h : firstPass_) Put(h.pass, h.point, h.level);
  std::vector<Held>().swap(firstPass_);
}

void WaterfallGrid::Put(std::int32_t pass, std::int32_t point, std::int16_t level) {
  const std::int32_t offset = point - layout_.firstPoint;
  if (offset >= layout_.points) return;  // beyond the first pass's bands
  lastPass_ = std::max(lastPass_, pass);
  std::size_t row = static_cast<std::size_t>(pass - selection_.firstPass) >> shift_;
  while (row >= capacity_) {
    Halve();
    row >>= 1;
  }
  const auto columns = static_cast<std::size_t>(layout_.columns);
  rowsUsed_ = std::max(rowsUsed_, row + 1);
  std::int16_t& cell = cells_[row * columns + static_cast<std::size_t>(columnOf_[offset])];
  cell = std::max(cell, level);
}

void WaterfallGrid::Halve() {
  const auto columns = static_cast<std::size_t>(layout_.columns);
  const std::size_t rows = (rowsUsed_ + 1) / 2;
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t c = 0; c < columns; ++c) {
      const std::size_t below = 2 * r + 1;
      const std::int16_t second =
          below < rowsUsed_ ? cells_[below * columns + c] : WaterfallImage::kNoLevel;
      cells_[r * columns + c] = std::max(cells_[2 * r * columns + c], second);
    }
  }
  std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(rows * columns), cells_.end(),
            WaterfallImage::kNoLevel);
  rowsUsed_ = rows;
  ++shift_;
}

WaterfallImage WaterfallGrid::Finish() {
  if (!laid_) Lay();
  WaterfallImage image;
  image.layout = layout_;
  image.firstPass = selection_.firstPass;
  image.lastPass = lastPass_;
  if (rowsUsed_ == 0) return image;
  const auto columns = static_cast<std::size_t>(layout_.columns);
  const std::size_t join = (rowsUsed_ + maxRows_ - 1) / maxRows_;
  image.rows = static_cast<int>((rowsUsed_ + join - 1) / join);
  image.passesPerRow = static_cast<std::int32_t>(join << shift_);
  image.cells.assign(static_cast<std::size_t>(image.rows) * columns, WaterfallImage::kNoLevel);
  for (std::size_t r = 0; r < rowsUsed_; ++r) {
    std::int16_t* out = &image.cells[(r / join) * columns];
    const std::int16_t* in = &cells_[r * columns];
    for (std::size_t c = 0; c < columns; ++c) out[c] = std::max(out[c], in[c]);
  }
  return image;
}

}  // namespace kov::wfexport
