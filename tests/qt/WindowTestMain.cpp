#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/qt/QtFrontEnd.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::qt::QtFrontEnd::PrepareApplication();
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
