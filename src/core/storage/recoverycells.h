#pragma once

#include <QByteArray>
#include <optional>

#include "core/sheet/textgrid.h"

namespace kelt {

// The cells of a recovery copy. Private to kelt, so they keep every character a cell can hold
// (𠮷田, €, emoji, a TAB or a line break pasted in), where a .klt file in CP932 would not: UTF-8,
// one line (LF) per storage row from row 0 to the last that holds text, each with the cells of
// columns 1 to Cols − 1 separated by TAB; a backslash, TAB, CR or LF in a cell is written as
// \\, \t, \r or \n. The column count comes back as it was.
QByteArray WriteRecoveryCells(const TextGrid& storage);

// The storage grid a copy holds: Sheet::EmptyStorage filled with its cells, widened to its
// columns. Nothing when the bytes are not such a copy (not UTF-8, more rows or columns than a
// sheet has, an unknown escape).
std::optional<TextGrid> ReadRecoveryCells(const QByteArray& bytes);

}  // namespace kelt
