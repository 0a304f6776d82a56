#include "core/storage/sheetmerge.h"

#include <algorithm>

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
  const int rows = std::max({base.Rows(), mine.Rows(), theirs.Rows()});
  const int cols = std::max({base.Cols(), mine.Cols(), theirs.Cols()});
  for (int r = 0; r < rows; ++r) {
    for (int c = 1; c < cols; ++c) {
      if (theirs.SameText(r, c, base)) continue;  // unchanged in the file: mine stands
      if (theirs.SameText(r, c, mine)) continue;  // both changed it alike
      if (mine.SameText(r, c, base)) {
        if (!merge.merged.Contains(r, c)) {
          merge.merged.SetRows(std::max(merge.merged.Rows(), r + 1));
          merge.merged.SetCols(std::max(merge.merged.Cols(), c + 1));
        }
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

}  // namespace kelt
