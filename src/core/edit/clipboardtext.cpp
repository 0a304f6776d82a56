#include "core/edit/clipboardtext.h"

#include <algorithm>

namespace kelt {

namespace {
const QString kRowEnd = QStringLiteral("\r\n");

template <typename Cell>
QString BlockText(int col, int row, int colSel, int rowSel, Cell&& cell) {
  QString text;
  for (int j = row; j <= rowSel; ++j) {
    for (int i = col; i < colSel; ++i) {
      text += cell(j, i);
      text += QLatin1Char('\t');
    }
    text += cell(j, colSel);
    text += kRowEnd;
  }
  return text;
}
}  // namespace

QString CopyRange(const TextGrid& view, int col, int row, int colSel, int rowSel) {
  return BlockText(col, row, colSel, rowSel, [&view](int r, int c) { return view.Text(r, c); });
}

QString CutRange(TextGrid& view, int col, int row, int colSel, int rowSel) {
  return BlockText(col, row, colSel, rowSel, [&view](int r, int c) {
    QString text = view.Text(r, c);
    view.SetText(r, c, QString());
    return text;
  });
}

PasteBlock ParsePasteText(const QString& text, int maxRows, int maxCols) {
  PasteBlock block;
  QStringList current;
  qsizetype& rows = block.rowCount;
  qsizetype fields = 1;
  qsizetype cellStart = 0;
  // A cell is cut from the text when it ends, and only when the sheet could hold it.
  auto endCell = [&](qsizetype end) {
    if (rows < maxRows && current.size() < maxCols)
      current.append(text.mid(cellStart, end - cellStart));
  };
  auto endRow = [&](qsizetype end) {
    endCell(end);
    if (rows < maxRows) block.rows.append(current);
    current.clear();
    ++rows;
    fields = 1;
  };
  const auto* s = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype n = text.size();
  for (qsizetype k = 0; k < n; ++k) {
    const char16_t ch = s[k];
    if (ch == u'\t') {
      endCell(k);
      block.width = std::max(block.width, ++fields);
    } else if (ch == u'\r') {
      endRow(k);
    } else if (ch == u'\n') {
      // A line feed ends a row as a CR does (spreadsheets on Linux write LF), but after a CR
      // it is the second half of one row end.
      if (k == 0 || s[k - 1] != u'\r') endRow(k);
    } else {
      continue;
    }
    cellStart = k + 1;
  }
  return block;
}

bool PasteFits(const TextGrid& view, int col, int row, const PasteBlock& block) {
  const qsizetype lastRow = row + block.rowCount - 1;
  const qsizetype lastCol = col + block.width - 1;
  return lastRow <= view.Rows() - 1 && lastCol <= view.Cols() - 1;
}

void PasteRange(TextGrid& view, int col, int row, const PasteBlock& block) {
  for (qsizetype i = 0; i < block.rows.size(); ++i) {
    const QStringList& cells = block.rows[i];
    for (qsizetype j = 0; j < block.width; ++j) {
      view.SetText(int(row + i), int(col + j), j < cells.size() ? cells[j] : QString());
    }
  }
}

}  // namespace kelt
