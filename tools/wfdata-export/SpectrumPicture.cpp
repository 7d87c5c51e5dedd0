#include "SpectrumPicture.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "PictureParts.h"
#include "PointLayout.h"
#include "display/Palette.h"
#include "display/RasterSurface.h"

namespace kov::wfexport {
namespace {

constexpr int kGraphHeight = 400;
constexpr int kRight = 24;
constexpr display::Rgb kMaxHold = display::kPaletteLightYellow;
constexpr display::Rgb kMean{255, 255, 255};
constexpr display::Rgb kMinHold{0, 255, 255};

// The three traces at one column of the graph; none where no point had data.
struct Column {
  std::optional<double> max, mean, min;
};

std::vector<Column> Columns(const PointStatistics& statistics, const PointLayout& layout) {
  std::vector<Column> columns(static_cast<std::size_t>(layout.columns));
  for (int c = 0; c < layout.columns; ++c) {
    double max = 0, min = 0, sum = 0;
    std::uint64_t n = 0;
    for (std::int32_t p = layout.Begin(c); p < layout.Begin(c + 1); ++p) {
      const PointStats& s = statistics.At(p);
      if (s.withData == 0) continue;
      max = n == 0 ? s.max : std::max(max, s.max);
      min = n == 0 ? s.min : std::min(min, s.min);
      sum += s.sum;
      n += s.withData;
    }
    if (n > 0) columns[static_cast<std::size_t>(c)] = {max, sum / n, min};
  }
  return columns;
}

// The program's frame, drawn as its spectrum graph draws it.
void Grid(display::RasterSurface& graph) {
  const auto w = static_cast<float>(graph.Width()), h = static_cast<float>(graph.Height());
  for (int k = 1; k <= 4; ++k) {
    graph.DrawLine(0, h * k / 5, w, h * k / 5, display::kPaletteGreen);
  }
  for (int k = 1; k <= 7; ++k) {
    const float x = w * k / 8;
    graph.DrawLine(x, 0, x, h, k == 4 ? display::kPaletteMagenta : display::kPaletteGreen);
  }
}

void Trace(display::RasterSurface& graph, const std::vector<Column>& columns,
           std::optional<double> Column::*trace, display::Rgb colour, const LevelScale& scale,
           int scaleX) {
  const auto bottom = static_cast<float>(graph.Height() - 1);
  const auto y = [&](double level) {
    const double place = (scale.Top() - level) / (scale.Top() - scale.Bottom()) * graph.Height();
    return std::clamp(static_cast<float>(place), 0.0f, bottom);  // beyond the scale: at its edge
  };
  const auto x = [&](std::size_t c) { return static_cast<float>(c * scaleX) + scaleX / 2.0f; };
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const auto& here = columns[c].*trace;
    if (!here) continue;
    const bool before = c > 0 && (columns[c - 1].*trace).has_value();
    if (c + 1 < columns.size() && (columns[c + 1].*trace).has_value()) {
      graph.DrawLine(x(c), y(*here), x(c + 1), y(*(columns[c + 1].*trace)), colour);
    } else if (!before) {
      graph.DrawLine(x(c), y(*here), x(c), y(*here), colour);  // a point alone
    }
  }
}

void Legend(Canvas& canvas, int right, int top) {
  const std::pair<const char*, display::Rgb> entries[] = {
      {"max-hold", kMaxHold}, {"mean", kMean}, {"min-hold", kMinHold}};
  double x = right - 8;
  for (auto it = std::rbegin(entries); it != std::rend(entries); ++it) {
    canvas.Text(x, top + 16, it->first, parts::kLabelSize, it->second, Canvas::Align::kRight);
    x -= Canvas::TextWidth(it->first, parts::kLabelSize) + 12;
  }
}

}  // namespace

Canvas DrawSpectrum(const PointStatistics& statistics, const LevelScale& scale,
                    const FrequencyAxis& axis, const std::string& title, int maxWidth) {
  const PointLayout layout =
      PointLayout::Of(statistics.FirstPoint(), statistics.LastPointSeen(), maxWidth);
  const int columns = std::max(layout.columns, 1);
  const int scaleX = std::max(1, maxWidth / columns);
  display::RasterSurface graph(columns * scaleX, kGraphHeight, display::kSpectrumBackground);
  Grid(graph);
  const std::vector<Column> traces = Columns(statistics, layout);
  Trace(graph, traces, &Column::min, kMinHold, scale, scaleX);
  Trace(graph, traces, &Column::mean, kMean, scale, scaleX);
  Trace(graph, traces, &Column::max, kMaxHold, scale, scaleX);

  Canvas canvas(parts::kLeft + graph.Width() + kRight, parts::kTop + kGraphHeight + parts::kBottom,
                parts::kPaper);
  canvas.Copy(graph, parts::kLeft, parts::kTop);
  parts::Outline(canvas, parts::kLeft, parts::kTop, graph.Width(), kGraphHeight);
  Legend(canvas, parts::kLeft + graph.Width(), parts::kTop);
  parts::FrequencyTicks(canvas, layout, axis, parts::kLeft, parts::kTop + kGraphHeight, scaleX);
  parts::LevelLabels(canvas, scale, parts::kLeft - 9, parts::kTop, kGraphHeight);
  parts::Title(canvas, title, parts::FrequencySpan(layout, axis) + ", " + scale.Name());
  return canvas;
}

}  // namespace kov::wfexport
