// One QApplication on the offscreen platform for every window test of this binary.

#include <gtest/gtest.h>

#include <QApplication>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // Before the application exists, or Qt looks for a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "window_parts_tests";
    static char* argv[] = {name, nullptr};
    // Kept until the process ends: widgets of static lifetime may outlive the tests.
    new QApplication(argc, argv);
  }
};

const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
