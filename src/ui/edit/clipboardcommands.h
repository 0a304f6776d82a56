#pragma once

class QWidget;

namespace kelt {

class frmDocument;

// Cut, copy and paste of blocks between the active sheet's view and the system clipboard, as
// TAB-separated rows ended by CR LF. Each marks the sheet modified, a copy and a refused paste
// included; each does nothing without a sheet.
void EditCut(frmDocument* doc);
void EditCopy(frmDocument* doc);
void EditPaste(frmDocument* doc, QWidget* parent);

}  // namespace kelt
