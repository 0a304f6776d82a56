#include "ui/platform/gridaccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelectionModel>
#include <QPointer>

#include "ui/platform/flexgrid.h"

namespace kelt {
namespace {

// One cell of the grid, fixed cells included, known by its place: a row or column inserted or
// removed makes the table forget every cell it gave out.
class CellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  CellAccessible(FlexGrid* grid, int row, int col) : m_grid(grid), m_row(row), m_col(col) {}

  const FlexGrid* Grid() const { return m_grid; }
  int Row() const { return m_row; }
  int Col() const { return m_col; }

  bool isValid() const override {
    return m_grid && m_row < m_grid->Rows() && m_col < m_grid->Cols();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    QAccessibleInterface* table = parent();
    return table ? table->window() : nullptr;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return m_grid ? QAccessible::queryAccessibleInterface(m_grid.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && isValid() ? m_grid->ShownText(m_row, m_col) : QString();
  }
  // Cells are typed into through the editor box, never here.
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return isValid() ? m_grid->CellScreenRect(m_row, m_col) : QRect(); }
  QAccessible::Role role() const override {
    if (m_row == 0) return QAccessible::ColumnHeader;
    if (m_col == 0) return QAccessible::RowHeader;
    return QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    const QRect drawn = rect();
    if (drawn.isEmpty() || !m_grid->SightFor(m_row, m_col).intersects(drawn)) {
      state.invisible = true;
      state.offscreen = true;
    }
    if (IsDataCell()) {
      state.selectable = true;
      state.focusable = true;
      state.selected = isSelected();
      state.focused = m_grid->Row() == m_row && m_grid->Col() == m_col;
    }
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface && IsDataCell())
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  // The table-cell view counts the cells below and right of the headers from 0.
  bool isSelected() const override {
    return isValid() && m_grid->selectionModel()->isSelected(Index());
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {Sibling(0, m_col)}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {Sibling(m_row, 0)}; }
  int columnIndex() const override { return m_col - 1; }
  int rowIndex() const override { return m_row - 1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  bool IsDataCell() const { return m_row > 0 && m_col > 0; }
  QModelIndex Index() const { return m_grid->model()->index(m_row - 1, m_col - 1); }
  QAccessibleInterface* Sibling(int row, int col) const {
    QAccessibleInterface* table = parent();
    return table ? table->child(row * m_grid->Cols() + col) : nullptr;
  }

  QPointer<FlexGrid> m_grid;
  int m_row;
  int m_col;
};

// The grid as a table whose children are all its cells, row by row: (0, 0) first, then the column
// headers, then each row's header and cells. Qt's item views number the cell they announce so.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit GridAccessible(FlexGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
  ~GridAccessible() override { Forget(); }
  GridAccessible(const GridAccessible&) = delete;
  GridAccessible& operator=(const GridAccessible&) = delete;

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  int childCount() const override { return Grid()->Rows() * Grid()->Cols(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return Cell(index / Grid()->Cols(), index % Grid()->Cols());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* cell = dynamic_cast<const CellAccessible*>(child);
    if (!cell || cell->Grid() != Grid() || !cell->isValid()) return -1;
    return cell->Row() * Grid()->Cols() + cell->Col();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint at = Grid()->CellAtScreen(QPoint(x, y));
    return at.x() < 0 ? nullptr : Cell(at.y(), at.x());
  }
  QAccessibleInterface* focusChild() const override { return Cell(Grid()->Row(), Grid()->Col()); }

  // The table view: the cells below and right of the headers, counted from 0.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return Cell(row + 1, column + 1);
  }
  int selectedCellCount() const override { return int(Selection()->selectedIndexes().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : Selection()->selectedIndexes())
      cells.append(Cell(index.row() + 1, index.column() + 1));
    return cells;
  }
  QString columnDescription(int column) const override { return Grid()->ShownText(0, column + 1); }
  QString rowDescription(int row) const override { return Grid()->ShownText(row + 1, 0); }
  int selectedColumnCount() const override { return int(selectedColumns().size()); }
  int selectedRowCount() const override { return int(selectedRows().size()); }
  int columnCount() const override { return Grid()->Cols() - 1; }
  int rowCount() const override { return Grid()->Rows() - 1; }
  QList<int> selectedColumns() const override {
    QList<int> columns;
    for (const QModelIndex& index : Selection()->selectedColumns()) columns.append(index.column());
    return columns;
  }
  QList<int> selectedRows() const override {
    QList<int> rows;
    for (const QModelIndex& index : Selection()->selectedRows()) rows.append(index.row());
    return rows;
  }
  bool isColumnSelected(int column) const override {
    return Selection()->isColumnSelected(column, {});
  }
  bool isRowSelected(int row) const override { return Selection()->isRowSelected(row, {}); }
  // The sheet keeps its own current cell and block: a selection is made with the keys or the
  // pointer, as in the grid itself.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }

  void modelChange(QAccessibleTableModelChangeEvent* event) override {
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) Forget();
  }

 private:
  FlexGrid* Grid() const { return static_cast<FlexGrid*>(widget()); }
  QItemSelectionModel* Selection() const { return Grid()->selectionModel(); }

  QAccessibleInterface* Cell(int row, int col) const {
    if (row < 0 || col < 0 || row >= Grid()->Rows() || col >= Grid()->Cols()) return nullptr;
    const qint64 key = (qint64(row) << 32) | col;
    if (const auto known = m_cells.constFind(key); known != m_cells.cend()) {
      if (QAccessibleInterface* cell = QAccessible::accessibleInterface(*known)) return cell;
    }
    auto* cell = new CellAccessible(Grid(), row, col);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
  }
  void Forget() {
    for (const QAccessible::Id id : std::as_const(m_cells))
      QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
  }

  mutable QHash<qint64, QAccessible::Id> m_cells;
};

QAccessibleInterface* GridFactory(const QString& className, QObject* object) {
  if (className != QLatin1String(FlexGrid::staticMetaObject.className())) return nullptr;
  return new GridAccessible(static_cast<FlexGrid*>(object));
}

}  // namespace

void UseOwnAccessibleTable(FlexGrid* grid) {
  static const bool installed = [] {
    QAccessible::installFactory(&GridFactory);
    return true;
  }();
  (void)installed;
  // Under a screen reader the table view's own construction already asks for an accessible
  // interface, while the grid is still only a table view, and Qt keeps the one it made then.
  QAccessibleInterface* made = QAccessible::queryAccessibleInterface(grid);
  if (made && !dynamic_cast<GridAccessible*>(made))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace kelt
