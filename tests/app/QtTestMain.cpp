// GoogleTest entry for the window tests: one application object for the whole run, the program's own,
// so that exceptions escaping a handler reach the error display as they do in the program.
#include <gtest/gtest.h>

#include "ConsoleApplication.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Window tests never need a screen (test discovery runs without the test's environment).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  varnok::ConsoleApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
