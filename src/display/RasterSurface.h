#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "display/GraphSurface.h"

namespace kov::display {

// A graph drawn into 32-bit pixels held in memory (0xFFRRGGBB, rows top
// down): the layout of a Qt RGB32 image and of a top-down 32-bit Windows
// bitmap alike, so a front-end only copies the pixels to the screen. The
// pixels are the surface's own or memory the front-end hands it.
// Horizontal and vertical lines (all the graphs draw) cover exactly `width`
// pixel rows or columns; other lines take one pixel square a step.
class RasterSurface : public GraphSurface {
 public:
  RasterSurface(int widthPixels, int heightPixels, Rgb background, std::uint32_t* pixels = nullptr);
  RasterSurface(const RasterSurface&) = delete;
  RasterSurface& operator=(const RasterSurface&) = delete;

  void Clear() override;
  void SetScale(int x1, int y1, int x2, int y2) override;
  void SetLineWidth(int pixels) override;
  void DrawLine(float x1, float y1, float x2, float y2, Rgb colour) override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixels, every line drawn so far in them.
  const std::uint32_t* Pixels() const;
  std::uint32_t Pixel(int x, int y) const { return Pixels()[y * width_ + x]; }
  static std::uint32_t Packed(Rgb c) { return 0xFF000000u | c.r << 16 | c.g << 8 | c.b; }

  // Called after each change of the pixels (a repaint can be scheduled).
  std::function<void()> onChanged;

 private:
  double DeviceX(double x) const { return (x - x1_) * xFactor_; }
  double DeviceY(double y) const { return (y - y1_) * yFactor_; }
  void FillRect(int left, int top, int right, int bottom, std::uint32_t colour) const;
  void Column(int col, int top, int bottom, std::uint32_t colour);
  void Sloped(double x1, double y1, double x2, double y2, std::uint32_t colour) const;
  void Flush() const;
  void Changed();

  // A vertical line not yet written: consecutive lines in one column (about
  // 56 points share a column at 102 bands) are merged where the result is
  // the same, so each pixel is written about once instead of once per point.
  struct PendingColumn {
    bool active = false;
    int col = 0, top = 0, bottom = 0, width = 1;
    std::uint32_t colour = 0;
  };
  mutable PendingColumn pending_;
  int width_, height_;
  std::vector<std::uint32_t> own_;
  std::uint32_t* pixels_;
  Rgb background_;
  double x1_ = 0, y1_ = 0;
  double xFactor_ = 1, yFactor_ = 1;  // device pixels per user unit
  int lineWidth_ = 1;
};

}  // namespace kov::display
