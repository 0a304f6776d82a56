#include "core/storage/sheetmerge.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include "core/sheet/sheet.h"
#include "support/qtprint.h"

namespace kelt {

void PrintTo(const StorageCell& cell, std::ostream* os) {
  *os << '(' << cell.row << ", " << cell.col << ')';
}
void PrintTo(const MergeConflict& conflict, std::ostream* os) {
  *os << '(' << conflict.row << ", " << conflict.col << ": " << conflict.mine.toStdString() << " / "
      << conflict.theirs.toStdString() << ')';
}

namespace {

using Refusal = StorageMerge::Refusal;

// A small storage grid: one line per row, its cells from column 1 on separated by '|'.
TextGrid Grid(const QStringList& lines) {
  TextGrid grid(5, 6);
  for (int r = 0; r < lines.size(); ++r) {
    const QStringList cells = lines[r].split(QLatin1Char('|'));
    for (int c = 0; c < cells.size(); ++c) grid.SetText(r, c + 1, cells[c]);
  }
  return grid;
}

const QStringList kBase = {
    QStringLiteral("氏  名|国語|数学|英語"),
    QStringLiteral("山田花子|78||"),
    QStringLiteral("鈴木一郎|65||"),
};

// Mine and theirs from the base, each by a few edits ((row, col) to a text).
struct Edit {
  int row;
  int col;
  const char* text;
};
TextGrid Edited(QList<Edit> edits) {
  TextGrid grid = Grid(kBase);
  for (const Edit& e : edits) grid.SetText(e.row, e.col, QString::fromUtf8(e.text));
  return grid;
}

TEST(SheetMerge, KeepsBothSidesAndFindsConflicts) {
  struct Case {
    const char* what;
    QList<Edit> mine;
    QList<Edit> theirs;
    QList<Edit> expected;  // the merged grid, from the base
    QList<StorageCell> taken;
    QList<MergeConflict> conflicts;
  };
  const QList<Case> cases = {
      {"disjoint columns",
       {{1, 3, "81"}, {2, 3, "70"}},
       {{1, 4, "90"}, {2, 4, "55"}},
       {{1, 3, "81"}, {2, 3, "70"}, {1, 4, "90"}, {2, 4, "55"}},
       {{1, 4}, {2, 4}},
       {}},
      {"the same cell to the same text", {{1, 3, "81"}}, {{1, 3, "81"}}, {{1, 3, "81"}}, {}, {}},
      {"the same cell to different texts",
       {{1, 2, "79"}},
       {{1, 2, "81"}},
       {{1, 2, "79"}},
       {},
       {{1, 2, QStringLiteral("79"), QStringLiteral("81")}}},
      {"a cell cleared in the file", {}, {{2, 2, ""}}, {{2, 2, ""}}, {{2, 2}}, {}},
      {"a cell cleared in the sheet", {{2, 2, ""}}, {}, {{2, 2, ""}}, {}, {}},
      {"cleared here, changed there",
       {{2, 2, ""}},
       {{2, 2, "66"}},
       {{2, 2, ""}},
       {},
       {{2, 2, QString(), QStringLiteral("66")}}},
      {"a header renamed in the file",
       {{1, 3, "81"}},
       {{0, 3, "算数"}},
       {{1, 3, "81"}, {0, 3, "算数"}},
       {{0, 3}},
       {}},
      {"a row only they filled",
       {},
       {{3, 1, "佐藤"}, {3, 2, "50"}, {3, 4, "61"}},
       {{3, 1, "佐藤"}, {3, 2, "50"}, {3, 4, "61"}},
       {{3, 1}, {3, 2}, {3, 4}},
       {}},
      {"the layout's column 0 is never taken", {}, {{1, 0, "999"}}, {}, {}, {}},
      {"nothing changed", {}, {}, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const StorageMerge merge = MergeStorage(Grid(kBase), Edited(c.mine), Edited(c.theirs));
    EXPECT_EQ(merge.refusal, Refusal::None);
    EXPECT_EQ(merge.merged, Edited(c.expected));
    EXPECT_EQ(merge.taken, c.taken);
    EXPECT_EQ(merge.conflicts, c.conflicts);
  }
}

TEST(SheetMerge, TheFileWinsItsConflictsWhenPreferred) {
  StorageMerge merge = MergeStorage(Grid(kBase), Edited({{1, 2, "79"}, {2, 3, "70"}}),
                                    Edited({{1, 2, "81"}, {2, 4, "55"}}));
  PreferTheirs(merge);
  EXPECT_EQ(merge.merged, Edited({{1, 2, "81"}, {2, 3, "70"}, {2, 4, "55"}}));
}

// A column inserted or deleted moves the texts right of it: merged cell by cell they would land
// under other items.
TEST(SheetMerge, RefusesWhenColumnsMoved) {
  struct Case {
    const char* what;
    QStringList mine;
    QStringList theirs;
    Refusal refusal;
  };
  const QList<Case> cases = {
      {"a column inserted in the file",
       kBase,
       {QStringLiteral("氏  名|国語||数学|英語"), QStringLiteral("山田花子|78|||"),
        QStringLiteral("鈴木一郎|65|||")},
       Refusal::FileColumnsChanged},
      {"a column deleted in the sheet",
       {QStringLiteral("氏  名|数学|英語"), QStringLiteral("山田花子||"),
        QStringLiteral("鈴木一郎||")},
       kBase,
       Refusal::SheetColumnsChanged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const StorageMerge merge = MergeStorage(Grid(kBase), Grid(c.mine), Grid(c.theirs));
    EXPECT_EQ(merge.refusal, c.refusal);
    EXPECT_TRUE(merge.taken.isEmpty());
    EXPECT_EQ(merge.merged.Rows(), 0);
  }
}

// Whatever two teachers change in cells the other leaves alone, the merge keeps all of it.
TEST(SheetMerge, DisjointChangesAreAllKept) {
  for (quint32 seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    const int rows = 1 + random.bounded(60);
    const int cols = 3 + random.bounded(12);
    TextGrid base(rows, cols);
    for (int c = 1; c < cols; ++c) base.SetText(0, c, QStringLiteral("項目%1").arg(c));
    for (int r = 1; r < rows; ++r) {
      for (int c = 1; c < cols; ++c) {
        if (random.bounded(3) > 0) base.SetText(r, c, QString::number(random.bounded(101)));
      }
    }
    TextGrid mine = base;
    TextGrid theirs = base;
    TextGrid expected = base;
    // Each cell (but the header's last, which keeps the file's width) goes to one side or none.
    for (int r = 0; r < rows; ++r) {
      for (int c = 1; c < cols; ++c) {
        if (r == 0 && c == cols - 1) continue;
        const int side = random.bounded(4);
        if (side > 1) continue;
        const QString text =
            random.bounded(5) == 0 ? QString() : QStringLiteral("新%1").arg(random.bounded(1000));
        (side == 0 ? mine : theirs).SetText(r, c, text);
        expected.SetText(r, c, text);
      }
    }
    const StorageMerge merge = MergeStorage(base, mine, theirs);
    ASSERT_EQ(merge.refusal, Refusal::None);
    EXPECT_TRUE(merge.conflicts.isEmpty());
    EXPECT_EQ(merge.merged, expected);
  }
}

// The question names each conflict as a teacher finds it: class, pupil and item.
TEST(SheetMerge, ConflictsAreNamedByClassPupilAndItem) {
  TextGrid mine = Sheet::EmptyStorage();
  mine.SetText(0, 2, QStringLiteral("国語"));
  mine.SetText(Sheet::StorageRow(2, 12), 1, QStringLiteral("山田花子"));
  const QString long50(50, QLatin1Char('8'));
  struct Case {
    int row;
    int col;
    QString mine;
    QString theirs;
    QString expected;
  };
  const QList<Case> cases = {
      {Sheet::StorageRow(2, 12), 2, QStringLiteral("78"), QStringLiteral("81"),
       QStringLiteral("3-C 12 山田花子 国語: こちら 78 / ファイル 81")},
      {Sheet::StorageRow(0, 3), 2, QString(), QStringLiteral("81"),
       QStringLiteral("1-A 3 国語: こちら (空白) / ファイル 81")},
      {Sheet::StorageRow(19, 51), 2, QStringLiteral("3500"), QStringLiteral("3501"),
       QStringLiteral("20-T 合計 国語: こちら 3500 / ファイル 3501")},
      {Sheet::kYearAverageStorageRow, 2, QStringLiteral("70"), QStringLiteral("71"),
       QStringLiteral("学年 平均 国語: こちら 70 / ファイル 71")},
      {0, 5, QStringLiteral("理科"), QStringLiteral("化学"),
       QStringLiteral("見出し 5列目: こちら 理科 / ファイル 化学")},
      {Sheet::StorageRow(2, 12), 2, long50, QStringLiteral("a\tb"),
       QStringLiteral("3-C 12 山田花子 国語: こちら %1… / ファイル a b").arg(long50.left(40))},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeConflict(mine, {c.row, c.col, c.mine, c.theirs}), c.expected);
  }
}

}  // namespace
}  // namespace kelt
