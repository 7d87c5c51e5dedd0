#pragma once

#include <cstdint>

namespace kov::display {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A drawing area with a fixed background colour, a user coordinate system and
// a line width in device pixels. SetScale makes (x1, y1) the top-left and
// (x2, y2) the bottom-right corner (y grows upwards when y2 < y1); lines
// outside the area are clipped.
class GraphSurface {
 public:
  virtual ~GraphSurface() = default;
  // Fills the area with the background colour; scale and line width stay.
  virtual void Clear() = 0;
  virtual void SetScale(int x1, int y1, int x2, int y2) = 0;
  virtual void SetLineWidth(int pixels) = 0;
  virtual void DrawLine(float x1, float y1, float x2, float y2, Rgb colour) = 0;
};

}  // namespace kov::display
