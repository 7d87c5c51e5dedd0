#include "display/SpectrumDisplay.h"

#include <cassert>
#include <cmath>
#include <limits>
#include <string>

#include "display/LevelColor.h"
#include "display/Palette.h"
#include "link/Protocol.h"
#include "platform/Numbers.h"

namespace kov::display {
namespace {

constexpr int kPoints = link::kPointsPerBand;
[[maybe_unused]] constexpr int kMaxBands = 102;  // the widest run whose width fits 16 bits

std::int16_t Width(std::int16_t bandCount) {
  // The start command never plans more bands than the 16-bit width holds.
  assert(bandCount >= 1 && bandCount <= kMaxBands);
  return static_cast<std::int16_t>(bandCount * kPoints);
}

std::uint8_t Byte(std::int16_t component) { return static_cast<std::uint8_t>(component); }

// A garbled reply can leave a cell whose number does not fit a Long; it takes
// the nearer end of the Long range (a huge level still draws as a full bar in
// red) instead of wrapping or passing for -100 dB.
std::int32_t ReadLevel(const std::string& cell) {
  const double value = platform::LeadingNumber(cell);
  if (const auto level = platform::RoundToLong(value)) return *level;
  if (std::isnan(value)) return -100;
  return value > 0 ? std::numeric_limits<std::int32_t>::max()
                   : std::numeric_limits<std::int32_t>::min();
}

}  // namespace

SpectrumDisplay::SpectrumDisplay(GraphSurface& xportData, GraphSurface& xportWF,
                                 const ui::LevelRange& range, ui::Labels& labels)
    : xportData_(xportData), xportWF_(xportWF), range_(range), labels_(labels) {}

void SpectrumDisplay::ScaleWaterfall(std::int16_t bandCount, std::int16_t downloadCount) {
  assert(downloadCount >= 1);
  const std::int16_t w = Width(bandCount);
  xportWF_.SetScale(0, 0, w, downloadCount);
  const float middle = static_cast<float>(w) / 2.0f;
  xportWF_.DrawLine(middle, 0, middle, downloadCount, kPaletteLightGrey);
}

void SpectrumDisplay::DrawGraphFrame(std::int16_t bandCount) {
  xportData_.Clear();
  const std::int16_t w = Width(bandCount);
  xportData_.SetLineWidth(1);
  xportWF_.SetLineWidth(1);
  if (range_.CheckValue() == 1) {
    xportData_.SetScale(0, -50, w, -100);
    for (int y : {-60, -70, -80, -90}) xportData_.DrawLine(0, y, w, y, kPaletteGreen);
  } else {
    xportData_.SetScale(0, 0, w, -100);
    for (int y : {-20, -40, -60, -80}) xportData_.DrawLine(0, y, w, y, kPaletteGreen);
  }
  for (int k = 1; k <= 7; ++k) {
    const auto x = static_cast<float>(static_cast<std::int16_t>(bandCount * 40 * k));
    xportData_.DrawLine(x, 0, x, -100, k == 4 ? kPaletteMagenta : kPaletteGreen);
  }
}

void SpectrumDisplay::SetFrequencyLabels(std::int16_t startFQ, std::int16_t endFQ) {
  using ui::Label;
  const auto span = static_cast<std::int16_t>(endFQ - startFQ);
  labels_.SetLabelText(Label::Label17, platform::PlainNumber(startFQ) + "MHz");
  labels_.SetLabelText(Label::Label16, platform::PlainNumber(span / 2.0 + startFQ) + "MHz");
  labels_.SetLabelText(Label::Label18, platform::PlainNumber(endFQ) + "MHz");
  labels_.SetLabelText(Label::Label19, "");
  labels_.SetLabelText(Label::Label20, "");
  labels_.SetLabelText(Label::Label21, "");
}

void SpectrumDisplay::ClearWaterfall() { xportWF_.Clear(); }

void SpectrumDisplay::DrawPass(std::int16_t bandCount, std::int16_t wfLineNo,
                               const measure::WFGrid& grid) {
  DrawGraphFrame(bandCount);
  const int lineWidth = bandCount == 1 ? 2 : 1;
  const auto rowTop = static_cast<float>(wfLineNo - 1);
  const auto rowBottom = static_cast<float>(wfLineNo);
  for (int b = 0; b < bandCount; ++b) {
    for (int i = 0; i < kPoints; ++i) {
      xportData_.SetLineWidth(lineWidth);
      xportWF_.SetLineWidth(lineWidth);
      LevelDB = ReadLevel(grid.At(b, i));
      const auto x = static_cast<float>(static_cast<std::int16_t>(b * kPoints + i));
      xportData_.DrawLine(x, static_cast<float>(LevelDB), x, -100, kPaletteLightYellow);
      SetLevelColor();
      xportWF_.DrawLine(x, rowTop, x, rowBottom, Rgb{Byte(ColorR), Byte(ColorG), Byte(ColorB)});
    }
  }
}

void SpectrumDisplay::SetLevelColor() {
  const LevelColor c = display::SetLevelColor(LevelDB, range_.CheckValue());
  ColorR = c.r;
  ColorG = c.g;
  ColorB = c.b;
}

}  // namespace kov::display
