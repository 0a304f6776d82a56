#include "ui/platform/flexgrid.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QHeaderView>
#include <QImage>
#include <QItemSelection>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

#include "core/sheet/textgrid.h"
#include "support/listeningreader.h"
#include "support/qtprint.h"
#include "ui/platform/textgridmodel.h"

namespace kelt {
namespace {

struct Fixture {
  Fixture() : grid(100, 10), flex(&grid) {
    for (int r = 0; r < 100; ++r) grid.SetText(r, 0, QString::number(r));
    for (int c = 0; c < 10; ++c) grid.SetText(0, c, QStringLiteral("H%1").arg(c));
    grid.SetText(5, 3, QStringLiteral("85"));
    flex.resize(400, 300);
    flex.show();
  }
  TextGrid grid;
  FlexGrid flex;
};

TEST(FlexGrid, FixedRowAndColumnAreTheHeaders) {
  Fixture f;
  EXPECT_EQ(f.flex.Rows(), 100);
  EXPECT_EQ(f.flex.Cols(), 10);
  EXPECT_EQ(f.flex.model()->rowCount(), 99);
  EXPECT_EQ(f.flex.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("H3"));
  EXPECT_EQ(f.flex.model()->headerData(4, Qt::Vertical).toString(), QStringLiteral("5"));
  EXPECT_EQ(f.flex.model()->data(f.flex.model()->index(4, 2)).toString(), QStringLiteral("85"));
  EXPECT_EQ(f.flex.TextMatrix(5, 3), QStringLiteral("85"));
}

// The screen gets at most a bounded start of any text: measuring a header or eliding a cell of
// megabytes froze the window for seconds. The cell itself keeps all of it.
TEST(FlexGrid, TheScreenGetsABoundedText) {
  Fixture f;
  const QString huge(1000000, QLatin1Char('8'));
  f.grid.SetText(0, 2, huge);
  f.grid.SetText(6, 4, huge);
  const QAbstractItemModel* model = f.flex.model();
  const QString header = model->headerData(1, Qt::Horizontal).toString();
  const QString cell = model->data(model->index(5, 3)).toString();
  for (const QString& shown : {header, cell}) {
    EXPECT_LE(shown.size(), 257);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("888")));
    EXPECT_TRUE(shown.endsWith(QChar(u'\u2026')));
  }
  EXPECT_EQ(model->data(model->index(5, 3), Qt::EditRole).toString(), huge);
  EXPECT_EQ(model->data(model->index(4, 2)).toString(), QStringLiteral("85"))
      << "short texts whole";
}

// Cells are drawn once and copied after: each copy must be what the style draws in its place, for
// every text, alignment and state, and still after the font or the rows change.
TEST(FlexGrid, CellsLookAsTheStyleDrawsThem) {
  Fixture f;
  f.grid.SetText(2, 1, QStringLiteral("佐藤 太郎"));
  f.grid.SetText(3, 1, QStringLiteral("とても長い名前の生徒がここにいます"));
  f.grid.SetText(4, 2, QStringLiteral("ｺﾋﾟｰ"));
  f.grid.SetText(2, 2, QStringLiteral("100"));
  for (int r = 6; r < 20; ++r) {
    for (int c = 2; c < 6; ++c) f.grid.SetText(r, c, QStringLiteral("85"));
  }
  f.flex.SetColWidth(1, 700);  // the long name is cut short with an ellipsis
  f.flex.SetCellAlignment(QRect(3, 6, 1, 5), 4);
  f.flex.SetCellAlignment(QRect(4, 6, 1, 5), 1);

  class Plain : public QStyledItemDelegate {
   protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
      QStyledItemDelegate::initStyleOption(option, index);
      option->state &= ~QStyle::State_HasFocus;
    }
  } plain;
  QAbstractItemDelegate* copying = f.flex.itemDelegate();
  const auto expectStyled = [&](const char* what) {
    // Met once, met again (copied as it is made) and met a third time (a copy made before).
    QImage drawn[3];
    for (QImage& image : drawn) image = f.flex.viewport()->grab().toImage();
    f.flex.setItemDelegate(&plain);
    const QImage styled = f.flex.viewport()->grab().toImage();
    f.flex.setItemDelegate(copying);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(drawn[i] == styled) << what << ", drawing " << i + 1;
  };
  expectStyled("as shown");
  f.flex.SetCurrentCell(6, 2);
  f.flex.selectionModel()->select(
      QItemSelection(f.flex.model()->index(5, 1), f.flex.model()->index(9, 3)),
      QItemSelectionModel::ClearAndSelect);
  expectStyled("a block selected");
  f.flex.clearSelection();
  QFont larger = f.flex.font();
  larger.setPointSizeF(larger.pointSizeF() + 3);
  f.flex.setFont(larger);
  expectStyled("a larger font");
  f.flex.SetRowHeight(-1, 120);
  expectStyled("rows lower than their text");
  f.flex.setEnabled(false);
  expectStyled("disabled");
}

