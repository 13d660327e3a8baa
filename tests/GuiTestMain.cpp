#include <QApplication>

#include <gtest/gtest.h>

#include "Application.h"

// GoogleTest with a Qt application around it. Without a display the tests
// run on Qt's offscreen platform, so they need no screen at all.
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  describeApplication();
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
