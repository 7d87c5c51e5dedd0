#include "qt/QtWindow.h"

#include <time.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <utility>

namespace kov::qt {
namespace {

using window::Control;
using window::InputEvent;
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

display::RasterSurface Surface(window::Graph graph) {
  const window::GraphPixels pixels = window::PixelsOf(graph, kDpi);
  return display::RasterSurface(pixels.width, pixels.height, pixels.background);
}

InputEvent::Key KeyOf(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return InputEvent::Key::Return;
    case Qt::Key_Escape:
      return InputEvent::Key::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return InputEvent::Key::Tab;
    default:
      return InputEvent::Key::Other;
  }
}

}  // namespace

QtWindow::QtWindow(window::HostWorld world, window::MessageHook showMessage)
    : QWidget(nullptr),
      dataSurface_(Surface(window::Graph::Spectrum)),
      wfSurface_(Surface(window::Graph::Waterfall)) {
  setObjectName(window::kFormName);
  setWindowTitle(QString::fromUtf8(window::kCaption));
  // Nothing in the program reacts to a change of size.
  setFixedSize(Pixels(window::kClientWidthTwips, kDpi), Pixels(window::kClientHeightTwips, kDpi));
  for (const window::ControlRow& c : window::kControls) {
    QWidget* w = MakeControl(c);
    w->setObjectName(c.name);
    w->setGeometry(Pixels(c.left, kDpi), Pixels(c.top, kDpi), Pixels(c.width, kDpi),
                   Pixels(c.height, kDpi));
    if (c.pointSize > 0) w->setFont(DesignFont(c.pointSize));
    widgets_[static_cast<std::size_t>(c.id)] = w;
  }
  for (std::size_t i = 0; i + 1 < std::size(window::kTabOrder); ++i) {
    setTabOrder(Widget(window::kTabOrder[i]), Widget(window::kTabOrder[i + 1]));
  }
  host_ = std::make_unique<window::Host>(
      *this, std::move(world),
      window::HostParts{dataSurface_, wfSurface_, timer1_, timer3_, timer4_},
      std::move(showMessage));
  waitLimit_.setSingleShot(true);
  // Input is watched on the window itself, before it reaches a control.
  create();
  windowHandle()->installEventFilter(this);
}

QWidget* QtWindow::MakeControl(const window::ControlRow& c) {
  const QString text = QString::fromUtf8(c.text);
  const auto pressed = [this, id = c.id] { Input({InputEvent::Kind::Press, id}); };
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
      chk1_ = new PressedCheckBox(text, this, pressed);
      return chk1_;
    case Kind::Button: {
      auto* button = new QPushButton(text, this);
      connect(button, &QPushButton::clicked, this, pressed);
      return button;
    }
    case Kind::Graph: {
      const auto graph = std::get<window::Graph>(c.role);
      return new GraphWidget(this, graph == window::Graph::Spectrum ? dataSurface_ : wfSurface_,
                             [this, graph] {
                               if (host_) host_->GraphPainted(graph);
                             });
    }
  }
  return nullptr;
}

QWidget* QtWindow::Widget(Control control) const {
  return widgets_[static_cast<std::size_t>(control)];
}

std::optional<Control> QtWindow::ControlOf(const QWidget* widget) const {
  for (const window::ControlRow& c : window::kControls) {
    if (Widget(c.id) == widget) return c.id;
  }
  return std::nullopt;
}

window::InputAnswer QtWindow::Input(InputEvent event) {
  return host_ ? host_->Input(event) : window::InputAnswer::Pass;
}

std::string QtWindow::Text(Control control) const {
  QWidget* w = Widget(control);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
  return text1_->toPlainText().toStdString();
}

void QtWindow::SetText(Control control, std::string_view text) {
  QWidget* w = Widget(control);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->setText(Q(text));
  if (auto* label = qobject_cast<QLabel*>(w)) return label->setText(Q(text));
  text1_->setPlainText(Q(text));
}

void QtWindow::PaintNow(Control control) {
  QWidget* w = Widget(control);
  (w == text1_ ? text1_->viewport() : w)->repaint();
}

void QtWindow::RequestPaint(window::Graph graph) { Widget(window::ControlOf(graph))->update(); }

void QtWindow::SetEnabled(Control button, bool enabled) { Widget(button)->setEnabled(enabled); }

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

std::optional<Control> QtWindow::Focused() const {
  const QWidget* w = focusWidget();
  return w == nullptr || w == this ? std::nullopt : ControlOf(w);
}

void QtWindow::Focus(std::optional<Control> control) {
  // setFocus works whatever the focus policy: the form itself takes the
  // focus only this way, never by a click or Tab.
  (control ? Widget(*control) : static_cast<QWidget*>(this))->setFocus(Qt::OtherFocusReason);
}

void QtWindow::ShowMessage(std::string_view caption, std::string_view text) {
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
  InputEvent input{InputEvent::Kind::Mouse};
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      input.control = ControlOf(childAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
      break;
    case QEvent::Wheel:
      input.kind = InputEvent::Kind::Wheel;
      input.control = ControlOf(childAt(static_cast<QWheelEvent*>(event)->position().toPoint()));
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto& key = *static_cast<QKeyEvent*>(event);
      input.kind =
          event->type() == QEvent::KeyPress ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
      input.control = Focused();
      input.key = KeyOf(key);
      input.shift = (key.modifiers() & Qt::ShiftModifier) != 0;
      input.alt = (key.modifiers() & Qt::AltModifier) != 0;
      break;
    }
    default:
      return false;
  }
  input.madeAt = static_cast<std::uint32_t>(static_cast<QInputEvent*>(event)->timestamp());
  return Input(input) != window::InputAnswer::Pass;
}

}  // namespace kov::qt