TEST(FlexGrid, SizesInTwips) {
  Fixture f;
  f.flex.SetColWidth(3, 700);
  f.flex.SetColWidth(0, 1500);
  f.flex.SetRowHeight(-1, 350);
  EXPECT_EQ(f.flex.horizontalHeader()->sectionSize(2), 47);
  EXPECT_EQ(f.flex.verticalHeader()->width(), 100);
  EXPECT_EQ(f.flex.verticalHeader()->sectionSize(50), 23);
  EXPECT_EQ(f.flex.horizontalHeader()->height(), 23);
  EXPECT_EQ(f.flex.RowHeight(7), 345) << "whole pixels, as the grid measures them";
  f.flex.SetRowHeight(7, 700);
  EXPECT_EQ(f.flex.RowHeight(7), 705);
  EXPECT_EQ(f.flex.RowHeight(8), 345);
}

TEST(FlexGrid, CurrentCellSelectionAndScroll) {
  Fixture f;
  f.flex.SetCurrentCell(5, 3);
  EXPECT_EQ(f.flex.Row(), 5);
  EXPECT_EQ(f.flex.Col(), 3);
  EXPECT_EQ(f.flex.RowSel(), 5);
  EXPECT_EQ(f.flex.currentIndex(), f.flex.model()->index(4, 2));
  f.flex.SetTopRow(40);
  EXPECT_EQ(f.flex.TopRow(), 40);
  f.flex.SetTopRow(1);
  EXPECT_EQ(f.flex.TopRow(), 1);

  // A click moves the current cell, a shift-click extends the block.
  f.flex.SetColWidth(1, 700);
  const QRect cell = f.flex.visualRect(f.flex.model()->index(1, 0));
  QSignalSpy pressed(&f.flex, &FlexGrid::mousePressed);
  QTest::mouseClick(f.flex.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(f.flex.Row(), 2);
  EXPECT_EQ(f.flex.Col(), 1);
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed.first().at(0).toInt(), 2);
  const QRect far = f.flex.visualRect(f.flex.model()->index(3, 2));
  QTest::mouseClick(f.flex.viewport(), Qt::LeftButton, Qt::ShiftModifier, far.center());
  EXPECT_EQ(f.flex.RowSel(), 4);
  EXPECT_EQ(f.flex.ColSel(), 3);
}

