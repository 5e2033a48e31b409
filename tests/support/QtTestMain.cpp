// The GoogleTest entry of every test program with windows: one application object for the whole run,
// the program's own, so that a failure escaping every guard reaches the error display as it does in the
// program.
#include <gtest/gtest.h>

#include "app/ConsoleApplication.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Window tests never need a screen (test discovery runs the program without the test's environment).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  varnok::ConsoleApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
