#include "ui/platform/flexgrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCache>
#include <QHash>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSet>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

#include "core/sheet/textgrid.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/gridaccessible.h"
#include "ui/platform/textgridmodel.h"
#include "ui/platform/twips.h"

namespace kelt {

namespace {
// Draws cells without a focus rectangle, and a cell met again once for its text, size, alignment
// and state, copied after that: a view switch redraws hundreds of cells that hold far fewer
// different texts (marks from 0 to 100, a column's class), and laying out a text is most of what
// drawing a cell costs. A drawn cell is the style's own drawing of it on the table's background, so
// what is copied is what would have been drawn there.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const qreal ratio = painter->device()->devicePixelRatioF();
    if (option.font != m_font || option.palette.cacheKey() != m_palette || ratio != m_ratio ||
        style != m_style) {
      m_cells.clear();
      m_seen.clear();
      m_font = option.font;
      m_textHeight = QFontMetrics(option.font).height();
      m_palette = option.palette.cacheKey();
      m_ratio = ratio;
      m_style = style;
    }
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    const QBrush& base = option.palette.brush(group, QPalette::Base);
    const QString text = index.data(Qt::DisplayRole).toString();
    // An empty cell has no text to lay out. A text taller than its row is drawn over its
    // neighbours, which a copy would cut off; at a fractional scale a copy would not meet the
    // pixels the drawing meets.
    if (text.isEmpty() || option.rect.isEmpty() || m_textHeight > option.rect.height() ||
        base.style() != Qt::SolidPattern || ratio != std::round(ratio)) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const Key key{text, option.rect.size(), index.data(Qt::TextAlignmentRole).toInt(),
                  int(option.state & ~QStyle::State_HasFocus)};
    const QPixmap* cell = m_cells.object(key);
    // A cell met once is drawn in place, as a copy made for it would cost more than the drawing:
    // the first screen of a sheet (a name on each row) and texts that never come back are not
    // copied.
    if (!cell && !m_seen.contains(key)) {
      if (m_seen.size() >= kMaxSeen) m_seen.clear();
      m_seen.insert(key);
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    if (!cell) {
      m_seen.remove(key);
      auto* drawn = new QPixmap((QSizeF(option.rect.size()) * ratio).toSize());
      drawn->setDevicePixelRatio(ratio);
      drawn->fill(base.color());
      QPainter cellPainter(drawn);
      QStyleOptionViewItem at = option;
      at.rect.moveTopLeft(QPoint(0, 0));
      QStyledItemDelegate::paint(&cellPainter, at, index);
      cellPainter.end();
      const qint64 bytes = qint64(drawn->width()) * drawn->height() * 4;
      m_cells.insert(key, drawn, bytes);
      cell = m_cells.object(key);
      if (!cell) {  // larger than the whole store
        QStyledItemDelegate::paint(painter, option, index);
        return;
      }
    }
    painter->drawPixmap(option.rect.topLeft(), *cell);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
  }

 private:
  // What the model gives a cell is its text and alignment; the rest comes from the table.
  struct Key {
    QString text;
    QSize size;
    int alignment;
    int state;
    bool operator==(const Key& other) const {
      return size == other.size && alignment == other.alignment && state == other.state &&
             text == other.text;
    }
    friend size_t qHash(const Key& key, size_t seed = 0) {
      return qHashMulti(seed, key.text, key.size.width(), key.size.height(), key.alignment,
                        key.state);
    }
  };

  // Some 4 MB: a screenful of cells many times over.
  mutable QCache<Key, QPixmap> m_cells{4 << 20};
  static constexpr qsizetype kMaxSeen = 8192;
  mutable QSet<Key> m_seen;
  mutable QFont m_font;
  mutable int m_textHeight = 0;
  mutable qint64 m_palette = 0;
  mutable qreal m_ratio = 0;
  mutable const QStyle* m_style = nullptr;
};

// Draws a fixed cell with the header's look.
void PaintFixedCell(const QWidget* widget, QPainter* painter, const QRect& rect,
                    const QString& text, Qt::Alignment alignment) {
  QStyleOptionHeader option;
  option.initFrom(widget);
  option.rect = rect;
  option.state |= QStyle::State_Enabled;
  option.palette.setCurrentColorGroup(QPalette::Active);
  option.position = QStyleOptionHeader::OnlyOneSection;
  option.text = text;
  option.textAlignment = alignment;
  widget->style()->drawControl(QStyle::CE_Header, &option, painter, widget);
}
}  // namespace

