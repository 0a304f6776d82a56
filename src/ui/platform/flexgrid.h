#pragma once

#include <QTableView>

namespace kelt {

class TextGrid;
class TextGridModel;

// The grid widget: a table view over a TextGrid, offered in the terms the sheet logic uses
// (Rows, Cols, TextMatrix, Row, Col, RowSel, ColSel, TopRow, LeftCol, FixedCols, ColWidth and
// RowHeight in twips, cell alignment). Row 0 and column 0 are fixed: they are drawn as the
// table's headers and never scroll or take the selection. With two fixed columns the name
// column (1) is drawn inside the row header too, frozen beside the numbers.
class FlexGrid : public QTableView {
  Q_OBJECT

 public:
  explicit FlexGrid(const TextGrid* grid, QWidget* parent = nullptr);

  TextGridModel* Model() const { return m_model; }

  int Rows() const;
  int Cols() const;
  int FixedRows() const { return 1; }
  int FixedCols() const { return m_fixedCols; }
  // 1 or 2; a current cell left inside the fixed columns moves to the first scrolling one.
  void SetFixedCols(int fixedCols);
  QString TextMatrix(int row, int col) const;
  // The text the screen shows for a cell: its start, for a text too long to show.
  QString ShownText(int row, int col) const;
  // Where cell (row, col) is drawn, in global coordinates, in sight or scrolled out of it: a fixed
  // cell in its header, a frozen name beside the number. Empty for a cell drawn nowhere.
  QRect CellScreenRect(int row, int col) const;
  // The part of the screen where cell (row, col) can be seen: the cells' area, or the header
  // that draws it.
  QRect SightFor(int row, int col) const;
  // The cell drawn at a global point, as (column, row); (−1, −1) outside every cell.
  QPoint CellAtScreen(const QPoint& global) const;

  // Current cell (where a selection starts) and the far corner of the selection.
  int Row() const { return m_row; }
  int Col() const { return m_col; }
  void SetRow(int row) { SetCurrentCell(row, m_col); }
  void SetCol(int col) { SetCurrentCell(m_row, col); }
  void SetCurrentCell(int row, int col);
  int RowSel() const;
  int ColSel() const;

  // First visible scrollable row and column.
  int TopRow() const;
  void SetTopRow(int row);
  int LeftCol() const;
  void SetLeftCol(int col);

  // Sizes in twips; row −1 sets every row.
  int ColWidth(int col) const;
  void SetColWidth(int col, int twips);
  int RowHeight(int row) const;
  // The width in twips a fixed cell needs to show the widest of `texts` whole.
  int FixedCellTwips(const QStringList& texts) const;
  void SetRowHeight(int row, int twips);

  // Alignment in the grid widget's codes: 0 to 8 (left/centre/right × top/centre/bottom), 9
  // general.
  void SetCellAlignment(int row, int col, int code);
  void SetCellAlignment(const QRect& cells, int code);  // x a column, y a row
  int CellAlignment(int row, int col) const;

  // The control's own size in twips.
  int HeightTwips() const;
  int WidthTwips() const;

  // Grid row and column under the pointer at the last button press.
  int MouseRow() const { return m_mouseRow; }
  int MouseCol() const { return m_mouseCol; }

 signals:
  void gotFocus();
  void mousePressed(int row, int col);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class RowHeader;

  // The widget that paints cell (row, col): the corner, a header's viewport or the table's.
  const QWidget* DrawnIn(int row, int col) const;
  int Px(int twips) const;
  int Twips(int px) const;

  const TextGrid* m_grid;
  TextGridModel* m_model;
  int m_row = 1;
  int m_col = 1;
  int m_fixedCols = 1;
  RowHeader* m_rowHeader;
  QWidget* m_corner = nullptr;
  int m_mouseRow = -1;
  int m_mouseCol = -1;
  bool m_settingCurrent = false;
  bool m_extending = false;
};

}  // namespace kelt
