#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ui/app/application.h"
#include "ui/storage/recovery.h"

// Every test program runs headless, with settings in a folder of its own.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QStandardPaths::setTestModeEnabled(true);
  // Test mode alone would share one settings file between test programs running side by side.
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kelt::SetupApplication(app);
  kelt::SetRecoveryDirectory(config.filePath(QStringLiteral("recovery")));
  return RUN_ALL_TESTS();
}
