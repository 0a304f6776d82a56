#include "core/edit/structureedits.h"

#include <gtest/gtest.h>

#include "core/sheet/sheet.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

// A laid-out sheet whose every view and storage cell from column 1 on names itself.
struct FilledSheet {
  FilledSheet() {
    sheet.BuildSheetLayout();
    sheet.StoreView();
    Fill();
  }
  void Fill() {
    sheet.EditView([](TextGrid& view) {
      for (int r = 0; r < view.Rows(); ++r)
        for (int c = 1; c < view.Cols(); ++c) view.SetText(r, c, Name(r, c));
    });
    TextGrid& storage = sheet.MutableStorage();
    for (int r = 0; r < storage.Rows(); ++r)
      for (int c = 1; c < storage.Cols(); ++c) storage.SetText(r, c, Name(r, c) + u's');
  }
  static QString Name(int r, int c) { return QStringLiteral("%1.%2").arg(r).arg(c); }
  Sheet sheet;
};

TEST(StructureEdits, InsertColumnShiftsEveryRowOfBothGrids) {
  for (const bool classView : {true, false}) {
    SCOPED_TRACE(classView ? "class view" : "grade view");
    FilledSheet f;
    if (classView) {
      f.sheet.ShowClass(3);
      f.Fill();
    }
    Sheet& sheet = f.sheet;
    ASSERT_EQ(InsertColumn(sheet, 3), StructureEdit::kDone);
    const TextGrid& view = sheet.View();
    ASSERT_EQ(view.Cols(), 22);
    for (int r = 0; r < view.Rows(); ++r) {
      ASSERT_EQ(view.Text(r, 3), QString()) << r;
      ASSERT_EQ(view.Text(r, 2), FilledSheet::Name(r, 2)) << r;
      ASSERT_EQ(view.Text(r, 21), FilledSheet::Name(r, 20)) << r;
    }
    const TextGrid& storage = sheet.Storage();
    ASSERT_EQ(storage.Cols(), 22);
    for (int r = 0; r < Sheet::kStorageRows; ++r) {
      ASSERT_EQ(storage.Text(r, 3), QString()) << r;
      ASSERT_EQ(storage.Text(r, 4), FilledSheet::Name(r, 3) + u's') << r;
    }
    EXPECT_TRUE(sheet.IsModified());
  }
}

TEST(StructureEdits, ColumnLimits) {
  const struct {
    const char* what;
    int cols;
    bool insert;
    int col;
    StructureEdit result;
    int colsAfter;
  } cases[] = {
      {"insert at 256", 256, true, 2, StructureEdit::kDone, 257},
      {"insert at 257", 257, true, 2, StructureEdit::kTooManyColumns, 257},
      {"delete at 4", 4, false, 2, StructureEdit::kDone, 3},
      {"delete at 3", 3, false, 2, StructureEdit::kTooFewColumns, 3},
      // The names and numbers never move, in any class.
      {"insert in the name column", 21, true, 1, StructureEdit::kNumberOrNameColumn, 21},
      {"insert in the number column", 21, true, 0, StructureEdit::kNumberOrNameColumn, 21},
      {"delete the name column", 21, false, 1, StructureEdit::kNumberOrNameColumn, 21},
      {"delete the number column", 21, false, 0, StructureEdit::kNumberOrNameColumn, 21},
  };
  for (const auto& c : cases) {
    Sheet sheet;
    sheet.BuildSheetLayout();
    sheet.SetViewCols(c.cols);
    sheet.MutableStorage().SetCols(c.cols);
    sheet.SetViewText(1, 1, QStringLiteral("佐藤"));
    sheet.StoreView();
    const TextGrid storage = sheet.Storage();
    const StructureEdit result = c.insert ? InsertColumn(sheet, c.col) : DeleteColumn(sheet, c.col);
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_EQ(sheet.View().Cols(), c.colsAfter) << c.what;
    EXPECT_EQ(sheet.Storage().Cols(), c.colsAfter) << c.what;
    EXPECT_EQ(sheet.IsModified(), c.result == StructureEdit::kDone) << c.what;
    if (c.result == StructureEdit::kDone) continue;
    EXPECT_EQ(sheet.ViewText(1, 1), QStringLiteral("佐藤")) << c.what;
    EXPECT_EQ(sheet.Storage(), storage) << c.what;
  }
}

TEST(StructureEdits, DeleteColumn) {
  FilledSheet f;
  Sheet& sheet = f.sheet;
  ASSERT_EQ(DeleteColumn(sheet, 5), StructureEdit::kDone);
  EXPECT_EQ(sheet.View().Cols(), 20);
  EXPECT_EQ(sheet.ViewText(7, 5), FilledSheet::Name(7, 6));
  EXPECT_EQ(sheet.ViewText(0, 19), FilledSheet::Name(0, 20));
  EXPECT_EQ(sheet.Storage().Text(1042, 5), FilledSheet::Name(1042, 6) + u's');

  // The last column, with the cursor in it: nothing moves and the cursor stays in the grid.
  sheet.MoveCursor(9, 19);
  ASSERT_EQ(DeleteColumn(sheet, 19), StructureEdit::kDone);
  EXPECT_EQ(sheet.View().Cols(), 19);
  EXPECT_EQ(sheet.ViewText(9, 18), FilledSheet::Name(9, 19)) << "moved once, by the first delete";
  EXPECT_EQ(sheet.Mynowcol(), 18);
  EXPECT_EQ(sheet.Mynowrow(), 9);
}

TEST(StructureEdits, InsertRowInAClassView) {
  const struct {
    int row;
    QList<int> moved;  // rows that now hold the texts of the row above
  } cases[] = {{10, {11, 30, 50}}, {50, {}}, {51, {}}, {52, {}}};
  for (const auto& c : cases) {
    FilledSheet f;
    Sheet& sheet = f.sheet;
    EXPECT_EQ(InsertRow(sheet, c.row), StructureEdit::kNotAClassView);
    EXPECT_FALSE(sheet.IsModified());
    sheet.ShowClass(2);
    f.Fill();
    ASSERT_EQ(InsertRow(sheet, c.row), StructureEdit::kDone) << c.row;
    for (int col = 1; col < 21; ++col) EXPECT_EQ(sheet.ViewText(c.row, col), QString()) << c.row;
    EXPECT_EQ(sheet.ViewText(c.row, 0), QString::number(c.row)) << "numbers stay";
    for (int moved : c.moved)
      EXPECT_EQ(sheet.ViewText(moved, 4), FilledSheet::Name(moved - 1, 4)) << c.row << ':' << moved;
    EXPECT_EQ(sheet.ViewText(c.row - 1, 4), FilledSheet::Name(c.row - 1, 4)) << "above stays";
    if (c.row < 52) {
      EXPECT_EQ(sheet.ViewText(52, 4), FilledSheet::Name(52, 4)) << "the average row stays";
    }
    EXPECT_TRUE(sheet.IsModified());
  }
}

}  // namespace
}  // namespace kelt
