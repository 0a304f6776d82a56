#include "ui/calc/columndialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
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

ColumnDialog* Dialog(const frmMain& frame, const QString& name) {
  return frame.findChild<ColumnDialog*>(name, Qt::FindDirectChildrenOnly);
}

using test::ClickItem;
using test::Press;

struct Frame : test::ShownFrame {
  Frame() {
    Sheet* sheet = this->sheet();
    sheet->SetViewText(0, 2, QStringLiteral("国語"));
    for (int r = 1; r <= 3; ++r) {
      sheet->SetViewText(r, 2, QString::number(70 + r));
      sheet->SetViewText(r, 3, QString::number(80 + r));
    }
  }
};

TEST(ColumnDialog, TotalFromTheMenuThenUndo) {
  Frame f;
  Action(f.frame, "yokogoukei")->trigger();
  QPointer<ColumnDialog> dialog = Dialog(f.frame, QStringLiteral("合計"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("合計"));
  EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
            QStringLiteral("合計"));
  EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("Command2"))->text(),
            QStringLiteral("中止"));
  EXPECT_EQ(dialog->findChild<QRadioButton*>(QStringLiteral("Option1")), nullptr)
      << "totals are not rounded";
  auto* list = dialog->findChild<QListWidget*>(QStringLiteral("List1"));
  ASSERT_EQ(list->count(), 19);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("国語"));
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("B"));

  ClickItem(list, 0);
  ClickItem(list, 1);
  ClickItem(list, 2);
  ClickItem(list, 2);  // a second click takes the mark off
  f.grid()->SetCurrentCell(1, 10);
  Press(dialog, "Command1");
  EXPECT_TRUE(dialog.isNull()) << "OK closes the dialog";
  EXPECT_EQ(f.sheet()->ViewText(1, 10), QStringLiteral("152"));
  EXPECT_EQ(f.sheet()->ViewText(3, 10), QStringLiteral("156"));
  EXPECT_EQ(f.sheet()->ViewText(4, 10), QString());
  EXPECT_TRUE(f.sheet()->IsModified());

  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Action(f.frame, "undo")->trigger();
  EXPECT_EQ(f.sheet()->ViewText(1, 10), QString());
  EXPECT_EQ(f.sheet()->ViewText(1, 2), QStringLiteral("71")) << "marks typed before OK stay";
}

TEST(ColumnDialog, CancelChangesNothing) {
  Frame f;
  Action(f.frame, "yokoheikin")->trigger();
  QPointer<ColumnDialog> dialog = Dialog(f.frame, QStringLiteral("平均"));
  ASSERT_NE(dialog, nullptr);
  ClickItem(dialog->findChild<QListWidget*>(QStringLiteral("List1")), 0);
  const TextGrid before = f.sheet()->View();
  Press(dialog, "Command2");
  EXPECT_TRUE(dialog.isNull());
  EXPECT_EQ(f.sheet()->View(), before);
  EXPECT_FALSE(f.sheet()->IsModified());
}

TEST(ColumnDialog, OneInstanceInFront) {
  Frame f;
  Action(f.frame, "heusa")->trigger();
  ColumnDialog* first = Dialog(f.frame, QStringLiteral("偏差値"));
  f.frame.ToolbarClick(QStringLiteral("偏差"));
  EXPECT_EQ(f.frame.findChildren<ColumnDialog*>(QStringLiteral("偏差値")).size(), 1);
  EXPECT_EQ(Dialog(f.frame, QStringLiteral("偏差値")), first);
  const QStringList captions = {QStringLiteral("整数"), QStringLiteral("小数第１位"),
                                QStringLiteral("小数第2位")};
  for (int i = 0; i < 3; ++i) {
    auto* option = first->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(i + 1));
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->text(), captions[i]);
    EXPECT_EQ(option->isChecked(), i == 0);
  }
}

TEST(ColumnDialog, RankWithoutAnItemAsksAndStillCloses) {
  Frame f;
  f.frame.ToolbarClick(QStringLiteral("順位"));
  QPointer<ColumnDialog> dialog = Dialog(f.frame, QStringLiteral("順位"));
  ASSERT_NE(dialog, nullptr);
  const TextGrid before = f.sheet()->View();
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Press(dialog, "Command1");
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("項目を選択してください"));
  EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("kelt"));
  EXPECT_EQ(f.sheet()->View(), before);
  EXPECT_TRUE(f.sheet()->IsModified());
  EXPECT_TRUE(dialog.isNull());
}

