// The real window, offscreen, with the real simulator on 127.0.0.1 and a
// clock that does not sleep.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SimProcess.h"
#include "TestFiles.h"
#include "fakes/FakeClock.h"
#include "platform/IniProfileFiles.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "window/MainForm.h"

namespace kov::window {
namespace {

namespace fs = std::filesystem;

using testing::Slurp;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kov-window-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Ini(const std::string& text) {
    std::ofstream(dir_ / "KOV_Xport.ini", std::ios::binary) << text;
  }
  std::unique_ptr<KOV_Xport_WindowsAPI_Form> Open() {
    auto form = std::make_unique<KOV_Xport_WindowsAPI_Form>(WindowWorld{
        sockets_, clock_, textFiles_, profiles_, dir_.string(), (dir_ / "WFdata.txt").string(),
        [this](const QString& caption, const QString& text) {
          messages_.push_back((caption + "|" + text).toStdString());
        }});
    loaded_ = form->Load();
    if (loaded_) form->show();
    form_ = form.get();
    return form;
  }
  template <typename T>
  static T* Find(QWidget& form, const char* name) {
    T* w = form.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  static std::string Text(QWidget& form, const char* name) {
    if (auto* e = form.findChild<QLineEdit*>(name)) return e->text().toStdString();
    if (auto* l = form.findChild<QLabel*>(name)) return l->text().toStdString();
    if (auto* t = form.findChild<QPlainTextEdit*>(name)) return t->toPlainText().toStdString();
    return "?";
  }
  // What the window shows of a control, read from its backing store: unlike
  // QWidget::grab, this does not paint the control first.
  static QImage Shown(QWidget& form, const char* name) {
    const QRect r = Find<QWidget>(form, name)->geometry();
    return form.screen()->grabWindow(form.winId(), r.x(), r.y(), r.width(), r.height()).toImage();
  }
  void Key(Qt::Key key) {
    QWidget* focus = form_->focusWidget();
    ASSERT_NE(focus, nullptr);
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(focus, &down);
    QApplication::sendEvent(focus, &up);
  }
  std::string Focused() {
    QWidget* w = form_->focusWidget();
    return w == nullptr ? "" : w->objectName().toStdString();
  }
  static void SetText(QWidget& form, const char* name, const std::string& text) {
    Find<QLineEdit>(form, name)->setText(QString::fromStdString(text));
  }
  // Lets the window run until the condition holds (checked every 5 ms of
  // event processing), at most timeoutMs.
  static bool RunUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
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
  // Runs `action` once, from inside whatever handler lets events run, as
  // soon as `when` holds.
  static void WhenThen(QObject* owner, std::function<bool()> when, std::function<void()> action) {
    auto* t = new QTimer(owner);
    QObject::connect(t, &QTimer::timeout, [t, when, action] {
      if (!when()) return;
      t->stop();
      action();
    });
    t->start(2);
  }

  fs::path dir_;
  fakes::FakeClock clock_;
  platform::SystemSockets sockets_;
  platform::SystemTextFiles textFiles_;
  platform::IniProfileFiles profiles_;
  std::vector<std::string> messages_;
  bool loaded_ = false;
  QWidget* form_ = nullptr;
};

TEST_F(WindowTest, StartUpWithoutASettingsFile) {
  auto form = Open();
  ASSERT_TRUE(loaded_);
  EXPECT_EQ(form->windowTitle().toStdString(), "KOV_Xport_WindowsAPI_広帯域電磁波測定");
  const std::pair<const char*, const char*> defaults[] = {
      {"TxtXportIP", "1"}, {"TxtXportPort", "1"}, {"TxtStartFQ", "451"},
      {"TxtEndFQ", "550"}, {"TxtInterval", "5"},  {"TxtTime", "1"}};
  for (const auto& [name, value] : defaults) EXPECT_EQ(Text(*form, name), value) << name;
  EXPECT_EQ(Find<QCheckBox>(*form, "Chk1")->checkState(), Qt::Checked);
  EXPECT_EQ(Text(*form, "Text1"), "");
  for (const char* label : {"Label16", "Label17", "Label18", "Label19", "Label20", "Label21"}) {
    EXPECT_EQ(Text(*form, label), "") << label;
  }
  EXPECT_FALSE(Find<QPushButton>(*form, "CmdMesBreak")->isEnabled());
  for (const char* b : {"CmdMesStart", "CmdExit", "BtnSaveMespara"}) {
    EXPECT_TRUE(Find<QPushButton>(*form, b)->isEnabled()) << b;
  }
  EXPECT_EQ(Find<QPushButton>(*form, "CmdMesStart")->text().toStdString(), "測定開始");
  EXPECT_EQ(form->focusWidget(), Find<QPushButton>(*form, "CmdMesStart"));
  // Geometry in twips / 15.
  EXPECT_EQ(Find<QWidget>(*form, "XportWF")->geometry(), QRect(8, 408, 585, 241));
  EXPECT_GE(form->height(), (9840 + 255) / 15);
  RunUntil([] { return false; }, 50);
  EXPECT_FALSE(form->Timer1().Enabled() || form->Timer3().Enabled() || form->Timer4().Enabled());
  EXPECT_EQ(form->Timer1().Interval(), 0);
  EXPECT_TRUE(fs::is_empty(dir_)) << "nothing written at start-up";
}

TEST_F(WindowTest, StartUpWithASettingsFileAndTheSaveButton) {
  Ini("[COMMUNICATION]\r\nXport_IP=10.1.2.3\r\nXport_Port=2000\r\n"
      "[MES_PARA]\r\nSTART_FQ=600\r\nEND_FQ=700\r\nINTERVAL=2\r\nCOUNT=4\r\nD_LEVEL=2\r\n");
  auto form = Open();
  EXPECT_EQ(Text(*form, "TxtXportIP"), "10.1.2.3");
  EXPECT_EQ(Text(*form, "TxtTime"), "4");
  EXPECT_EQ(Find<QCheckBox>(*form, "Chk1")->checkState(), Qt::PartiallyChecked);
  Find<QCheckBox>(*form, "Chk1")->click();
  EXPECT_EQ(form->CheckValue(), 1);
  SetText(*form, "TxtEndFQ", "");
  Find<QPushButton>(*form, "BtnSaveMespara")->click();
  EXPECT_EQ(Slurp(dir_ / "KOV_Xport.ini"),
            "[COMMUNICATION]\r\nXport_IP=10.1.2.3\r\nXport_Port=2000\r\n"
            "[MES_PARA]\r\nSTART_FQ=600\r\nEND_FQ=\r\nINTERVAL=2\r\nCOUNT=4\r\nD_LEVEL= 1\r\n");
}

// Enter presses the focused push button and nothing else; Esc presses nothing.
TEST_F(WindowTest, EnterPressesOnlyTheFocusedButton) {
  auto form = Open();
  std::vector<std::string> pressed;
  for (auto* b : form->findChildren<QPushButton*>()) {
    QObject::disconnect(b, nullptr, form.get(), nullptr);  // keep the handlers out
    QObject::connect(b, &QPushButton::clicked,
                     [&pressed, b] { pressed.push_back(b->objectName().toStdString()); });
  }
  struct Row {
    const char* focus;
    Qt::Key key;
    const char* pressed;  // "" for none
  };
  const Row rows[] = {
      {"CmdMesStart", Qt::Key_Return, "CmdMesStart"},
      {"CmdMesStart", Qt::Key_Enter, "CmdMesStart"},
      {"CmdExit", Qt::Key_Return, "CmdExit"},
      {"BtnSaveMespara", Qt::Key_Return, "BtnSaveMespara"},
      {"CmdMesStart", Qt::Key_Escape, ""},
      {"TxtStartFQ", Qt::Key_Return, ""},
      {"TxtXportPort", Qt::Key_Enter, ""},
      {"Chk1", Qt::Key_Return, ""},
      {"Text1", Qt::Key_Return, ""},
  };
  for (const Row& row : rows) {
    pressed.clear();
    QWidget* w = Find<QWidget>(*form, row.focus);
    w->setFocus(Qt::OtherFocusReason);
    QKeyEvent down(QEvent::KeyPress, row.key, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, row.key, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QApplication::sendEvent(w, &up);
    const std::vector<std::string> want =
        *row.pressed ? std::vector<std::string>{row.pressed} : std::vector<std::string>{};
    EXPECT_EQ(pressed, want) << row.focus << " key " << row.key;
  }
  EXPECT_EQ(Text(*form, "Text1"), "") << "the status line is not typed into";
}

TEST_F(WindowTest, TabWalksTheDesignOrderAndSkipsLabelsAndGraphs) {
  auto form = Open();
  const std::vector<std::string> order = {
      "CmdMesStart", "CmdExit",  "Chk1",       "CmdMesBreak", "Text1",          "TxtInterval",
      "TxtTime",     "TxtEndFQ", "TxtStartFQ", "TxtXportIP",  "BtnSaveMespara", "TxtXportPort"};
  // The break button is disabled after start-up and so skipped; enable it to
  // see its place.
  Find<QPushButton>(*form, "CmdMesBreak")->setEnabled(true);
  Find<QWidget>(*form, "CmdMesStart")->setFocus(Qt::OtherFocusReason);
  std::vector<std::string> walked;
  for (std::size_t i = 0; i < order.size(); ++i) {
    walked.push_back(form->focusWidget()->objectName().toStdString());
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(form->focusWidget(), &tab);
  }
  EXPECT_EQ(walked, order);
  EXPECT_EQ(form->focusWidget()->objectName().toStdString(), "CmdMesStart") << "wraps round";
}

TEST_F(WindowTest, FontsAndSizesOfTheDesign) {
  auto form = Open();
  const std::pair<const char*, double> sizes[] = {
      {"Label3", 10.8},  {"Label5", 10.8},     {"TxtXportPort", 10.8}, {"BtnSaveMespara", 10.8},
      {"Label25", 11.4}, {"TxtStartFQ", 11.4}, {"Chk1", 11.4},         {"CmdMesStart", 11.4},
      {"Label18", 11.4}, {"TxtXportIP", 11.4},
  };
  for (const auto& [name, points] : sizes) {
    const QFont font = Find<QWidget>(*form, name)->font();
    EXPECT_DOUBLE_EQ(font.pointSizeF(), points) << name;
    EXPECT_TRUE(font.families().contains("IPAPGothic")) << name;
    EXPECT_EQ(font.weight(), QFont::Normal) << name;
  }
  EXPECT_FALSE(Find<QWidget>(*form, "Text1")->font().families().contains("IPAPGothic"));
  EXPECT_EQ(Find<QWidget>(*form, "Chk1")->geometry(), QRect(336, 136, 65, 25));
  EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "not resizable";
}

class WindowSimTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (testing::SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  }
  void Prepare(const testing::SimProcess& sim, const char* count) {
    Ini("[COMMUNICATION]\r\nXport_IP=1\r\nXport_Port=" + std::to_string(sim.Port()) +
        "\r\n[MES_PARA]\r\nSTART_FQ=450\r\nEND_FQ=470\r\nINTERVAL=0\r\nCOUNT=" + count +
        "\r\nD_LEVEL=0\r\n");
  }
};

TEST_F(WindowSimTest, TwoPassesOverTwoBands) {
  testing::SimProcess sim;
  Prepare(sim, "2");
  auto form = Open();
  SetText(*form, "TxtXportIP", "127.0.0.1");
  Find<QPushButton>(*form, "CmdMesStart")->click();
  EXPECT_FALSE(Find<QPushButton>(*form, "CmdMesStart")->isEnabled());
  ASSERT_TRUE(RunUntil([&] { return Text(*form, "Text1") == "測定完了しました。"; }));
  sim.Stop();

  const std::vector<std::string> pass = {"CF455\r\n", "GD\r\n", "CF465\r\n",
                                         "CF465\r\n", "GD\r\n", "CF455\r\n"};
  std::vector<std::string> wire = {"FP10\r\n"};
  for (int p = 0; p < 2; ++p) wire.insert(wire.end(), pass.begin(), pass.end());
  wire.push_back("EX\r\n");
  EXPECT_EQ(sim.Commands(), wire);

  const std::string file = Slurp(dir_ / "WFdata.txt");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 4 * 321);
  EXPECT_EQ(file.substr(0, 10), "\r\n 1,  1,-");
  EXPECT_NE(Slurp(dir_ / "KOV_Xport.ini").find("Xport_IP=127.0.0.1\r\n"), std::string::npos);
  EXPECT_EQ(Text(*form, "Label17"), "450MHz");
  EXPECT_EQ(Text(*form, "Label16"), "460MHz");
  EXPECT_EQ(Text(*form, "Label18"), "470MHz");
  EXPECT_NE(Text(*form, "Label19"), "");
  EXPECT_NE(Text(*form, "Label20"), "");
  EXPECT_NE(Text(*form, "Label21"), "");
  EXPECT_TRUE(Find<QPushButton>(*form, "CmdMesStart")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(*form, "CmdMesBreak")->isEnabled());