// A magnifier or a screen reader following the cursor asks where each cell, header and frozen
// name is: after scrolling, each is where it is drawn, in line with its row or column. The reader
// listens from before the grid is made, as in a desktop session, when the grid's construction
// already reaches for its accessible interface.
TEST(FlexGrid, AssistiveTechnologyFindsEachCellWhereItIsDrawn) {
  test::ListeningReader reader;
  Fixture f;
  f.flex.SetColWidth(1, 1400);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.flex));
  f.flex.SetTopRow(60);
  f.flex.SetLeftCol(5);
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&f.flex);
  ASSERT_TRUE(table && table->tableInterface());
  const auto global = [](const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  };
  const auto dataCell = [&](int row, int col) {
    const QRect local = f.flex.visualRect(f.flex.model()->index(row - 1, col - 1));
    return QRect(f.flex.viewport()->mapToGlobal(local.topLeft()), local.size());
  };

  struct Probe {
    const char* what;
    int fixedCols;
    int row;
    int col;
    QAccessible::Role role;
    QString name;
  };
  const QList<Probe> probes = {
      {"a cell", 1, 61, 6, QAccessible::Cell, {}},
      {"a row header", 1, 61, 0, QAccessible::RowHeader, QStringLiteral("61")},
      {"a column header", 1, 0, 6, QAccessible::ColumnHeader, QStringLiteral("H6")},
      {"a frozen name", 2, 62, 1, QAccessible::Cell, QStringLiteral("name62")},
      {"the frozen name's header", 2, 0, 1, QAccessible::ColumnHeader, QStringLiteral("H1")},
      {"a row header beside frozen names", 2, 62, 0, QAccessible::RowHeader, QStringLiteral("62")},
  };
  for (int r = 1; r < 100; ++r) f.grid.SetText(r, 1, QStringLiteral("name%1").arg(r));
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.what);
    f.flex.SetFixedCols(p.fixedCols);
    f.flex.SetTopRow(60);
    QCoreApplication::processEvents();
    QAccessibleInterface* cell = table->child(p.row * f.flex.Cols() + p.col);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), p.role);
    if (!p.name.isEmpty()) {
      EXPECT_EQ(cell->text(QAccessible::Name), p.name);
    }
    EXPECT_EQ(table->indexOfChild(cell), p.row * f.flex.Cols() + p.col);
    const QRect rect = cell->rect();
    ASSERT_FALSE(rect.isEmpty());
    EXPECT_FALSE(cell->state().invisible);
    // In line with the row's or the column's cells, inside the part of the grid that draws it.
    // A cell among the scrolling ones leaves out its grid line; a header draws its own border.
    const int line = p.role == QAccessible::Cell && p.col >= p.fixedCols ? 1 : 0;
    if (p.row > 0) {
      EXPECT_EQ(
          rect.top(),
          f.flex.viewport()->mapToGlobal(QPoint(0, f.flex.rowViewportPosition(p.row - 1))).y());
      EXPECT_EQ(rect.height(), f.flex.rowHeight(p.row - 1) - line);
    }
    if (p.role == QAccessible::ColumnHeader && p.col == 6) {
      EXPECT_EQ(
          rect.left(),
          f.flex.viewport()->mapToGlobal(QPoint(f.flex.columnViewportPosition(p.col - 1), 0)).x());
      EXPECT_EQ(rect.width(), f.flex.columnWidth(p.col - 1));
    }
    if (p.role == QAccessible::Cell && p.fixedCols == 1) {
      EXPECT_EQ(rect, dataCell(p.row, p.col));
    }
    const QWidget* part = p.row == 0 && p.col == 1   ? f.flex.findChild<QAbstractButton*>()
                          : p.row == 0               ? f.flex.horizontalHeader()
                          : p.col <= p.fixedCols - 1 ? f.flex.verticalHeader()
                                                     : f.flex.viewport();
    EXPECT_EQ(global(part).intersected(rect), rect);
    EXPECT_EQ(table->childAt(rect.center().x(), rect.center().y()), cell);
  }

  // A cell scrolled out of sight says so; the data cells know their headers.
  f.flex.SetFixedCols(1);
  QAccessibleInterface* above = table->tableInterface()->cellAt(1, 1);
  ASSERT_NE(above, nullptr);
  EXPECT_TRUE(above->state().invisible);
  QAccessibleTableCellInterface* inTable = above->tableCellInterface();
  ASSERT_NE(inTable, nullptr);
  EXPECT_EQ(inTable->rowHeaderCells().value(0)->text(QAccessible::Name), QStringLiteral("2"));
  EXPECT_EQ(inTable->columnHeaderCells().value(0)->text(QAccessible::Name), QStringLiteral("H2"));
}

