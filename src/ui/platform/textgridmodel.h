#pragma once

#include <QAbstractTableModel>
#include <QHash>

namespace kelt {

class TextGrid;

// A table model over a TextGrid that never copies cells. Row 0 and column 0 are the grid's
// fixed cells: they are the model's header data, so model (r, c) is grid (r + 1, c + 1).
// The grid is changed by its owner, who tells the model through the Begin/End calls.
class TextGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TextGridModel(const TextGrid* grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Alignment of one grid cell in the grid widget's codes (0 to 8; 9 general).
  void SetCellAlignment(int row, int col, int code);
  // The same for a block of cells (x a column, y a row).
  void SetCellAlignment(const QRect& cells, int code);
  int CellAlignment(int row, int col) const;

  void BeginSetRows(int oldRows, int newRows);
  void EndSetRows();
  void BeginSetCols(int oldCols, int newCols);
  void EndSetCols();
  void CellChanged(int row, int col);
  // The grid's texts in `area` (x a column, y a row) changed: the smallest notices that cover it.
  void TextsChanged(const QRect& area);

 private:
  // The notices for the cells of `area` (x a column, y a row): headers and a block of data.
  void Announce(const QRect& area, const QList<int>& roles);
  QVariant AlignmentFor(int row, int col) const;

  const TextGrid* m_grid;
  QHash<qint64, int> m_alignment;
  bool m_rowsRemoving = false;
  bool m_rowsInserting = false;
  bool m_colsRemoving = false;
  bool m_colsInserting = false;
};

}  // namespace kelt
