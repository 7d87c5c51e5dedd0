#include "qt/QtWidgets.h"

#include <QKeyEvent>
#include <QPainter>
#include <utility>

#include "window/InputRules.h"

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

EnterButton::EnterButton(const QString& text, QWidget* parent, std::function<bool()> enterPresses)
    : QPushButton(text, parent), enterPresses_(std::move(enterPresses)) {
  setAutoDefault(false);
  setDefault(false);
}

void EnterButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (enterPresses_()) click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void LevelCheckBox::nextCheckState() {
  const auto now = checkState() == Qt::Checked            ? window::CheckState::Checked
                   : checkState() == Qt::PartiallyChecked ? window::CheckState::Third
                                                          : window::CheckState::Clear;
  setTristate(false);
  setCheckState(window::NextCheckState(now) == window::CheckState::Checked ? Qt::Checked
                                                                           : Qt::Unchecked);
}

}  // namespace kov::qt