// The grid announces its current cell by a child number of Qt's item views: that number names
// the same cell in kelt's table.
TEST(FlexGrid, TheAnnouncedCellIsTheCurrentOne) {
  Fixture f;
  test::ListeningReader reader;
  f.flex.SetCurrentCell(5, 3);
  bool heard = false;
  for (const auto& h : reader.heard()) {
    if (h.object == &f.flex && h.type == QAccessible::Focus) heard = h.name == QStringLiteral("85");
  }
  EXPECT_TRUE(heard);
  // Rows come and go under a listening reader: the cells given out before are forgotten, and the
  // table names the new ones.
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&f.flex);
  EXPECT_EQ(table->tableInterface()->cellAt(4, 2)->text(QAccessible::Name), QStringLiteral("85"));
  f.flex.Model()->BeginSetRows(100, 120);
  f.grid.SetRows(120);
  f.grid.SetText(110, 3, QStringLiteral("42"));
  f.flex.Model()->EndSetRows();
  EXPECT_EQ(table->childCount(), 120 * 10);
  EXPECT_EQ(table->tableInterface()->cellAt(109, 2)->text(QAccessible::Name), QStringLiteral("42"));
}

TEST(FlexGrid, AlignmentCodes) {
  Fixture f;
  f.flex.SetCellAlignment(5, 3, 4);
  f.flex.SetCellAlignment(0, 2, 4);
  const auto alignment = [&](int r, int c) {
    return f.flex.model()->data(f.flex.model()->index(r - 1, c - 1), Qt::TextAlignmentRole).toInt();
  };
  EXPECT_EQ(alignment(5, 3), int(Qt::AlignCenter));
  f.grid.SetText(6, 3, QStringLiteral("72.5"));
  f.grid.SetText(7, 3, QStringLiteral("山田"));
  EXPECT_EQ(alignment(6, 3), int(Qt::AlignRight | Qt::AlignVCenter)) << "general: numbers right";
  EXPECT_EQ(alignment(7, 3), int(Qt::AlignLeft | Qt::AlignVCenter));
  EXPECT_EQ(f.flex.model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
            int(Qt::AlignCenter));
}

// A block of cells takes its alignment at once: the header column of a year in one notice, not a
// thousand, and each cell, header or not, answers the code given; 9 gives the general one back.
TEST(FlexGrid, AlignmentOfABlock) {
  Fixture f;
  QSignalSpy headers(f.flex.model(), &QAbstractItemModel::headerDataChanged);
  QSignalSpy data(f.flex.model(), &QAbstractItemModel::dataChanged);
  f.flex.SetCellAlignment(QRect(0, 0, 1, 100), 4);
  ASSERT_EQ(headers.size(), 1);
  EXPECT_EQ(headers.at(0).at(0).value<Qt::Orientation>(), Qt::Vertical);
  EXPECT_EQ(headers.at(0).at(1).toInt(), 0);
  EXPECT_EQ(headers.at(0).at(2).toInt(), 98);
  EXPECT_EQ(data.size(), 0);
  for (int r = 0; r < 100; ++r) ASSERT_EQ(f.flex.CellAlignment(r, 0), 4) << r;
  EXPECT_EQ(f.flex.CellAlignment(0, 1), 9);

  headers.clear();
  f.flex.SetCellAlignment(QRect(2, 0, 2, 6), 6);  // header cells and pupils' cells
  EXPECT_EQ(headers.size(), 1);
  ASSERT_EQ(data.size(), 1);
  EXPECT_EQ(data.at(0).at(0).toModelIndex(), f.flex.model()->index(0, 1));
  EXPECT_EQ(data.at(0).at(1).toModelIndex(), f.flex.model()->index(4, 2));
  EXPECT_EQ(data.at(0).at(2).value<QList<int>>(), QList<int>{Qt::TextAlignmentRole});
  EXPECT_EQ(f.flex.CellAlignment(5, 3), 6);
  EXPECT_EQ(f.flex.CellAlignment(6, 3), 9);
  f.flex.SetCellAlignment(QRect(2, 0, 2, 6), 9);
  EXPECT_EQ(f.flex.CellAlignment(5, 3), 9);
}

}  // namespace
}  // namespace kelt
