#pragma once

#include <QString>

#include "core/sheet/textgrid.h"
#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"

class QWidget;

namespace kelt {

class frmDocument;

// The command line's path: the arguments joined by single spaces; a text longer than four
// characters that starts with a double quote loses its first and last characters.
QString CommandLinePath(const QString& arguments);

// Where a sheet is written: the path (a caption for Save, the chosen name for Save As) itself when
// it ends in ".klt" in any case, else with its four-character extension replaced by ".klt", or
// with ".klt" added when it has none.
QString KltSavePath(const QString& path);

// Reading a sheet file, in two halves. First the file into a storage grid and its grade view,
// apart from any window and on any thread (the start-up file is read while the window system
// starts).
struct SheetFileRead {
  QString path;  // absolute
  DiskStamp stamp;
  FileBytes file;  // without its bytes once they are read into `storage`
  TextGrid storage;
  TextGrid view;  // the grade view of `storage`
  KltLoad load;
};
SheetFileRead ReadSheetFileAside(const QString& path);
// A new sheet's grids, made in the same way: no path, the fresh layout, stored.
SheetFileRead NewSheetAside();
// Then into a new, empty sheet window, which takes the path as its caption. Returns what the
// teacher must learn: why the file could not be read, or what of it a sheet cannot hold; empty
// when all is well. A path that does not exist yet gives an empty sheet.
QString ShowSheetFileRead(frmDocument* doc, SheetFileRead read);

// Save: under the caption's path, or through Save As for a sheet never saved. Asks first before
// replacing a file the sheet was not read from, or one changed on disk since. True when written.
bool SaveSheet(frmDocument* doc, QWidget* parent);
// Save As: asks for a name and writes there. True when written.
bool SaveSheetAs(frmDocument* doc, QWidget* parent);
// Stores the view and writes the sheet to `path`. Cells that would not come back as they are
// are reported first and the teacher may cancel; a failure leaves the old file and says why.
bool WriteSheetFile(frmDocument* doc, const QString& path, QWidget* parent);

// The Open dialog's choice, or empty when cancelled.
QString ChooseFileToOpen(QWidget* parent);

}  // namespace kelt
