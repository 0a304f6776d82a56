#include "core/sheet/sheet.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <random>

#include "core/edit/structureedits.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

// A sheet as a new window has it: laid out and stored once.
struct NewSheet {
  NewSheet() {
    sheet.BuildSheetLayout();
    sheet.StoreView();
  }
  Sheet sheet;
};

const QString kMark = QStringLiteral("85");

// The one place that knows where a grade row lives in storage, and back.
TEST(Sheet, RowMappings) {
  const struct {
    int gradeRow, storageRow;
  } pairs[] = {{0, 0},     {1, 1},       {50, 50},     {51, 53},
               {120, 124}, {1000, 1038}, {1001, 1041}, {1002, 1042}};
  for (const auto& p : pairs) {
    EXPECT_EQ(Sheet::StorageRowOfGradeRow(p.gradeRow), p.storageRow) << p.gradeRow;
    EXPECT_EQ(Sheet::GradeRowOfStorageRow(p.storageRow), p.gradeRow) << p.storageRow;
  }
  for (int classRow : {51, 52}) {  // class totals and averages
    EXPECT_EQ(Sheet::GradeRowOfStorageRow(Sheet::StorageRow(0, classRow)), -1);
    EXPECT_EQ(Sheet::GradeRowOfStorageRow(Sheet::StorageRow(19, classRow)), -1);
  }
  EXPECT_EQ(Sheet::StorageRow(3, 1), 157);
  EXPECT_EQ(Sheet::ItemColumn(0), 2);
}

TEST(Sheet, NewSheetLayout) {
  NewSheet s;
  const Sheet& sheet = s.sheet;
  ASSERT_EQ(sheet.View().Rows(), 1003);
  ASSERT_EQ(sheet.View().Cols(), 21);
  EXPECT_EQ(sheet.Storage().Rows(), 1043);
  EXPECT_EQ(sheet.Storage().Cols(), 21);
  EXPECT_EQ(sheet.ViewText(0, 0), QStringLiteral("番号"));
  EXPECT_EQ(sheet.ViewText(0, 1), QStringLiteral("氏  名"));
  EXPECT_EQ(sheet.ViewText(0, 2), QStringLiteral("A"));
  EXPECT_EQ(sheet.ViewText(0, 20), QStringLiteral("S"));
  EXPECT_EQ(sheet.ViewText(1, 0), QStringLiteral("101"));
  EXPECT_EQ(sheet.ViewText(50, 0), QStringLiteral("150"));
  EXPECT_EQ(sheet.ViewText(51, 0), QStringLiteral("201"));
  EXPECT_EQ(sheet.ViewText(1000, 0), QStringLiteral("2050"));
  EXPECT_EQ(sheet.ViewText(1001, 0), QStringLiteral("合計"));
  EXPECT_EQ(sheet.ViewText(1002, 0), QStringLiteral("平均"));
  EXPECT_EQ(sheet.ViewMarker(), QStringLiteral("21"));
  EXPECT_TRUE(sheet.IsGradeView());
  EXPECT_EQ(sheet.Mynowrow(), 1);
  EXPECT_EQ(sheet.Mynowcol(), 2);
  EXPECT_EQ(sheet.ModifiedMark(), Sheet::Mark::Untouched);
  EXPECT_EQ(Sheet::ClassName(0), QStringLiteral("1-A"));
  EXPECT_EQ(Sheet::ClassName(19), QStringLiteral("20-T"));
}

TEST(Sheet, ClassViewLayoutAndLabels) {
  NewSheet s;
  ASSERT_TRUE(s.sheet.ShowClass(0));
  const TextGrid& view = s.sheet.View();
  ASSERT_EQ(view.Rows(), 53);
  for (int r = 1; r <= 52; ++r) EXPECT_EQ(view.Text(r, 0), QString::number(r));
  EXPECT_EQ(view.Text(51, 1), QStringLiteral("合計"));
  EXPECT_EQ(view.Text(52, 1), QStringLiteral("平均"));
  EXPECT_EQ(view.Text(0, 1), QStringLiteral("氏  名"));
  EXPECT_EQ(s.sheet.ViewMarker(), QStringLiteral("0"));
  EXPECT_FALSE(s.sheet.ShowClass(0)) << "the view already shown is no transition";
}

