// Pixels of the graph surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "display/Palette.h"
#include "display/RasterSurface.h"
#include "display/SpectrumDisplay.h"
#include "fakes/FakeWindow.h"

namespace kov::display {
namespace {

// The graphs' size at 96 dpi: 8775 x 3615 twips.
constexpr int kW = 585;
constexpr int kH = 241;

std::uint32_t Q(Rgb c) { return RasterSurface::Packed(c); }
std::uint32_t qRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Q(Rgb{r, g, b}); }

int CountColumn(const RasterSurface& image, int x, std::uint32_t colour) {
  int n = 0;
  for (int y = 0; y < image.Height(); ++y) n += image.Pixel(x, y) == colour;
  return n;
}

TEST(RasterSurface, BackgroundsAndOnePixelLines) {
  RasterSurface data(kW, kH, kSpectrumBackground);
  RasterSurface wf(kW, kH, kWaterfallBackground);
  EXPECT_EQ(data.Pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(wf.Pixel(kW - 1, kH - 1), qRgb(0, 0, 255));

  // A vertical 1-pixel line at any user coordinate covers exactly one column.
  data.SetScale(0, 0, 3200, -100);
  for (float x : {0.0f, 1.0f, 1599.5f, 3199.0f}) {
    data.Clear();
    data.DrawLine(x, 0, x, -100, kPaletteGreen);
    int columns = 0;
    for (int c = 0; c < kW; ++c) columns += CountColumn(data, c, Q(kPaletteGreen)) > 0;
    EXPECT_EQ(columns, 1) << x;
  }
  // Width 2: two columns.
  data.Clear();
  data.SetLineWidth(2);
  data.DrawLine(100, 0, 100, -100, kPaletteGreen);
  int columns = 0;
  for (int c = 0; c < kW; ++c) columns += CountColumn(data, c, Q(kPaletteGreen)) > 0;
  EXPECT_EQ(columns, 2);
}

TEST(RasterSurface, FrameBarAndWaterfallRow) {
  RasterSurface data(kW, kH, kSpectrumBackground);
  RasterSurface wf(kW, kH, kWaterfallBackground);
  fakes::FakeWindow window;
  window.check = 0;
  SpectrumDisplay display(data, wf, window, window);
  display.ScaleWaterfall(1, 2);
  display.ClearWaterfall();
  measure::WFGrid grid;
  for (int i = 0; i < 320; ++i) grid.At(0, i) = "-100 ";
  grid.At(0, 100) = "-50 ";  // a bar up to the middle of the full range
  display.DrawPass(1, 2, grid);

  const RasterSurface& d = data;
  // Grid columns at x = 40k of 320 units; the middle one magenta.
  const int middle = kW / 2;  // 160 of 320
  EXPECT_EQ(d.Pixel(middle, 10), Q(kPaletteMagenta));
  EXPECT_EQ(d.Pixel(static_cast<int>(40.0 * kW / 320), 10), Q(kPaletteGreen));
  // Horizontal grid at -20 dB: row 48 of 241.
  EXPECT_EQ(d.Pixel(5, static_cast<int>(20.0 * kH / 100)), Q(kPaletteGreen));
  // The bar of point 100: from -50 dB down to the bottom, yellow, 2 wide.
  const int barX = static_cast<int>(100.0 * kW / 320);
  EXPECT_EQ(CountColumn(d, barX, Q(kPaletteLightYellow)), kH - kH / 2);
  EXPECT_EQ(d.Pixel(barX + 1, kH - 1), Q(kPaletteLightYellow));
  EXPECT_EQ(d.Pixel(barX, kH / 2 - 2), qRgb(0, 0, 0));

  // Waterfall row 2 of 2: the lower half; point 100 in its colour (-50 dB
  // is green in the full range), the rest blue, the upper half untouched.
  const RasterSurface& w = wf;
  EXPECT_EQ(w.Pixel(barX, kH - 1), qRgb(0, 255, 0));
  EXPECT_EQ(w.Pixel(barX, kH / 2 + 1), qRgb(0, 255, 0));
  EXPECT_EQ(w.Pixel(barX, kH / 2 - 2), qRgb(0, 0, 255));
  EXPECT_EQ(w.Pixel(barX + 5, kH - 1), qRgb(0, 0, 255));
}

struct SlopedLine {
  float x1, y1, x2, y2;  // in pixels (the scale is one unit a pixel)
};

class SlopedLineTest : public ::testing::TestWithParam<SlopedLine> {};

// No graph draws one today, but a surface draws every line it is given: one
// pixel a step along the longer axis, both ends included.
TEST_P(SlopedLineTest, OnePixelPerStepAlongItsLength) {
  const SlopedLine& l = GetParam();
  RasterSurface s(kW, kH, kSpectrumBackground);
  s.DrawLine(l.x1, l.y1, l.x2, l.y2, kPaletteGreen);
  const RasterSurface& image = s;
  int lit = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) lit += image.Pixel(x, y) == Q(kPaletteGreen);
  }
  const int steps = static_cast<int>(std::max(std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1)));
  EXPECT_NEAR(lit, steps + 1, 1);
  EXPECT_EQ(image.Pixel(static_cast<int>(l.x1), static_cast<int>(l.y1)), Q(kPaletteGreen));
  const int mx = static_cast<int>((l.x1 + l.x2) / 2), my = static_cast<int>((l.y1 + l.y2) / 2);
  int nearMiddle = 0;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx)
      nearMiddle += image.Pixel(mx + dx, my + dy) == Q(kPaletteGreen);
  }
  EXPECT_GT(nearMiddle, 0);
}

INSTANTIATE_TEST_SUITE_P(Slopes, SlopedLineTest,
                         ::testing::Values(SlopedLine{10, 10, 110, 110},
                                           SlopedLine{10, 200, 300, 20}, SlopedLine{50, 5, 60, 230},
                                           SlopedLine{500, 100, 20, 90}));

struct GridRows {
  std::int16_t check;
  int top;  // dB at the upper edge
  std::vector<int> rows;
};

class QImageGridTest : public ::testing::TestWithParam<GridRows> {};

TEST_P(QImageGridTest, HorizontalGridOnItsPixelRow) {
  const GridRows& c = GetParam();
  RasterSurface data(kW, kH, kSpectrumBackground);
  RasterSurface wf(kW, kH, kWaterfallBackground);
  fakes::FakeWindow window;
  window.check = c.check;
  SpectrumDisplay display(data, wf, window, window);
  display.DrawGraphFrame(10);
  const RasterSurface& d = data;
  for (int dB : c.rows) {
    const int row = static_cast<int>((c.top - dB) * double(kH) / (c.top + 100));
    EXPECT_EQ(d.Pixel(5, row), Q(kPaletteGreen)) << dB;
    EXPECT_EQ(d.Pixel(5, row - 1), qRgb(0, 0, 0)) << dB;
    EXPECT_EQ(d.Pixel(5, row + 1), qRgb(0, 0, 0)) << dB;
  }
  // The vertical lines, drawn last, run over the whole height in both ranges.
  EXPECT_EQ(CountColumn(d, kW / 2, Q(kPaletteMagenta)), kH);
}

INSTANTIATE_TEST_SUITE_P(Ranges, QImageGridTest,
                         ::testing::Values(GridRows{0, 0, {-20, -40, -60, -80}},
                                           GridRows{1, -50, {-60, -70, -80, -90}}));

}  // namespace
}  // namespace kov::display