// Both headers keep the thickness the grid gives them (the fixed row's height, the fixed column's
// width). Qt's hint, measured from the texts of up to 200 sections each time sections come or go,
// would only be thrown away, so it is not measured.
class FixedHeader : public QHeaderView {
 public:
  using QHeaderView::QHeaderView;
  QSize sizeHint() const override { return minimumSize(); }
};

// The row header: the number column, and beside it the frozen name column while the names are
// locked (the table then hides its own name column).
class FlexGrid::RowHeader : public FixedHeader {
 public:
  explicit RowHeader(QWidget* parent) : FixedHeader(Qt::Vertical, parent) {}

  int NumberWidth() const { return width() - m_nameWidth; }
  int NameWidth() const { return m_nameWidth; }
  void SetWidths(int number, int name) {
    m_nameWidth = name;
    setFixedWidth(number + name);
    viewport()->update();
  }

  void setModel(QAbstractItemModel* model) override {
    QHeaderView::setModel(model);
    if (!model) return;
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
      if (m_nameWidth > 0 && topLeft.column() == 0) viewport()->update();
    });
  }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    if (m_nameWidth == 0) {
      QHeaderView::paintSection(painter, rect, logicalIndex);
      return;
    }
    const QRect number(rect.left(), rect.top(), NumberWidth(), rect.height());
    painter->save();
    painter->setClipRect(number);
    QHeaderView::paintSection(painter, number, logicalIndex);
    painter->restore();
    const QModelIndex name = model()->index(logicalIndex, 0);
    PaintFixedCell(this, painter, QRect(number.right() + 1, rect.top(), m_nameWidth, rect.height()),
                   name.data(Qt::DisplayRole).toString(),
                   Qt::Alignment(name.data(Qt::TextAlignmentRole).toInt()));
  }

 private:
  int m_nameWidth = 0;
};

FlexGrid::FlexGrid(const TextGrid* grid, QWidget* parent)
    : QTableView(parent),
      m_grid(grid),
      m_model(new TextGridModel(grid, this)),
      m_rowHeader(new RowHeader(this)) {
  setVerticalHeader(m_rowHeader);
  setHorizontalHeader(new FixedHeader(Qt::Horizontal, this));
  horizontalHeader()->setFixedHeight(verticalHeader()->defaultSectionSize());
  m_rowHeader->SetWidths(horizontalHeader()->defaultSectionSize(), 0);
  setModel(m_model);
  setItemDelegate(new CellDelegate(this));
  setEditTriggers(NoEditTriggers);
  setSelectionMode(ContiguousSelection);
  setSelectionBehavior(SelectItems);
  setVerticalScrollMode(ScrollPerItem);
  setHorizontalScrollMode(ScrollPerItem);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  verticalHeader()->setSectionsClickable(false);
  horizontalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setMinimumSectionSize(1);

  // The selection stays highlighted while the focus is elsewhere (in the editor box).
  QPalette p = palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
  }
  setPalette(p);

  if (auto* corner = findChild<QAbstractButton*>()) {
    corner->installEventFilter(this);
    m_corner = corner;
  }
  UseOwnAccessibleTable(this);
}

int FlexGrid::Px(int twips) const { return TwipsToPixels(twips, WidgetDpi(this)); }
int FlexGrid::Twips(int px) const { return PixelsToTwips(px, WidgetDpi(this)); }

int FlexGrid::Rows() const { return m_model->rowCount() + 1; }
int FlexGrid::Cols() const { return m_model->columnCount() + 1; }

QString FlexGrid::TextMatrix(int row, int col) const { return m_grid->Text(row, col); }

QString FlexGrid::ShownText(int row, int col) const { return DisplayText(m_grid->Text(row, col)); }

const QWidget* FlexGrid::DrawnIn(int row, int col) const {
  const bool numberOrFrozenName = col == 0 || (col == 1 && m_fixedCols == 2);
  if (row == 0) return numberOrFrozenName ? m_corner : horizontalHeader()->viewport();
  return numberOrFrozenName ? m_rowHeader->viewport() : viewport();
}

