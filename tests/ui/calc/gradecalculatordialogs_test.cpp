#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/markcolumn.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using test::Action;

QDialog* Dialog(const frmMain& frame, const char* name) {
  return frame.findChild<QDialog*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
}

template <typename W = QLineEdit>
W* Child(QDialog* dialog, const char* name) {
  return dialog->findChild<W*>(QString::fromLatin1(name));
}

using test::Press;

// A key of the calculator's keypad by its array name and index.
void Key(QDialog* dialog, const char* array, int index) {
  for (QPushButton* key : dialog->findChildren<QPushButton*>(QString::fromLatin1(array))) {
    if (key->property("Index").toInt() == index) {
      QTest::mouseClick(key, Qt::LeftButton);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      return;
    }
  }
  ADD_FAILURE() << array << ' ' << index;
}

QStringList Column(Sheet* sheet, int col, int rows) {
  QStringList texts;
  for (int r = 1; r <= rows; ++r) texts << sheet->ViewText(r, col);
  return texts;
}

using test::Texts;

struct Frame : test::ShownFrame {
  explicit Frame(const char* marks) {
    sheet()->SetViewText(0, 2, QStringLiteral("国語"));
    const QStringList texts = Texts(marks);
    for (int r = 1; r <= texts.size(); ++r) {
      sheet()->SetViewText(r, 2, texts[r - 1]);
      sheet()->SetViewText(r, 5, QStringLiteral("old"));
    }
    grid()->SetCurrentCell(1, 5);
  }
};

TEST(GradeDialog, DistributionThenGradesThenUndo) {
  Frame f("100|85|84.5|65|40|39|30|0|-3||欠");
  Action(f.frame, "hyoutei")->trigger();
  QPointer<QDialog> dialog = Dialog(f.frame, "評定");
  ASSERT_NE(dialog, nullptr);
  const struct {
    const char* name;
    const char* text;
  } captions[] = {
      {"Command1", "評定"},     {"Command2", "中止"},
      {"Command3", "確認"},     {"Label16", "評定度数分布確認"},
      {"Label6", "５　,　A"},   {"Label10", "１　,　Ｅ"},
      {"Label11", "１　,　Ｅ"}, {"Label1", "以上"},
  };
  for (const auto& c : captions) {
    QWidget* w = dialog->findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(w, nullptr) << c.name;
    const QString text = w->property("text").toString();
    EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.name;
  }
  EXPECT_EQ(Child(dialog, "Text1")->text(), QStringLiteral("85"));
  EXPECT_EQ(Child(dialog, "Text5")->text(), QStringLiteral("0"));
  EXPECT_TRUE(Child<QRadioButton>(dialog, "Option1")->isChecked());

  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Press(dialog, "Command3");
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("項目を選択してください"));
  ASSERT_FALSE(dialog.isNull()) << "確認 keeps the dialog open";

  Child<QListWidget>(dialog, "List1")->item(0)->setSelected(true);
  for (int press = 0; press < 2; ++press) {
    Press(dialog, "Command3");
    QStringList counts;
    for (int box = 11; box >= 7; --box)
      counts << Child(dialog, QStringLiteral("Text%1").arg(box).toLatin1().constData())->text();
    EXPECT_EQ(counts, Texts("2|2|1|2|1")) << "press " << press;
  }
  EXPECT_FALSE(f.sheet()->IsModified());
  EXPECT_EQ(Column(f.sheet(), 5, 1), Texts("old"));

  Child<QRadioButton>(dialog, "Option2")->click();
  Press(dialog, "Command1");
  EXPECT_TRUE(dialog.isNull());
  EXPECT_EQ(Column(f.sheet(), 5, 11), Texts("A|A|B|B|C|D|D|E|old|old|old"));
  EXPECT_TRUE(f.sheet()->IsModified());

  prompts.Expect(PromptAnswer::Ok);
  Action(f.frame, "undo")->trigger();
  EXPECT_EQ(Column(f.sheet(), 5, 2), Texts("old|old"));
}

TEST(Calculator, KeypadKeyboardUndoAndDivisionByZero) {
  Frame f("80|60|");
  f.frame.ToolbarClick(QStringLiteral("四則"));
  QPointer<QDialog> dialog = Dialog(f.frame, "電卓");
  ASSERT_NE(dialog, nullptr);
  auto* display = Child<QLabel>(dialog, "Label1");
  auto* combo = Child<QComboBox>(dialog, "Combo1");
  EXPECT_EQ(display->text(), QStringLiteral("0"));
  EXPECT_EQ(combo->currentText(), QStringLiteral("国語"));
  EXPECT_EQ(combo->count(), 19);

  Key(dialog, "Opkey", 3);  // X
  EXPECT_EQ(Column(f.sheet(), 5, 3), Texts("80|60|old")) << "the first key copies";
  Key(dialog, "Numkey", 2);
  Key(dialog, "Opkey", 0);  // =
  EXPECT_EQ(Column(f.sheet(), 5, 3), Texts("160|120|old"));
  EXPECT_EQ(display->text(), QStringLiteral(" 2"));
  EXPECT_TRUE(f.sheet()->IsModified());

  // The keyboard reaches the keypad from the column list; Enter is "=".
  combo->setFocus();
  QTest::keyClicks(combo, QStringLiteral("+0.1"));
  QTest::keyClick(combo, Qt::Key_Return);
  EXPECT_EQ(Column(f.sheet(), 5, 2), Texts("80.1|60.1"));
  EXPECT_EQ(combo->currentIndex(), 0) << "digits do not choose another column";
  ASSERT_FALSE(dialog.isNull());

  // The cursor in the name column: refused, nothing written.
  test::ScriptedPrompts prompts;
  f.grid()->SetCurrentCell(1, 1);
  prompts.Expect(PromptAnswer::Ok);
  Key(dialog, "Opkey", 1);
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("番号・氏名の列には書き込めません"));
  EXPECT_EQ(f.sheet()->ViewText(1, 1), QString());
  f.grid()->SetCurrentCell(1, 5);

  // Undo goes back to the sheet as it was when the calculator opened.
  prompts.Expect(PromptAnswer::Ok);
  Action(f.frame, "undo")->trigger();
  EXPECT_EQ(Column(f.sheet(), 5, 2), Texts("old|old"));

  // ÷ 0 = : told, closed, and still pending at the next opening.
  Key(dialog, "CLRkey", 0);
  Key(dialog, "Opkey", 4);
  Key(dialog, "Numkey", 0);
  prompts.Expect(PromptAnswer::Ok);
  Key(dialog, "Opkey", 0);
  ASSERT_EQ(prompts.shown().size(), 3);
  EXPECT_EQ(prompts.shown()[2].text, QStringLiteral("0で割ることはできません"));
  EXPECT_TRUE(dialog.isNull());
  Action(f.frame, "shisoku")->trigger();
  dialog = Dialog(f.frame, "電卓");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Child<QLabel>(dialog, "Label1")->text(), QStringLiteral("0"));
  prompts.Expect(PromptAnswer::Ok);
  Key(dialog, "Opkey", 1);
  EXPECT_EQ(prompts.shown().size(), 4);
  EXPECT_TRUE(dialog.isNull());
}

}  // namespace
}  // namespace kelt
