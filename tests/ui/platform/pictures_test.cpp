#include "ui/platform/pictures.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTemporaryDir>
#include <memory>

namespace kelt {
namespace {

bool ImagePluginLoaded() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

TEST(Pictures, APngIsReadAsPngOrNotAtAll) {
  EXPECT_EQ(ReadPng(QStringLiteral(":/icons/kelt-32.png")).size(), QSize(32, 32));
  EXPECT_EQ(ReadPng(QStringLiteral(":/icons/file-new-24.png")).size(), QSize(24, 24));
  QTemporaryDir dir;
  const QString notPng = dir.filePath(QStringLiteral("marks.png"));
  QFile file(notPng);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("GIF89a\x01\x00\x01\x00 these are no pixels");
  file.close();
  EXPECT_TRUE(ReadPng(notPng).isNull());
  EXPECT_TRUE(ReadPng(dir.filePath(QStringLiteral("missing.png"))).isNull());
}

// Each test runs in a process of its own, after the program's set-up (icons and style): none of
// it may have every image-format plugin loaded, which costs milliseconds of each start.
TEST(Pictures, StartingUpLoadsNoImagePlugin) {
  EXPECT_FALSE(ImagePluginLoaded());
  std::unique_ptr<QStyle> fusion(NewFusionStyle());
  fusion->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16);
  fusion->standardIcon(QStyle::SP_TitleBarMaxButton).pixmap(16);
  EXPECT_FALSE(ImagePluginLoaded());
  // The way it is avoided: a picture read by name alone does load them, where Qt has any.
  const QString plugins =
      QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/imageformats");
  if (QDir(plugins).isEmpty())
    GTEST_SKIP() << "no image-format plugins in " << plugins.toStdString();
  EXPECT_FALSE(QPixmap(QStringLiteral(":/icons/kelt-16.png")).isNull());
  EXPECT_TRUE(ImagePluginLoaded());
}

// The icons read apart are the very pictures Fusion gives, either way round; every other icon is
// Fusion's own.
TEST(Pictures, TheStyleDrawsFusionsIcons) {
  std::unique_ptr<QStyle> ours(NewFusionStyle());
  std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
    QStyleOption option;
    option.direction = direction;
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_TitleBarMaxButton,
          QStyle::SP_ToolBarVerticalExtensionButton, QStyle::SP_TitleBarCloseButton}) {
      const QIcon expected = fusion->standardIcon(which, &option);
      const QIcon actual = ours->standardIcon(which, &option);
      ASSERT_FALSE(expected.availableSizes().isEmpty()) << which;
      EXPECT_EQ(actual.availableSizes(), expected.availableSizes()) << which;
      for (const QSize& size : expected.availableSizes()) {
        EXPECT_EQ(actual.pixmap(size).toImage(), expected.pixmap(size).toImage())
            << which << " at " << size.width() << (direction == Qt::RightToLeft ? " rtl" : "");
      }
    }
  }
}

}  // namespace
}  // namespace kelt
