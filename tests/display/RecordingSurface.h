#pragma once

#include <string>
#include <vector>

#include "display/GraphSurface.h"

namespace kov::testing {

// Keeps every call as data so a test can compare what was drawn.
class RecordingSurface : public display::GraphSurface {
 public:
  struct Line {
    float x1, y1, x2, y2;
    display::Rgb colour;
    int width;
    bool operator==(const Line&) const = default;
  };
  void Clear() override {
    lines.clear();
    ++clears;
  }
  void SetScale(int x1, int y1, int x2, int y2) override { scale = {x1, y1, x2, y2}; }
  void SetLineWidth(int pixels) override { width = pixels; }
  void DrawLine(float x1, float y1, float x2, float y2, display::Rgb colour) override {
    lines.push_back({x1, y1, x2, y2, colour, width});
  }

  std::vector<int> scale;
  int width = 1;
  int clears = 0;
  std::vector<Line> lines;
};

}  // namespace kov::testing