// Qt's own accessible table reports its headers where they would be unscrolled; these are the
// places the cells are painted, headers and the frozen names included.
QRect FlexGrid::CellScreenRect(int row, int col) const {
  if (row < 0 || col < 0 || row >= Rows() || col >= Cols()) return {};
  const QWidget* in = DrawnIn(row, col);
  if (!in) return {};
  const int numberWidth = m_rowHeader->NumberWidth();
  // Left and width inside the number column and the frozen name column beside it.
  const int fixedLeft = col == 0 ? 0 : numberWidth;
  const int fixedWidth = col == 0 ? numberWidth : m_rowHeader->NameWidth();
  QRect local;
  if (in == m_corner) {
    local = QRect(fixedLeft, 0, fixedWidth, m_corner->height());
  } else if (row == 0) {
    const QHeaderView* header = horizontalHeader();
    if (header->isSectionHidden(col - 1)) return {};
    local = QRect(header->sectionViewportPosition(col - 1), 0, header->sectionSize(col - 1),
                  header->height());
  } else if (in == m_rowHeader->viewport()) {
    if (m_rowHeader->isSectionHidden(row - 1)) return {};
    local = QRect(fixedLeft, m_rowHeader->sectionViewportPosition(row - 1), fixedWidth,
                  m_rowHeader->sectionSize(row - 1));
  } else {
    local = visualRect(m_model->index(row - 1, col - 1));
    if (local.isEmpty()) return {};
  }
  return {in->mapToGlobal(local.topLeft()), local.size()};
}

QRect FlexGrid::SightFor(int row, int col) const {
  const QWidget* part = DrawnIn(row, col);
  if (!part || !part->isVisible()) return {};
  return {part->mapToGlobal(QPoint(0, 0)), part->size()};
}

QPoint FlexGrid::CellAtScreen(const QPoint& global) const {
  const auto inside = [&](const QWidget* widget) {
    return widget && widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(global));
  };
  const int numberWidth = m_rowHeader->NumberWidth();
  if (inside(m_corner)) {
    return {m_corner->mapFromGlobal(global).x() < numberWidth ? 0 : 1, 0};
  }
  if (inside(horizontalHeader())) {
    const QHeaderView* header = horizontalHeader();
    const int section = header->logicalIndexAt(header->viewport()->mapFromGlobal(global));
    return section < 0 ? QPoint(-1, -1) : QPoint(section + 1, 0);
  }
  if (inside(m_rowHeader)) {
    const QPoint at = m_rowHeader->viewport()->mapFromGlobal(global);
    const int section = m_rowHeader->logicalIndexAt(at);
    if (section < 0) return {-1, -1};
    return {at.x() < numberWidth ? 0 : 1, section + 1};
  }
  if (inside(viewport())) {
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(global));
    if (index.isValid()) return {index.column() + 1, index.row() + 1};
  }
  return {-1, -1};
}

void FlexGrid::SetCurrentCell(int row, int col) {
  m_row = row;
  m_col = col;
  const QModelIndex index = m_model->index(row - 1, col - 1);
  m_settingCurrent = true;
  if (index.isValid()) {
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  } else {
    selectionModel()->clearSelection();
  }
  m_settingCurrent = false;
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  // Extending a block (shift, or dragging) moves its far corner, not the current cell.
  if (!m_settingCurrent && !m_extending && current.isValid()) {
    m_row = current.row() + 1;
    m_col = current.column() + 1;
  }
}

int FlexGrid::RowSel() const {
  const QItemSelection selection = selectionModel()->selection();
  if (selection.isEmpty()) return m_row;
  const QItemSelectionRange& range = selection.first();
  return (m_row - 1 == range.top() ? range.bottom() : range.top()) + 1;
}

int FlexGrid::ColSel() const {
  const QItemSelection selection = selectionModel()->selection();
  if (selection.isEmpty()) return m_col;
  const QItemSelectionRange& range = selection.first();
  return (m_col - 1 == range.left() ? range.right() : range.left()) + 1;
}

int FlexGrid::TopRow() const { return verticalScrollBar()->value() + FixedRows(); }

void FlexGrid::SetTopRow(int row) { verticalScrollBar()->setValue(row - FixedRows()); }

// The scroll bar counts the columns the table shows, and a frozen name column is not one of them.
int FlexGrid::LeftCol() const { return horizontalScrollBar()->value() + m_fixedCols; }

void FlexGrid::SetLeftCol(int col) { horizontalScrollBar()->setValue(col - m_fixedCols); }

void FlexGrid::SetFixedCols(int fixedCols) {
  fixedCols = std::clamp(fixedCols, 1, 2);
  if (fixedCols == m_fixedCols || Cols() < 2) return;
  const int nameWidth = horizontalHeader()->sectionSize(0);
  m_fixedCols = fixedCols;
  if (fixedCols == 2) {
    setColumnHidden(0, true);
    m_rowHeader->SetWidths(m_rowHeader->NumberWidth(), nameWidth);
  } else {
    const int frozenWidth = m_rowHeader->NameWidth();
    m_rowHeader->SetWidths(m_rowHeader->NumberWidth(), 0);
    setColumnHidden(0, false);
    horizontalHeader()->resizeSection(0, frozenWidth);
  }
  if (m_col < m_fixedCols && m_col < Cols() - 1) SetCurrentCell(m_row, m_fixedCols);
}

