#include "core/sheet/sheet.h"

#include <algorithm>

namespace kelt {

namespace {
const QString kTotalLabel = QStringLiteral("合計");
const QString kAverageLabel = QStringLiteral("平均");
// The grade view's year rows stand this much lower in storage (1001/1002 are 1041/1042).
constexpr int kYearRowOffset = Sheet::kYearTotalStorageRow - (Sheet::kGradeRows - 2);
static_assert(Sheet::kYearAverageStorageRow == Sheet::kStorageRows - 1);
}  // namespace

Sheet::Sheet(QObject* parent) : QObject(parent) {}

QString Sheet::ClassName(int classIndex) {
  return QString::number(classIndex + 1) + QLatin1Char('-') + QChar(u'A' + classIndex);
}

int Sheet::StorageRowOfGradeRow(int gradeRow) {
  if (gradeRow <= 0) return 0;
  if (gradeRow > kClassCount * kPupilsPerClass) return gradeRow + kYearRowOffset;
  const int n = (gradeRow - 1) / kPupilsPerClass;
  return StorageRow(n, gradeRow - kPupilsPerClass * n);
}

int Sheet::GradeRowOfStorageRow(int storageRow) {
  if (storageRow <= 0) return 0;
  if (storageRow >= kYearTotalStorageRow) return storageRow - kYearRowOffset;
  const int n = (storageRow - 1) / kClassBlockRows;
  const int row = storageRow - StorageRow(n, 0);
  return row <= kPupilsPerClass ? kPupilsPerClass * n + row : -1;
}

QString Sheet::StorageRowLabel(int storageRow) {
  if (storageRow <= 0) return QStringLiteral("番号");
  if (storageRow == kYearTotalStorageRow) return kTotalLabel;
  if (storageRow == kYearAverageStorageRow) return kAverageLabel;
  const int n = (storageRow - 1) / kClassBlockRows;
  const int row = storageRow - StorageRow(n, 0);
  if (row <= kPupilsPerClass) return PupilNumber(n, row);
  return ClassName(n) + QLatin1Char(' ') +
         (row == kPupilsPerClass + 1 ? kTotalLabel : kAverageLabel);
}

QString Sheet::PupilNumber(int classIndex, int row) {
  return QString::number(100 * (classIndex + 1) + row);
}

QStringList Sheet::NumberColumnTexts() {
  QStringList texts{QStringLiteral("番号"), kTotalLabel, kAverageLabel};
  for (int n = 0; n < kClassCount; ++n) {
    for (int r = 1; r <= kPupilsPerClass; ++r) texts << PupilNumber(n, r);
  }
  for (int r = 1; r < kClassRows; ++r) texts << QString::number(r);
  return texts;
}

void Sheet::SetViewText(int row, int col, const QString& text) {
  if (!m_view.Contains(row, col)) return;
  m_view.SetText(row, col, text);
  m_view.TakeWrittenArea();  // announced here, not again with the next bulk edit
  m_unstored |= QRect(col, row, 1, 1);
  emit viewCellChanged(row, col);
}

void Sheet::AnnounceWritten() {
  const QRect area = m_view.TakeWrittenArea();
  if (area.isEmpty()) return;
  m_unstored |= area;
  emit viewTextsChanged(area);
}

void Sheet::SetMark(Mark mark) {
  if (mark == m_mark) return;
  m_mark = mark;
  emit markChanged(m_mark);
}

void Sheet::SetCaption(const QString& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  emit captionChanged(m_caption);
}

void Sheet::SetViewRows(int rows) {
  if (rows == m_view.Rows()) return;
  emit viewRowsAboutToChange(m_view.Rows(), rows);
  m_view.SetRows(rows);
  m_wholeViewUnstored = true;
  emit viewRowsChanged();
}

void Sheet::SetViewCols(int cols) {
  if (cols == m_view.Cols()) return;
  emit viewColsAboutToChange(m_view.Cols(), cols);
  m_view.SetCols(cols);
  m_wholeViewUnstored = true;
  emit viewColsChanged();
}

void Sheet::SetViewIndex(int index) {
  if (index == m_viewIndex) return;
  const int old = m_viewIndex;
  m_viewIndex = index;
  emit viewChanged(old, m_viewIndex);
}

void Sheet::BuildSheetLayout() {
  m_storage.SetCols(kInitialCols);
  m_storage.SetRows(kStorageRows);
  SetViewCols(kInitialCols);
  SetViewRows(kGradeRows);

  WriteFreshLayout(m_view);
  AnnounceWritten();
  RequestFirstCell();
}

void Sheet::RequestFirstCell() { MoveCursor(1, 2); }

void Sheet::WriteFreshLayout(TextGrid& view) {
  view.SetText(0, 0, QStringLiteral("番号"));
  view.SetText(0, 1, QStringLiteral("氏  名"));
  for (int c = kFirstScoreCol; c < std::min(view.Cols(), kInitialCols); ++c)
    view.SetText(0, c, QString(QChar(u'A' + c - kFirstScoreCol)));
  for (int n = 0; n < kClassCount; ++n) {
    for (int r = 1; r <= kPupilsPerClass; ++r) {
      view.SetText(kPupilsPerClass * n + r, 0, PupilNumber(n, r));
    }
  }
  view.SetText(kGradeRows - 2, 0, kTotalLabel);
  view.SetText(kGradeRows - 1, 0, kAverageLabel);
}

void Sheet::LayoutClassView() {
  SetViewRows(kClassRows);
  for (int r = 1; r < kClassRows; ++r) m_view.SetText(r, 0, QString::number(r));
  // A grade row on a class boundary (53, 106, ...) would land on the header row.
  MoveCursor(std::max(m_nowRow % kClassRows, 1), m_nowCol);
  AnnounceWritten();
}

void Sheet::LayoutGradeView() {
  SetViewRows(kGradeRows);
  MoveCursor(std::clamp(m_nowRow, 1, kGradeRows - 1), m_nowCol);
}

void Sheet::StoreViewInto(TextGrid& storage) const {
  StoreArea(storage, m_wholeViewUnstored ? QRect(0, 0, m_view.Cols(), m_view.Rows()) : m_unstored);
}

void Sheet::StoreWholeViewInto(TextGrid& storage) const {
  StoreArea(storage, QRect(0, 0, m_view.Cols(), m_view.Rows()));
}

void Sheet::StoreView() {
  StoreViewInto(m_storage);
  MarkStored();
}

void Sheet::StoreArea(TextGrid& storage, const QRect& area) const {
  const int cols = m_view.Cols();
  if (storage.Cols() < cols) storage.SetCols(cols);
  if (storage.Rows() < kStorageRows) storage.SetRows(kStorageRows);
  // The header row is always stored: a few cells.
  for (int c = 0; c < cols; ++c) storage.CopyText(0, c, m_view, 0, c);
  const bool grade = IsGradeView();
  // A class view's numbers are its own; the grade view's are stored with the pupils.
  const int firstCol = std::max(area.left(), grade ? 0 : 1);
  const int lastCol = std::min(area.right(), cols - 1);
  const int firstRow = std::max(area.top(), 1);
  const int lastRow = std::min(area.bottom(), grade ? kGradeRows - 1 : kClassBlockRows);
  const int m = ViewIndex();
  for (int row = firstRow; row <= lastRow; ++row) {
    const int storageRow = grade ? StorageRowOfGradeRow(row) : StorageRow(m, row);
    for (int c = firstCol; c <= lastCol; ++c) storage.CopyText(storageRow, c, m_view, row, c);
  }
}

void Sheet::MarkStored(const QRect& stillUnstored) {
  m_unstored = stillUnstored;
  m_wholeViewUnstored = false;
}

void Sheet::CopyGradeRows(const TextGrid& storage, TextGrid& view, int firstRow, int firstCol) {
  // Both grids share their columns; a narrower view takes what fits.
  const int cols = std::min(storage.Cols(), view.Cols());
  for (int row = firstRow; row < kGradeRows; ++row) {
    const int storageRow = StorageRowOfGradeRow(row);
    for (int c = firstCol; c < cols; ++c) view.CopyText(row, c, storage, storageRow, c);
  }
}

void Sheet::ReloadGradeView() {
  CopyGradeRows(m_storage, m_view, 1, 0);
  AnnounceWritten();
  // Every pupil and year cell now holds what storage holds, unless the view is the wider.
  if (m_storage.Cols() >= m_view.Cols()) MarkStored();
}

void Sheet::CopyClassRows(const TextGrid& storage, int classIndex, TextGrid& view) {
  const int cols = view.Cols();
  for (int r = 1; r <= kClassBlockRows; ++r) {
    for (int c = 1; c < cols; ++c) view.CopyText(r, c, storage, StorageRow(classIndex, r), c);
  }
  view.SetText(kClassRows - 2, 1, kTotalLabel);
  view.SetText(kClassRows - 1, 1, kAverageLabel);
}

void Sheet::ReloadClassView(int classIndex) {
  if (classIndex < 0 || classIndex >= kClassCount) return;
  CopyClassRows(m_storage, classIndex, m_view);
  AnnounceWritten();
  // The labels of the total and average rows are the view's own, not storage's.
  if (m_storage.Cols() >= m_view.Cols()) MarkStored(QRect(1, kClassRows - 2, 1, 2));
}

void Sheet::FreshGrids(TextGrid& storage, TextGrid& view) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  sheet.StoreView();
  storage = std::move(sheet.m_storage);
  view = std::move(sheet.m_view);
}

