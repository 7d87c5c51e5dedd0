#pragma once

#include <QCheckBox>
#include <QPushButton>
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

// A push button that asks whether Enter presses it.
class EnterButton : public QPushButton {
  Q_OBJECT

 public:
  EnterButton(const QString& text, QWidget* parent, std::function<bool()> enterPresses);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<bool()> enterPresses_;
};

// The level check box: a click leaves the third state for checked.
class LevelCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override;
};

}  // namespace kov::qt
