#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStandardPaths>

// The core's test programs run the logic alone: no window system, no widgets, no settings.
int main(int argc, char** argv) {
  QStandardPaths::setTestModeEnabled(true);
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
