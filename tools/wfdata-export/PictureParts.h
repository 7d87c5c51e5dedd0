#pragma once

#include <string>

#include "Canvas.h"
#include "FrequencyAxis.h"
#include "LevelScale.h"
#include "PointLayout.h"

namespace kov::wfexport {

// What both pictures have around their graph.
namespace parts {

inline constexpr display::Rgb kPaper{255, 255, 255};
inline constexpr display::Rgb kInk{32, 32, 32};
inline constexpr display::Rgb kRule{128, 128, 128};
inline constexpr int kLeft = 64;    // room for the level or pass labels
inline constexpr int kTop = 52;     // for the title and the line under it
inline constexpr int kBottom = 44;  // for the frequency labels
inline constexpr double kLabelSize = 12;

// The title and one line of detail over the graph, from x.
void Title(Canvas& canvas, const std::string& title, const std::string& detail, int x = kLeft);
// A one-pixel line around the graph.
void Outline(Canvas& canvas, int x, int y, int w, int h);
// MHz ticks and labels under a graph of layout.columns x scale pixels.
void FrequencyTicks(Canvas& canvas, const PointLayout& layout, const FrequencyAxis& axis, int left,
                    int bottom, int scale);
// Labels beside the five rows of the level scale, from its top to its bottom,
// right-aligned to x; the labels' top row at y, their bottom row at y + h.
void LevelLabels(Canvas& canvas, const LevelScale& scale, int x, int y, int h);
// "450 to 1470 MHz" for the points of the layout.
std::string FrequencySpan(const PointLayout& layout, const FrequencyAxis& axis);

}  // namespace parts
}  // namespace kov::wfexport
