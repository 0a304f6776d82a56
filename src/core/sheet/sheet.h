#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "core/sheet/textgrid.h"

namespace kelt {

// One school year: the view grid the teacher edits, the storage grid that holds every class
// (the file's content and the undo snapshot), the view marker, the editor's current cell,
// the modified mark and the caption. Every change of the view's texts goes through here and
// is announced, so a screen showing the view never shows stale text.
class Sheet : public QObject {
  Q_OBJECT

 public:
  static constexpr int kClassCount = 20;
  static constexpr int kPupilsPerClass = 50;
  static constexpr int kClassBlockRows = 52;  // a class in storage: 50 pupils, total, average
  static constexpr int kStorageRows = 1043;  // header, 20 × (50 pupils, total, average), year rows
  static constexpr int kGradeRows = 1003;    // header, 1000 pupils, year total, year average
  static constexpr int kClassRows = 53;      // header, 50 pupils, class total, class average
  static constexpr int kInitialCols = 21;    // number, name, items A to S
  static constexpr int kFirstScoreCol = 2;   // after the number and name columns
  static constexpr int kGradeMarker = 21;
  static constexpr int kYearTotalStorageRow = kClassCount * kClassBlockRows + 1;  // 1041
  static constexpr int kYearAverageStorageRow = kYearTotalStorageRow + 1;         // 1042

  explicit Sheet(QObject* parent = nullptr);

  // Caption of a class button: "1-A" to "20-T".
  static QString ClassName(int classIndex);
  // Storage row of row `row` of class n's view (1..50 pupils, 51 total, 52 average).
  static int StorageRow(int classIndex, int row) { return kClassBlockRows * classIndex + row; }
  // Storage row of a grade-view row: the header, a pupil, the year total or the year average.
  static int StorageRowOfGradeRow(int gradeRow);
  // Grade-view row of a storage row; -1 for a class total or average, which that view lacks.
  static int GradeRowOfStorageRow(int storageRow);
  // The rows of a view (a class view or the grade view): pupils from kFirstPupilRow to
  // LastPupilRow, then the total row and the average row.
  static constexpr int kFirstPupilRow = 1;
  static int LastPupilRow(const TextGrid& view) { return view.Rows() - 3; }
  static int TotalRow(const TextGrid& view) { return view.Rows() - 2; }
  static int AverageRow(const TextGrid& view) { return view.Rows() - 1; }
  // The number and name columns, which hold no marks and take no results or column edits.
  static bool IsNumberOrNameColumn(int col) { return col < kFirstScoreCol; }
  // Column of score item k, the k-th entry of the dialogs' item lists.
  static int ItemColumn(int item) { return kFirstScoreCol + item; }

  // The number of pupil `row` (1..50) of class n in the grade view: 101..150 for 1-A, up to 2050.
  static QString PupilNumber(int classIndex, int row);
  // Every text the number column shows in some view: numbers, row ordinals and labels.
  static QStringList NumberColumnTexts();

  // What a teacher calls a storage row: the pupil number (101..2050), "1-A 合計", "合計" for the
  // year, "番号" for the header row.
  static QString StorageRowLabel(int storageRow);

  const TextGrid& View() const { return m_view; }
  const TextGrid& Storage() const { return m_storage; }
  // The storage grid for code that fills it wholesale (the file reader); no signal.
  TextGrid& MutableStorage() { return m_storage; }

  QString ViewText(int row, int col) const { return m_view.Text(row, col); }
  void SetViewText(int row, int col, const QString& text);

  // Bulk edits of the view's texts: `edit` may change texts but not the grid's shape; one
  // notice of the area it wrote follows.
  template <typename Edit>
  void EditView(Edit&& edit) {
    m_view.TakeWrittenArea();
    edit(m_view);
    AnnounceWritten();
  }

  // Sets the view grid's column count (growing adds empty columns at the right).
  void SetViewCols(int cols);

  // Class shown in a class view, or kGradeMarker in the grade view.
  int ViewIndex() const { return m_viewIndex; }
  bool IsGradeView() const { return m_viewIndex == kGradeMarker; }
  // The view as its marker (the hidden `Text4`) shows it: "21", or the class index.
  QString ViewMarker() const { return QString::number(m_viewIndex); }

  // Modified mark (the window's `Tag`): untouched since created or read, saved, or modified
  // since; only Modified counts.
  enum class Mark { Untouched, Saved, Modified };
  Mark ModifiedMark() const { return m_mark; }
  void SetMark(Mark mark);
  void MarkModified() { SetMark(Mark::Modified); }
  bool IsModified() const { return m_mark == Mark::Modified; }

  // The caption of new sheet n, "Book" and the number; a caption that starts so names a sheet
  // never saved, which Save asks a name for.
  static QString BookCaption(int number) {
    return QStringLiteral("Book") + QString::number(number);
  }
  static bool IsBookCaption(const QString& caption) {
    return caption.startsWith(QStringLiteral("Book"));
  }
  const QString& Caption() const { return m_caption; }
  void SetCaption(const QString& caption);

