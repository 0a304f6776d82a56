#pragma once

#include <QString>
#include <QStringList>

#include "core/sheet/textgrid.h"

namespace kelt::test {

// Cell texts written "a|b|c"; an empty text between bars is an empty cell.
inline QStringList Texts(const char* joined) { return QString::fromUtf8(joined).split(u'|'); }

// Column 0 of a fixture's total and average rows, which name them apart from the pupils'.
inline const QString kTotalLabel = QStringLiteral("合計");
inline const QString kAverageLabel = QStringLiteral("平均");

// A view of the given pupils' marks in column 2 (item 0), where column 3 is a target that starts
// "old": row 0 the header, rows 1 to n the pupils, row n+1 the total and n+2 the average. The
// header, total and average rows hold a mark (70) and a target ("kept") too, which no pupil
// computation may read or write.
inline TextGrid MarkColumn(const QStringList& marks) {
  const int pupils = static_cast<int>(marks.size());
  TextGrid view(pupils + 3, 4);
  for (int i = 0; i < pupils; ++i) {
    view.SetText(i + 1, 2, marks[i]);
    view.SetText(i + 1, 3, QStringLiteral("old"));
  }
  for (const int row : {0, pupils + 1, pupils + 2}) {
    view.SetText(row, 2, QStringLiteral("70"));
    view.SetText(row, 3, QStringLiteral("kept"));
  }
  view.SetText(pupils + 1, 0, kTotalLabel);
  view.SetText(pupils + 2, 0, kAverageLabel);
  return view;
}

// The pupils' cells of a column, top to bottom: the rows between the header and the row whose
// column 0 says 合計.
inline QStringList PupilCells(const TextGrid& view, int col) {
  QStringList texts;
  for (int r = 1; r < view.Rows() && view.Text(r, 0) != kTotalLabel; ++r)
    texts << view.Text(r, col);
  return texts;
}

// Columns 2 and 3 of the header, total and average rows of a MarkColumn view; every pupil
// computation leaves them "70|kept|70|kept|70|kept".
inline QStringList OtherRowCells(const TextGrid& view) {
  QStringList texts;
  for (int r = 0; r < view.Rows(); ++r) {
    if (r == 0 || view.Text(r, 0) == kTotalLabel || view.Text(r, 0) == kAverageLabel)
      texts << view.Text(r, 2) << view.Text(r, 3);
  }
  return texts;
}
inline const QStringList kOtherRowsUntouched = Texts("70|kept|70|kept|70|kept");

}  // namespace kelt::test
