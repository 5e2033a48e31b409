#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need one application object for the whole run. They draw offscreen, also when the
// test runner lists them without the test environment.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
