#include "ui/calc/viewpointdialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTableWidget>

#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/platform/settings.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using test::Action;
using test::Press;

QString U(const char* text) { return QString::fromUtf8(text); }

template <typename W>
W* Child(QDialog* dialog, const char* name) {
  W* child = dialog->findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Three pupils: テスト1 of 100, テスト2 of 50, レポート of 10.
struct Frame : test::ShownFrame {
  Frame() {
    OpenSettings()->remove(QStringLiteral("Viewpoints"));  // what an earlier test remembered
    const char* const header[] = {"テスト1", "テスト2", "レポート"};
    for (int i = 0; i < 3; ++i) sheet()->SetViewText(0, 2 + i, U(header[i]));
    const char* const marks[][3] = {{"90", "45", "9"}, {"40", "20", "5"}, {"欠", "", "10"}};
    for (int r = 0; r < 3; ++r) {
      for (int i = 0; i < 3; ++i) sheet()->SetViewText(1 + r, 2 + i, U(marks[r][i]));
    }
  }
  QDialog* Open() {
    Action(frame, "kanten")->trigger();
    return frame.findChild<QDialog*>(U("観点別評価"), Qt::FindDirectChildrenOnly);
  }
};

void Choose(QComboBox* box, int column) { box->setCurrentIndex(box->findData(column)); }

// The dialog filled for two viewpoints: テスト1 and テスト2 (of 50) for the first, レポート (of 10)
// for the second; letters into columns 6 and 7, 評定 into 8.
void Fill(QDialog* dialog) {
  test::ClickItem(Child<QListWidget>(dialog, "List1"), 0);
  test::ClickItem(Child<QListWidget>(dialog, "List1"), 1);
  Child<QTableWidget>(dialog, "Marks1")->item(1, 1)->setText(QStringLiteral("50"));
  test::ClickItem(Child<QListWidget>(dialog, "List2"), 2);
  Child<QTableWidget>(dialog, "Marks2")->item(0, 1)->setText(QStringLiteral("10"));
  Child<QLineEdit>(dialog, "Name3")->clear();
  Choose(Child<QComboBox>(dialog, "Target1"), 6);
  Choose(Child<QComboBox>(dialog, "Target2"), 7);
  Choose(Child<QComboBox>(dialog, "GradeTarget"), 8);
}

TEST(ViewpointDialog, CheckThenWriteAsOneUndoStep) {
  Frame f;
  QPointer<QDialog> dialog = f.Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Child<QLineEdit>(dialog, "Name1")->text(), U("知識・技能"));
  EXPECT_EQ(Child<QTableWidget>(dialog, "GradeTable")->rowCount(), 7) << "sums 9 down to 3";
  Fill(dialog);
  auto* table = Child<QTableWidget>(dialog, "GradeTable");
  ASSERT_EQ(table->rowCount(), 5) << "two viewpoints: 6 to 2";
  table->item(4, 1)->setText(QString());  // no 評定 for a sum of 2, which no pupil has here

  const TextGrid before = f.sheet()->View();
  Press(dialog, "Command3");
  const QString result = Child<QLabel>(dialog, "Result")->text();
  // 90 % and 40 %: A and C; 90 %, 50 %, 100 %: A, B, A.
  EXPECT_TRUE(result.contains(U("知識・技能: A 1人  B 0人  C 1人"))) << result.toStdString();
  EXPECT_TRUE(result.contains(U("思考・判断・表現: A 2人  B 1人  C 0人"))) << result.toStdString();
  EXPECT_TRUE(result.contains(U("5: 1人"))) << result.toStdString();
  EXPECT_TRUE(result.contains(U("A と C の両方がある生徒: 0人"))) << result.toStdString();
  EXPECT_EQ(f.sheet()->View(), before) << "確認 writes nothing";
  EXPECT_FALSE(f.sheet()->IsModified());

  Press(dialog, "Command1");
  EXPECT_TRUE(dialog.isNull()) << "実行 closes";
  const QStringList letters = {f.sheet()->ViewText(1, 6), f.sheet()->ViewText(2, 6),
                               f.sheet()->ViewText(3, 6), f.sheet()->ViewText(1, 7),
                               f.sheet()->ViewText(2, 7), f.sheet()->ViewText(3, 7)};
  EXPECT_EQ(letters, QStringList({U("A"), U("C"), QString(), U("A"), U("B"), U("A")}));
  EXPECT_EQ(f.sheet()->ViewText(1, 8), U("5"));
  EXPECT_EQ(f.sheet()->ViewText(2, 8), U("2")) << "C and B: 3 points";
  EXPECT_EQ(f.sheet()->ViewText(3, 8), QString()) << "no letter in the first viewpoint";
  EXPECT_TRUE(f.sheet()->IsModified());

  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Action(f.frame, "undo")->trigger();
  EXPECT_EQ(f.sheet()->View(), before) << "one undo brings everything back";

  // Opened again, it remembers: the cleared name, the items by their header and full marks, the
  // table.
  QPointer<QDialog> again = f.Open();
  EXPECT_TRUE(Child<QLineEdit>(again, "Name3")->text().isEmpty());
  EXPECT_EQ(Child<QTableWidget>(again, "GradeTable")->item(4, 1)->text(), QString());
  EXPECT_EQ(Child<QTableWidget>(again, "GradeTable")->item(3, 1)->text(), U("2"));
  auto* marks = Child<QTableWidget>(again, "Marks1");
  ASSERT_EQ(marks->rowCount(), 2);
  EXPECT_EQ(marks->item(1, 0)->text(), U("テスト2"));
  EXPECT_EQ(marks->item(1, 1)->text(), U("50"));
  again->close();
}

TEST(ViewpointDialog, RefusalsWriteNothing) {
  const struct {
    const char* what;
    int target1;
    bool clearItems;
    QString message;
  } cases[] = {
      {"the name column", 1, false, U("番号・氏名の列には書き込めません")},
      {"an item's column", 3, false, U("観点の項目に選んだ列には書き込めません")},
      {"the other viewpoint's column", 7, false, U("同じ列に二つの結果は書き込めません")},
      {"no item", 6, true, U("「知識・技能」の項目を選択してください")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Frame f;
    QPointer<QDialog> dialog = f.Open();
    Fill(dialog);
    Choose(Child<QComboBox>(dialog, "Target1"), c.target1);
    if (c.clearItems) {
      test::ClickItem(Child<QListWidget>(dialog, "List1"), 0);
      test::ClickItem(Child<QListWidget>(dialog, "List1"), 1);
    }
    const TextGrid before = f.sheet()->View();
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Ok);
    Press(dialog, "Command1");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, c.message);
    EXPECT_FALSE(dialog.isNull()) << "stays open";
    EXPECT_EQ(f.sheet()->View(), before);
    EXPECT_FALSE(f.sheet()->IsModified());
    dialog->close();
  }
}

}  // namespace
}  // namespace kelt
