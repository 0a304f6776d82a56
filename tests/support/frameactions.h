#pragma once

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QTest>

#include "ui/app/frmmain.h"
#include "ui/sheet/frmdocument.h"

namespace kelt::test {

// A menu or toolbar command of the frame, found by its objectName.
inline QAction* Action(const frmMain& frame, const char* name) {
  return frame.findChild<QAction*>(QString::fromLatin1(name));
}

// Clicks a dialog's button, found by its objectName; a dialog the button closes is gone after.
inline void Press(QWidget* dialog, const char* button) {
  QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Clicks item `row` of a list: a column list marks or selects it.
inline void ClickItem(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

// The frame as a teacher finds it, shown (at `size` when given), with its start sheet active.
struct ShownFrame {
  explicit ShownFrame(QSize size = {}) {
    if (size.isValid()) frame.resize(size);
    frame.show();
    QApplication::processEvents();
  }
  frmDocument* doc() const { return frame.activeSheet(); }
  Sheet* sheet() const { return doc()->sheet(); }
  FlexGrid* grid() const { return doc()->viewGrid(); }
  frmMain frame;
};

}  // namespace kelt::test