TextGrid Sheet::ReadGradeViewOf(const TextGrid& storage) {
  TextGrid view(kGradeRows, std::max(storage.Cols(), kInitialCols));
  WriteFreshLayout(view);
  CopyGradeRows(storage, view, 0, 1);
  return view;
}

void Sheet::AdoptRead(TextGrid storage, TextGrid view) {
  m_storage = std::move(storage);
  if (m_storage.Cols() < kInitialCols) m_storage.SetCols(kInitialCols);
  if (m_storage.Rows() < kStorageRows) m_storage.SetRows(kStorageRows);
  const bool reshaped = view.Cols() != m_view.Cols();
  if (reshaped) emit viewColsAboutToChange(m_view.Cols(), view.Cols());
  m_view = std::move(view);
  m_wholeViewUnstored = true;
  if (reshaped) emit viewColsChanged();
  AnnounceWritten();
}

TextGrid Sheet::ClassViewOf(const TextGrid& storage, int classIndex) {
  TextGrid view(kClassRows, storage.Cols());
  for (int c = 0; c < storage.Cols(); ++c) view.CopyText(0, c, storage, 0, c);
  for (int r = 1; r < kClassRows; ++r) view.SetText(r, 0, QString::number(r));
  if (classIndex >= 0 && classIndex < kClassCount) CopyClassRows(storage, classIndex, view);
  return view;
}