  // Pixels as the window shows them once it has handled its events: the
  // graphs are painted after a pass without anything asking for it.
  RunUntil([] { return false; }, 50);
  const QImage data = Shown(*form, "XportData");
  const QImage wf = Shown(*form, "XportWF");
  int yellow = 0, coloured = 0;
  for (int x = 0; x < data.width(); ++x) {
    yellow += data.pixel(x, data.height() - 2) == qRgb(255, 255, 0);
    coloured += wf.pixel(x, wf.height() - 3) != qRgb(0, 0, 255);
  }
  EXPECT_GT(yellow, data.width() / 2) << "level bars over the whole range";
  EXPECT_GT(coloured, 0) << "the second pass's row";
  EXPECT_EQ(data.pixel(data.width() / 2, 5), qRgb(128, 0, 128));
}

// The focus stays with 測定開始 while it is disabled: Enter pressed again
// during a run presses nothing (not 終了), and starts the next run after it.
TEST_F(WindowSimTest, FocusStaysWithTheStartButton) {
  testing::SimProcess sim;
  Prepare(sim, "1");
  auto form = Open();
  SetText(*form, "TxtXportIP", "127.0.0.1");
  ASSERT_EQ(Focused(), "CmdMesStart");
  Key(Qt::Key_Return);
  ASSERT_FALSE(Find<QPushButton>(*form, "CmdMesStart")->isEnabled()) << "started";
  EXPECT_NE(Focused(), "CmdExit");
  EXPECT_NE(Focused(), "CmdMesBreak");
  Key(Qt::Key_Return);
  Key(Qt::Key_Space);
  EXPECT_FALSE(form->Ended());
  ASSERT_TRUE(RunUntil([&] { return Text(*form, "Text1") == "測定完了しました。"; }));
  EXPECT_EQ(Focused(), "CmdMesStart");

  Key(Qt::Key_Return);
  EXPECT_FALSE(Find<QPushButton>(*form, "CmdMesStart")->isEnabled()) << "started again";
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focused(), "CmdExit") << "Tab goes on along the tab order";
  ASSERT_TRUE(RunUntil([&] { return Text(*form, "Text1") == "測定完了しました。"; }));
  sim.Stop();
  const auto commands = sim.Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "FP10\r\n"), 2);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "EX\r\n"), 2);
}

