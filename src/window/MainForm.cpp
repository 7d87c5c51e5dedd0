#include "window/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include <time.h>

#include "display/Palette.h"
#include "window/Layout.h"
#include "window/TabOrder.h"

namespace kov::window {
namespace {

using settings::Entry;

constexpr std::pair<const char*, Entry> kEntryNames[] = {
    {"TxtXportIP", Entry::TxtXportIP},   {"TxtXportPort", Entry::TxtXportPort},
    {"TxtStartFQ", Entry::TxtStartFQ},   {"TxtEndFQ", Entry::TxtEndFQ},
    {"TxtInterval", Entry::TxtInterval}, {"TxtTime", Entry::TxtTime},
};
constexpr std::pair<const char*, measure::Label> kLabelNames[] = {
    {"Label16", measure::Label::Label16}, {"Label17", measure::Label::Label17},
    {"Label18", measure::Label::Label18}, {"Label19", measure::Label::Label19},
    {"Label20", measure::Label::Label20}, {"Label21", measure::Label::Label21},
};

int Pixels(int twips) { return twips / kTwipsPerPixel; }

QRect Place(const ControlSpec& c) {
  return QRect(Pixels(c.left), Pixels(c.top), Pixels(c.width), Pixels(c.height));
}

QFont DesignFont(double pointSize) {
  QFont font;
  QStringList families;
  for (const char* f : kFontFamilies) families << QString::fromUtf8(f);
  font.setFamilies(families);
  font.setPointSizeF(pointSize);
  font.setWeight(QFont::Normal);
  return font;
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

// The clock of the window system's input times: X servers and Wayland
// compositors stamp input with the monotonic clock in milliseconds.
std::uint32_t InputClockMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

void DefaultMessage(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
  box.exec();
}

}  // namespace

GraphWidget::GraphWidget(QWidget* parent, const display::QImageSurface& surface)
    : QWidget(parent), surface_(surface) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, surface_.Image());
}

void EnterButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (isEnabled()) click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void LevelCheckBox::nextCheckState() {
  const Qt::CheckState next = checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked;
  setTristate(false);
  setCheckState(next);
}

KOV_Xport_WindowsAPI_Form::KOV_Xport_WindowsAPI_Form(WindowWorld world)
    : QWidget(nullptr),
      world_(std::move(world)),
      paintingClock_(world_.clock, [this] { PaintGraphsNow(); }) {
  if (!world_.showMessage) world_.showMessage = DefaultMessage;
  setObjectName("KOV_Xport_WindowsAPI_Form");
  setWindowTitle(QString::fromUtf8(kCaption));
  // Nothing in the program reacts to a change of size.
  setFixedSize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));
  BuildControls();

  timer1_.handler = [this] { form_->Timer1_Timer(); };
  timer3_.handler = [this] { form_->Timer3_Timer(); };
  timer4_.handler = [this] { form_->Timer4_Timer(); };

  display_ = std::make_unique<display::SpectrumDisplay>(*dataSurface_, *wfSurface_, *this);
  form_ = std::make_unique<measure::Form>(measure::FormWorld{
      *this, link::Timers{timer1_, timer3_, timer4_}, *display_, world_.sockets, paintingClock_,
      world_.textFiles, world_.profileFiles, world_.programFolder, world_.waveformPath});

  connect(cmdMesStart_, &QPushButton::clicked, this, [this] { form_->CmdMesStart_Click(); });
  connect(cmdMesBreak_, &QPushButton::clicked, this, [this] { form_->CmdMesBreak_Click(); });
  connect(cmdExit_, &QPushButton::clicked, this, [this] { form_->CmdExit_Click(); });
  connect(btnSaveMespara_, &QPushButton::clicked, this, [this] { form_->BtnSaveMespara_Click(); });
  create();
  windowHandle()->installEventFilter(this);
}

KOV_Xport_WindowsAPI_Form::~KOV_Xport_WindowsAPI_Form() {
  timer1_.Shutdown();
  timer3_.Shutdown();
  timer4_.Shutdown();
}