int FlexGrid::ColWidth(int col) const {
  if (col == 0) return Twips(m_rowHeader->NumberWidth());
  if (col == 1 && m_fixedCols == 2) return Twips(m_rowHeader->NameWidth());
  return Twips(horizontalHeader()->sectionSize(col - 1));
}

void FlexGrid::SetColWidth(int col, int twips) {
  if (col == 0) {
    m_rowHeader->SetWidths(Px(twips), m_rowHeader->NameWidth());
  } else if (col == 1 && m_fixedCols == 2) {
    m_rowHeader->SetWidths(m_rowHeader->NumberWidth(), Px(twips));
  } else if (col > 0 && col < Cols()) {
    horizontalHeader()->resizeSection(col - 1, Px(twips));
  }
}

int FlexGrid::FixedCellTwips(const QStringList& texts) const {
  // Summed from the characters' advances, each measured once: a thousand pupil numbers are
  // measured at every new sheet, from a dozen characters. Digits and these labels do not kern.
  const QFontMetrics metrics(m_rowHeader->font());
  QHash<QChar, int> advances;
  QString widest;
  int widestAdvance = -1;
  for (const QString& text : texts) {
    int advance = 0;
    for (const QChar c : text) {
      auto known = advances.constFind(c);
      if (known == advances.cend()) known = advances.insert(c, metrics.horizontalAdvance(c));
      advance += *known;
    }
    if (advance > widestAdvance) {
      widestAdvance = advance;
      widest = text;
    }
  }
  QStyleOptionHeader option;
  option.initFrom(m_rowHeader);
  option.text = widest;
  const QSize size =
      m_rowHeader->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, {}, m_rowHeader);
  // The section's own border line beside the text.
  return Twips(size.width() + 2);
}

int FlexGrid::RowHeight(int row) const {
  if (row == 0) return Twips(horizontalHeader()->height());
  return Twips(verticalHeader()->sectionSize(row - 1));
}

void FlexGrid::SetRowHeight(int row, int twips) {
  if (row < 0) {
    horizontalHeader()->setFixedHeight(Px(twips));
    verticalHeader()->setDefaultSectionSize(Px(twips));
    for (int r = 0; r < m_model->rowCount(); ++r) {
      if (verticalHeader()->sectionSize(r) != Px(twips))
        verticalHeader()->resizeSection(r, Px(twips));
    }
  } else if (row == 0) {
    horizontalHeader()->setFixedHeight(Px(twips));
  } else if (row < Rows()) {
    verticalHeader()->resizeSection(row - 1, Px(twips));
  }
}

void FlexGrid::SetCellAlignment(int row, int col, int code) {
  m_model->SetCellAlignment(row, col, code);
}

void FlexGrid::SetCellAlignment(const QRect& cells, int code) {
  m_model->SetCellAlignment(cells, code);
}

int FlexGrid::CellAlignment(int row, int col) const { return m_model->CellAlignment(row, col); }

int FlexGrid::HeightTwips() const { return Twips(height()); }
int FlexGrid::WidthTwips() const { return Twips(width()); }

void FlexGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  emit gotFocus();
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  m_mouseRow = index.isValid() ? index.row() + 1 : -1;
  m_mouseCol = index.isValid() ? index.column() + 1 : -1;
  m_extending = event->modifiers().testFlag(Qt::ShiftModifier);
  QTableView::mousePressEvent(event);
  m_extending = true;  // until the button is released
  emit mousePressed(m_mouseRow, m_mouseCol);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  m_extending = false;
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
  m_extending = event->modifiers().testFlag(Qt::ShiftModifier);
  QTableView::keyPressEvent(event);
  m_extending = false;
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
  // The corner cell (0, 0) is a fixed cell with its own text.
  auto* corner = qobject_cast<QAbstractButton*>(watched);
  if (corner && event->type() == QEvent::Paint) {
    QPainter painter(corner);
    QRect number = corner->rect();
    const int nameWidth = m_rowHeader->NameWidth();
    number.setWidth(number.width() - nameWidth);
    PaintFixedCell(corner, &painter, number,
                   m_model->headerData(-1, Qt::Horizontal, Qt::DisplayRole).toString(),
                   Qt::AlignCenter);
    if (nameWidth > 0) {
      PaintFixedCell(
          corner, &painter, QRect(number.right() + 1, number.top(), nameWidth, number.height()),
          m_model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
          Qt::Alignment(m_model->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt()));
    }
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

}  // namespace kelt
