#include "ui/edit/clipboardcommands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
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

}  // namespace
}  // namespace kelt