void KOV_Xport_WindowsAPI_Form::BuildControls() {
  for (const ControlSpec& c : kControls) {
    QWidget* w = nullptr;
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
      case Kind::Label:
        w = new QLabel(text, this);
        break;
      case Kind::Entry: {
        auto* edit = new QLineEdit(text, this);
        w = edit;
        for (const auto& [name, entry] : kEntryNames) {
          if (std::string_view(name) == c.name) entries_[entry] = edit;
        }
        break;
      }
      case Kind::Status:
        text1_ = new QPlainTextEdit(this);
        text1_->setReadOnly(true);
        text1_->setTabChangesFocus(true);
        text1_->setFocusPolicy(Qt::TabFocus);
        w = text1_;
        break;
      case Kind::Check:
        chk1_ = new LevelCheckBox(text, this);
        w = chk1_;
        break;
      case Kind::Button: {
        auto* button = new EnterButton(text, this);
        button->setAutoDefault(false);
        button->setDefault(false);
        w = button;
        break;
      }
      case Kind::Graph: {
        const bool data = std::string_view(c.name) == "XportData";
        auto surface = std::make_unique<display::QImageSurface>(
            Pixels(c.width), Pixels(c.height),
            data ? display::kSpectrumBackground : display::kWaterfallBackground);
        auto* graph = new GraphWidget(this, *surface);
        bool& pending = data ? dataRepaintPending_ : wfRepaintPending_;
        surface->onChanged = [this, graph, &pending] { ScheduleRepaint(graph, pending); };
        (data ? dataSurface_ : wfSurface_) = std::move(surface);
        (data ? xportData_ : xportWF_) = graph;
        w = graph;
        break;
      }
    }
    w->setObjectName(QString::fromUtf8(c.name));
    w->setGeometry(Place(c));
    if (c.pointSize > 0) w->setFont(DesignFont(c.pointSize));
    byName_[c.name] = w;
    for (const auto& [name, label] : kLabelNames) {
      if (std::string_view(name) == c.name) labels_[label] = static_cast<QLabel*>(w);
    }
  }
  for (auto& [name, w] : byName_) {
    if (qobject_cast<QLabel*>(w) != nullptr) w->setFocusPolicy(Qt::NoFocus);
  }
  cmdMesStart_ = static_cast<QPushButton*>(byName_.at("CmdMesStart"));
  cmdMesBreak_ = static_cast<QPushButton*>(byName_.at("CmdMesBreak"));
  cmdExit_ = static_cast<QPushButton*>(byName_.at("CmdExit"));
  btnSaveMespara_ = static_cast<QPushButton*>(byName_.at("BtnSaveMespara"));
  for (std::size_t i = 0; i + 1 < std::size(kTabOrder); ++i) {
    setTabOrder(byName_.at(kTabOrder[i]), byName_.at(kTabOrder[i + 1]));
  }
  cmdMesStart_->setFocus(Qt::OtherFocusReason);
}

void KOV_Xport_WindowsAPI_Form::ScheduleRepaint(QWidget* graph, bool& pending) {
  // A pass changes the image tens of thousands of times: repaint once, when
  // the window next handles its events.
  if (pending) return;
  pending = true;
  QTimer::singleShot(0, graph, [graph, &pending] {
    pending = false;
    graph->update();
  });
}

bool KOV_Xport_WindowsAPI_Form::Load() {
  form_->Form_Load();
  cmdMesStart_->setFocus(Qt::OtherFocusReason);
  return !ended_;
}

std::string KOV_Xport_WindowsAPI_Form::EntryText(Entry entry) const {
  return entries_.at(entry)->text().toStdString();
}

void KOV_Xport_WindowsAPI_Form::SetEntryText(Entry entry, std::string_view text) {
  entries_.at(entry)->setText(Q(text));
}

