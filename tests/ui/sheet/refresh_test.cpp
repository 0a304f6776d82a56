// The screen shows what the sheet holds: every change of the view's texts reaches the grid's
// model as a notice that covers it, and a small change announces a small area, not the grid.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>

#include "core/calc/computations.h"
#include "support/files.h"
#include "support/scriptedprompts.h"
#include "support/sheetwindow.h"
#include "ui/storage/filecommands.h"

namespace kelt {
namespace {

// What the grid's model told the view, in grid coordinates (row 0 and column 0 are headers).
class Notices {
 public:
  explicit Notices(const QAbstractItemModel* model) : m_model(model) {
    QObject::connect(model, &QAbstractItemModel::dataChanged,
                     [this](const QModelIndex& from, const QModelIndex& to) {
                       m_areas.append(QRect(QPoint(from.column() + 1, from.row() + 1),
                                            QPoint(to.column() + 1, to.row() + 1)));
                     });
    QObject::connect(model, &QAbstractItemModel::headerDataChanged,
                     [this](Qt::Orientation orientation, int first, int last) {
                       m_areas.append(orientation == Qt::Horizontal
                                          ? QRect(QPoint(first + 1, 0), QPoint(last + 1, 0))
                                          : QRect(QPoint(0, first + 1), QPoint(0, last + 1)));
                     });
    QObject::connect(model, &QAbstractItemModel::modelReset, [this] { m_everything = true; });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, [this] { m_everything = true; });
  }

  bool Covers(int row, int col) const {
    if (m_everything) return true;
    for (const QRect& area : m_areas) {
      if (area.contains(col, row)) return true;
    }
    return false;
  }
  // Cells announced in all, counted once per notice.
  qint64 CellCount() const {
    qint64 cells = 0;
    for (const QRect& area : m_areas) cells += qint64(area.width()) * area.height();
    return m_everything ? INT64_MAX : cells;
  }

 private:
  const QAbstractItemModel* m_model;
  QList<QRect> m_areas;
  bool m_everything = false;
};

struct Change {
  const char* what;
  std::function<void(test::SheetWindow&)> prepare;
  std::function<void(test::SheetWindow&)> change;
  QList<QPoint> cells;  // (column, row) that must be announced
  qint64 mostCells;     // at most this many announced
};

TEST(Refresh, EveryChangeReachesTheScreen) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("kumi.klt"));
  test::WriteAll(file, "\xE6\xB0\x8F\xE5\x90\x8D\t\t\xE6\x9C\x9F\xE6\x9C\xAB\r\n\t77\r\n\r\n");
  const Change changes[] = {
      {"a typed mark", {}, [](auto& w) { w.Key(Qt::Key_8); }, {{2, 1}}, 1},
      {"a block clear",
       [](auto& w) {
         for (int r = 2; r <= 4; ++r)
           for (int c = 3; c <= 5; ++c) w.sheet()->SetViewText(r, c, QStringLiteral("9"));
       },
       [](auto& w) {
         w.Click(2, 3);
         w.Click(4, 5, Qt::ShiftModifier);
         w.box()->setFocus();
         w.Key(Qt::Key_Delete);
       },
       {{3, 2}, {5, 4}, {4, 3}},
       9},
      {"undo",
       [](auto& w) {
         w.sheet()->StoreView();
         w.sheet()->SetViewText(600, 7, QStringLiteral("55"));
       },
       [](auto& w) { w.sheet()->Undo(); },
       {{7, 600}},
       INT64_MAX},
      {"a calculation",
       [](auto& w) {
         for (int r = 1; r <= 3; ++r) w.sheet()->SetViewText(r, 2, QString::number(60 + r));
       },
       [](auto& w) {
         CalcChoice choice;
         choice.items = {0};
         choice.targetColumn = 10;
         w.sheet()->EditView([&](TextGrid& view) { HorizontalTotal(view, choice); });
       },
       {{10, 1}, {10, 3}},
       3},
      {"a view switch", {}, [](auto& w) { w.ShowClass(1); }, {{2, 5}, {0, 5}, {1, 51}}, INT64_MAX},
      {"a header edit",
       {},
       [](auto& w) { w.sheet()->SetViewText(0, 4, QStringLiteral("期末")); },
       {{4, 0}},
       1},
      {"reading a file",
       {},
       [&file](auto& w) {
         test::ScriptedPrompts quiet;
         EXPECT_EQ(ShowSheetFileRead(w.doc, ReadSheetFileAside(file)), QString());
       },
       {{1, 0}, {3, 0}, {2, 1}},
       INT64_MAX},
  };
  for (const Change& c : changes) {
    test::SheetWindow w;
    if (c.prepare) c.prepare(w);
    Notices notices(w.grid()->model());
    c.change(w);
    for (const QPoint& cell : c.cells) {
      EXPECT_TRUE(notices.Covers(cell.y(), cell.x()))
          << c.what << ": cell " << cell.y() << ',' << cell.x() << " not announced";
    }
    EXPECT_LE(notices.CellCount(), c.mostCells) << c.what;
  }
}

}  // namespace
}  // namespace kelt
