#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "core/sheet/textgrid.h"

namespace kelt {

// The clipboard text of a block of the view: rows from `row` to `rowSel`, in each the cells from
// `col` to `colSel` joined by TAB, every row ended by CR LF. The loops count upwards only: a
// selection ending above `row` gives an empty text, one ending left of `col` only the cells of
// column `colSel`.
QString CopyRange(const TextGrid& view, int col, int row, int colSel, int rowSel);
// The same text; each cell is emptied once it has been read.
QString CutRange(TextGrid& view, int col, int row, int colSel, int rowSel);

// Clipboard text split into complete rows (ended by CR, LF or CR LF) of TAB-separated cells.
struct PasteBlock {
  QList<QStringList> rows;  // complete rows only; text after the last row end is not pasted
  qsizetype rowCount = 0;   // complete rows, also those past the kept ones
  qsizetype width = 1;      // the widest row of all, the unfinished one included
};
// Keeps no more rows or cells than `maxRows` and `maxCols` (a sheet's size): a block larger
// than that cannot fit anyway, and a hostile text cannot take the memory.
PasteBlock ParsePasteText(const QString& text, int maxRows, int maxCols);

// Whether the block fits below and right of (row, col) in the view.
bool PasteFits(const TextGrid& view, int col, int row, const PasteBlock& block);
// Writes the block at (row, col); a row with fewer cells than the width empties the rest of
// its part of the rectangle. Call only when PasteFits.
void PasteRange(TextGrid& view, int col, int row, const PasteBlock& block);

}  // namespace kelt
