#pragma once

class QWidget;

namespace kelt {

class frmDocument;

// The ﾂｰﾙ menu's structure edits on the active sheet window; each does nothing without one.
// Refusals and the row question go to the teacher as messages.
void InsertColumnCommand(frmDocument* doc, QWidget* parent);
void DeleteColumnCommand(frmDocument* doc, QWidget* parent);
void InsertRowCommand(frmDocument* doc, QWidget* parent);
// Column 0 500, column 1 1500, the rest 700 twips wide; rows 0 to 52 350 twips high.
void RestoreColumnWidths(frmDocument* doc);
void RestoreRowHeights(frmDocument* doc);
// Freezes the name column beside the numbers, or frees it again.
void ToggleNameLock(frmDocument* doc);

}  // namespace kelt