std::uint32_t InputClockMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// A click made during the band-count pause, delivered to the window after
// the wait, as the window system delivers it.
void PostClick(QWidget* button) {
  QWidget* form = button->window();
  const QPointF at = button->geometry().center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    auto* click = new QMouseEvent(type, at, form->mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                  Qt::NoModifier);
    click->setTimestamp(InputClockMs() - 5);
    QCoreApplication::postEvent(form->windowHandle(), click);
  }
}

// A click on 測定中断 while it is still disabled never breaks the run; a
// click on 終了, enabled all along, ends the program once the wait is over.
TEST_F(WindowSimTest, ClicksDuringAWaitCountOnlyOnEnabledButtons) {
  for (const char* button : {"CmdMesBreak", "CmdExit"}) {
    testing::SimProcess sim;
    Prepare(sim, "2");
    auto form = Open();
    SetText(*form, "TxtXportIP", "127.0.0.1");
    clock_.onSleep = [&](std::int32_t ms) {
      if (ms == 1000 && Text(*form, "Text1").rfind("帯域", 0) == 0) {
        PostClick(Find<QPushButton>(*form, button));
      }
    };
    Find<QPushButton>(*form, "CmdMesStart")->click();
    clock_.onSleep = nullptr;
    ASSERT_TRUE(RunUntil(
        [&] { return form->Ended() || Find<QPushButton>(*form, "CmdMesStart")->isEnabled(); }));
    sim.Stop();
    const auto commands = sim.Commands();
    if (std::string_view(button) == "CmdExit") {
      EXPECT_TRUE(form->Ended());
      EXPECT_EQ(commands, (std::vector<std::string>{"FP10\r\n", "EX\r\n"}));
    } else {
      EXPECT_EQ(Text(*form, "Text1"), "測定完了しました。");
      EXPECT_EQ(std::count(commands.begin(), commands.end(), "GD\r\n"), 4) << "both passes";
    }
  }
}

