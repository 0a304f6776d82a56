#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace kelt {
class Sheet;
namespace test {

// A model of how a .klt file splits, written plainly and apart from the program's reader, which
// the tests and fuzz targets hold that reader to.
struct KltFields {
  // Line k holds the fields of the file's line k (at most kKltMaxLines lines, kKltMaxFields
  // fields each); an empty line has no field.
  QList<QStringList> lines;
  // The highest field index of any line, counting every line and field (1 at least).
  int widestField = 1;
  // Text in a line beyond kKltMaxLines or in a field beyond kKltMaxFields.
  bool linesLeftOut = false;
  bool fieldsLeftOut = false;
};

// The file's text (as DecodeFileText finds it) split into lines at CR, CRLF or LF and into
// fields at TAB and comma.
KltFields ReadKltFields(const QByteArray& bytes);

// Puts the fields into a sheet in the grade view, as a new window has it: storage widened (never
// narrowed) to F+1 columns but at most kKltMaxFields+1, rows and columns 1 and up filled.
void LoadKltFields(Sheet& sheet, const KltFields& fields);

}  // namespace test
}  // namespace kelt
