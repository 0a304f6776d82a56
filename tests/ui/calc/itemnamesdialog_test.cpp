#include "ui/calc/itemnamesdialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/qtprint.h"
#include "ui/app/frmmain.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using test::Action;

// A frame whose sheet has columns 0 to 6, named 国語, 数学, C, D, E.
struct Frame : test::ShownFrame {
  Frame() {
    Sheet* s = sheet();
    s->SetViewCols(7);
    s->MutableStorage().SetCols(7);
    s->SetViewText(0, 2, QStringLiteral("国語"));
    s->SetViewText(0, 3, QStringLiteral("数学"));
    Action(frame, "retukoumoku")->trigger();
    dialog = frame.findChild<ItemNamesDialog*>(QStringLiteral("列項目"));
  }
  FlexGrid* grid() { return dialog->findChild<FlexGrid*>(QStringLiteral("MSFlexGrid1")); }
  QLineEdit* editor() { return dialog->findChild<QLineEdit*>(QStringLiteral("Text1")); }
  void ClickRow(int row) {
    const QRect cell = grid()->visualRect(grid()->model()->index(row - 1, 0));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
  }
  void Type(const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(editor(), &commit);
  }
  void Press(const char* button) { test::Press(dialog, button); }
  QPointer<ItemNamesDialog> dialog;
};

TEST(ItemNamesDialog, GridOfTheSheetsColumns) {
  Frame f;
  ASSERT_NE(f.dialog, nullptr);
  FlexGrid* grid = f.grid();
  ASSERT_EQ(grid->Rows(), 6);
  ASSERT_EQ(grid->Cols(), 2);
  EXPECT_EQ(grid->TextMatrix(0, 0), QStringLiteral("列"));
  EXPECT_EQ(grid->TextMatrix(0, 1), QStringLiteral("項目名"));
  QStringList labels, names;
  for (int r = 1; r < 6; ++r) labels << grid->TextMatrix(r, 0), names << grid->TextMatrix(r, 1);
  EXPECT_EQ(labels, QString::fromUtf8("A|B|C|D|E").split(u'|'));
  EXPECT_EQ(names, QString::fromUtf8("国語|数学|C|D|E").split(u'|'));
  EXPECT_EQ(grid->CellAlignment(3, 0), 4);
  EXPECT_EQ(f.dialog->EditRow(), 1);

  const struct {
    int n;
    const char* label;
  } labelCases[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {255, "IU"}};
  for (const auto& c : labelCases) EXPECT_EQ(ItemLabel(c.n), QString::fromLatin1(c.label)) << c.n;
}

TEST(ItemNamesDialog, RenameInPlaceThenApply) {
  Frame f;
  f.ClickRow(2);
  EXPECT_EQ(f.dialog->EditRow(), 2);
  const QRect cell = f.grid()->visualRect(f.grid()->model()->index(1, 0));
  EXPECT_EQ(f.editor()->geometry(),
            QRect(f.grid()->viewport()->mapTo(f.dialog, cell.topLeft()), cell.size()))
      << "the box lies over the cell";
  EXPECT_EQ(f.editor()->text(), QStringLiteral("数学"));
  f.editor()->clear();
  f.Type(QStringLiteral("理科"));
  EXPECT_EQ(f.grid()->TextMatrix(2, 1), QStringLiteral("理科")) << "keystroke by keystroke";

  QTest::keyClick(f.editor(), Qt::Key_Return);
  EXPECT_EQ(f.dialog->EditRow(), 3);
  f.editor()->clear();  // an erased name leaves the sheet's own
  ASSERT_FALSE(f.dialog.isNull()) << "Enter is not the apply button";
  QTest::keyClick(f.editor(), Qt::Key_Down);
  QTest::keyClick(f.editor(), Qt::Key_Down);
  QTest::keyClick(f.editor(), Qt::Key_Down);
  EXPECT_EQ(f.dialog->EditRow(), 5) << "the last row keeps the box";
  for (int i = 0; i < 6; ++i) QTest::keyClick(f.editor(), Qt::Key_Up);
  EXPECT_EQ(f.dialog->EditRow(), 1);

  const TextGrid before = f.sheet()->View();
  f.Press("Command1");
  EXPECT_TRUE(f.dialog.isNull());
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(f.sheet()->ViewText(0, c), c == 3 ? QStringLiteral("理科") : before.Text(0, c)) << c;
  }
  EXPECT_TRUE(f.sheet()->IsModified());
}

TEST(ItemNamesDialog, CancelAndOtherSheets) {
  {
    Frame f;
    f.ClickRow(1);
    f.Type(QStringLiteral("x"));
    const TextGrid before = f.sheet()->View();
    f.Press("Command2");
    EXPECT_TRUE(f.dialog.isNull());
    EXPECT_EQ(f.sheet()->View(), before);
    EXPECT_FALSE(f.sheet()->IsModified());
  }
  // Applied to a wider sheet, the columns the dialog has no row for keep their names; a
  // narrower one takes only its own columns.
  Frame f;
  f.ClickRow(5);
  f.editor()->setText(QStringLiteral("E2"));
  frmDocument* wide = f.frame.NewSheet();
  wide->sheet()->SetViewText(0, 7, QStringLiteral("keep"));
  f.Press("Command1");
  EXPECT_EQ(wide->sheet()->ViewText(0, 6), QStringLiteral("E2"));
  EXPECT_EQ(wide->sheet()->ViewText(0, 7), QStringLiteral("keep"));
  EXPECT_EQ(wide->sheet()->ViewText(0, 2), QStringLiteral("国語"));
}

}  // namespace
}  // namespace kelt
