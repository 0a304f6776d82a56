#pragma once

#include <QList>
#include <QString>

#include "core/sheet/textgrid.h"

namespace kelt {

// Two teachers save one year file: each sheet's changes since the file both started from are
// kept, and only a cell both changed to different texts needs a decision.

// A storage cell, (row, column).
struct StorageCell {
  int row;
  int col;
  bool operator==(const StorageCell&) const = default;
};

// A cell both sides changed since the base, to different texts.
struct MergeConflict {
  int row;
  int col;
  QString mine;
  QString theirs;
  bool operator==(const MergeConflict&) const = default;
};

struct StorageMerge {
  // A column inserted or deleted on one side moves every text right of it: cell by cell, the
  // moved columns would mix. Told by the columns each side's file holds (KltWrittenExtent).
  enum class Refusal { None, SheetColumnsChanged, FileColumnsChanged };
  Refusal refusal = Refusal::None;
  // Mine with every cell only theirs changed taken from theirs; a conflict keeps mine. Empty when
  // refused.
  TextGrid merged;
  QList<StorageCell> taken;        // row by row
  QList<MergeConflict> conflicts;  // row by row
};

// Merges `theirs` (the file on disk now) and `mine` (the sheet, stored), each compared with `base`
// (the file as the sheet last read or wrote it), in every row and in columns 1 and up; column 0
// is the sheet's layout, never stored, and stays mine. A cell only theirs changed takes theirs;
// one only mine changed, or both changed alike, keeps mine.
StorageMerge MergeStorage(const TextGrid& base, const TextGrid& mine, const TextGrid& theirs);

// Takes theirs in every conflict: the file wins.
void PreferTheirs(StorageMerge& merge);

// A conflict as the teacher reads it, by class, pupil and item of `mine`:
// "3-C 12 山田花子 国語: こちら 78 / ファイル 81".
QString DescribeConflict(const TextGrid& mine, const MergeConflict& conflict);

}  // namespace kelt
