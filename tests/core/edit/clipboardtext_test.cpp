#include "core/edit/clipboardtext.h"

#include <gtest/gtest.h>

#include "core/sheet/sheet.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

TextGrid Grid(int rows) {
  TextGrid grid(rows, 21);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < 21; ++c) grid.SetText(r, c, QStringLiteral("%1.%2").arg(r).arg(c));
  return grid;
}

TEST(ClipboardText, CopyAndCut) {
  TextGrid grid = Grid(Sheet::kClassRows);
  grid.SetText(1, 2, QStringLiteral("a"));
  grid.SetText(1, 3, QStringLiteral("b"));
  grid.SetText(2, 2, QStringLiteral("c"));
  grid.SetText(2, 3, QStringLiteral("d"));
  const struct {
    const char* what;
    int col, row, colSel, rowSel;
    const char* text;
  } cases[] = {
      {"a block", 2, 1, 3, 2, "a\tb\r\nc\td\r\n"},
      {"one cell", 3, 2, 3, 2, "d\r\n"},
      {"selection ending above", 2, 2, 3, 1, ""},
      {"selection ending left", 3, 1, 2, 2, "a\r\nc\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CopyRange(grid, c.col, c.row, c.colSel, c.rowSel), QString::fromUtf8(c.text))
        << c.what;
  }
  TextGrid cut = grid;
  EXPECT_EQ(CutRange(cut, 2, 1, 3, 2), QStringLiteral("a\tb\r\nc\td\r\n"));
  for (int r = 0; r < cut.Rows(); ++r) {
    for (int c = 0; c < cut.Cols(); ++c) {
      const bool inBlock = r >= 1 && r <= 2 && c >= 2 && c <= 3;
      EXPECT_EQ(cut.Text(r, c), inBlock ? QString() : grid.Text(r, c)) << r << ',' << c;
    }
  }
}

TEST(ClipboardText, PasteChecksAndWrites) {
  using Rows = QList<QList<const char*>>;
  const struct {
    const char* what;
    QString text;
    int row, col;
    bool fits;
    Rows written;  // rows from (row, col)
  } cases[] = {
      {"lines of 3, 1 and 2 fields", QStringLiteral("a\tb\tc\r\nd\r\ne\tf\r\n"), 5, 2, true,
       Rows{{"a", "b", "c"}, {"d", "", ""}, {"e", "f", ""}}},
      {"LF line ends", QStringLiteral("a\tb\nc\n"), 5, 2, true, Rows{{"a", "b"}, {"c", ""}}},
      {"a leading LF is an empty first row", QStringLiteral("\nx\r\n"), 5, 2, true,
       Rows{{""}, {"x"}}},
      {"a leading CR LF too", QStringLiteral("\r\nx\ty\n"), 5, 2, true, Rows{{"", ""}, {"x", "y"}}},
      {"no row end: nothing", QStringLiteral("a\tb"), 5, 2, true, Rows{{"5.2", "5.3"}}},
      {"two rows from the total row", QStringLiteral("x\r\ny\r\n"), 51, 2, true,
       Rows{{"x"}, {"y"}}},
      {"two rows from the average row", QStringLiteral("x\r\ny\r\n"), 52, 2, false, Rows{{"52.2"}}},
      {"three columns two from the edge", QStringLiteral("x\ty\tz\r\n"), 5, 19, false,
       Rows{{"5.19", "5.20"}}},
      {"a cell past the sheet's columns", QString(300, QLatin1Char('\t')) + QStringLiteral("z\r\n"),
       1, 2, false, Rows{{"1.2"}}},
  };
  for (const auto& c : cases) {
    TextGrid grid = Grid(Sheet::kClassRows);
    const TextGrid before = grid;
    const PasteBlock block = ParsePasteText(c.text, grid.Rows(), grid.Cols());
    ASSERT_EQ(PasteFits(grid, c.col, c.row, block), c.fits) << c.what;
    if (c.fits) {
      PasteRange(grid, c.col, c.row, block);
    } else {
      EXPECT_EQ(grid, before) << c.what;
    }
    for (qsizetype i = 0; i < c.written.size(); ++i) {
      for (qsizetype j = 0; j < c.written[i].size(); ++j) {
        EXPECT_EQ(grid.Text(int(c.row + i), int(c.col + j)), QString::fromUtf8(c.written[i][j]))
            << c.what << " at " << i << ',' << j;
      }
    }
  }
}

// A whole year goes through the clipboard text and back, far beyond 32,767 characters.
TEST(ClipboardText, AWholeYearCopiesAndPastes) {
  const TextGrid year = Grid(Sheet::kGradeRows);
  const QString text = CopyRange(year, 1, 1, 20, Sheet::kGradeRows - 1);
  ASSERT_GT(text.size(), 32767);
  TextGrid other(Sheet::kGradeRows, 21);
  const PasteBlock block = ParsePasteText(text, other.Rows(), other.Cols());
  ASSERT_TRUE(PasteFits(other, 1, 1, block));
  PasteRange(other, 1, 1, block);
  for (int r = 1; r < Sheet::kGradeRows; ++r)
    for (int c = 1; c < 21; ++c) ASSERT_EQ(other.Text(r, c), year.Text(r, c)) << r << ',' << c;
}

}  // namespace
}  // namespace kelt
