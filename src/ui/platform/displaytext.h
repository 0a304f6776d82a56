#pragma once

#include <QString>

namespace kelt {

// Longest text the screen is given of a cell, a header or a list item.
inline constexpr qsizetype kMaxDisplayLength = 256;

// The text as the screen shows it: cut at kMaxDisplayLength with "…" for the rest. Measuring or
// laying out a cell of megabytes would freeze the window, and no one reads that much of a cell.
inline QString DisplayText(const QString& text) {
  return text.size() <= kMaxDisplayLength ? text : text.left(kMaxDisplayLength) + QChar(u'\u2026');
}

// Longest text a window title is given.
inline constexpr qsizetype kMaxTitleLength = 200;

// A caption (a path, a sheet's name) as a window title shows it: a longer one keeps its start and
// its end, where the file's name is, around "…". The window system refuses a title of megabytes,
// which would end the program.
inline QString WindowTitleText(const QString& text) {
  if (text.size() <= kMaxTitleLength) return text;
  // Never half a character outside the basic plane (𠮷).
  qsizetype head = kMaxTitleLength / 2 - 1;
  if (text.at(head - 1).isHighSurrogate()) --head;
  qsizetype tail = kMaxTitleLength / 2;
  if (text.at(text.size() - tail).isLowSurrogate()) --tail;
  return text.left(head) + QChar(u'\u2026') + text.right(tail);
}

}  // namespace kelt
