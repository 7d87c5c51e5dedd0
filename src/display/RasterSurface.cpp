#include "display/RasterSurface.h"

#include <algorithm>
#include <cmath>

namespace kov::display {
namespace {

// Pixel index of a device coordinate, kept within int for any user value.
int DevicePixel(double v) { return static_cast<int>(std::clamp(std::floor(v), -1e6, 1e6)); }

}  // namespace

RasterSurface::RasterSurface(int widthPixels, int heightPixels, Rgb background,
                             std::uint32_t* pixels)
    : width_(widthPixels),
      height_(heightPixels),
      own_(pixels == nullptr ? static_cast<std::size_t>(widthPixels) * heightPixels : 0),
      pixels_(pixels == nullptr ? own_.data() : pixels),
      background_(background) {
  SetScale(0, 0, widthPixels, heightPixels);
  std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, Packed(background_));
}

const std::uint32_t* RasterSurface::Pixels() const {
  Flush();
  return pixels_;
}

void RasterSurface::Clear() {
  pending_.active = false;
  std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, Packed(background_));
  Changed();
}

void RasterSurface::SetScale(int x1, int y1, int x2, int y2) {
  x1_ = x1;
  y1_ = y1;
  xFactor_ = x2 == x1 ? 0 : static_cast<double>(width_) / (x2 - x1);
  yFactor_ = y2 == y1 ? 0 : static_cast<double>(height_) / (y2 - y1);
}

void RasterSurface::SetLineWidth(int pixels) { lineWidth_ = std::max(pixels, 1); }

void RasterSurface::FillRect(int left, int top, int right, int bottom, std::uint32_t colour) const {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row = pixels_ + static_cast<std::size_t>(y) * width_;
    std::fill(row + left, row + right, colour);
  }
}

void RasterSurface::DrawLine(float x1, float y1, float x2, float y2, Rgb colour) {
  const double dx1 = DeviceX(x1), dx2 = DeviceX(x2);
  const double dy1 = DeviceY(y1), dy2 = DeviceY(y2);
  const std::uint32_t c = Packed(colour);
  if (x1 == x2) {
    // `width` columns from the one holding x, rows from the upper end up to
    // (not including) the lower end, at least one.
    const int top = DevicePixel(std::min(dy1, dy2));
    Column(DevicePixel(dx1), top, std::max(DevicePixel(std::max(dy1, dy2)), top + 1), c);
  } else if (y1 == y2) {
    Flush();
    const int row = DevicePixel(dy1);
    const int left = DevicePixel(std::min(dx1, dx2));
    FillRect(left, row, std::max(DevicePixel(std::max(dx1, dx2)), left + 1), row + lineWidth_, c);
  } else {
    Flush();
    Sloped(dx1, dy1, dx2, dy2, c);
  }
  Changed();
}

void RasterSurface::Sloped(double x1, double y1, double x2, double y2, std::uint32_t colour) const {
  // Bresenham between the end pixels, both included: one pixel square a step
  // along the longer axis.
  int x = DevicePixel(x1), y = DevicePixel(y1);
  const int xEnd = DevicePixel(x2), yEnd = DevicePixel(y2);
  const int dx = std::abs(xEnd - x), dy = -std::abs(yEnd - y);
  const int sx = x < xEnd ? 1 : -1, sy = y < yEnd ? 1 : -1;
  for (int error = dx + dy;;) {
    FillRect(x, y, x + lineWidth_, y + lineWidth_, colour);
    if (x == xEnd && y == yEnd) return;
    const int twice = 2 * error;
    if (twice >= dy) error += dy, x += sx;
    if (twice <= dx) error += dx, y += sy;
  }
}

void RasterSurface::Column(int col, int top, int bottom, std::uint32_t colour) {
  PendingColumn& p = pending_;
  if (p.active && p.col == col && p.width == lineWidth_) {
    if (top <= p.top && bottom >= p.bottom) {
      // The new line hides the pending one entirely.
      p.top = top;
      p.bottom = bottom;
      p.colour = colour;
      return;
    }
    if (colour == p.colour && bottom == p.bottom) {
      p.top = std::min(p.top, top);
      return;
    }
  }
  Flush();
  p = PendingColumn{true, col, top, bottom, lineWidth_, colour};
}

void RasterSurface::Flush() const {
  if (!pending_.active) return;
  pending_.active = false;
  FillRect(pending_.col, pending_.top, pending_.col + pending_.width, pending_.bottom,
           pending_.colour);
}

void RasterSurface::Changed() {
  if (onChanged) onChanged();
}

}  // namespace kov::display
