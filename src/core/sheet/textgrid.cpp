#include "core/sheet/textgrid.h"

#include <algorithm>
#include <utility>

namespace kelt {

TextGrid::TextGrid(int rows, int cols) {
  SetCols(cols);
  SetRows(rows);
}

const QString& TextGrid::EmptyText() {
  static const QString empty;
  return empty;
}

QRect TextGrid::TakeWrittenArea() {
  const QRect area = m_writtenBottom < 0 ? QRect()
                                         : QRect(QPoint(m_writtenLeft, m_writtenTop),
                                                 QPoint(m_writtenRight, m_writtenBottom));
  m_writtenTop = m_writtenLeft = INT_MAX;
  m_writtenBottom = m_writtenRight = -1;
  return area;
}

void TextGrid::SetRows(int rows) {
  rows = std::max(rows, 0);
  m_rows = rows;
  m_cells.resize(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_cols));
}

void TextGrid::SetCols(int cols) {
  cols = std::max(cols, 0);
  if (cols == m_cols) return;
  std::vector<QString> cells(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(cols));
  const int keep = std::min(cols, m_cols);
  for (int r = 0; r < m_rows; ++r) {
    for (int c = 0; c < keep; ++c) {
      cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
            static_cast<std::size_t>(c)] = std::move(m_cells[Index(r, c)]);
    }
  }
  m_cells = std::move(cells);
  m_cols = cols;
}

void TextGrid::InsertColumn(int col) {
  col = std::clamp(col, 0, m_cols);
  SetCols(m_cols + 1);
  for (int r = 0; r < m_rows; ++r) {
    for (int c = m_cols - 1; c > col; --c)
      m_cells[Index(r, c)] = std::move(m_cells[Index(r, c - 1)]);
    m_cells[Index(r, col)] = QString();
  }
}

void TextGrid::RemoveColumn(int col) {
  if (col < 0 || col >= m_cols) return;
  for (int r = 0; r < m_rows; ++r) {
    for (int c = col; c < m_cols - 1; ++c)
      m_cells[Index(r, c)] = std::move(m_cells[Index(r, c + 1)]);
  }
  SetCols(m_cols - 1);
}

}  // namespace kelt
