#include "ui/edit/structurecommands.h"

#include <algorithm>

#include "core/edit/structureedits.h"
#include "core/sheet/sheet.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/prompts.h"
#include "ui/sheet/celleditor.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {
// Tells the teacher why an edit did nothing; after an edit the box shows the cursor's cell.
void Finish(frmDocument* doc, QWidget* parent, StructureEdit result) {
  switch (result) {
    case StructureEdit::kDone:
      doc->cellEditor()->Refresh();
      return;
    case StructureEdit::kTooManyColumns:
      ShowMessage(parent, QStringLiteral("これ以上追加できません"));
      return;
    case StructureEdit::kTooFewColumns:
      ShowMessage(parent, QStringLiteral("これ以上削除できません"));
      return;
    case StructureEdit::kNotAClassView:
      ShowMessage(parent, QStringLiteral("行の挿入はクラスシートのみです"));
      return;
    case StructureEdit::kNumberOrNameColumn:
      RefuseNumberOrNameColumn(parent);
      return;
  }
}
}  // namespace

void InsertColumnCommand(frmDocument* doc, QWidget* parent) {
  if (!doc) return;
  Finish(doc, parent, InsertColumn(*doc->sheet(), doc->viewGrid()->Col()));
}

void DeleteColumnCommand(frmDocument* doc, QWidget* parent) {
  if (!doc) return;
  FlexGrid* grid = doc->viewGrid();
  const int row = grid->Row();
  const int col = grid->Col();
  const StructureEdit result = DeleteColumn(*doc->sheet(), col);
  // The cursor stays where it was, or in the new last column when its own is gone.
  if (result == StructureEdit::kDone) grid->SetCurrentCell(row, std::min(col, grid->Cols() - 1));
  Finish(doc, parent, result);
}

void InsertRowCommand(frmDocument* doc, QWidget* parent) {
  if (!doc) return;
  if (doc->sheet()->IsGradeView()) {
    Finish(doc, parent, StructureEdit::kNotAClassView);
    return;
  }
  if (ShowMessage(parent, QStringLiteral("最終行のデータが消去されます"),
                  PromptButtons::OkCancel) != PromptAnswer::Ok) {
    return;
  }
  Finish(doc, parent, InsertRow(*doc->sheet(), doc->viewGrid()->Row()));
}

void RestoreColumnWidths(frmDocument* doc) {
  if (!doc) return;
  FlexGrid* grid = doc->viewGrid();
  grid->SetColWidth(0, doc->NumberColumnTwips(frmDocument::kRestoredNumberWidth));
  grid->SetColWidth(1, frmDocument::kNameWidth);
  for (int c = Sheet::kFirstScoreCol; c < grid->Cols(); ++c) {
    grid->SetColWidth(c, frmDocument::kScoreWidth);
  }
}

void RestoreRowHeights(frmDocument* doc) {
  if (!doc) return;
  FlexGrid* grid = doc->viewGrid();
  // Rows 0 to 52, a class view's rows; in the grade view the rows below keep their heights.
  const int last = std::min(Sheet::kClassRows, grid->Rows()) - 1;
  for (int r = 0; r <= last; ++r) grid->SetRowHeight(r, frmDocument::kRowHeight);
}

void ToggleNameLock(frmDocument* doc) {
  if (!doc) return;
  FlexGrid* grid = doc->viewGrid();
  grid->SetFixedCols(grid->FixedCols() == 2 ? 1 : 2);
  // A cursor on a name moved off it: the editor follows, so no later view switch brings it back.
  doc->cellEditor()->Refresh();
}

}  // namespace kelt
