#include "core/sheet/textgrid.h"

#include <gtest/gtest.h>

#include "support/qtprint.h"

namespace kelt {
namespace {

QString Cell(int r, int c) { return QStringLiteral("%1,%2").arg(r).arg(c); }

TextGrid Numbered(int rows, int cols) {
  TextGrid grid(rows, cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) grid.SetText(r, c, Cell(r, c));
  return grid;
}

TEST(TextGrid, GrowingAddsEmptyCellsAndShrinkingDropsThem) {
  TextGrid grid = Numbered(3, 3);
  grid.SetRows(5);
  grid.SetCols(4);
  EXPECT_EQ(grid.Text(2, 2), Cell(2, 2));
  EXPECT_EQ(grid.Text(4, 3), QString());
  EXPECT_EQ(grid.Text(0, 3), QString());
  grid.SetRows(2);
  grid.SetCols(2);
  grid.SetRows(3);
  grid.SetCols(3);
  EXPECT_EQ(grid.Text(1, 1), Cell(1, 1));
  EXPECT_EQ(grid.Text(2, 0), QString()) << "a dropped row comes back empty";
  EXPECT_EQ(grid.Text(0, 2), QString()) << "a dropped column comes back empty";
}

TEST(TextGrid, CellsOutsideAreEmptyAndIgnored) {
  TextGrid grid(2, 2);
  grid.SetText(5, 0, QStringLiteral("x"));
  grid.SetText(-1, 0, QStringLiteral("x"));
  EXPECT_EQ(grid.Text(5, 0), QString());
  EXPECT_EQ(grid.Text(0, -1), QString());
  EXPECT_EQ(grid, TextGrid(2, 2));
}

TEST(TextGrid, InsertAndRemoveColumnShiftTexts) {
  TextGrid grid = Numbered(2, 3);
  grid.InsertColumn(1);
  ASSERT_EQ(grid.Cols(), 4);
  for (int r = 0; r < 2; ++r) {
    EXPECT_EQ(grid.Text(r, 0), Cell(r, 0));
    EXPECT_EQ(grid.Text(r, 1), QString());
    EXPECT_EQ(grid.Text(r, 2), Cell(r, 1));
    EXPECT_EQ(grid.Text(r, 3), Cell(r, 2));
  }
  grid.RemoveColumn(1);
  EXPECT_EQ(grid, Numbered(2, 3));
  grid.RemoveColumn(2);
  EXPECT_EQ(grid.Cols(), 2);
  EXPECT_EQ(grid.Text(1, 1), Cell(1, 1));
}

}  // namespace
}  // namespace kelt
