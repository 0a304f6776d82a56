#pragma once

#include <QString>
#include <QStringList>

#include "core/sheet/textgrid.h"

namespace kelt::test {

// Cell texts written "a|b|c"; an empty text between bars is an empty cell.
inline QStringList Texts(const char* joined) { return QString::fromUtf8(joined).split(u'|'); }

// A view of the given pupils' marks in column 2 (item 0), plus header, total and average rows;
// column 3 is a target that starts "old".
inline TextGrid MarkColumn(const QStringList& marks) {
  TextGrid view(static_cast<int>(marks.size()) + 3, 4);
  for (int i = 0; i < marks.size(); ++i) {
    view.SetText(i + 1, 2, marks[i]);
    view.SetText(i + 1, 3, QStringLiteral("old"));
  }
  return view;
}

// The pupils' cells of a column, top to bottom.
inline QStringList PupilCells(const TextGrid& view, int col) {
  QStringList texts;
  for (int r = 1; r <= view.Rows() - 3; ++r) texts << view.Text(r, col);
  return texts;
}

}  // namespace kelt::test
