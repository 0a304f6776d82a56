// Any clipboard text pasted at any cell of a class view and of the grade view: the parser never
// keeps more than a sheet holds, the range check decides, and a paste that fits writes exactly
// the block's rectangle and nothing else.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/edit/clipboardtext.h"
#include "core/sheet/sheet.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void PasteAt(int rows, int row, int col, const QString& text) {
  kelt::TextGrid grid(rows, kelt::Sheet::kInitialCols);
  const kelt::PasteBlock block = kelt::ParsePasteText(text, grid.Rows(), grid.Cols());
  Check(block.rows.size() <= grid.Rows() && block.rows.size() <= block.rowCount);
  for (const QStringList& cells : block.rows) Check(cells.size() <= grid.Cols());
  if (!kelt::PasteFits(grid, col, row, block)) return;
  Check(block.rows.size() == block.rowCount);
  kelt::PasteRange(grid, col, row, block);
  Check(grid.Rows() == rows && grid.Cols() == kelt::Sheet::kInitialCols);
  const QRect written = grid.TakeWrittenArea();
  if (block.rowCount == 0) Check(written.isEmpty());
  if (!written.isEmpty()) {
    Check(written.top() == row && written.left() == col);
    Check(written.bottom() == row + block.rowCount - 1);
    Check(written.right() == col + block.width - 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int row = 1 + data[0] % 60;
  const int col = 1 + data[1] % 22;
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
  PasteAt(kelt::Sheet::kClassRows, row, col, text);
  PasteAt(kelt::Sheet::kGradeRows, row * 17, col, text);
  return 0;
}
