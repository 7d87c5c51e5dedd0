#include "qt/QtWindow.h"

#include <time.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "display/Palette.h"
#include "window/Layout.h"

namespace kov::qt {
namespace {

using window::Kind;
using window::Pixels;

// Qt lays widgets out in pixels of 96 per inch and scales them itself.
constexpr int kDpi = 96;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont DesignFont(double pointSize) {
  QFont font;
  QStringList families;
  for (const char* f : window::kFontFamilies) families << QString::fromUtf8(f);
  font.setFamilies(families);
  font.setPointSizeF(pointSize);
  font.setWeight(QFont::Normal);
  return font;
}

int GraphPixels(int twips) { return Pixels(twips, kDpi); }

const window::ControlSpec& Graph(const char* name) { return *window::FindControl(name); }

}  // namespace

QtWindow::QtWindow(window::HostWorld world, MessageBox showMessage)
    : QWidget(nullptr),
      showMessage_(std::move(showMessage)),
      dataSurface_(GraphPixels(Graph(window::kSpectrumGraph).width),
                   GraphPixels(Graph(window::kSpectrumGraph).height), display::kSpectrumBackground),
      wfSurface_(GraphPixels(Graph(window::kWaterfallGraph).width),
                 GraphPixels(Graph(window::kWaterfallGraph).height),
                 display::kWaterfallBackground) {
  setObjectName(window::kFormName);
  setWindowTitle(QString::fromUtf8(window::kCaption));
  // Nothing in the program reacts to a change of size.
  setFixedSize(Pixels(window::kClientWidthTwips, kDpi), Pixels(window::kClientHeightTwips, kDpi));
  for (const window::ControlSpec& c : window::kControls) {
    QWidget* w = MakeControl(c);
    w->setObjectName(c.name);
    w->setGeometry(Pixels(c.left, kDpi), Pixels(c.top, kDpi), Pixels(c.width, kDpi),
                   Pixels(c.height, kDpi));
    if (c.pointSize > 0) w->setFont(DesignFont(c.pointSize));
    byName_[c.name] = w;
  }
  for (std::size_t i = 0; i + 1 < std::size(window::kTabOrder); ++i) {
    setTabOrder(Control(window::kTabOrder[i]), Control(window::kTabOrder[i + 1]));
  }
  host_ = std::make_unique<window::Host>(
      *this, std::move(world),
      window::HostParts{dataSurface_, wfSurface_, timer1_, timer3_, timer4_});
  waitLimit_.setSingleShot(true);
  // Input is watched on the window itself, before it reaches a control.
  create();
  windowHandle()->installEventFilter(this);
}

QWidget* QtWindow::MakeControl(const window::ControlSpec& c) {
  const QString text = QString::fromUtf8(c.text);
  switch (c.kind) {
    case Kind::Label: {
      auto* label = new QLabel(text, this);
      label->setFocusPolicy(Qt::NoFocus);
      return label;
    }
    case Kind::Entry:
      return new QLineEdit(text, this);
    case Kind::Status:
      text1_ = new QPlainTextEdit(this);
      text1_->setReadOnly(true);
      text1_->setTabChangesFocus(true);
      text1_->setFocusPolicy(Qt::TabFocus);
      return text1_;
    case Kind::Check:
      chk1_ = new LevelCheckBox(text, this);
      return chk1_;
    case Kind::Button: {
      const std::string name = c.name;
      auto* button =
          new EnterButton(text, this, [this, name] { return host_->EnterPresses(name); });
      connect(button, &QPushButton::clicked, this, [this, name] { host_->Clicked(name); });
      return button;
    }
    case Kind::Graph: {
      const std::string name = c.name;
      const bool data = name == window::kSpectrumGraph;
      return new GraphWidget(this, data ? dataSurface_ : wfSurface_, [this, name] {
        if (host_) host_->GraphPainted(name);
      });
    }
  }
  return nullptr;
}

QWidget* QtWindow::Control(std::string_view name) const { return byName_.find(name)->second; }

const display::RasterSurface& QtWindow::Surface(std::string_view graph) const {
  return graph == window::kSpectrumGraph ? dataSurface_ : wfSurface_;
}

std::string QtWindow::Text(std::string_view control) const {
  QWidget* w = Control(control);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
  return text1_->toPlainText().toStdString();
}

void QtWindow::SetText(std::string_view control, std::string_view text) {
  QWidget* w = Control(control);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->setText(Q(text));
  if (auto* label = qobject_cast<QLabel*>(w)) return label->setText(Q(text));
  text1_->setPlainText(Q(text));
}

void QtWindow::PaintNow(std::string_view control) {
  QWidget* w = Control(control);
  (w == text1_ ? text1_->viewport() : w)->repaint();
}

void QtWindow::RequestPaint(std::string_view graph) { Control(graph)->update(); }

void QtWindow::SetEnabled(std::string_view button, bool enabled) {
  Control(button)->setEnabled(enabled);
}

window::CheckState QtWindow::Check() const {
  switch (chk1_->checkState()) {
    case Qt::Checked:
      return window::CheckState::Checked;
    case Qt::PartiallyChecked:
      return window::CheckState::Third;
    default:
      return window::CheckState::Clear;
  }
}

void QtWindow::SetCheck(window::CheckState state) {
  chk1_->setTristate(state == window::CheckState::Third);
  chk1_->setCheckState(state == window::CheckState::Third     ? Qt::PartiallyChecked
                       : state == window::CheckState::Checked ? Qt::Checked
                                                              : Qt::Unchecked);
}

std::string QtWindow::Focused() const {
  const QWidget* w = focusWidget();
  return w == nullptr || w == this ? std::string() : w->objectName().toStdString();
}

void QtWindow::Focus(std::string_view control) {
  // setFocus works whatever the focus policy: the form itself takes the
  // focus only this way, never by a click or Tab.
  (control.empty() ? static_cast<QWidget*>(this) : Control(control))
      ->setFocus(Qt::OtherFocusReason);
}

void QtWindow::ShowMessage(std::string_view caption, std::string_view text) {
  if (showMessage_) return showMessage_(Q(caption), Q(text));
  QMessageBox box(QMessageBox::NoIcon, Q(caption), Q(text), QMessageBox::Ok);
  box.exec();
}

void QtWindow::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtWindow::WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) {
  // The event loop sleeps until the socket, the time-out or the window's own
  // events wake it, and runs what woke it. The notifier is made once for a
  // socket and watches it only during a wait: what a peer leaves on the
  // socket in between must not keep waking the window.
  const auto fd = static_cast<qintptr>(socket);
  if (!readable_ || readable_->socket() != fd) {
    readable_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  }
  readable_->setEnabled(true);
  waitLimit_.start(timeoutMs);
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  waitLimit_.stop();
  readable_->setEnabled(false);
}

void QtWindow::Hide() { hide(); }

void QtWindow::Quit() { QCoreApplication::quit(); }

std::uint32_t QtWindow::InputClockMs() const {
  // X servers and Wayland compositors stamp input with the monotonic clock.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

void QtWindow::closeEvent(QCloseEvent* event) {
  host_->Closed();
  event->accept();
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != windowHandle()) return QWidget::eventFilter(watched, event);
  const QWidget* target = nullptr;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      target = childAt(static_cast<QMouseEvent*>(event)->position().toPoint());
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      target = focusWidget();
      break;
    default:
      return false;
  }
  const auto madeAt = static_cast<std::uint32_t>(static_cast<QInputEvent*>(event)->timestamp());
  return target != nullptr && !host_->Accepts(target->objectName().toStdString(), madeAt);
}

bool QtWindow::focusNextPrevChild(bool next) {
  return host_->Tab(next) || QWidget::focusNextPrevChild(next);
}

}  // namespace kov::qt