// The status line, and the waterfall's centre line, are on the screen during
// the waits they belong to, though the window handles no events then.
TEST_F(WindowSimTest, WhatAWaitAnnouncesIsShownDuringIt) {
  testing::SimProcess sim;
  Prepare(sim, "1");
  auto form = Open();
  SetText(*form, "TxtXportIP", "127.0.0.1");
  RunUntil([] { return false; }, 50);  // painted once
  const QImage before = Shown(*form, "Text1");
  std::vector<std::pair<std::string, QImage>> shown;
  bool centreLine = false;
  clock_.onSleep = [&](std::int32_t ms) {
    if (ms < 1000) return;
    shown.emplace_back(Text(*form, "Text1"), Shown(*form, "Text1"));
    const QImage wf = Shown(*form, "XportWF");
    if (shown.size() == 1)
      centreLine = wf.pixel(wf.width() / 2, wf.height() / 2) == qRgb(192, 192, 192);
  };
  Find<QPushButton>(*form, "CmdMesStart")->click();
  ASSERT_TRUE(RunUntil([&] { return Text(*form, "Text1") == "測定完了しました。"; }));
  clock_.onSleep = nullptr;
  sim.Stop();
  // The band-count pause, then the first band's wait (2 bands: 2000 ms).
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].first, "帯域の測定は 2回です。");
  EXPECT_EQ(shown[1].first, "1-1を測定中です");
  EXPECT_NE(shown[0].second, before) << "the band count is on the screen";
  EXPECT_NE(shown[1].second, shown[0].second) << "the band step's text is on the screen";
  EXPECT_TRUE(centreLine);
}

