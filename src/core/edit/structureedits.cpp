#include "core/edit/structureedits.h"

#include <algorithm>

#include "core/sheet/sheet.h"

namespace kelt {

StructureEdit InsertColumn(Sheet& sheet, int col) {
  const int cols = sheet.View().Cols();
  if (cols >= kMaxSheetCols) return StructureEdit::kTooManyColumns;
  if (Sheet::IsNumberOrNameColumn(col)) return StructureEdit::kNumberOrNameColumn;
  col = std::min(col, cols);
  sheet.SetViewCols(cols + 1);
  sheet.EditView([col](TextGrid& view) {
    for (int r = 0; r < view.Rows(); ++r) {
      for (int c = view.Cols() - 1; c > col; --c) view.CopyText(r, c, view, r, c - 1);
      view.SetText(r, col, QString());
    }
  });
  TextGrid& storage = sheet.MutableStorage();
  if (storage.Cols() < cols) storage.SetCols(cols);
  storage.InsertColumn(col);
  sheet.MarkModified();
  return StructureEdit::kDone;
}

StructureEdit DeleteColumn(Sheet& sheet, int col) {
  const int cols = sheet.View().Cols();
  if (cols < 4) return StructureEdit::kTooFewColumns;
  if (Sheet::IsNumberOrNameColumn(col)) return StructureEdit::kNumberOrNameColumn;
  col = std::min(col, cols - 1);
  sheet.EditView([col](TextGrid& view) {
    for (int r = 0; r < view.Rows(); ++r) {
      for (int c = col + 1; c < view.Cols(); ++c) view.CopyText(r, c - 1, view, r, c);
    }
  });
  sheet.SetViewCols(cols - 1);
  // The editor's cell leaves a column that is no more.
  if (sheet.Mynowcol() > cols - 2) sheet.MoveCursor(sheet.Mynowrow(), cols - 2);
  sheet.MutableStorage().RemoveColumn(col);
  sheet.MarkModified();
  return StructureEdit::kDone;
}

StructureEdit InsertRow(Sheet& sheet, int row) {
  if (sheet.IsGradeView()) return StructureEdit::kNotAClassView;
  row = std::clamp(row, 1, Sheet::kClassRows - 1);
  sheet.EditView([row](TextGrid& view) {
    // The last pupil falls off; the total and average rows stay where they are.
    for (int i = Sheet::LastPupilRow(view) - 1; i >= row; --i) {
      for (int c = 1; c < view.Cols(); ++c) view.CopyText(i + 1, c, view, i, c);
    }
    for (int c = 1; c < view.Cols(); ++c) view.SetText(row, c, QString());
  });
  sheet.MarkModified();
  return StructureEdit::kDone;
}

}  // namespace kelt
