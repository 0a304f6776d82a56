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

}  // namespace kelt
