#pragma once

#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "display/RasterSurface.h"
#include "qt/QtTimer.h"
#include "qt/QtWidgets.h"
#include "window/Host.h"
#include "window/Layout.h"
#include "window/Toolkit.h"

namespace kov::qt {

// KOV_Xport_WindowsAPI_Form in Qt Widgets: the controls of the layout table,
// every input handed to the host before it reaches a control, the primitive
// operations the host asks.
class QtWindow : public QWidget, public window::Toolkit {
  Q_OBJECT

 public:
  explicit QtWindow(window::HostWorld world, window::MessageHook showMessage = {});
  ~QtWindow() override = default;

  // Form_Load; false when the program ended during it (do not show then).
  bool Load() { return host_->Load(); }
  window::Host& Host() { return *host_; }

  // window::Toolkit
  std::string Text(window::Control control) const override;
  void SetText(window::Control control, std::string_view text) override;
  void PaintNow(window::Control control) override;
  void RequestPaint(window::Graph graph) override;
  void SetEnabled(window::Control button, bool enabled) override;
  window::CheckState Check() const override;
  void SetCheck(window::CheckState state) override;
  std::optional<window::Control> Focused() const override;
  void Focus(std::optional<window::Control> control) override;
  void ShowMessage(std::string_view caption, std::string_view text) override;
  void ProcessPendingEvents() override;
  void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) override;
  void Hide() override;
  void Quit() override;
  std::uint32_t InputClockMs() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* MakeControl(const window::ControlRow& design);
  QWidget* Widget(window::Control control) const;
  std::optional<window::Control> ControlOf(const QWidget* widget) const;
  window::InputAnswer Input(window::InputEvent event);

  std::array<QWidget*, window::kControlCount> widgets_{};
  QPlainTextEdit* text1_ = nullptr;
  PressedCheckBox* chk1_ = nullptr;
  display::RasterSurface dataSurface_, wfSurface_;
  QtTimer timer1_, timer3_, timer4_;
  // What ends a wait for the instrument besides the window's own events.
  std::unique_ptr<QSocketNotifier> readable_;
  QTimer waitLimit_;
  std::unique_ptr<window::Host> host_;
};

}  // namespace kov::qt
