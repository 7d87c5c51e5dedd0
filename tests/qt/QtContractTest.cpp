// The window contract on the Qt front-end, offscreen.
#include <QApplication>
#include <cstdlib>

#include "QtDriver.h"
#include "WindowContractTests.h"
#include "WindowRunContractTests.h"

namespace kov::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowContract, QtDriver);
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowRunContract, QtDriver);

}  // namespace kov::testing

int main(int argc, char** argv) {
  // Offscreen whatever the caller exported, also when run by test discovery.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  // A window that ends the program quits the application; the tests go on.
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
