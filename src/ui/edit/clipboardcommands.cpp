#include "ui/edit/clipboardcommands.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "core/edit/clipboardtext.h"
#include "core/sheet/sheet.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/prompts.h"
#include "ui/sheet/celleditor.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

void EditCut(frmDocument* doc) {
  if (!doc) return;
  const FlexGrid* grid = doc->viewGrid();
  QString text;
  doc->sheet()->EditView([&](TextGrid& view) {
    text = CutRange(view, grid->Col(), grid->Row(), grid->ColSel(), grid->RowSel());
  });
  QApplication::clipboard()->setText(text);
  doc->sheet()->MarkModified();
}

void EditCopy(frmDocument* doc) {
  if (!doc) return;
  const FlexGrid* grid = doc->viewGrid();
  QApplication::clipboard()->setText(
      CopyRange(doc->sheet()->View(), grid->Col(), grid->Row(), grid->ColSel(), grid->RowSel()));
  doc->sheet()->MarkModified();
}

void EditPaste(frmDocument* doc, QWidget* parent) {
  if (!doc) return;
  Sheet* sheet = doc->sheet();
  // Marked whatever comes of it, as a paste always was.
  sheet->MarkModified();
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    ShowMessage(parent, QStringLiteral("コピーが正しくできていません。"));
    return;
  }
  const TextGrid& view = sheet->View();
  const PasteBlock block = ParsePasteText(data->text(), view.Rows(), view.Cols());
  const FlexGrid* grid = doc->viewGrid();
  const int row = grid->Row();
  const int col = grid->Col();
  if (!PasteFits(view, col, row, block)) {
    ShowMessage(parent, QStringLiteral("コピー先の範囲が不適当です"));
    return;
  }
  sheet->EditView([&](TextGrid& target) { PasteRange(target, col, row, block); });
  doc->cellEditor()->Refresh();
}

}  // namespace kelt
