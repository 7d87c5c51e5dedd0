#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "display/QImageSurface.h"
#include "display/SpectrumDisplay.h"
#include "measure/Controls.h"
#include "measure/Form.h"
#include "platform/Clock.h"
#include "platform/ProfileFiles.h"
#include "platform/Sockets.h"
#include "platform/TextFiles.h"
#include "window/InputGate.h"
#include "window/PaintingClock.h"
#include "window/QtTimer.h"

namespace kov::window {

// The outside world the window runs against: the real one in the program,
// fakes (a clock that does not sleep, say) in tests.
struct WindowWorld {
  platform::Sockets& sockets;
  platform::Clock& clock;
  platform::TextFiles& textFiles;
  platform::ProfileFiles& profileFiles;
  std::string programFolder;
  std::string waveformPath = measure::kWaveformFile;
  // Shows a modal message with one OK button; the default is a QMessageBox.
  std::function<void(const QString& caption, const QString& text)> showMessage;
};

// A graph: paints its off-screen image and takes no focus.
class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  GraphWidget(QWidget* parent, const display::QImageSurface& surface);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const display::QImageSurface& surface_;
};

// A push button that Enter presses while it has the focus; it is never a
// default button, so Enter in an entry box presses nothing.
class EnterButton : public QPushButton {
  Q_OBJECT

 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// The level check box: shows the third state when the settings file asks for
// it; a click leaves it, to checked.
class LevelCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override;
};

class KOV_Xport_WindowsAPI_Form : public QWidget, public measure::Controls {
  Q_OBJECT

 public:
  explicit KOV_Xport_WindowsAPI_Form(WindowWorld world);
  ~KOV_Xport_WindowsAPI_Form() override;

  // Runs Form_Load; false when the program ended during it (the window must
  // then not be shown).
  bool Load();
  bool Ended() const { return ended_; }
  measure::Form& Handlers() { return *form_; }
  const display::QImageSurface& SpectrumImage() const { return *dataSurface_; }
  const display::QImageSurface& WaterfallImage() const { return *wfSurface_; }
  QtTimer& Timer1() { return timer1_; }
  QtTimer& Timer3() { return timer3_; }
  QtTimer& Timer4() { return timer4_; }

  // measure::Controls
  std::string EntryText(settings::Entry entry) const override;
  void SetEntryText(settings::Entry entry, std::string_view text) override;
  std::int16_t CheckValue() const override;
  void SetCheckValue(std::int16_t value) override;
  std::string StatusText() const override;
  void SetStatusText(std::string_view text) override;
  void SetButtonEnabled(link::Button button, bool enabled) override;
  void ShowMessage(std::string_view text) override;
  void ProcessPendingEvents() override;
  void EndProgram() override;
  void SetLabelText(measure::Label label, std::string_view text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void BuildControls();
  void ScheduleRepaint(QWidget* graph, bool& pending);
  // Paints the graphs that changed since they were last painted.
  void PaintGraphsNow();

  WindowWorld world_;
  std::map<std::string, QWidget*> byName_;
  std::map<settings::Entry, QLineEdit*> entries_;
  std::map<measure::Label, QLabel*> labels_;
  QPlainTextEdit* text1_ = nullptr;
  LevelCheckBox* chk1_ = nullptr;
  QPushButton* cmdMesStart_ = nullptr;
  QPushButton* cmdMesBreak_ = nullptr;
  QPushButton* cmdExit_ = nullptr;
  QPushButton* btnSaveMespara_ = nullptr;
  GraphWidget* xportData_ = nullptr;
  GraphWidget* xportWF_ = nullptr;
  bool dataRepaintPending_ = false;
  bool wfRepaintPending_ = false;
  InputGate gate_;
  // The button that had the focus when it was disabled; the form itself holds
  // the focus meanwhile, so that keys press nothing.
  QPushButton* parked_ = nullptr;
  PaintingClock paintingClock_;

  std::unique_ptr<display::QImageSurface> dataSurface_;
  std::unique_ptr<display::QImageSurface> wfSurface_;
  std::unique_ptr<display::SpectrumDisplay> display_;
  QtTimer timer1_, timer3_, timer4_;
  std::unique_ptr<measure::Form> form_;
  bool ended_ = false;
};

}  // namespace kov::window
