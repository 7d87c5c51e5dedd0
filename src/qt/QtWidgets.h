#pragma once

#include <QCheckBox>
#include <QWidget>
#include <functional>

#include "display/RasterSurface.h"

namespace kov::qt {

// A graph: copies the surface's pixels to the screen, and takes no focus.
class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  GraphWidget(QWidget* parent, const display::RasterSurface& surface,
              std::function<void()> painted);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const display::RasterSurface& surface_;
  std::function<void()> painted_;
};

// A check box that does not change its state when pressed: it reports the
// press, and the state is set from outside.
class PressedCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  PressedCheckBox(const QString& text, QWidget* parent, std::function<void()> pressed);

 protected:
  void nextCheckState() override;

 private:
  std::function<void()> pressed_;
};

}  // namespace kov::qt
