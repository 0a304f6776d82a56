#pragma once

#include <QRect>
#include <QString>
#include <climits>
#include <utility>
#include <vector>

namespace kelt {

// Memory for a grid's cells. A year's grid is several megabytes that are all written at once
// (a file read, a view switch); in huge pages that costs a handful of page faults instead of
// thousands, where each fault is dear. Small grids take ordinary memory.
void* AllocateCellMemory(std::size_t bytes);
void FreeCellMemory(void* memory, std::size_t bytes);

template <typename T>
struct CellAllocator {
  using value_type = T;
  CellAllocator() = default;
  template <typename U>
  CellAllocator(const CellAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateCellMemory(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) { FreeCellMemory(p, n * sizeof(T)); }
  bool operator==(const CellAllocator&) const { return true; }
};

// Rows × columns of cell texts, addressed (row, column) from (0, 0).
class TextGrid {
 public:
  TextGrid() = default;
  TextGrid(int rows, int cols);
  TextGrid(const TextGrid&) = default;
  TextGrid& operator=(const TextGrid&) = default;
  // A grid moved from is left empty (0 × 0), never a shape without its cells.
  TextGrid(TextGrid&& other) noexcept { *this = std::move(other); }
  TextGrid& operator=(TextGrid&& other) noexcept;

  int Rows() const { return m_rows; }
  int Cols() const { return m_cols; }
  bool Contains(int row, int col) const {
    return row >= 0 && col >= 0 && row < m_rows && col < m_cols;
  }

  // Text of a cell; an empty text for a cell outside the grid.
  QString Text(int row, int col) const {
    return Contains(row, col) ? Unpacked(m_cells[Index(row, col)]) : QString();
  }
  bool IsEmpty(int row, int col) const {
    return !Contains(row, col) || m_cells[Index(row, col)].isEmpty();
  }
  // f(text) for a cell's text, without the copy Text() makes: the calculations' pass over every
  // mark of a year.
  template <typename F>
  decltype(auto) WithText(int row, int col, F&& f) const {
    if (!Contains(row, col)) return f(QString());
    const QString& held = m_cells[Index(row, col)];
    if (IsPlain(held)) return f(held);
    return f(Unpack(held));
  }
  // The length of a cell's text, and the text added to `out`, without a copy of it: the writer's
  // pass over a whole year.
  qsizetype TextSize(int row, int col) const;
  void AppendText(int row, int col, QString& out) const;
  // Writes a cell; a cell outside the grid is ignored. The cell joins the written area.
  void SetText(int row, int col, const QString& text) {
    if (!Contains(row, col)) return;
    m_cells[Index(row, col)] = Packed(text);
    Written(row, col);
  }
  // Whether cell (row, col) holds the same text here and in `other`, compared as they are held;
  // a cell outside a grid is empty.
  bool SameText(int row, int col, const TextGrid& other) const {
    const bool here = Contains(row, col);
    const bool there = other.Contains(row, col);
    if (here && there) return m_cells[Index(row, col)] == other.m_cells[other.Index(row, col)];
    if (here) return m_cells[Index(row, col)].isEmpty();
    return !there || other.m_cells[other.Index(row, col)].isEmpty();
  }
  // Copies cell (fromRow, fromCol) of `from` into (row, col) as it is held, without unpacking it:
  // the copies between a sheet's grids and within one.
  void CopyText(int row, int col, const TextGrid& from, int fromRow, int fromCol) {
    if (!Contains(row, col)) return;
    if (from.Contains(fromRow, fromCol)) {
      m_cells[Index(row, col)] = from.m_cells[from.Index(fromRow, fromCol)];
    } else {
      m_cells[Index(row, col)] = QString();
    }
    Written(row, col);
  }
  // The smallest rectangle (x a column, y a row) holding every cell written since the last
  // call, so a screen can repaint just that; empty when nothing was written.
  QRect TakeWrittenArea();

  // Growing adds empty rows (columns) at the end; shrinking drops the last ones with their text.
  void SetRows(int rows);
  void SetCols(int cols);

  // Inserts an empty column before col (0..Cols), shifting the texts from col rightwards.
  void InsertColumn(int col);
  // Removes column col, shifting the texts to its right one column left.
  void RemoveColumn(int col);

  // Same shape and texts.
  bool operator==(const TextGrid& other) const {
    return m_rows == other.m_rows && m_cols == other.m_cols && m_cells == other.m_cells;
  }

 private:
  // A long ASCII text is held two characters to a unit, after a mark that no text holds (a
  // Unicode noncharacter): a year's long texts then take a little over half the memory. A text
  // that itself starts with such a mark is held after a third one. A text of megabytes is held
  // as it is: unpacking it at every reading would cost more than it saves.
  static constexpr char16_t kPackedEven = 0xFDD0;
  static constexpr char16_t kPackedOdd = 0xFDD1;
  static constexpr char16_t kEscaped = 0xFDD2;
  static constexpr qsizetype kPackFrom = 16;
  static constexpr qsizetype kPackUpTo = 4096;
  static bool IsMark(char16_t u) { return u >= kPackedEven && u <= kEscaped; }
  // Held as it is: neither packed nor escaped.
  static bool IsPlain(const QString& held) {
    return held.isEmpty() || !IsMark(held.front().unicode());
  }
  static QString Packed(const QString& text) {
    if (text.size() < kPackFrom && IsPlain(text)) return text;
    return Pack(text);
  }
  static QString Unpacked(const QString& held) {
    if (IsPlain(held)) return held;
    return Unpack(held);
  }
  static QString Pack(const QString& text);
  static QString Unpack(const QString& held);
  static qsizetype UnpackedSize(const QString& held);
  void Written(int row, int col) {
    if (row < m_writtenTop) m_writtenTop = row;
    if (row > m_writtenBottom) m_writtenBottom = row;
    if (col < m_writtenLeft) m_writtenLeft = col;
    if (col > m_writtenRight) m_writtenRight = col;
  }
  std::size_t Index(int row, int col) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols) +
           static_cast<std::size_t>(col);
  }

  int m_rows = 0;
  int m_cols = 0;
  using Cells = std::vector<QString, CellAllocator<QString>>;
  Cells m_cells;
  int m_writtenTop = INT_MAX;
  int m_writtenLeft = INT_MAX;
  int m_writtenBottom = -1;
  int m_writtenRight = -1;
};

}  // namespace kelt
