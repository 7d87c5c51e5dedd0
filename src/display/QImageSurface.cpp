#include "display/QImageSurface.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kov::display {
namespace {

QRgb ToQRgb(Rgb c) { return qRgb(c.r, c.g, c.b); }

// Pixel index of a device coordinate, kept within int for any user value.
int Pixel(double v) { return static_cast<int>(std::clamp(std::floor(v), -1e6, 1e6)); }

}  // namespace

QImageSurface::QImageSurface(int widthPixels, int heightPixels, Rgb background)
    : image_(widthPixels, heightPixels, QImage::Format_RGB32),
      background_(background),
      x2_(widthPixels),
      y2_(heightPixels) {
  SetScale(0, 0, widthPixels, heightPixels);
  image_.fill(ToQRgb(background_));
}

void QImageSurface::Clear() {
  pending_.active = false;
  image_.fill(ToQRgb(background_));
  Changed();
}

void QImageSurface::SetScale(int x1, int y1, int x2, int y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  xFactor_ = x2_ == x1_ ? 0 : image_.width() / (x2_ - x1_);
  yFactor_ = y2_ == y1_ ? 0 : image_.height() / (y2_ - y1_);
}

void QImageSurface::SetLineWidth(int pixels) { lineWidth_ = std::max(pixels, 1); }

double QImageSurface::DeviceX(double x) const { return (x - x1_) * xFactor_; }

double QImageSurface::DeviceY(double y) const { return (y - y1_) * yFactor_; }

void QImageSurface::FillRect(int left, int top, int right, int bottom, QRgb colour) const {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image_.width());
  bottom = std::min(bottom, image_.height());
  if (left >= right || top >= bottom) return;
  // One detach for the whole rectangle, then plain stores: a pass draws
  // tens of thousands of these.
  uchar* bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine();
  for (int y = top; y < bottom; ++y) {
    auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
    std::fill(row + left, row + right, colour);
  }
}

void QImageSurface::DrawLine(float x1, float y1, float x2, float y2, Rgb colour) {
  const double dx1 = DeviceX(x1), dx2 = DeviceX(x2);
  const double dy1 = DeviceY(y1), dy2 = DeviceY(y2);
  const QRgb c = ToQRgb(colour);
  if (x1 == x2) {
    // A vertical line: `width` columns from the one holding x, rows from the
    // upper end up to (not including) the lower end, at least one.
    const int col = Pixel(dx1);
    const int top = Pixel(std::min(dy1, dy2));
    const int bottom = std::max(Pixel(std::max(dy1, dy2)), top + 1);
    Column(col, top, bottom, c);
  } else if (y1 == y2) {
    Flush();
    const int row = Pixel(dy1);
    const int left = Pixel(std::min(dx1, dx2));
    const int right = std::max(Pixel(std::max(dx1, dx2)), left + 1);
    FillRect(left, row, right, row + lineWidth_, c);
  } else {
    // Any other line: aliased, with a cosmetic pen of the line width, in
    // device coordinates (no uneven transform to widen it).
    Flush();
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen{QColor(c)};
    pen.setWidth(lineWidth_);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(QPointF(dx1, dy1), QPointF(dx2, dy2));
  }
  Changed();
}

void QImageSurface::Column(int col, int top, int bottom, QRgb colour) {
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

void QImageSurface::Flush() const {
  if (!pending_.active) return;
  pending_.active = false;
  FillRect(pending_.col, pending_.top, pending_.col + pending_.width, pending_.bottom,
           pending_.colour);
}

void QImageSurface::Changed() {
  if (onChanged) onChanged();
}

}  // namespace kov::display
