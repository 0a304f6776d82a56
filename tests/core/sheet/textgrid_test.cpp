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

// A grid moved away leaves an empty one behind, not its shape without cells: the sheet window
// tells grids handed to it from spent ones by their rows.
TEST(TextGrid, AGridMovedFromIsEmpty) {
  TextGrid from = Numbered(4, 3);
  TextGrid to = std::move(from);
  EXPECT_EQ(to.Text(3, 2), Cell(3, 2));
  EXPECT_EQ(from.Rows(), 0);
  EXPECT_EQ(from.Cols(), 0);
  EXPECT_FALSE(from.Contains(0, 0));
  EXPECT_EQ(from.Text(3, 2), QString());
  EXPECT_EQ(from, TextGrid());
  from.SetRows(2);  // usable again
  from.SetCols(2);
  from.SetText(1, 1, Cell(1, 1));
  EXPECT_EQ(from.Text(1, 1), Cell(1, 1));
  TextGrid assigned = Numbered(1, 1);
  assigned = std::move(to);
  EXPECT_EQ(assigned.Text(3, 2), Cell(3, 2));
  EXPECT_EQ(to.Rows(), 0);
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

// Long ASCII texts are held packed; every text, whatever it holds, comes back as it went in, by
// every way of reading it and after every move of the grid.
TEST(TextGrid, EveryTextComesBackAsWritten) {
  const QString mark0(QChar(0xFDD0)), mark1(QChar(0xFDD1)), mark2(QChar(0xFDD2));
  const QString texts[] = {
      QString(),
      QStringLiteral("85"),
      QStringLiteral("fifteen chars.."),    // just short of packing
      QStringLiteral("sixteen chars..."),   // packed, even
      QStringLiteral("seventeen chars.."),  // packed, odd
      QString(60, QChar(u'~')),
      QString(4097, QChar(u'9')),  // too long to be worth packing
      QStringLiteral("with a NUL\0 in it, long enough"),
      QStringLiteral("a long line of letters"),
      QStringLiteral("caf\u00e9 au lait, not ASCII"),  // long, but not ASCII
      QStringLiteral("長い氏名の欄に入った説明文はこのまま保たれる"),
      mark0,
      mark1 + QStringLiteral("x"),
      mark2 + QStringLiteral("looks held, but is a teacher's"),
      mark0 + mark1 + mark2,
  };
  TextGrid grid(1, 1);
  for (const QString& text : texts) {
    grid.SetText(0, 0, text);
    EXPECT_EQ(grid.Text(0, 0), text) << text.toStdString();
    EXPECT_EQ(grid.TextSize(0, 0), text.size()) << text.toStdString();
    EXPECT_EQ(grid.IsEmpty(0, 0), text.isEmpty());
    QString appended = QStringLiteral(">");
    grid.AppendText(0, 0, appended);
    EXPECT_EQ(appended, QStringLiteral(">") + text);
  }

  TextGrid source(2, std::size(texts));
  for (int c = 0; c < source.Cols(); ++c) source.SetText(1, c, texts[c]);
  TextGrid copy(2, source.Cols());
  for (int c = 0; c < source.Cols(); ++c) copy.CopyText(0, c, source, 1, c);
  source.InsertColumn(0);
  source.SetCols(source.Cols() + 3);
  source.RemoveColumn(source.Cols() - 1);
  for (int c = 0; c < copy.Cols(); ++c) {
    EXPECT_EQ(copy.Text(0, c), texts[c]);
    EXPECT_EQ(source.Text(1, c + 1), texts[c]);
  }
  // Grids with the same texts are equal, however each text came in.
  TextGrid typed(2, copy.Cols());
  for (int c = 0; c < copy.Cols(); ++c) typed.SetText(0, c, copy.Text(0, c));
  EXPECT_EQ(typed, copy);
}

}  // namespace
}  // namespace kelt
