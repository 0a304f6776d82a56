#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/sheet/sheet.h"
#include "support/fakehost.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/celleditor.h"
#include "ui/sheet/frmdocument.h"

namespace kelt::test {

// A shown, active sheet window with the focus in the editor box.
struct SheetWindow {
  explicit SheetWindow(QSize size = {900, 600}) : doc(new frmDocument(&host)) {
    doc->resize(size);
    doc->show();
    doc->activateWindow();
    QApplication::setActiveWindow(doc);
    EXPECT_TRUE(QTest::qWaitForWindowActive(doc));
    box()->setFocus();
  }
  ~SheetWindow() { delete doc; }

  QLineEdit* box() const { return doc->findChild<QLineEdit*>(QStringLiteral("Text1")); }
  QLabel* label() const { return doc->findChild<QLabel*>(QStringLiteral("Label5")); }
  FlexGrid* grid() const { return doc->viewGrid(); }
  Sheet* sheet() const { return doc->sheet(); }
  void Key(Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(box(), key);
  }
  // Puts the cursor on (row, col) as a click on a score cell would.
  void GoTo(int row, int col) {
    grid()->SetCurrentCell(row, col);
    doc->cellEditor()->Refresh();
  }
  void ShowClass(int n) { QTest::mouseClick(doc->classButton(n), Qt::LeftButton); }
  void Click(int row, int col, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = grid()->visualRect(grid()->model()->index(row - 1, col - 1));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, rect.center());
  }

  FakeHost host;
  frmDocument* doc;
};

}  // namespace kelt::test
