// What only the Qt window has: its fonts and its widgets' own settings.
#include <gtest/gtest.h>

#include <QFont>
#include <QPlainTextEdit>

#include "QtDriver.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTextFiles.h"

namespace kov::testing {
namespace {

class QtWindowTest : public ::testing::Test {
 protected:
  QtWindowTest() {
    driver.Open(window::HostWorld{sockets, clock, files, profiles, "/opt/kov", "WFdata.txt"});
  }
  fakes::FakeClock clock;
  fakes::FakeSockets sockets{clock};
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  QtDriver driver;
};

TEST_F(QtWindowTest, FontsOfTheDesign) {
  for (const window::ControlRow& c : window::kControls) {
    if (c.kind == window::Kind::Graph) continue;
    const QFont font = driver.Widget(c.id)->font();
    const bool design = c.pointSize > 0;
    EXPECT_EQ(font.families().contains("IPAPGothic"), design) << c.name;
    if (!design) continue;
    EXPECT_DOUBLE_EQ(font.pointSizeF(), c.pointSize) << c.name;
    EXPECT_EQ(font.weight(), QFont::Normal) << c.name;
  }
  EXPECT_DOUBLE_EQ(driver.Widget(Control::Label5)->font().pointSizeF(), 10.8);
  EXPECT_DOUBLE_EQ(driver.Widget(Control::CmdExit)->font().pointSizeF(), 11.4);
}

TEST_F(QtWindowTest, TheStatusLineIsReadOnlyAndTheGraphsTakeNoFocus) {
  EXPECT_TRUE(static_cast<QPlainTextEdit*>(driver.Widget(Control::Text1))->isReadOnly());
  for (const Control name : {Control::XportData, Control::XportWF, Control::Label3}) {
    EXPECT_EQ(driver.Widget(name)->focusPolicy(), Qt::NoFocus) << RowOf(name).name;
  }
}

}  // namespace
}  // namespace kov::testing
