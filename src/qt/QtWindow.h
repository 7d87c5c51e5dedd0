#pragma once

#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "display/RasterSurface.h"
#include "qt/QtTimer.h"
#include "qt/QtWidgets.h"
#include "window/Host.h"
#include "window/Layout.h"
#include "window/Toolkit.h"

namespace kov::qt {

// Shows a modal message with one OK button; the default is a QMessageBox.
using MessageBox = std::function<void(const QString& caption, const QString& text)>;

// KOV_Xport_WindowsAPI_Form in Qt Widgets: the controls of the layout table,
// their input forwarded to the host, the primitive operations the host asks.
class QtWindow : public QWidget, public window::Toolkit {
  Q_OBJECT

 public:
  explicit QtWindow(window::HostWorld world, MessageBox showMessage = {});
  ~QtWindow() override = default;

  // Form_Load; false when the program ended during it (do not show then).
  bool Load() { return host_->Load(); }
  window::Host& Host() { return *host_; }
  const display::RasterSurface& Surface(std::string_view graph) const;

  // window::Toolkit
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, std::string_view text) override;
  void PaintNow(std::string_view control) override;
  void RequestPaint(std::string_view graph) override;
  void SetEnabled(std::string_view button, bool enabled) override;
  window::CheckState Check() const override;
  void SetCheck(window::CheckState state) override;
  std::string Focused() const override;
  void Focus(std::string_view control) override;
  void ShowMessage(std::string_view caption, std::string_view text) override;
  void ProcessPendingEvents() override;
  void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) override;
  void Hide() override;
  void Quit() override;
  std::uint32_t InputClockMs() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  QWidget* MakeControl(const window::ControlSpec& design);
  QWidget* Control(std::string_view name) const;

  MessageBox showMessage_;
  std::map<std::string, QWidget*, std::less<>> byName_;
  QPlainTextEdit* text1_ = nullptr;
  LevelCheckBox* chk1_ = nullptr;
  display::RasterSurface dataSurface_, wfSurface_;
  QtTimer timer1_, timer3_, timer4_;
  // What ends a wait for the instrument besides the window's own events.
  std::unique_ptr<QSocketNotifier> readable_;
  QTimer waitLimit_;
  std::unique_ptr<window::Host> host_;
};

}  // namespace kov::qt
