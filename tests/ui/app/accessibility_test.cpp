// Every control of every window a teacher opens can be named by a screen reader.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QWidget>

#include "support/frameactions.h"
#include "support/qtprint.h"
#include "ui/app/frmmain.h"

namespace kelt {
namespace {

// The controls of `window` that take the focus but have no accessible name, by class and
// objectName.
QStringList Unnamed(const QWidget* window) {
  QStringList unnamed;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(window)) continue;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (iface && !iface->text(QAccessible::Name).trimmed().isEmpty()) continue;
    unnamed << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
                   widget->objectName();
  }
  return unnamed;
}

TEST(Accessibility, EveryFocusableControlHasAName) {
  const struct {
    const char* action;
    const char* window;
  } windows[] = {
      {"yokogoukei", "合計"},   {"yokoheikin", "平均"}, {"tatekei", "縦合計平均"},
      {"juni", "順位"},         {"heusa", "偏差値"},    {"marume", "四捨五入"},
      {"hyoutei", "評定"},      {"shisoku", "電卓"},    {"retukoumoku", "列項目"},
      {"mnuFilePrint", "印刷"}, {"bunpu", "分布"},
  };
  test::ShownFrame f;
  f.sheet()->SetViewText(0, 2, QStringLiteral("国語"));
  EXPECT_EQ(Unnamed(&f.frame), QStringList()) << "the frame and its sheet";
  for (const auto& w : windows) {
    test::Action(f.frame, w.action)->trigger();
    QApplication::processEvents();
    auto* window = f.frame.findChild<QWidget*>(QString::fromUtf8(w.window));
    ASSERT_NE(window, nullptr) << w.window;
    EXPECT_EQ(Unnamed(window), QStringList()) << w.window;
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace kelt
