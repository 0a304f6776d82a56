#include "ui/app/placement.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/qtprint.h"

namespace kelt {
namespace {

TEST(Placement, StoredValueOrDefault) {
  struct Case {
    QVariant stored;
    int expected;
  };
  const Case cases[] = {
      {QVariant(), 1000},
      {QStringLiteral("2500"), 2500},
      {QStringLiteral(" 2500 "), 2500},
      {QStringLiteral("1234.6"), 1235},
      {QStringLiteral("-300"), -300},
      {QStringLiteral("abc"), 1000},
      {QStringLiteral(""), 1000},
      {QStringLiteral("1e30"), 1000},
      {QStringLiteral("nan"), 1000},
      {QStringLiteral("12px"), 1000},
  };
  for (const Case& c : cases) EXPECT_EQ(PlacementValue(c.stored, 1000), c.expected) << c.stored.toString().toStdString();
}

TEST(Placement, EachMissingOrBadValueTakesItsOwnDefault) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath(QStringLiteral("kelt.ini")), QSettings::IniFormat);
  EXPECT_EQ(ReadPlacement(settings), (Placement{1000, 1000, 6500, 6500}));
  settings.setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("2000"));
  settings.setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("wide"));
  EXPECT_EQ(ReadPlacement(settings), (Placement{1000, 2000, 6500, 6500}));
}

TEST(Placement, RoundTripAsText) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kelt.ini"));
  {
    QSettings settings(path, QSettings::IniFormat);
    WritePlacement(settings, {1500, 30, 12000, 9000});
  }
  QSettings settings(path, QSettings::IniFormat);
  EXPECT_EQ(settings.value(QStringLiteral("Settings/MainWidth")).toString(), QStringLiteral("12000"));
  EXPECT_EQ(ReadPlacement(settings), (Placement{1500, 30, 12000, 9000}));
}

TEST(Placement, TwipsAndPixels) {
  EXPECT_EQ(PlacementToPixels({1000, 1000, 6500, 6500}, 96), QRect(67, 67, 433, 433));
  EXPECT_EQ(PlacementFromPixels(QRect(100, 50, 800, 600), 96), (Placement{1500, 750, 12000, 9000}));
  EXPECT_EQ(PlacementToPixels({1440, 0, 2880, 1440}, 120), QRect(120, 0, 240, 120));
}

TEST(Placement, FrameWhollyOffEveryScreenComesBack) {
  const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
  EXPECT_EQ(KeepOnScreen(QRect(100, 100, 400, 300), screens), QRect(100, 100, 400, 300));
  EXPECT_EQ(KeepOnScreen(QRect(3000, 900, 400, 300), screens), QRect(3000, 900, 400, 300))
      << "partly on the second screen";
  EXPECT_EQ(KeepOnScreen(QRect(5000, 5000, 400, 300), screens), QRect(0, 0, 400, 300));
  EXPECT_EQ(KeepOnScreen(QRect(-900, 10, 400, 300), screens), QRect(0, 0, 400, 300));
}

}  // namespace
}  // namespace kelt