  // Fresh sheet in the grade view: 21 columns, headers, pupil numbers, year labels, cursor (1, 2).
  void BuildSheetLayout();
  // The cursor where a new sheet starts: (1, 2), the first pupil's first mark.
  void RequestFirstCell();
  // Reshape the view grid to a class view (53 rows) or the grade view (1003 rows), placing the
  // cursor; the texts come from the reloads below.
  void LayoutClassView();
  void LayoutGradeView();
  // Copy the view into storage (the snapshot taken by view switches, calculations, writes).
  // Only the cells written since the view and storage last agreed are copied, and the header.
  void StoreView();
  // The same copy into a copy of storage (what a store would give).
  void StoreViewInto(TextGrid& storage) const;
  // Every cell of the view, as the first store after a change of shape copies it.
  void StoreWholeViewInto(TextGrid& storage) const;
  // Copy storage back into the grade view or into the class view of class n.
  void ReloadGradeView();
  void ReloadClassView(int classIndex);
  // Class n's view as a switch to it would show it, made from `storage` without touching any
  // sheet: 53 rows, the storage's header and columns, rows numbered 1 to 52.
  static TextGrid ClassViewOf(const TextGrid& storage, int classIndex);
  // The storage grid a file is read into: a new window's before anything is stored, every cell
  // empty, so that the columns beyond a narrow file's widest line have empty headers.
  static TextGrid EmptyStorage() { return TextGrid(kStorageRows, kInitialCols); }
  // Both grids of a new sheet window: its layout, stored once, and its grade view.
  static void FreshGrids(TextGrid& storage, TextGrid& view);
  // The same for storage the reader filled apart from any sheet (on another thread): the grade
  // view it gives a fresh sheet, made apart too, and the fresh sheet taking both.
  static TextGrid ReadGradeViewOf(const TextGrid& storage);
  void AdoptRead(TextGrid storage, TextGrid view);

  // The view buttons: store, reshape, reload, set the marker. False when the view is already
  // shown (nothing happens then).
  bool ShowClass(int classIndex);
  bool ShowGrade();

  // Undo: the view goes back to the last snapshot.
  void Undo();

  // Takes the texts of `from` at `cells` (storage cells, x a column and y a row, none in column 0):
  // the view shows those it holds, written cell by cell; storage takes the others. The view is
  // stored first and those it shows are not, so Undo brings back what the view showed before.
  void TakeStorageCells(const TextGrid& from, const QList<QPoint>& cells);

  // The editor's current cell.
  int Mynowrow() const { return m_nowRow; }
  int Mynowcol() const { return m_nowCol; }
  // Who moves the cursor: the sheet, which asks the grid to follow, or the grid, which already
  // shows the move (a click, a key it took) and keeps its block selection.
  enum class CursorMove { AskGrid, FromGrid };
  // The one way the editor's current cell changes; every change is announced by cursorMoved.
  // True when the cell changed.
  bool MoveCursor(int row, int col, CursorMove how = CursorMove::AskGrid);

 signals:
  void viewCellChanged(int row, int col);
  // The view's texts in `area` (x a column, y a row) may have changed.
  void viewTextsChanged(const QRect& area);
  void viewRowsAboutToChange(int oldRows, int newRows);
  void viewRowsChanged();
  void viewColsAboutToChange(int oldCols, int newCols);
  void viewColsChanged();
  // The grid's current cell is to move to (row, col).
  void currentCellRequested(int row, int col);
  // The editor's current cell is now (row, col).
  void cursorMoved(int row, int col);
  // The view switched from one class index (or kGradeMarker) to another.
  void viewChanged(int oldIndex, int newIndex);
  void markChanged(Sheet::Mark mark);
  void captionChanged(const QString& caption);

 private:
  void SetViewRows(int rows);
  // The view row showing storage cell (storageRow, col), or −1 where the view does not show it
  // (another class, a class total in the grade view, a class view's own labels, column 0).
  int ViewRowOf(int storageRow, int col) const;

  void SetViewIndex(int index);
  // Tells the screen which of the view's cells were written since the last notice.
  void AnnounceWritten();
  // Copies the view's cells in `area` (x a column, y a row), and the header row, into storage.
  void StoreArea(TextGrid& storage, const QRect& area) const;
  // The view and storage agree but for `stillUnstored`.
  void MarkStored(const QRect& stillUnstored = {});
  // Copies class n's rows of `storage` into a class view, from column 1 on.
  static void CopyClassRows(const TextGrid& storage, int classIndex, TextGrid& view);
  static void CopyGradeRows(const TextGrid& storage, TextGrid& view, int firstRow, int firstCol);
  // The texts of a fresh grade view: headers, pupil numbers, year labels.
  static void WriteFreshLayout(TextGrid& view);

  TextGrid m_view;
  TextGrid m_storage;
  // View cells written since the view and storage last agreed; all of them after a change of
  // the view's shape.
  QRect m_unstored;
  bool m_wholeViewUnstored = true;
  int m_viewIndex = kGradeMarker;
  Mark m_mark = Mark::Untouched;
  int m_nowRow = 1;
  int m_nowCol = 2;
  QString m_caption;
};

}  // namespace kelt
