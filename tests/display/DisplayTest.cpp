#include <gtest/gtest.h>

#include "RecordingSurface.h"
#include "display/LevelColor.h"
#include "display/Palette.h"
#include "display/SpectrumDisplay.h"
#include "fakes/FakeWindow.h"

namespace kov::display {
namespace {

using testing::RecordingSurface;
using Line = RecordingSurface::Line;

struct ColourRow {
  int level;
  LevelColor full;
  LevelColor fifty;
};

class LevelColorTest : public ::testing::TestWithParam<ColourRow> {};

TEST_P(LevelColorTest, BothRamps) {
  const ColourRow& row = GetParam();
  EXPECT_EQ(SetLevelColor(row.level, 0), row.full) << row.level << " dB, full range";
  EXPECT_EQ(SetLevelColor(row.level, 1), row.fifty) << row.level << " dB, -50 dB range";
  EXPECT_EQ(SetLevelColor(row.level, 2), row.fifty) << "any value but 0 is the -50 dB ramp";
}

INSTANTIATE_TEST_SUITE_P(
    Table, LevelColorTest,
    ::testing::Values(
        ColourRow{0, {255, 0, 0}, {255, 0, 0}}, ColourRow{-10, {255, 102, 0}, {255, 0, 0}},
        ColourRow{-25, {255, 254, 0}, {255, 0, 0}}, ColourRow{-26, {244, 255, 0}, {255, 0, 0}},
        ColourRow{-50, {0, 255, 0}, {255, 0, 0}}, ColourRow{-51, {0, 255, 10}, {255, 20, 0}},
        ColourRow{-62, {0, 255, 122}, {255, 244, 0}}, ColourRow{-63, {0, 255, 132}, {244, 255, 0}},
        ColourRow{-75, {0, 255, 255}, {0, 255, 0}}, ColourRow{-76, {0, 244, 255}, {0, 255, 20}},
        ColourRow{-87, {0, 132, 255}, {0, 255, 244}}, ColourRow{-88, {0, 122, 255}, {0, 244, 255}},
        ColourRow{-100, {0, 0, 255}, {0, 0, 255}},
        // Beyond the ramps: the nearest end.
        ColourRow{10, {255, 0, 0}, {255, 0, 0}}, ColourRow{-101, {0, 0, 255}, {0, 0, 255}},
        ColourRow{-2000, {0, 0, 255}, {0, 0, 255}},
        ColourRow{2147483647, {255, 0, 0}, {255, 0, 0}}));

class FrameTest : public ::testing::Test {
 protected:
  RecordingSurface data, wf;
  fakes::FakeWindow window;
  SpectrumDisplay display{data, wf, window, window};
};

struct FrameCase {
  std::int16_t bands;
  std::int16_t check;
  std::vector<int> scale;
  std::vector<float> rows;
  std::vector<float> columns;
};

class GraphFrameTest : public FrameTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(GraphFrameTest, GridForTheRange) {
  const FrameCase& c = GetParam();
  window.check = c.check;
  data.width = wf.width = 2;
  display.DrawGraphFrame(c.bands);
  EXPECT_EQ(data.clears, 1);
  EXPECT_EQ(wf.clears, 0);
  EXPECT_EQ(data.scale, c.scale);
  EXPECT_EQ(data.width, 1);
  EXPECT_EQ(wf.width, 1);
  const float w = c.bands * 320.0f;
  std::vector<Line> expected;
  for (float y : c.rows) expected.push_back({0, y, w, y, kPaletteGreen, 1});
  for (std::size_t k = 0; k < c.columns.size(); ++k) {
    expected.push_back(
        {c.columns[k], 0, c.columns[k], -100, k == 3 ? kPaletteMagenta : kPaletteGreen, 1});
  }
  EXPECT_EQ(data.lines, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, GraphFrameTest,
    ::testing::Values(
        FrameCase{1, 0, {0, 0, 320, -100}, {-20, -40, -60, -80}, {40, 80, 120, 160, 200, 240, 280}},
        FrameCase{
            1, 1, {0, -50, 320, -100}, {-60, -70, -80, -90}, {40, 80, 120, 160, 200, 240, 280}},
        // The third state frames the full range.
        FrameCase{1, 2, {0, 0, 320, -100}, {-20, -40, -60, -80}, {40, 80, 120, 160, 200, 240, 280}},
        FrameCase{102,
                  0,
                  {0, 0, 32640, -100},
                  {-20, -40, -60, -80},
                  {4080, 8160, 12240, 16320, 20400, 24480, 28560}}));

TEST_F(FrameTest, WaterfallScaleCentreLineAndLabels) {
  display.ScaleWaterfall(10, 5);
  EXPECT_EQ(wf.scale, (std::vector<int>{0, 0, 3200, 5}));
  EXPECT_EQ(wf.lines, (std::vector<Line>{{1600, 0, 1600, 5, kPaletteLightGrey, 1}}));
  display.ClearWaterfall();
  EXPECT_TRUE(wf.lines.empty());
  EXPECT_EQ(wf.scale, (std::vector<int>{0, 0, 3200, 5}));

  display.SetFrequencyLabels(450, 540);
  EXPECT_EQ(window.LabelText(ui::Label::Label17), "450MHz");
  EXPECT_EQ(window.LabelText(ui::Label::Label16), "495MHz");
  EXPECT_EQ(window.LabelText(ui::Label::Label18), "540MHz");
  ASSERT_EQ(window.labelHistory.size(), 6u);
  for (int i = 3; i < 6; ++i) EXPECT_EQ(window.labelHistory[i].second, "");
}

struct PassCase {
  const char* name;
  std::int16_t bands;
  std::int16_t line;
  std::int16_t check;
  Rgb minus60;  // the ramp the check value selects
};

class DrawPassTest : public FrameTest, public ::testing::WithParamInterface<PassCase> {};

TEST_P(DrawPassTest, BarsAndRows) {
  const PassCase& c = GetParam();
  window.check = c.check;
  measure::WFGrid grid;
  for (int b = 0; b < c.bands; ++b) {
    for (int i = 0; i < 320; ++i) grid.At(b, i) = "00";
  }
  grid.At(c.bands - 1, 0) = "-85.5 ";
  grid.At(c.bands - 1, 1) = "-84.5 ";
  grid.At(c.bands - 1, 2) = "-100 ";
  grid.At(c.bands - 1, 3) = "-60 ";
  grid.At(c.bands - 1, 4) = "1E20";  // beyond a Long: the top, not -100 dB
  grid.At(c.bands - 1, 5) = "-1E20";
  display.DrawPass(c.bands, c.line, grid);

  const int points = c.bands * 320;
  const std::size_t gridLines = 11;
  ASSERT_EQ(data.lines.size(), gridLines + points);
  ASSERT_EQ(wf.lines.size(), static_cast<std::size_t>(points));
  const int width = c.bands == 1 ? 2 : 1;
  const int first = (c.bands - 1) * 320;
  const Line bar = data.lines[gridLines + first];
  EXPECT_EQ(bar, (Line{float(first), -86, float(first), -100, kPaletteLightYellow, width}));
  EXPECT_EQ(data.lines[gridLines + first + 1].y1, -84);
  const Line row = wf.lines[first + 2];
  EXPECT_EQ(row, (Line{float(first + 2), float(c.line - 1), float(first + 2), float(c.line),
                       Rgb{0, 0, 255}, width}));
  EXPECT_EQ(wf.lines[first + 3].colour, c.minus60);
  EXPECT_EQ(display.ColorG, 0) << "fields keep the last point (0 dB)";
  EXPECT_GT(data.lines[gridLines + first + 4].y1, 0);
  EXPECT_EQ(wf.lines[first + 4].colour, (Rgb{255, 0, 0}));
  EXPECT_LT(data.lines[gridLines + first + 5].y1, -100);
  EXPECT_EQ(wf.lines[first + 5].colour, (Rgb{0, 0, 255}));
  // "00" counts as 0 dB: a full bar and a red segment.
  EXPECT_EQ(data.lines[gridLines + 10].y1, 0);
  EXPECT_EQ(wf.lines[10].colour, (Rgb{255, 0, 0}));
  // The last point drawn stays in the fields.
  EXPECT_EQ(display.LevelDB, 0);
}

INSTANTIATE_TEST_SUITE_P(Passes, DrawPassTest,
                         ::testing::Values(PassCase{"OneBandPass1", 1, 1, 0, {0, 255, 102}},
                                           PassCase{"ThreeBandsPass5", 3, 5, 1, {255, 204, 0}},
                                           // Full-range frame, -50 dB colours.
                                           PassCase{"ThirdStatePass2", 2, 2, 2, {255, 204, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameTest, BandTwoOfThreeLiesAt640To959) {
  measure::WFGrid grid;
  display.DrawPass(3, 1, grid);
  // Band index 2 of 0..2.
  EXPECT_EQ(wf.lines[640].x1, 640);
  EXPECT_EQ(wf.lines[959].x1, 959);
}

}  // namespace
}  // namespace kov::display