bool Sheet::ShowClass(int classIndex) {
  if (classIndex < 0 || classIndex >= kClassCount || ViewIndex() == classIndex) return false;
  StoreView();
  LayoutClassView();
  ReloadClassView(classIndex);
  SetViewIndex(classIndex);
  return true;
}

bool Sheet::ShowGrade() {
  if (IsGradeView()) return false;
  StoreView();
  LayoutGradeView();
  ReloadGradeView();
  SetViewIndex(kGradeMarker);
  return true;
}

bool Sheet::MoveCursor(int row, int col, CursorMove how) {
  const bool moved = row != m_nowRow || col != m_nowCol;
  m_nowRow = row;
  m_nowCol = col;
  if (moved) emit cursorMoved(row, col);
  if (how == CursorMove::AskGrid) emit currentCellRequested(row, col);
  return moved;
}

int Sheet::ViewRowOf(int storageRow, int col) const {
  if (col < 1 || col >= m_view.Cols() || storageRow < 0) return -1;
  if (storageRow == 0) return 0;
  if (IsGradeView()) return GradeRowOfStorageRow(storageRow);
  const int row = storageRow - StorageRow(m_viewIndex, 0);
  if (row < 1 || row > kClassBlockRows) return -1;
  return row > kPupilsPerClass && col == 1 ? -1 : row;
}

void Sheet::TakeStorageCells(const TextGrid& from, const QList<QPoint>& cells) {
  StoreView();
  for (const QPoint& cell : cells) {
    const int viewRow = ViewRowOf(cell.y(), cell.x());
    if (viewRow >= 0) {
      SetViewText(viewRow, cell.x(), from.Text(cell.y(), cell.x()));
    } else if (cell.x() > 0) {
      m_storage.CopyText(cell.y(), cell.x(), from, cell.y(), cell.x());
    }
  }
}

void Sheet::Undo() {
  if (IsGradeView()) {
    ReloadGradeView();
  } else {
    ReloadClassView(ViewIndex());
  }
}

}  // namespace kelt
