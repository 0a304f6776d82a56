#include "ui/app/placement.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

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
  for (const Case& c : cases)
    EXPECT_EQ(PlacementValue(c.stored, 1000), c.expected) << c.stored.toString().toStdString();
}

TEST(Placement, EachMissingOrBadValueTakesItsOwnDefault) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath(QStringLiteral("kelt.ini")), QSettings::IniFormat);
  EXPECT_EQ(ReadPlacement(settings), (Placement{1000, 1000, 6500, 6500}));
  EXPECT_FALSE(HasStoredPlacement(settings)) << "a first start";
  settings.setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("2000"));
  settings.setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("wide"));
  EXPECT_EQ(ReadPlacement(settings), (Placement{1000, 2000, 6500, 6500}));
  EXPECT_TRUE(HasStoredPlacement(settings)) << "a stored placement wins, even a broken one";
}

// A first start's frame is as large as asked where the screen allows, centred on it.
TEST(Placement, AFirstStartIsCentred) {
  const QRect screen(0, 0, 1366, 768);
  const QRect panelled(0, 32, 1920, 1048);
  EXPECT_EQ(FirstPlacement(QSize(1040, 576), screen), QRect(163, 96, 1040, 576));
  EXPECT_EQ(FirstPlacement(QSize(1040, 786), panelled), QRect(440, 163, 1040, 786));
  EXPECT_EQ(FirstPlacement(QSize(1600, 900), screen), screen) << "at most the screen";
  EXPECT_EQ(FirstPlacement(QSize(100, 100), screen), QRect(483, 234, 400, 300)) << "usable";
}

TEST(Placement, RoundTripAsText) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kelt.ini"));
  {
    QSettings settings(path, QSettings::IniFormat);
    WritePlacement(settings, {1500, 30, 12000, 9000});
  }
  QSettings settings(path, QSettings::IniFormat);
  EXPECT_EQ(settings.value(QStringLiteral("Settings/MainWidth")).toString(),
            QStringLiteral("12000"));
  EXPECT_EQ(ReadPlacement(settings), (Placement{1500, 30, 12000, 9000}));
}

TEST(Placement, AnUnchangedPlacementLeavesTheFileAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kelt.ini"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  // Laid out as no settings writer would: any rewrite shows.
  const QByteArray stored =
      "[Settings]\nMainLeft = 1500\nMainTop = 30\nMainWidth = 12000\nMainHeight = 9000\n";
  file.write(stored);
  file.close();
  {
    QSettings settings(path, QSettings::IniFormat);
    WritePlacement(settings, {1500, 30, 12000, 9000});
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), stored);
  file.close();
  {
    QSettings settings(path, QSettings::IniFormat);
    WritePlacement(settings, {1500, 40, 12000, 9000});
  }
  QSettings settings(path, QSettings::IniFormat);
  EXPECT_EQ(ReadPlacement(settings), (Placement{1500, 40, 12000, 9000}));
}

TEST(Placement, TwipsAndPixels) {
  EXPECT_EQ(PlacementToPixels({1000, 1000, 6500, 6500}, 96), QRect(67, 67, 433, 433));
  EXPECT_EQ(PlacementFromPixels(QRect(100, 50, 800, 600), 96), (Placement{1500, 750, 12000, 9000}));
  EXPECT_EQ(PlacementToPixels({1440, 0, 2880, 1440}, 120), QRect(120, 0, 240, 120));
}

// Whatever was stored, the frame comes back usable: on one screen, title bar in reach, not
// larger than that screen and not too small to work in.
TEST(Placement, TheFrameFitsOnAScreen) {
  const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
  const struct {
    QRect stored, placed;
    const char* why;
  } cases[] = {
      {QRect(100, 100, 800, 600), QRect(100, 100, 800, 600), "on screen: kept"},
      {QRect(3000, 900, 400, 300), QRect(2800, 724, 400, 300), "mostly on the second screen"},
      {QRect(1800, 100, 800, 600), QRect(1920, 100, 800, 600), "more on the second than the first"},
      {QRect(5000, 5000, 400, 300), QRect(1520, 780, 400, 300), "on no screen: the first"},
      {QRect(-900, 10, 1000, 300), QRect(0, 10, 1000, 300), "mostly off to the left"},
      {QRect(-100, -100, 66666667, 66666667), QRect(0, 0, 1920, 1080), "1e9 twips"},
      {QRect(50, 60, 0, 0), QRect(50, 60, 400, 300), "no size"},
      {QRect(50, 60, -40, -40), QRect(50, 60, 400, 300), "negative size"},
      {QRect(1900, 1070, 10, 10), QRect(1520, 780, 400, 300), "a dot in the corner"},
  };
  for (const auto& c : cases) EXPECT_EQ(FitOnScreen(c.stored, screens), c.placed) << c.why;
  EXPECT_EQ(FitOnScreen(QRect(10, 10, 0, 0), {}), QRect(10, 10, 400, 300));
}

TEST(Placement, ArrangedWindows) {
  const QRect area(0, 0, 1065, 702);
  const QSize size(710, 468);  // a sheet window's normal size
  const struct {
    int code, count;
    QList<QRect> rects;
    const char* why;
  } cases[] = {
      {0, 1, {QRect({0, 0}, size)}, "one window"},
      {0,
       3,
       {QRect({0, 0}, size), QRect({177, 117}, size), QRect({354, 234}, size)},
       "the stack fills the area, those behind show their left and top"},
      {0, 2, {QRect({0, 0}, size), QRect({180, 120}, size)}, "steps no larger than needed"},
      {1, 2, {QRect(0, 0, 1065, 351), QRect(0, 351, 1065, 351)}, "one above the other"},
      {2,
       3,
       {QRect(0, 0, 355, 702), QRect(355, 0, 355, 702), QRect(710, 0, 355, 702)},
       "side by side"},
      {0, 0, {}, "none"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArrangedWindows(c.code, area, c.count, size), c.rects) << c.why;
  }
  const QList<QRect> many = ArrangedWindows(0, area, 30, size);
  EXPECT_TRUE(area.contains(many.last())) << "thirty windows stay inside";
  EXPECT_EQ(ArrangedWindows(0, QRect(0, 0, 200, 100), 1, size), QList<QRect>{QRect(0, 0, 200, 100)})
      << "a tiny area: the whole of it";
}

}  // namespace
}  // namespace kelt
