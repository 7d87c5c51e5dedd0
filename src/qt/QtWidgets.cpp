#include "qt/QtWidgets.h"

#include <QPainter>
#include <utility>

namespace kov::qt {

GraphWidget::GraphWidget(QWidget* parent, const display::RasterSurface& surface,
                         std::function<void()> painted)
    : QWidget(parent), surface_(surface), painted_(std::move(painted)) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphWidget::paintEvent(QPaintEvent*) {
  // The surface's pixels are laid out as an RGB32 image: no copy.
  const QImage pixels(reinterpret_cast<const uchar*>(surface_.Pixels()), surface_.Width(),
                      surface_.Height(), surface_.Width() * 4, QImage::Format_RGB32);
  QPainter(this).drawImage(0, 0, pixels);
  painted_();
}

PressedCheckBox::PressedCheckBox(const QString& text, QWidget* parent,
                                 std::function<void()> pressed)
    : QCheckBox(text, parent), pressed_(std::move(pressed)) {}

void PressedCheckBox::nextCheckState() { pressed_(); }

}  // namespace kov::qt
