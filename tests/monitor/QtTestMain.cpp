#include <gtest/gtest.h>

#include <QApplication>

// Widget tests need one application object for the whole run. They draw offscreen unless told
// otherwise (test discovery runs the program without the test's environment).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
