#include "ui/platform/textgridmodel.h"

#include <algorithm>

#include "core/sheet/textgrid.h"
#include "ui/platform/displaytext.h"

namespace kelt {

namespace {
constexpr int kGeneral = 9;

qint64 Key(int row, int col) {
  return (static_cast<qint64>(row) << 32) | static_cast<quint32>(col);
}

Qt::Alignment FromCode(int code) {
  static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  return horizontal[code / 3] | vertical[code % 3];
}

// The grid's general alignment: numbers to the right, other texts to the left.
Qt::Alignment General(const QString& text) {
  bool number = false;
  if (!text.isEmpty()) text.trimmed().toDouble(&number);
  return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}
}  // namespace

TextGridModel::TextGridModel(const TextGrid* grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(m_grid->Rows() - 1, 0);
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(m_grid->Cols() - 1, 0);
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  const int col = index.column() + 1;
  switch (role) {
    case Qt::DisplayRole:
      return DisplayText(m_grid->Text(row, col));
    case Qt::EditRole:
      return m_grid->Text(row, col);
    case Qt::TextAlignmentRole:
      return AlignmentFor(row, col);
    default:
      return {};
  }
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const int row = orientation == Qt::Horizontal ? 0 : section + 1;
  const int col = orientation == Qt::Horizontal ? section + 1 : 0;
  switch (role) {
    case Qt::DisplayRole:
      // The header is sized from its texts: a text of megabytes would take seconds.
      return DisplayText(m_grid->Text(row, col));
    case Qt::TextAlignmentRole:
      return AlignmentFor(row, col);
    default:
      return {};
  }
}

QVariant TextGridModel::AlignmentFor(int row, int col) const {
  const int code = CellAlignment(row, col);
  const Qt::Alignment alignment =
      code == kGeneral ? General(DisplayText(m_grid->Text(row, col))) : FromCode(code);
  return QVariant::fromValue(static_cast<int>(alignment));
}

void TextGridModel::SetCellAlignment(int row, int col, int code) {
  SetCellAlignment(QRect(col, row, 1, 1), code);
}

void TextGridModel::SetCellAlignment(const QRect& cells, int code) {
  if (code < 0 || code > kGeneral) return;
  for (int row = cells.top(); row <= cells.bottom(); ++row) {
    for (int col = cells.left(); col <= cells.right(); ++col) {
      if (code == kGeneral) {
        m_alignment.remove(Key(row, col));
      } else {
        m_alignment.insert(Key(row, col), code);
      }
    }
  }
  // One notice for the block: a column of a thousand pupils would otherwise lay out its header a
  // thousand times.
  Announce(cells, {Qt::TextAlignmentRole});
}

int TextGridModel::CellAlignment(int row, int col) const {
  return m_alignment.value(Key(row, col), kGeneral);
}

void TextGridModel::BeginSetRows(int oldRows, int newRows) {
  const int oldCount = std::max(oldRows - 1, 0);
  const int newCount = std::max(newRows - 1, 0);
  m_rowsRemoving = newCount < oldCount;
  m_rowsInserting = newCount > oldCount;
  if (m_rowsRemoving) beginRemoveRows({}, newCount, oldCount - 1);
  if (m_rowsInserting) beginInsertRows({}, oldCount, newCount - 1);
}

void TextGridModel::EndSetRows() {
  if (m_rowsRemoving) endRemoveRows();
  if (m_rowsInserting) endInsertRows();
  m_rowsRemoving = m_rowsInserting = false;
}

void TextGridModel::BeginSetCols(int oldCols, int newCols) {
  const int oldCount = std::max(oldCols - 1, 0);
  const int newCount = std::max(newCols - 1, 0);
  m_colsRemoving = newCount < oldCount;
  m_colsInserting = newCount > oldCount;
  if (m_colsRemoving) beginRemoveColumns({}, newCount, oldCount - 1);
  if (m_colsInserting) beginInsertColumns({}, oldCount, newCount - 1);
}

void TextGridModel::EndSetCols() {
  if (m_colsRemoving) endRemoveColumns();
  if (m_colsInserting) endInsertColumns();
  m_colsRemoving = m_colsInserting = false;
}

void TextGridModel::CellChanged(int row, int col) {
  if (row == 0 && col > 0) {
    emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
  } else if (col == 0 && row > 0) {
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
  } else if (row > 0 && col > 0) {
    const QModelIndex i = index(row - 1, col - 1);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole, Qt::TextAlignmentRole});
  }
}

void TextGridModel::TextsChanged(const QRect& area) { Announce(area, {}); }

void TextGridModel::Announce(const QRect& area, const QList<int>& roles) {
  // Grid (r, c) is model (r − 1, c − 1); row 0 and column 0 are the headers.
  const int bottom = std::min(area.bottom(), rowCount());
  const int right = std::min(area.right(), columnCount());
  const int top = std::max(area.top(), 1);
  const int left = std::max(area.left(), 1);
  if (area.top() <= 0 && left <= right) emit headerDataChanged(Qt::Horizontal, left - 1, right - 1);
  if (area.left() <= 0 && top <= bottom) emit headerDataChanged(Qt::Vertical, top - 1, bottom - 1);
  if (top <= bottom && left <= right) {
    emit dataChanged(index(top - 1, left - 1), index(bottom - 1, right - 1), roles);
  }
}

}  // namespace kelt
