#include "Canvas.h"

#include <algorithm>

#include "Font.h"

namespace kov::wfexport {

Canvas::Canvas(int width, int height, display::Rgb background) : width_(width), height_(height) {
  bytes_.resize(static_cast<std::size_t>(width) * height * 3);
  Fill(0, 0, width, height, background);
}

display::Rgb Canvas::At(int x, int y) const {
  const std::uint8_t* p = &bytes_[(static_cast<std::size_t>(y) * width_ + x) * 3];
  return {p[0], p[1], p[2]};
}

void Canvas::Fill(int x, int y, int w, int h, display::Rgb colour) {
  const int left = std::max(x, 0), right = std::min(x + w, width_);
  const int top = std::max(y, 0), bottom = std::min(y + h, height_);
  for (int row = top; row < bottom; ++row) {
    for (int col = left; col < right; ++col) {
      std::uint8_t* p = Pixel(col, row);
      p[0] = colour.r;
      p[1] = colour.g;
      p[2] = colour.b;
    }
  }
}

void Canvas::Blend(int x, int y, display::Rgb colour, std::uint8_t alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* p = Pixel(x, y);
  const auto mix = [alpha](std::uint8_t under, std::uint8_t over) {
    return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
  };
  p[0] = mix(p[0], colour.r);
  p[1] = mix(p[1], colour.g);
  p[2] = mix(p[2], colour.b);
}

double Canvas::TextWidth(std::string_view text, double size) {
  return Font::Sans().Width(text, size);
}

void Canvas::Text(double x, double y, std::string_view text, double size, display::Rgb colour,
                  Align align) {
  if (align != Align::kLeft) {
    const double width = TextWidth(text, size);
    x -= align == Align::kCentre ? width / 2 : width;
  }
  Font::Sans().Render(text, size, x, y,
                      [&](int px, int py, std::uint8_t alpha) { Blend(px, py, colour, alpha); });
}

void Canvas::Copy(const display::RasterSurface& surface, int x, int y) {
  const std::uint32_t* pixels = surface.Pixels();
  for (int row = 0; row < surface.Height(); ++row) {
    for (int col = 0; col < surface.Width(); ++col) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(row) * surface.Width() + col];
      Fill(x + col, y + row, 1, 1,
           {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p)});
    }
  }
}

}  // namespace kov::wfexport
