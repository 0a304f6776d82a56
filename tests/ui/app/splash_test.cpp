#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include "support/qtprint.h"
#include "ui/app/frmsplash.h"

namespace kelt {
namespace {

TEST(frmSplash, ShowsNameAndVersion) {
  frmSplash splash;
  EXPECT_EQ(splash.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("ケルト"));
  EXPECT_EQ(splash.findChild<QLabel*>(QStringLiteral("lblProductName"))->text(),
            QStringLiteral("kelt"));
  EXPECT_EQ(splash.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
            QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.1.0"));
  EXPECT_EQ(VersionText(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.1.0"));
  for (int i = 1; i <= 7; ++i)
    EXPECT_NE(splash.findChild<QFrame*>(QStringLiteral("Line%1").arg(i)), nullptr);
}

TEST(frmSplash, KeyOrClickClosesIt) {
  QPointer<frmSplash> byKey = new frmSplash;
  byKey->show();
  QTest::keyClick(byKey, Qt::Key_Space);
  QTest::qWait(0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(byKey.isNull());

  QPointer<frmSplash> byClick = new frmSplash;
  byClick->show();
  QTest::mouseClick(byClick->findChild<QFrame*>(QStringLiteral("Frame1")), Qt::LeftButton, {},
                    QPoint(300, 10));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(byClick.isNull());
}

}  // namespace
}  // namespace kelt
