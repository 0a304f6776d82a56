#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/sheet/textgrid.h"

namespace kelt {

class Sheet;

// A .klt file: the storage grid as CP932 text, one line per storage row from row 0, fields
// (columns 1 and up) separated by TAB, CRLF line ends, one extra CRLF at the end. Column 0 is
// never written; the layout rebuilds it.

inline constexpr int kKltMaxLines = 1043;  // storage rows 0 to 1042
inline constexpr int kKltMaxFields = 256;  // columns 1 to 256

// The highest row R and column C holding a non-empty cell in columns 1 and up (both 0 when there
// is none): what the writer stores.
struct KltExtent {
  int lastRow = 0;
  int lastCol = 0;
};
KltExtent KltWrittenExtent(const TextGrid& storage);

// The text the writer stores: rows 0 to R and columns 1 to C of KltWrittenExtent.
QString KltText(const TextGrid& storage);

// The file's bytes: KltText in CP932. Characters CP932 cannot hold are written as '?' and, when
// `unencodable` is given, listed there by their index in KltText.
QByteArray WriteKlt(const TextGrid& storage, QList<qsizetype>* unencodable = nullptr);

// A cell the file cannot give back as it is.
struct UnstorableCell {
  int row;
  int col;
  enum Reason {
    kUnencodable,  // a character CP932 has no code for (𠮷, emoji); written as '?'
    kSeparator,    // a TAB, comma, CR or LF, which splits the cell when it is read
  } reason;

  bool operator==(const UnstorableCell&) const = default;
};

// Cells of the written extent that will not read back unchanged, row by row; a cell with both
// faults is reported once, as kUnencodable.
QList<UnstorableCell> FindUnstorableCells(const TextGrid& storage);

// What a read left out: text in a line beyond kKltMaxLines or in a field beyond kKltMaxFields,
// which a sheet cannot hold. Empty lines and fields there (the empty last line of every file)
// lose nothing.
struct KltLoad {
  bool linesLeftOut = false;
  bool fieldsLeftOut = false;
};

// Reads a file's bytes (in the encoding DecodeFileText finds) into a storage grid: lines split
// at CR, CRLF or LF, fields at TAB and comma, any input accepted. The grid is widened (never
// narrowed) to the widest line's fields plus one column, but at most kKltMaxFields+1, and its
// rows and columns 1 and up are filled. Given the only reference to the bytes, it lets them go
// as soon as they are decoded.
KltLoad ReadKltIntoStorage(TextGrid& storage, QByteArray bytes);

// A sheet read from a file's bytes apart from any sheet (the start-up file on another thread, a
// file opened, a recovery copy): Sheet::EmptyStorage filled by the reader and the grade view a new
// window shows of it, which Sheet::AdoptRead takes.
struct KltSheet {
  TextGrid storage;
  TextGrid view;
  KltLoad load;
};
KltSheet ReadKltSheet(QByteArray bytes);

}  // namespace kelt
