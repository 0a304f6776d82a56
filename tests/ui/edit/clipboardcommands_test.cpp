#include "ui/edit/clipboardcommands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using test::Action;

// Ctrl+X, Ctrl+C and Ctrl+V typed in the editor box run the sheet's block commands.
TEST(ClipboardCommands, KeysInTheBoxMoveBlocks) {
  frmMain frame;
  frame.show();
  QApplication::setActiveWindow(&frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  frmDocument* doc = frame.activeSheet();
  Sheet* sheet = doc->sheet();
  sheet->SetViewText(1, 2, QStringLiteral("85"));
  sheet->SetViewText(1, 3, QStringLiteral("90"));
  doc->viewGrid()->SetCurrentCell(1, 2);
  doc->editor()->setFocus();

  QTest::keyClick(doc->editor(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("85\r\n"));
  EXPECT_TRUE(sheet->IsModified()) << "a copy marks the sheet";

  QApplication::clipboard()->setText(QStringLiteral("1\t2\r\n3\t4\r\n"));
  doc->viewGrid()->SetCurrentCell(10, 4);
  QTest::keyClick(doc->editor(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(sheet->ViewText(10, 4), QStringLiteral("1"));
  EXPECT_EQ(sheet->ViewText(11, 5), QStringLiteral("4"));
  EXPECT_EQ(doc->editor()->text(), QStringLiteral("1")) << "the box shows the pasted cell";

  QTest::keyClick(doc->editor(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1\r\n"));
  EXPECT_EQ(sheet->ViewText(10, 4), QString());
  EXPECT_EQ(doc->editor()->text(), QString());
}

TEST(ClipboardCommands, PasteRefusalsWriteNothing) {
  frmMain frame;
  frame.show();
  frmDocument* doc = frame.activeSheet();
  doc->sheet()->ShowClass(0);
  const TextGrid before = doc->sheet()->View();
  const struct {
    const char* what;
    bool text;
    int row, col;
    const char* message;
  } cases[] = {
      {"no text", false, 5, 2, "コピーが正しくできていません。"},
      {"below the class", true, 52, 2, "コピー先の範囲が不適当です"},
      {"past the right edge", true, 5, 20, "コピー先の範囲が不適当です"},
  };
  for (const auto& c : cases) {
    if (c.text) {
      QApplication::clipboard()->setText(QStringLiteral("a\tb\r\nc\td\r\n"));
    } else {
      QApplication::clipboard()->clear();
    }
    doc->viewGrid()->SetCurrentCell(c.row, c.col);
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Ok);
    frame.ToolbarClick(QStringLiteral("貼り付け"));
    ASSERT_EQ(prompts.shown().size(), 1) << c.what;
    EXPECT_EQ(prompts.shown()[0].text, QString::fromUtf8(c.message)) << c.what;
    EXPECT_EQ(doc->sheet()->View(), before) << c.what;
    EXPECT_TRUE(doc->sheet()->IsModified()) << c.what;
  }
  // The menu entries are there, with their shortcuts.
  EXPECT_EQ(Action(frame, "mnuEditCut")->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
  EXPECT_EQ(Action(frame, "mnuEditCopy")->text(), QStringLiteral("ｺﾋﾟｰ(&C)"));
  EXPECT_EQ(Action(frame, "mnuEditPaste")->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
}

// Whatever another program left on the clipboard: a bounded wait, the range check's message
// when the block does not fit and nothing written then, and the window alive afterwards.
TEST(ClipboardCommands, HostileClipboardTexts) {
  frmMain frame;
  frame.resize(1000, 700);
  frame.show();
  frmDocument* doc = frame.activeSheet();
  const QString line300 = QStringLiteral("7\t").repeated(299) + QStringLiteral("7");
  const struct {
    const char* what;
    QString text;
    bool fits;
  } cases[] = {
      {"20 MB of lines", QStringLiteral("1234567890\r\n").repeated(1700000), false},
      {"2000 lines", QStringLiteral("88\r\n").repeated(2000), false},
      {"300 fields", line300, false},
      {"NUL characters",
       QStringLiteral("8") + QChar(0) + QStringLiteral("5\t") + QChar(0) + QStringLiteral("\r\n"),
       true},
      {"one field of 10 MB", QString(10 * 1024 * 1024, QLatin1Char('9')) + QStringLiteral("\r\n"),
       true},
  };
  for (const auto& c : cases) {
    doc->sheet()->ShowGrade();
    doc->viewGrid()->SetCurrentCell(1, 2);
    QApplication::clipboard()->setText(c.text);
    const TextGrid before = doc->sheet()->View();
    test::ScriptedPrompts prompts;
    if (!c.fits) prompts.Expect(PromptAnswer::Ok);
    QElapsedTimer timer;
    timer.start();
    frame.ToolbarClick(QStringLiteral("貼り付け"));
    QApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 2000) << c.what;
    if (c.fits) {
      EXPECT_TRUE(prompts.shown().isEmpty()) << c.what;
      const QString first = c.text.split(u'\t').first().split(u'\r').first();
      EXPECT_TRUE(doc->sheet()->ViewText(1, 2) == first) << c.what;  // not printed: megabytes
    } else {
      ASSERT_EQ(prompts.shown().size(), 1) << c.what;
      EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("コピー先の範囲が不適当です")) << c.what;
      EXPECT_EQ(doc->sheet()->View(), before) << c.what;
    }
    doc->viewGrid()->viewport()->repaint();  // no freeze drawing what was pasted
  }
}

}  // namespace
}  // namespace kelt