TEST(ColumnDialog, DeviationWithRoundingGoesToTheSheetActiveAtOk) {
  Frame f;
  frmDocument* first = f.frame.activeSheet();
  Action(f.frame, "heusa")->trigger();
  QPointer<ColumnDialog> dialog = Dialog(f.frame, QStringLiteral("偏差値"));
  auto* list = dialog->findChild<QListWidget*>(QStringLiteral("List1"));
  list->setCurrentRow(0);
  dialog->findChild<QRadioButton*>(QStringLiteral("Option3"))->click();

  frmDocument* second = f.frame.NewSheet();
  for (int r = 1; r <= 3; ++r) second->sheet()->SetViewText(r, 2, QString::number(50 + 10 * r));
  second->viewGrid()->SetCurrentCell(1, 5);
  Press(dialog, "Command1");
  EXPECT_EQ(second->sheet()->ViewText(1, 5), QStringLiteral("37.75"));
  EXPECT_EQ(second->sheet()->ViewText(2, 5), QStringLiteral("50"));
  EXPECT_EQ(second->sheet()->ViewText(3, 5), QStringLiteral("62.25"));
  EXPECT_TRUE(second->sheet()->IsModified());
  EXPECT_FALSE(first->sheet()->IsModified());
  EXPECT_EQ(first->sheet()->ViewText(1, 5), QString());
}

TEST(ColumnDialog, RoundingHasNoListAndRoundsTheTargetColumn) {
  Frame f;
  f.sheet()->SetViewText(1, 4, QStringLiteral("72.45"));
  f.sheet()->SetViewText(2, 4, QStringLiteral("1,200"));
  Action(f.frame, "marume")->trigger();
  QPointer<ColumnDialog> dialog = Dialog(f.frame, QStringLiteral("四捨五入"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->findChild<QListWidget*>(), nullptr);
  dialog->findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
  f.grid()->SetCurrentCell(2, 4);
  Press(dialog, "Command1");
  EXPECT_EQ(f.sheet()->ViewText(1, 4), QStringLiteral("72.5"));
  EXPECT_EQ(f.sheet()->ViewText(2, 4), QStringLiteral("1200"));
}

TEST(ColumnDialog, NoSheetNoDialogAndOkAfterTheLastSheetClosed) {
  Frame f;
  Action(f.frame, "tatekei")->trigger();
  QPointer<ColumnDialog> dialog = Dialog(f.frame, QStringLiteral("縦合計平均"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
            QStringLiteral("平均・合計"));
  f.frame.mdiArea()->closeAllSubWindows();
  QApplication::processEvents();
  Press(dialog, "Command1");
  EXPECT_TRUE(dialog.isNull());
  Action(f.frame, "juni")->trigger();
  EXPECT_EQ(Dialog(f.frame, QStringLiteral("順位")), nullptr);
}

// Totals or ranks written over the pupils' numbers or names would destroy them: with the cursor
// there, every dialog that writes into the cursor's column refuses and stays open.
TEST(ColumnDialog, TheNumberAndNameColumnsAreNeverTargets) {
  const struct {
    const char* menu;
    const char* dialog;
    bool refuses;
  } cases[] = {
      {"yokogoukei", "合計", true}, {"yokoheikin", "平均", true}, {"juni", "順位", true},
      {"heusa", "偏差値", true},    {"marume", "四捨五入", true}, {"tatekei", "縦合計平均", false},
  };
  for (const auto& c : cases) {
    for (const int column : {0, 1}) {
      Frame f;
      f.sheet()->SetViewText(1, 1, QStringLiteral("12"));  // a name that looks like a number
      f.sheet()->StoreView();
      Action(f.frame, c.menu)->trigger();
      QPointer<ColumnDialog> dialog = Dialog(f.frame, QString::fromUtf8(c.dialog));
      ASSERT_NE(dialog, nullptr) << c.dialog;
      if (auto* list = dialog->findChild<QListWidget*>(QStringLiteral("List1"))) {
        ClickItem(list, 0);
        ClickItem(list, 1);
      }
      f.grid()->SetCurrentCell(2, column);
      const TextGrid view = f.sheet()->View();
      const TextGrid storage = f.sheet()->Storage();
      test::ScriptedPrompts prompts;
      if (c.refuses) prompts.Expect(PromptAnswer::Ok);
      Press(dialog, "Command1");
      if (!c.refuses) {
        EXPECT_TRUE(prompts.shown().isEmpty()) << c.dialog;
        EXPECT_TRUE(dialog.isNull()) << c.dialog;
        EXPECT_EQ(f.sheet()->ViewText(1001, 2), QStringLiteral("216")) << "runs as usual";
        EXPECT_EQ(f.sheet()->ViewText(1002, 2), QStringLiteral("72"));
        EXPECT_EQ(f.sheet()->ViewText(1, 1), QStringLiteral("12"));
        continue;
      }
      ASSERT_EQ(prompts.shown().size(), 1) << c.dialog << ' ' << column;
      EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("番号・氏名の列には書き込めません"));
      EXPECT_FALSE(dialog.isNull()) << c.dialog << " stays open";
      EXPECT_EQ(f.sheet()->View(), view) << c.dialog;
      EXPECT_EQ(f.sheet()->Storage(), storage) << c.dialog << ": the undo snapshot stays";
      EXPECT_FALSE(f.sheet()->IsModified()) << c.dialog;
    }
  }
}

}  // namespace
}  // namespace kelt
