#include "core/sheet/textgrid.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace kelt {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kPage = std::size_t{4} << 10;
// Below this a grid lives in ordinary memory: a class view, the dialogs' grids.
constexpr std::size_t kHugeFrom = std::size_t{1} << 20;

// The whole huge pages, and the part left over in small pages when it is less than half of
// one: a huge page mostly empty wastes memory, one mostly full saves hundreds of faults.
std::size_t Rounded(std::size_t bytes) {
  const std::size_t rest = bytes & (kHugePage - 1);
  const std::size_t page = rest > kHugePage / 2 ? kHugePage : kPage;
  return (bytes + page - 1) & ~(page - 1);
}
}  // namespace

void* AllocateCellMemory(std::size_t bytes) {
  if (bytes < kHugeFrom) return ::operator new(bytes);
  // Mapped with room to spare, then trimmed to start on a huge-page boundary.
  const std::size_t size = Rounded(bytes);
  void* mapped =
      ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto* start = static_cast<char*>(mapped);
  const auto address = reinterpret_cast<std::uintptr_t>(start);
  auto* aligned = reinterpret_cast<char*>((address + kHugePage - 1) & ~(kHugePage - 1));
  if (aligned > start) ::munmap(start, static_cast<std::size_t>(aligned - start));
  const std::size_t tail = kHugePage - static_cast<std::size_t>(aligned - start);
  if (tail > 0) ::munmap(aligned + size, tail);
#ifdef MADV_HUGEPAGE
  ::madvise(aligned, size, MADV_HUGEPAGE);
#endif
  return aligned;
}

void FreeCellMemory(void* memory, std::size_t bytes) {
  if (bytes < kHugeFrom) {
    ::operator delete(memory);
    return;
  }
  ::munmap(memory, Rounded(bytes));
}

TextGrid& TextGrid::operator=(TextGrid&& other) noexcept {
  if (this == &other) return *this;
  m_rows = std::exchange(other.m_rows, 0);
  m_cols = std::exchange(other.m_cols, 0);
  m_cells = std::move(other.m_cells);
  other.m_cells.clear();
  m_writtenTop = std::exchange(other.m_writtenTop, INT_MAX);
  m_writtenLeft = std::exchange(other.m_writtenLeft, INT_MAX);
  m_writtenBottom = std::exchange(other.m_writtenBottom, -1);
  m_writtenRight = std::exchange(other.m_writtenRight, -1);
  return *this;
}

TextGrid::TextGrid(int rows, int cols) {
  SetCols(cols);
  SetRows(rows);
}

QString TextGrid::Pack(const QString& text) {
  const auto* s = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype n = text.size();
  if (n < kPackFrom || n > kPackUpTo ||
      !std::all_of(s, s + n, [](char16_t u) { return u < 0x80; })) {
    // Only a text that starts with a mark comes here unpacked.
    return IsMark(s[0]) ? QChar(kEscaped) + text : text;
  }
  QString held(1 + (n + 1) / 2, Qt::Uninitialized);
  auto* d = reinterpret_cast<char16_t*>(held.data());
  d[0] = n % 2 ? kPackedOdd : kPackedEven;
  for (qsizetype i = 0; i < n; i += 2)
    d[1 + i / 2] = static_cast<char16_t>(s[i] | (i + 1 < n ? s[i + 1] << 8 : 0));
  return held;
}

qsizetype TextGrid::UnpackedSize(const QString& held) {
  if (IsPlain(held)) return held.size();
  if (held.front() == QChar(kEscaped)) return held.size() - 1;
  return 2 * (held.size() - 1) - (held.front() == QChar(kPackedOdd) ? 1 : 0);
}

QString TextGrid::Unpack(const QString& held) {
  const auto* s = reinterpret_cast<const char16_t*>(held.constData());
  if (s[0] == kEscaped) return held.mid(1);
  const qsizetype n = UnpackedSize(held);
  QString text(n, Qt::Uninitialized);
  auto* d = reinterpret_cast<char16_t*>(text.data());
  for (qsizetype i = 0; i < n; ++i)
    d[i] = static_cast<char16_t>((s[1 + i / 2] >> (i % 2 ? 8 : 0)) & 0xFF);
  return text;
}

qsizetype TextGrid::TextSize(int row, int col) const {
  return Contains(row, col) ? UnpackedSize(m_cells[Index(row, col)]) : 0;
}

void TextGrid::AppendText(int row, int col, QString& out) const {
  if (!Contains(row, col)) return;
  const QString& held = m_cells[Index(row, col)];
  if (IsPlain(held)) {
    out += held;
  } else {
    out += Unpack(held);
  }
}

QRect TextGrid::TakeWrittenArea() {
  const QRect area = m_writtenBottom < 0 ? QRect()
                                         : QRect(QPoint(m_writtenLeft, m_writtenTop),
                                                 QPoint(m_writtenRight, m_writtenBottom));
  m_writtenTop = m_writtenLeft = INT_MAX;
  m_writtenBottom = m_writtenRight = -1;
  return area;
}

void TextGrid::SetRows(int rows) {
  rows = std::max(rows, 0);
  m_rows = rows;
  m_cells.resize(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_cols));
}

void TextGrid::SetCols(int cols) {
  cols = std::max(cols, 0);
  if (cols == m_cols) return;
  Cells cells(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(cols));
  const int keep = std::min(cols, m_cols);
  for (int r = 0; r < m_rows; ++r) {
    for (int c = 0; c < keep; ++c) {
      cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
            static_cast<std::size_t>(c)] = std::move(m_cells[Index(r, c)]);
    }
  }
  m_cells = std::move(cells);
  m_cols = cols;
}

void TextGrid::InsertColumn(int col) {
  col = std::clamp(col, 0, m_cols);
  SetCols(m_cols + 1);
  for (int r = 0; r < m_rows; ++r) {
    for (int c = m_cols - 1; c > col; --c)
      m_cells[Index(r, c)] = std::move(m_cells[Index(r, c - 1)]);
    m_cells[Index(r, col)] = QString();
  }
}

void TextGrid::RemoveColumn(int col) {
  if (col < 0 || col >= m_cols) return;
  for (int r = 0; r < m_rows; ++r) {
    for (int c = col; c < m_cols - 1; ++c)
      m_cells[Index(r, c)] = std::move(m_cells[Index(r, c + 1)]);
  }
  SetCols(m_cols - 1);
}

}  // namespace kelt
