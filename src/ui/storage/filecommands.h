#pragma once

#include <QString>
#include <future>
#include <optional>

#include "core/sheet/textgrid.h"
#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"

class QWidget;

namespace kelt {

class frmDocument;

// The command line's path: the arguments joined by single spaces; a text longer than four
// characters that starts with a double quote loses its first and last characters.
QString CommandLinePath(const QString& arguments);

// The same path taken from main's arguments before the application is built, so that the file can
// be read meanwhile; none where an argument may be one of Qt's own options (they all begin with
// '-'), which the application takes out of the arguments first.
std::optional<QString> CommandLinePathBeforeQt(int argc, const char* const* argv);

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
  FileBytes file;  // without its bytes once they are read into `sheet`
  KltSheet sheet;
  TextGrid fileCells;  // the storage as read, which the sheet's next save merges against
};
SheetFileRead ReadSheetFileAside(const QString& path);
// A new sheet's grids, made in the same way: no path, the fresh layout, stored.
SheetFileRead NewSheetAside();
// The start-up sheet, begun on another thread at once: the file at `path`, or a new sheet where
// the path is empty. A file that could not be read is tried again when the result is asked for,
// on the asking thread: begun before the application is set up, the reason would be in Qt's
// English.
std::future<SheetFileRead> FirstSheetAside(const QString& path);
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
