#pragma once

#include <QImage>
#include <functional>

#include "display/GraphSurface.h"

namespace kov::display {

// A graph drawn into an off-screen image, so that it keeps its drawing when
// the window is covered; the window only copies the image out when it paints.
// Horizontal and vertical lines (all the graphs draw) are written straight
// into the image: each covers exactly `width` pixel columns or rows.
class QImageSurface : public GraphSurface {
 public:
  QImageSurface(int widthPixels, int heightPixels, Rgb background);

  void Clear() override;
  void SetScale(int x1, int y1, int x2, int y2) override;
  void SetLineWidth(int pixels) override;
  void DrawLine(float x1, float y1, float x2, float y2, Rgb colour) override;

  const QImage& Image() const {
    Flush();
    return image_;
  }
  // Called after each change of the image (a repaint can be scheduled).
  std::function<void()> onChanged;

 private:
  double DeviceX(double x) const;
  double DeviceY(double y) const;
  void FillRect(int left, int top, int right, int bottom, QRgb colour) const;
  void Column(int col, int top, int bottom, QRgb colour);
  void Flush() const;
  void Changed();

  // A vertical line not yet written: consecutive lines in one column (about
  // 56 points share a column at 102 bands) are merged where the result is
  // the same, so each pixel is written about once instead of once per point.
  struct PendingColumn {
    bool active = false;
    int col = 0, top = 0, bottom = 0, width = 1;
    QRgb colour = 0;
  };
  mutable PendingColumn pending_;
  mutable QImage image_;
  Rgb background_;
  double x1_ = 0, y1_ = 0, x2_, y2_;
  double xFactor_ = 1, yFactor_ = 1;  // device pixels per user unit
  int lineWidth_ = 1;
};

}  // namespace kov::display
