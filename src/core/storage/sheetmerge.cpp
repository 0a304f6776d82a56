#include "core/storage/sheetmerge.h"

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"

namespace kelt {

StorageMerge MergeStorage(const TextGrid& base, const TextGrid& mine, const TextGrid& theirs) {
  StorageMerge merge;
  const int baseCols = KltWrittenExtent(base).lastCol;
  if (KltWrittenExtent(mine).lastCol != baseCols) {
    merge.refusal = StorageMerge::Refusal::SheetColumnsChanged;
    return merge;
  }
  if (KltWrittenExtent(theirs).lastCol != baseCols) {
    merge.refusal = StorageMerge::Refusal::FileColumnsChanged;
    return merge;
  }
  merge.merged = mine;
  // The three hold text in the same columns, and every storage grid has the sheet's rows: beyond
  // the sheet's own grid all three are empty.
  for (int r = 0; r < mine.Rows(); ++r) {
    for (int c = 1; c < mine.Cols(); ++c) {
      if (theirs.SameText(r, c, base)) continue;  // unchanged in the file: mine stands
      if (theirs.SameText(r, c, mine)) continue;  // both changed it alike
      if (mine.SameText(r, c, base)) {
        merge.merged.CopyText(r, c, theirs, r, c);
        merge.taken.append({r, c});
      } else {
        merge.conflicts.append({r, c, mine.Text(r, c), theirs.Text(r, c)});
      }
    }
  }
  return merge;
}

void PreferTheirs(StorageMerge& merge) {
  for (const MergeConflict& conflict : merge.conflicts) {
    merge.merged.SetText(conflict.row, conflict.col, conflict.theirs);
  }
}

namespace {
// A text as the question shows it: one line, cut short.
QString Shown(const QString& text) {
  constexpr qsizetype kLongest = 40;
  if (text.isEmpty()) return QStringLiteral("(空白)");
  QString line = text.left(kLongest);
  for (QChar& c : line) {
    if (c.unicode() < 0x20) c = QLatin1Char(' ');
  }
  return text.size() > kLongest ? line + QChar(u'\u2026') : line;
}

QString RowDescription(const TextGrid& mine, int storageRow) {
  if (storageRow == 0) return QStringLiteral("見出し");
  if (storageRow >= Sheet::kYearTotalStorageRow)
    return QStringLiteral("学年 ") + Sheet::StorageRowLabel(storageRow);
  const int classIndex = (storageRow - 1) / Sheet::kClassBlockRows;
  const int row = storageRow - Sheet::StorageRow(classIndex, 0);
  if (row > Sheet::kPupilsPerClass) return Sheet::StorageRowLabel(storageRow);  // "3-C 合計"
  QString pupil = Sheet::ClassName(classIndex) + QLatin1Char(' ') + QString::number(row);
  const QString name = mine.Text(storageRow, 1);
  if (!name.isEmpty()) pupil += QLatin1Char(' ') + Shown(name);
  return pupil;
}
}  // namespace

QString DescribeConflict(const TextGrid& mine, const MergeConflict& conflict) {
  const QString header = mine.Text(0, conflict.col);
  const QString item =
      header.isEmpty() ? QStringLiteral("%1列目").arg(conflict.col) : Shown(header);
  return QStringLiteral("%1 %2: こちら %3 / ファイル %4")
      .arg(RowDescription(mine, conflict.row), item, Shown(conflict.mine), Shown(conflict.theirs));
}

}  // namespace kelt