// Marks typed in one class land in its rows of the grade view and come back to the class.
TEST(Sheet, MarksTravelBetweenClassAndGradeViews) {
  NewSheet s;
  Sheet& sheet = s.sheet;
  ASSERT_TRUE(sheet.ShowClass(1));  // 2-B
  for (int r = 1; r <= 50; ++r) sheet.SetViewText(r, 2, QString::number(r));
  sheet.SetViewText(3, 1, QStringLiteral("山田 太郎"));
  sheet.SetViewText(51, 5, QStringLiteral("class total"));

  ASSERT_TRUE(sheet.ShowGrade());
  ASSERT_EQ(sheet.View().Rows(), 1003);
  for (int r = 1; r <= 50; ++r) EXPECT_EQ(sheet.ViewText(50 + r, 2), QString::number(r)) << r;
  EXPECT_EQ(sheet.ViewText(53, 1), QStringLiteral("山田 太郎"));
  EXPECT_EQ(sheet.ViewText(50, 2), QString()) << "1-A untouched";
  EXPECT_EQ(sheet.ViewText(101, 2), QString()) << "3-C untouched";
  EXPECT_EQ(sheet.ViewText(51, 0), QStringLiteral("201")) << "numbers come back over the ordinals";
  EXPECT_EQ(sheet.ViewText(1002, 0), QStringLiteral("平均"));
  for (int r = 1; r < 1003; ++r)
    EXPECT_NE(sheet.ViewText(r, 5), QStringLiteral("class total")) << r;
  EXPECT_EQ(sheet.Storage().Text(Sheet::StorageRow(1, 51), 5), QStringLiteral("class total"));

  sheet.SetViewText(100, 3, kMark);  // typed in the grade view, pupil 50 of 2-B
  ASSERT_TRUE(sheet.ShowClass(5));
  ASSERT_TRUE(sheet.ShowClass(1));
  EXPECT_EQ(sheet.ViewText(1, 2), QStringLiteral("1"));
  EXPECT_EQ(sheet.ViewText(50, 2), QStringLiteral("50"));
  EXPECT_EQ(sheet.ViewText(50, 3), kMark);
  EXPECT_EQ(sheet.ViewText(51, 5), QStringLiteral("class total"));
}

TEST(Sheet, CursorRowAcrossViews) {
  struct Case {
    int gradeRow;
    int classRow;
  };
  const Case cases[] = {{120, 14}, {1, 1}, {52, 52}, {53, 1}, {106, 1}, {1002, 48}, {1001, 47}};
  for (const Case& c : cases) {
    NewSheet s;
    s.sheet.MoveCursor(c.gradeRow, 7);
    int requestedRow = -1;
    QObject::connect(&s.sheet, &Sheet::currentCellRequested, [&](int r, int) { requestedRow = r; });
    QSignalSpy moved(&s.sheet, &Sheet::cursorMoved);
    s.sheet.ShowClass(3);
    EXPECT_EQ(s.sheet.Mynowrow(), c.classRow) << "grade row " << c.gradeRow;
    EXPECT_EQ(requestedRow, c.classRow);
    EXPECT_EQ(moved.size(), c.gradeRow == c.classRow ? 0 : 1) << "every move is announced, once";
    EXPECT_EQ(s.sheet.Mynowcol(), 7);
    s.sheet.ShowGrade();
    EXPECT_EQ(s.sheet.Mynowrow(), c.classRow) << "the class row is taken unchanged";
  }
}

TEST(Sheet, ViewMarkerFollowsTheView) {
  NewSheet s;
  QStringList changes;
  QObject::connect(&s.sheet, &Sheet::viewChanged,
                   [&](int from, int to) { changes << QStringLiteral("%1>%2").arg(from).arg(to); });
  s.sheet.ShowClass(19);
  s.sheet.ShowClass(2);
  s.sheet.ShowGrade();
  EXPECT_FALSE(s.sheet.ShowGrade());
  EXPECT_EQ(changes,
            (QStringList{QStringLiteral("21>19"), QStringLiteral("19>2"), QStringLiteral("2>21")}));
}

TEST(Sheet, UndoInTheGradeViewReturnsToTheLastStore) {
  NewSheet s;
  Sheet& sheet = s.sheet;
  sheet.SetViewText(1, 2, kMark);
  sheet.SetViewText(1001, 2, QStringLiteral("1000"));
  sheet.Undo();
  EXPECT_EQ(sheet.ViewText(1, 2), QString());
  EXPECT_EQ(sheet.ViewText(1001, 2), QString());
  EXPECT_EQ(sheet.ViewText(1, 0), QStringLiteral("101")) << "the creation store keeps the numbers";
  EXPECT_EQ(sheet.ViewText(1001, 0), QStringLiteral("合計"));

  sheet.SetViewText(1, 2, kMark);
  sheet.StoreView();
  sheet.SetViewText(1, 2, QStringLiteral("90"));
  sheet.SetViewText(2, 2, QStringLiteral("70"));
  sheet.Undo();
  const TextGrid once = sheet.View();
  sheet.Undo();
  EXPECT_EQ(sheet.View(), once) << "a second undo changes nothing more";
  EXPECT_EQ(sheet.ViewText(1, 2), kMark);
  EXPECT_EQ(sheet.ViewText(2, 2), QString());
}

