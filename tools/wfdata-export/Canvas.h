#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "display/GraphSurface.h"
#include "display/RasterSurface.h"

namespace kov::wfexport {

// A picture in 24-bit RGB, rows top down, with text in the built-in font.
class Canvas {
 public:
  enum class Align { kLeft, kCentre, kRight };

  Canvas(int width, int height, display::Rgb background);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  display::Rgb At(int x, int y) const;

  // Outside the picture nothing is drawn.
  void Fill(int x, int y, int w, int h, display::Rgb colour);
  void Blend(int x, int y, display::Rgb colour, std::uint8_t alpha);
  // Text of `size` pixels, its baseline at y, aligned to x.
  void Text(double x, double y, std::string_view text, double size, display::Rgb colour,
            Align align = Align::kLeft);
  static double TextWidth(std::string_view text, double size);
  // The surface's pixels with their top left corner at (x, y).
  void Copy(const display::RasterSurface& surface, int x, int y);

 private:
  std::uint8_t* Pixel(int x, int y) {
    return &bytes_[(static_cast<std::size_t>(y) * width_ + x) * 3];
  }

  int width_, height_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace kov::wfexport
