#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "PointLayout.h"
#include "Selection.h"

namespace kov::wfexport {

// The waterfall reduced to a picture's size: the highest level of each block
// of passes and points, in tenths of a dB, row 0 the first pass.
struct WaterfallImage {
  static constexpr std::int16_t kNoLevel = std::numeric_limits<std::int16_t>::min();

  PointLayout layout;
  int rows = 0;
  std::int32_t firstPass = 1;
  std::int32_t lastPass = 0;  // the last pass seen
  std::int32_t passesPerRow = 1;
  std::vector<std::int16_t> cells;  // rows x layout.columns

  std::optional<double> Level(int column, int row) const {
    const std::int16_t cell = cells[static_cast<std::size_t>(row) * layout.columns + column];
    if (cell == kNoLevel) return std::nullopt;
    return cell / 10.0;
  }
};

// Which column of the picture each point falls in, once the columns are laid.
struct WaterfallColumns {
  PointLayout layout;
  std::vector<int> columnOf;  // by point - layout.firstPoint
};

// Builds the waterfall while the passes go by, in memory that depends on the
// picture's size only. The columns follow the points of the first pass (a
// pass holds every band of the run); the rows stand for a power of two of
// passes each, doubled whenever the recording outgrows them, and are joined
// to at most maxRows when the recording has ended. Once the columns are laid,
// the order of the points no longer matters: a reader of parts of the file
// may hand in whole rows of a pass (AddRow).
class WaterfallGrid {
 public:
  WaterfallGrid(const Selection& selection, int maxColumns, int maxRows);

  static std::int16_t Tenths(bool has, double level);
  void Add(std::int32_t pass, std::int32_t point, const std::optional<double>& level) {
    AddTenths(pass, point, Tenths(level.has_value(), level.value_or(0)));
  }
  void AddTenths(std::int32_t pass, std::int32_t point, std::int16_t level);
  // The highest levels of one pass, a cell per column (kNoLevel for none).
  void AddRow(std::int32_t pass, const std::int16_t* cells);
  // Nothing until the first pass has laid them.
  const WaterfallColumns* Columns() const { return laid_ ? &columns_ : nullptr; }
  WaterfallImage Finish();

 private:
  struct Held {
    std::int32_t pass, point;
    std::int16_t level;
  };

  void Lay();
  void Put(std::int32_t pass, std::int32_t point, std::int16_t level);
  std::int16_t* Row(std::int32_t pass);
  void Halve();

  Selection selection_;
  int maxColumns_, maxRows_;
  std::vector<Held> firstPass_;  // until the columns are laid
  bool laid_ = false;
  WaterfallColumns columns_;
  std::size_t capacity_ = 0;  // rows
  int shift_ = 0;             // each row stands for 2^shift_ passes
  std::size_t rowsUsed_ = 0;
  std::int32_t lastPass_ = 0;
  std::vector<std::int16_t> cells_;
};

}  // namespace kov::wfexport
