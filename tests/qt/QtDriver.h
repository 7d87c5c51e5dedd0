#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <ctime>
#include <memory>

#include "WindowContract.h"
#include "qt/QtWindow.h"

namespace kov::testing {

// The Qt window, offscreen, fed input as the window system would feed it.
class QtDriver : public WindowDriver {
 public:
  bool Open(window::HostWorld world) override {
    form_ = std::make_unique<qt::QtWindow>(
        std::move(world), [this](std::string_view c, std::string_view t) {
          messages_.push_back(std::string(c) + "|" + std::string(t));
        });
    const bool loaded = form_->Load();
    if (loaded) form_->show();
    return loaded;
  }
  window::Host& Host() override { return form_->Host(); }
  window::Toolkit& Toolkit() override { return *form_; }
  bool Visible() override { return form_->isVisible(); }
  std::string Caption() override { return form_->windowTitle().toStdString(); }
  Rect Geometry(Control control) override {
    const QRect r = Widget(control)->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
  }
  Rect Client() override { return {0, 0, form_->width(), form_->height()}; }
  bool Resizable() override { return form_->minimumSize() != form_->maximumSize(); }
  bool Enabled(Control control) override { return Widget(control)->isEnabled(); }

  void Key(testing::Key key) override {
    static constexpr Qt::Key kKeys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape,
                                        Qt::Key_Space,  Qt::Key_Tab,   Qt::Key_Backtab};
    const Qt::Key k = kKeys[static_cast<int>(key)];
    const Qt::KeyboardModifiers mods = key == Key::Backtab ? Qt::ShiftModifier : Qt::NoModifier;
    QKeyEvent down(QEvent::KeyPress, k, mods);
    QKeyEvent up(QEvent::KeyRelease, k, mods);
    // To the window, which hands it on to the control with the focus.
    QApplication::sendEvent(form_->windowHandle(), &down);
    QApplication::sendEvent(form_->windowHandle(), &up);
  }
  void PostClick(Control control, std::uint32_t agoMs) override {
    const QPointF at = Widget(control)->geometry().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      auto* click = new QMouseEvent(
          type, at, form_->mapToGlobal(at), Qt::LeftButton,
          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      click->setTimestamp(form_->InputClockMs() - agoMs);
      QCoreApplication::postEvent(form_->windowHandle(), click);
    }
  }
  void Press(Control control) override { static_cast<QAbstractButton*>(Widget(control))->click(); }
  void Close() override { form_->close(); }
  Image Shown(Control control) override {
    const QRect r = Widget(control)->geometry();
    const QImage grab =
        form_->screen()->grabWindow(form_->winId(), r.x(), r.y(), r.width(), r.height()).toImage();
    Image image{grab.width(), grab.height(), {}};
    for (int y = 0; y < grab.height(); ++y) {
      for (int x = 0; x < grab.width(); ++x) image.pixels.push_back(grab.pixel(x, y) & 0xFFFFFF);
    }
    return image;
  }
  bool RunUntil(const std::function<bool()>& done, int timeoutMs) override {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (done()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done()) loop.exec();
    return done();
  }
  void WhenThen(std::function<bool()> when, std::function<void()> action) override {
    auto* t = new QTimer(form_.get());
    QObject::connect(t, &QTimer::timeout, [t, when, action] {
      if (!when()) return;
      t->stop();
      action();
    });
    t->start(2);
  }
  std::vector<std::string> Messages() override { return messages_; }

  qt::QtWindow& Form() { return *form_; }
  // The control by its name, as a tool sees the window.
  QWidget* Widget(Control control) {
    return form_->findChild<QWidget*>(QString::fromUtf8(RowOf(control).name));
  }

 private:
  std::unique_ptr<qt::QtWindow> form_;
  std::vector<std::string> messages_;
};

}  // namespace kov::testing
