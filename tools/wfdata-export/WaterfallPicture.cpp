#include "WaterfallPicture.h"

#include <algorithm>
#include <cmath>

#include "AxisTicks.h"
#include "PictureParts.h"
#include "TimeAxis.h"
#include "display/Palette.h"
#include "platform/Numbers.h"

namespace kov::wfexport {
namespace {

constexpr int kBarGap = 14;
constexpr int kBarWidth = 16;
constexpr int kRight = 84;      // the colour bar and its labels
constexpr int kTimeLeft = 100;  // room for "2026-12-08" left of the graph
constexpr int kPassRight = 48;  // pass numbers right of it, when time is on the left

struct Plot {
  int left, top, scaleX, scaleY, width, height;
};

void Cells(Canvas& canvas, const WaterfallImage& image, const LevelScale& scale, const Plot& p) {
  for (int row = 0; row < image.rows; ++row) {
    for (int col = 0; col < image.layout.columns; ++col) {
      const auto level = image.Level(col, row);
      canvas.Fill(p.left + col * p.scaleX, p.top + row * p.scaleY, p.scaleX, p.scaleY,
                  level ? scale.Colour(*level) : display::kWaterfallBackground);
    }
  }
}

// Pass numbers beside the graph: on its left, or with times on its right.
void PassTicks(Canvas& canvas, const WaterfallImage& image, const Plot& p, bool right) {
  const int tick = right ? p.left + p.width + 1 : p.left - 6;
  const double x = right ? p.left + p.width + 9 : p.left - 9;
  const auto align = right ? Canvas::Align::kLeft : Canvas::Align::kRight;
  for (const double pass :
       AxisTicks(image.firstPass, image.lastPass, std::max(1, p.height / 60), true)) {
    const double y = p.top + (pass - image.firstPass + 0.5) / image.passesPerRow * p.scaleY;
    canvas.Fill(tick, static_cast<int>(std::floor(y)), 5, 1, parts::kRule);
    canvas.Text(x, y + 4, platform::PlainNumber(pass), parts::kLabelSize, parts::kInk, align);
  }
  canvas.Text(x, p.top - 6, "pass", parts::kLabelSize, parts::kInk, align);
}

// The local time at which the passes began, with the date where it changes.
void TimeLabels(Canvas& canvas, const WaterfallImage& image, const TimesTable& times,
                const Plot& p) {
  const auto ticks = TimeTicks(times, image.firstPass, image.lastPass, std::max(1, p.height / 60));
  for (const TimeTick& t : ticks) {
    const double y = p.top + (t.pass - image.firstPass) / image.passesPerRow * p.scaleY;
    canvas.Fill(p.left - 6, static_cast<int>(std::floor(y)), 5, 1, parts::kRule);
    canvas.Text(p.left - 9, y + 4, t.time, parts::kLabelSize, parts::kInk, Canvas::Align::kRight);
    if (!t.date.empty()) {
      canvas.Text(p.left - 9, y + 18, t.date, parts::kLabelSize, parts::kInk,
                  Canvas::Align::kRight);
    }
  }
  const auto start = times.PassTime(image.firstPass);
  if (start) {
    canvas.Text(p.left - 9, p.top - 6, "local time", parts::kLabelSize, parts::kInk,
                Canvas::Align::kRight);
  }
}

void ColourBar(Canvas& canvas, const LevelScale& scale, const Plot& p, int gap) {
  const int x = p.left + p.width + gap;
  for (int y = 0; y < p.height; ++y) {
    const double level = scale.Top() - (y + 0.5) / p.height * (scale.Top() - scale.Bottom());
    canvas.Fill(x, p.top + y, kBarWidth, 1, scale.Colour(level));
  }
  parts::Outline(canvas, x, p.top, kBarWidth, p.height);
  const int labelsRight =
      x + kBarWidth + 6 + static_cast<int>(Canvas::TextWidth("-100.5 dB", parts::kLabelSize));
  parts::LevelLabels(canvas, scale, labelsRight, p.top, p.height);
}

std::string Detail(const WaterfallImage& image, const LevelScale& scale,
                   const FrequencyAxis& axis) {
  const std::int32_t first = image.layout.Begin(0);
  const std::int32_t points = image.layout.Begin(1) - first;
  std::string detail = parts::FrequencySpan(image.layout, axis) + ", " + scale.Name();
  if (points > 1 || image.passesPerRow > 1) {
    detail += "; a cell is the highest level of " + std::to_string(image.passesPerRow) +
              (image.passesPerRow > 1 ? " passes x " : " pass x ") + std::to_string(points) +
              (points > 1 ? " points" : " point");
    if (image.layout.points % image.layout.columns != 0) detail += " or so";
  }
  return detail;
}

}  // namespace

Canvas DrawWaterfall(const WaterfallImage& image, const LevelScale& scale,
                     const FrequencyAxis& axis, const std::string& title, int maxWidth,
                     int maxHeight, const TimesTable* times) {
  const int columns = std::max(image.layout.columns, 1), rows = std::max(image.rows, 1);
  Plot p{times != nullptr ? kTimeLeft : parts::kLeft,
         parts::kTop,
         std::max(1, maxWidth / columns),
         std::max(1, maxHeight / rows),
         0,
         0};
  p.width = columns * p.scaleX;
  p.height = rows * p.scaleY;
  const int gap = kBarGap + (times != nullptr ? kPassRight : 0);
  Canvas canvas(p.left + p.width + gap + kBarWidth + kRight, p.top + p.height + parts::kBottom,
                parts::kPaper);
  Cells(canvas, image, scale, p);
  parts::Outline(canvas, p.left, p.top, p.width, p.height);
  parts::FrequencyTicks(canvas, image.layout, axis, p.left, p.top + p.height, p.scaleX);
  PassTicks(canvas, image, p, times != nullptr);
  if (times != nullptr) TimeLabels(canvas, image, *times, p);
  ColourBar(canvas, scale, p, gap);
  parts::Title(canvas, title, Detail(image, scale, axis), p.left);
  return canvas;
}

}  // namespace kov::wfexport
