#include "PictureParts.h"

#include <algorithm>
#include <cmath>

#include "AxisTicks.h"
#include "platform/Numbers.h"

namespace kov::wfexport::parts {

void Title(Canvas& canvas, const std::string& title, const std::string& detail, int x) {
  canvas.Text(x, 20, title, 15, kInk);
  canvas.Text(x, 38, detail, kLabelSize, kInk);
}

void Outline(Canvas& canvas, int x, int y, int w, int h) {
  canvas.Fill(x - 1, y - 1, w + 2, 1, kRule);
  canvas.Fill(x - 1, y + h, w + 2, 1, kRule);
  canvas.Fill(x - 1, y - 1, 1, h + 2, kRule);
  canvas.Fill(x + w, y - 1, 1, h + 2, kRule);
}

void FrequencyTicks(Canvas& canvas, const PointLayout& layout, const FrequencyAxis& axis, int left,
                    int bottom, int scale) {
  const int width = layout.columns * scale;
  const double low = axis.MHz(layout.firstPoint);
  const double high = axis.MHz(layout.firstPoint + layout.points - 1);
  for (const double mhz : AxisTicks(low, high, std::max(1, width / 90))) {
    const double point = (mhz - axis.startMHz) / FrequencyAxis::kStepMHz + 1;
    const double x = left + layout.Place(point) * scale;
    canvas.Fill(static_cast<int>(std::floor(x)), bottom + 1, 1, 5, kRule);
    canvas.Text(x, bottom + 19, platform::PlainNumber(mhz), kLabelSize, kInk,
                Canvas::Align::kCentre);
  }
  canvas.Text(left + width / 2.0, bottom + 37, "frequency (MHz)", kLabelSize, kInk,
              Canvas::Align::kCentre);
}

void LevelLabels(Canvas& canvas, const LevelScale& scale, int x, int y, int h) {
  for (int k = 0; k <= 5; ++k) {
    const double level = scale.Top() - k * (scale.Top() - scale.Bottom()) / 5;
    const double row = y + static_cast<double>(h) * k / 5;
    canvas.Text(x, row + 4, platform::PlainNumber(std::round(level * 10) / 10) + " dB", kLabelSize,
                kInk, Canvas::Align::kRight);
  }
}

std::string FrequencySpan(const PointLayout& layout, const FrequencyAxis& axis) {
  return platform::PlainNumber(axis.MHz(layout.firstPoint)) + " to " +
         platform::PlainNumber(axis.MHz(layout.firstPoint + layout.points - 1)) + " MHz";
}

}  // namespace kov::wfexport::parts