TEST_F(WindowSimTest, BreakDuringARun) {
  testing::SimProcess sim({"--reply-delay-ms", "50"});
  Prepare(sim, "5");
  auto form = Open();
  SetText(*form, "TxtXportIP", "127.0.0.1");
  Find<QPushButton>(*form, "CmdMesStart")->click();
  WhenThen(
      form.get(), [&] { return Text(*form, "Text1").rfind("1-", 0) == 0; },
      [&] { Find<QPushButton>(*form, "CmdMesBreak")->click(); });
  ASSERT_TRUE(RunUntil([&] { return Text(*form, "Text1") == "測定中断しました。"; }));
  sim.Stop();
  const auto commands = sim.Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "GD\r\n"), 2) << "one pass only";
  EXPECT_EQ(commands.back(), "EX\r\n");
  EXPECT_FALSE(form->Ended());
}

TEST_F(WindowSimTest, ExitInsideTheReceiveLoop) {
  testing::SimProcess sim({"--silent"});
  Prepare(sim, "1");
  auto form = Open();
  SetText(*form, "TxtXportIP", "127.0.0.1");
  Find<QPushButton>(*form, "CmdMesStart")->click();
  WhenThen(
      form.get(), [&] { return sim.Commands().size() >= 3; },  // FP10, CF, GD
      [&] { Find<QPushButton>(*form, "CmdExit")->click(); });
  ASSERT_TRUE(RunUntil([&] { return form->Ended(); }, 20000));
  RunUntil([] { return false; }, 50);
  sim.Stop();
  EXPECT_EQ(sim.Commands(),
            (std::vector<std::string>{"FP10\r\n", "CF455\r\n", "GD\r\n", "EX\r\n"}));
  EXPECT_FALSE(form->isVisible());
}

TEST_F(WindowSimTest, CloseThroughTheFrameInsideTheReceiveLoopSendsNothing) {
  testing::SimProcess sim({"--silent"});
  Prepare(sim, "1");
  auto form = Open();
  SetText(*form, "TxtXportIP", "127.0.0.1");
  Find<QPushButton>(*form, "CmdMesStart")->click();
  WhenThen(
      form.get(), [&] { return sim.Commands().size() >= 3; }, [&] { form->close(); });
  ASSERT_TRUE(RunUntil([&] { return form->Ended(); }, 20000));
  RunUntil([] { return false; }, 50);
  sim.Stop();
  EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"FP10\r\n", "CF455\r\n", "GD\r\n"}));
  EXPECT_EQ(Slurp(dir_ / "WFdata.txt"), "\r\n");
}

TEST_F(WindowSimTest, RefusedConnection) {
  int port;
  {
    testing::SimProcess sim;
    port = sim.Port();
  }  // stopped: nothing listens there now
  Ini("[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=" + std::to_string(port) + "\r\n");
  auto form = Open();
  Find<QPushButton>(*form, "CmdMesStart")->click();
  EXPECT_TRUE(form->Ended());
  EXPECT_EQ(messages_, std::vector<std::string>{"KOV_Xport_WindowsAPI|ソケットCONNECTエラー"});
  EXPECT_EQ(Text(*form, "Text1"), "ソケットCONNECTエラー");
  EXPECT_EQ(Slurp(dir_ / "KOV_Xport.ini"),
            "[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=" + std::to_string(port) + "\r\n");
}

}  // namespace
}  // namespace kov::window

int main(int argc, char** argv) {
  // Also when run by test discovery, outside the test environment.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  // A window that ends the program quits the application; the tests go on.
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
