#include "WaterfallGrid.h"

#include <algorithm>
#include <cmath>

namespace kov::wfexport {
namespace {

// Rows held while reading, beyond twice the picture's: more of them bring
// the final row count closer to the height asked for.
constexpr std::size_t kBudgetBytes = std::size_t{16} << 20;

}  // namespace

WaterfallGrid::WaterfallGrid(const Selection& selection, int maxColumns, int maxRows)
    : selection_(selection), maxColumns_(maxColumns), maxRows_(maxRows) {}

std::int16_t WaterfallGrid::Tenths(bool has, double level) {
  if (!has) return WaterfallImage::kNoLevel;
  return static_cast<std::int16_t>(std::lround(std::clamp(level * 10, -32767.0, 32767.0)));
}

void WaterfallGrid::AddTenths(std::int32_t pass, std::int32_t point, std::int16_t level) {
  if (!laid_) {
    if (firstPass_.empty() || (pass == firstPass_.front().pass &&
                               firstPass_.size() < static_cast<std::size_t>(selection_.Points()))) {
      firstPass_.push_back({pass, point, level});
      return;
    }
    Lay();
  }
  Put(pass, point, level);
}

void WaterfallGrid::Lay() {
  laid_ = true;
  std::int32_t last = selection_.firstPoint;
  for (const Held& h : firstPass_) last = std::max(last, h.point);
  PointLayout& layout = columns_.layout;
  layout = PointLayout::Of(selection_.firstPoint, last, maxColumns_);
  columns_.columnOf.resize(static_cast<std::size_t>(layout.points));
  for (std::int32_t p = 0; p < layout.points; ++p) {
    columns_.columnOf[static_cast<std::size_t>(p)] = layout.Column(layout.firstPoint + p);
  }
  const std::size_t rowBytes = static_cast<std::size_t>(layout.columns) * sizeof(std::int16_t);
  const auto rows = static_cast<std::size_t>(maxRows_);
  capacity_ = std::max(2 * rows, std::min(8 * rows, kBudgetBytes / rowBytes));
  // All of it at once: the memory an export takes does not grow with the file.
  cells_.assign(capacity_ * static_cast<std::size_t>(layout.columns), WaterfallImage::kNoLevel);
  for (const Held& h : firstPass_) Put(h.pass, h.point, h.level);
  std::vector<Held>().swap(firstPass_);
}

void WaterfallGrid::Put(std::int32_t pass, std::int32_t point, std::int16_t level) {
  const std::int32_t offset = point - columns_.layout.firstPoint;
  if (offset >= columns_.layout.points) return;  // beyond the first pass's bands
  std::int16_t& cell = Row(pass)[columns_.columnOf[static_cast<std::size_t>(offset)]];
  cell = std::max(cell, level);
}

void WaterfallGrid::AddRow(std::int32_t pass, const std::int16_t* cells) {
  std::int16_t* row = Row(pass);
  for (int c = 0; c < columns_.layout.columns; ++c) row[c] = std::max(row[c], cells[c]);
}

// The row a pass falls in, made room for.
std::int16_t* WaterfallGrid::Row(std::int32_t pass) {
  lastPass_ = std::max(lastPass_, pass);
  std::size_t row = static_cast<std::size_t>(pass - selection_.firstPass) >> shift_;
  while (row >= capacity_) {
    Halve();
    row >>= 1;
  }
  rowsUsed_ = std::max(rowsUsed_, row + 1);
  return &cells_[row * static_cast<std::size_t>(columns_.layout.columns)];
}

void WaterfallGrid::Halve() {
  const auto columns = static_cast<std::size_t>(columns_.layout.columns);
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
  image.layout = columns_.layout;
  image.firstPass = selection_.firstPass;
  image.lastPass = lastPass_;
  if (rowsUsed_ == 0) return image;
  const auto columns = static_cast<std::size_t>(columns_.layout.columns);
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