TEST(Sheet, UndoInAClassViewReturnsToTheSwitchAndRewritesLabels) {
  NewSheet s;
  Sheet& sheet = s.sheet;
  sheet.ShowClass(0);
  sheet.SetViewText(1, 2, kMark);
  sheet.ShowClass(1);  // the switch is the snapshot
  sheet.SetViewText(1, 2, QStringLiteral("77"));
  sheet.SetViewText(51, 1, QStringLiteral("x"));
  sheet.SetViewText(52, 1, QString());
  sheet.MarkModified();
  sheet.Undo();
  EXPECT_EQ(sheet.ViewText(1, 2), QString());
  EXPECT_EQ(sheet.ViewText(51, 1), QStringLiteral("合計"));
  EXPECT_EQ(sheet.ViewText(52, 1), QStringLiteral("平均"));
  EXPECT_EQ(sheet.ViewText(1, 0), QStringLiteral("1"));
  EXPECT_TRUE(sheet.IsModified()) << "undo leaves the mark alone";
  sheet.ShowClass(0);
  EXPECT_EQ(sheet.ViewText(1, 2), kMark);
}

TEST(Sheet, WiderGridsCopyEveryColumn) {
  NewSheet s;
  Sheet& sheet = s.sheet;
  sheet.MutableStorage().SetCols(257);
  sheet.SetViewCols(257);
  sheet.SetViewText(1000, 256, kMark);
  sheet.ShowClass(19);
  EXPECT_EQ(sheet.ViewText(50, 256), kMark);
  sheet.SetViewText(52, 256, QStringLiteral("avg"));
  sheet.ShowGrade();
  EXPECT_EQ(sheet.Storage().Text(Sheet::StorageRow(19, 52), 256), QStringLiteral("avg"));
  EXPECT_EQ(sheet.ViewText(1000, 256), kMark);
}

TEST(Sheet, MarkAndCaptionAnnounceChanges) {
  Sheet sheet;
  QList<Sheet::Mark> marks;
  QObject::connect(&sheet, &Sheet::markChanged, [&](Sheet::Mark mark) { marks << mark; });
  sheet.MarkModified();
  sheet.MarkModified();
  sheet.SetMark(Sheet::Mark::Saved);
  EXPECT_EQ(marks, (QList<Sheet::Mark>{Sheet::Mark::Modified, Sheet::Mark::Saved}));
  EXPECT_FALSE(sheet.IsModified());
}

// A store copies only what was written since the view and storage last agreed: whatever a
// teacher does in between, it must leave storage exactly as copying every cell would.
TEST(Sheet, AStoreEqualsCopyingEveryCell) {
  std::mt19937 random(20261207);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int run = 0; run < 20; ++run) {
    NewSheet s;
    Sheet& sheet = s.sheet;
    for (int step = 0; step < 60; ++step) {
      const TextGrid& view = sheet.View();
      const QString text = QString::number(pick(1000));
      switch (pick(9)) {
        case 0:
        case 1:
          sheet.SetViewText(pick(view.Rows()), pick(view.Cols()), text);
          break;
        case 2: {
          const int col = pick(view.Cols());
          sheet.EditView([&](TextGrid& v) {
            for (int r = 1; r < v.Rows(); r += 3) v.SetText(r, col, text);
          });
          break;
        }
        case 3:
          sheet.ShowClass(pick(Sheet::kClassCount));
          break;
        case 4:
          sheet.ShowGrade();
          break;
        case 5:
          sheet.Undo();
          break;
        case 6:
          InsertColumn(sheet, 2 + pick(view.Cols() - 2));
          break;
        case 7:
          DeleteColumn(sheet, 2 + pick(view.Cols() - 2));
          break;
        default:
          sheet.StoreView();
          break;
      }
      TextGrid expected = sheet.Storage();
      sheet.StoreWholeViewInto(expected);
      TextGrid stored = sheet.Storage();
      sheet.StoreViewInto(stored);
      ASSERT_EQ(stored, expected) << "run " << run << ", step " << step;
    }
  }
}

}  // namespace
}  // namespace kelt