std::int16_t KOV_Xport_WindowsAPI_Form::CheckValue() const {
  switch (chk1_->checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void KOV_Xport_WindowsAPI_Form::SetCheckValue(std::int16_t value) {
  if (value == 2) {
    chk1_->setTristate(true);
    chk1_->setCheckState(Qt::PartiallyChecked);
  } else {
    chk1_->setTristate(false);
    chk1_->setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
  }
}

std::string KOV_Xport_WindowsAPI_Form::StatusText() const {
  return text1_->toPlainText().toStdString();
}

void KOV_Xport_WindowsAPI_Form::SetStatusText(std::string_view text) {
  text1_->setPlainText(Q(text));
  // At once: a blocking wait often follows, and the text announces it.
  text1_->viewport()->repaint();
}

void KOV_Xport_WindowsAPI_Form::SetButtonEnabled(link::Button button, bool enabled) {
  QPushButton* b = button == link::Button::CmdMesStart ? cmdMesStart_ : cmdMesBreak_;
  // The focus stays with a button that is disabled under it, as the operator
  // left it, instead of moving on to the next button (終了, say), where one
  // more Enter would end the program.
  if (!enabled && focusWidget() == b) {
    parked_ = b;
    setFocus(Qt::OtherFocusReason);
  }
  b->setEnabled(enabled);
  gate_.SetEnabled(b->objectName().toStdString(), enabled, InputClockMs());
  if (enabled && parked_ == b) {
    parked_ = nullptr;
    if (focusWidget() == this) b->setFocus(Qt::OtherFocusReason);
  }
}

void KOV_Xport_WindowsAPI_Form::ShowMessage(std::string_view text) {
  world_.showMessage(QString::fromUtf8(kMessageCaption), Q(text));
}

void KOV_Xport_WindowsAPI_Form::ProcessPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void KOV_Xport_WindowsAPI_Form::EndProgram() {
  if (ended_) return;
  ended_ = true;
  timer1_.Shutdown();
  timer3_.Shutdown();
  timer4_.Shutdown();
  hide();
  QCoreApplication::quit();
}

void KOV_Xport_WindowsAPI_Form::SetLabelText(measure::Label label, std::string_view text) {
  QLabel* l = labels_.at(label);
  l->setText(Q(text));
  l->repaint();
}

void KOV_Xport_WindowsAPI_Form::PaintGraphsNow() {
  if (ended_) return;
  for (auto [graph, pending] :
       {std::pair{xportData_, &dataRepaintPending_}, std::pair{xportWF_, &wfRepaintPending_}}) {
    if (*pending) graph->repaint();
  }
}

bool KOV_Xport_WindowsAPI_Form::eventFilter(QObject* watched, QEvent* event) {
  // Watched on the window itself, before input reaches a control: there a
  // click would already move the focus.
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
  // 0: the toolkit did not say when the input was made.
  const auto madeAt = static_cast<std::uint32_t>(static_cast<QInputEvent*>(event)->timestamp());
  return target != nullptr && madeAt != 0 &&
         !gate_.Accepts(target->objectName().toStdString(), madeAt, InputClockMs());
}

bool KOV_Xport_WindowsAPI_Form::focusNextPrevChild(bool next) {
  // Tab from a disabled button that keeps the focus goes on along the tab
  // order from that button.
  if (parked_ == nullptr || focusWidget() != this) {
    return QWidget::focusNextPrevChild(next);
  }
  const std::string from = parked_->objectName().toStdString();
  parked_ = nullptr;
  const std::string_view to = NextTabStop(kTabOrder, from, next, [this](std::string_view name) {
    const QWidget* w = byName_.at(std::string(name));
    return w->isEnabled() && w->focusPolicy() != Qt::NoFocus;
  });
  byName_.at(std::string(to))->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void KOV_Xport_WindowsAPI_Form::closeEvent(QCloseEvent* event) {
  // No handler runs for a close through the frame: nothing is sent.
  if (!ended_) form_->WindowClosed();
  event->accept();
}

}  // namespace kov::window
