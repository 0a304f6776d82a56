#include "core/storage/kltformat.h"

#include <sys/mman.h>

#include <QHash>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <type_traits>

#include "core/sheet/sheet.h"
#include "core/sheet/textgrid.h"
#include "core/storage/cp932codec.h"

namespace kelt {

namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kComma = u',';
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

bool HasSeparator(const QString& text) {
  return std::any_of(text.cbegin(), text.cend(), [](QChar ch) {
    const char16_t u = ch.unicode();
    return u == kTab || u == kComma || u == kCr || u == kLf;
  });
}

// One shared string for each short field text: a year's file repeats the same few marks a
// quarter of a million times, and a string of its own for each would cost a heap block.
class ShortFields {
 public:
  static constexpr qsizetype kMaxLength = 4;

  QString Get(const char16_t* s, qsizetype length) {
    if (length == 0) return QString();
    if (length > kMaxLength) return QString(reinterpret_cast<const QChar*>(s), length);
    return Shared(s, length);
  }
  // An ASCII field's bytes, which are its characters.
  QString Get(const char* s, qsizetype length) {
    if (length == 0) return QString();
    if (length > kMaxLength) return QString::fromLatin1(s, length);
    char16_t units[kMaxLength];
    for (qsizetype i = 0; i < length; ++i) units[i] = uchar(s[i]);
    return Shared(units, length);
  }

 private:
  QString Shared(const char16_t* s, qsizetype length) {
    quint64 key = 0;
    for (qsizetype i = 0; i < length; ++i) key |= static_cast<quint64>(s[i]) << (16 * i);
    // Texts that differ only by trailing NUL characters share a key; the comparison tells them
    // apart, and only the first of them is kept.
    const QStringView wanted(s, length);
    const auto it = m_texts.constFind(key);
    if (it != m_texts.constEnd()) {
      if (QStringView(*it) == wanted) return *it;
      return wanted.toString();
    }
    return *m_texts.insert(key, wanted.toString());
  }

  QHash<quint64, QString> m_texts;
};

}  // namespace

KltExtent KltWrittenExtent(const TextGrid& storage) {
  KltExtent extent;
  for (int r = 0; r < storage.Rows(); ++r) {
    for (int c = 1; c < storage.Cols(); ++c) {
      if (storage.IsEmpty(r, c)) continue;
      extent.lastRow = std::max(extent.lastRow, r);
      extent.lastCol = std::max(extent.lastCol, c);
    }
  }
  return extent;
}

QString KltText(const TextGrid& storage) {
  const KltExtent extent = KltWrittenExtent(storage);
  static const QString kLineEnd = QStringLiteral("\r\n");
  // With C = 0 nothing lies in columns 1 and up: each row is an empty line, since the cell
  // (r, C) that ends a line would be column 0, which is never written.
  const int lastCol = extent.lastCol;

  qsizetype size = 2 * qsizetype(extent.lastRow + 2);
  for (int r = 0; r <= extent.lastRow; ++r) {
    for (int c = 1; c <= lastCol; ++c) size += storage.TextSize(r, c) + 1;
  }
  QString text;
  text.reserve(size);
  for (int r = 0; r <= extent.lastRow; ++r) {
    for (int c = 1; c <= lastCol; ++c) {
      storage.AppendText(r, c, text);
      if (c < lastCol) text += QChar(kTab);
    }
    text += kLineEnd;
  }
  text += kLineEnd;
  return text;
}

QByteArray WriteKlt(const TextGrid& storage, QList<qsizetype>* unencodable) {
  Cp932Bytes encoded = EncodeCp932(KltText(storage));
  if (unencodable) *unencodable = std::move(encoded.unencodable);
  return encoded.bytes;
}

QList<UnstorableCell> FindUnstorableCells(const TextGrid& storage) {
  const KltExtent extent = KltWrittenExtent(storage);
  QList<UnstorableCell> cells;
  for (int r = 0; r <= extent.lastRow; ++r) {
    for (int c = 1; c <= extent.lastCol; ++c) {
      const QString& text = storage.Text(r, c);
      if (text.isEmpty()) continue;
      if (!CanEncodeCp932(text)) {
        cells.append({r, c, UnstorableCell::kUnencodable});
      } else if (HasSeparator(text)) {
        cells.append({r, c, UnstorableCell::kSeparator});
      }
    }
  }
  return cells;
}

namespace {

struct KltScan {
  int widestField = 1;
  bool linesLeftOut = false;
  bool fieldsLeftOut = false;
};

// The one splitter of a file's text: lines at CR, CRLF or LF, fields at TAB and comma.
// `onField(line, field, text)` gets every field a sheet can hold (line < kKltMaxLines, field 1
// to kKltMaxFields) and `onLine(line, fields)` every such line's end; an empty line has no field.
// It splits decoded text, or CP932 bytes as they are: no trail byte is a TAB, a comma or a line
// end, so the bytes split where their text would.
template <typename Char, typename OnField, typename OnLine>
KltScan ScanKlt(const Char* s, qsizetype n, OnField onField, OnLine onLine) {
  KltScan result;
  qsizetype widest = 1;
  qsizetype line = 0;
  qsizetype i = 0;
  while (i < n) {
    const bool store = line < kKltMaxLines;
    qsizetype field = 1;
    qsizetype fieldStart = i;
    qsizetype k = i;
    // Ends the field [fieldStart, k): kept, or noted when text is left out.
    auto endField = [&] {
      if (store && field <= kKltMaxFields) {
        onField(static_cast<int>(line), static_cast<int>(field), s + fieldStart, k - fieldStart);
      } else if (k > fieldStart) {
        (store ? result.fieldsLeftOut : result.linesLeftOut) = true;
      }
    };
    for (; k < n; ++k) {
      const char16_t ch = static_cast<std::make_unsigned_t<Char>>(s[k]);
      if (ch == kCr || ch == kLf) break;
      if (ch != kTab && ch != kComma) continue;
      endField();
      ++field;
      widest = std::max(widest, field);
      fieldStart = k + 1;
    }
    if (k > i) endField();
    if (store)
      onLine(static_cast<int>(line),
             k > i ? static_cast<int>(std::min<qsizetype>(field, kKltMaxFields)) : 0);
    ++line;
    if (k < n && s[k] == kCr && k + 1 < n && s[k + 1] == kLf) ++k;
    i = k + 1;
  }
  result.widestField = static_cast<int>(std::min<qsizetype>(widest, INT_MAX));
  return result;
}

}  // namespace

namespace {

// Gives the pages of a file's bytes back to the system once the reading has passed them: a file
// near the size limit is then not held whole beside the cells made of it. Only bytes no one else
// shares, read front to back; their content is not read again.
class DoneBytes {
 public:
  explicit DoneBytes(const QByteArray& bytes)
      : m_begin(bytes.isDetached() ? reinterpret_cast<std::uintptr_t>(bytes.constData()) : 0),
        m_done(RoundedUp(m_begin)) {}

  void Before(const char* position) {
    if (m_begin == 0) return;
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(position) & ~(kPage - 1);
    if (end < m_done + kStep) return;
    ::madvise(reinterpret_cast<void*>(m_done), end - m_done, MADV_DONTNEED);
    m_done = end;
  }

 private:
  static constexpr std::uintptr_t kPage = 4096;
  static constexpr std::uintptr_t kStep = std::uintptr_t{1} << 20;
  static std::uintptr_t RoundedUp(std::uintptr_t a) { return (a + kPage - 1) & ~(kPage - 1); }

  std::uintptr_t m_begin;
  std::uintptr_t m_done;
};

// Fills storage from a file's text or bytes, `field` turning a field's characters into its text.
// A first pass finds the widest line, so the grid is widened once, before it is filled; the
// second puts every field straight into its cell.
template <typename Char, typename Field>
KltLoad FillStorage(TextGrid& storage, const Char* s, qsizetype n, Field field) {
  const KltScan shape = ScanKlt(
      s, n, [](int, int, const Char*, qsizetype) {}, [](int, int) {});
  const int lastField = std::min(shape.widestField, kKltMaxFields);
  if (storage.Cols() < lastField + 1) storage.SetCols(lastField + 1);
  if (storage.Rows() < Sheet::kStorageRows) storage.SetRows(Sheet::kStorageRows);
  ScanKlt(
      s, n,
      [&](int line, int column, const Char* text, qsizetype length) {
        storage.SetText(line, column, field(text, length));
      },
      [&](int line, int count) {
        for (int j = count + 1; j <= lastField; ++j) storage.SetText(line, j, QString());
      });
  return {shape.linesLeftOut, shape.fieldsLeftOut};
}

}  // namespace

KltLoad ReadKltIntoStorage(TextGrid& storage, QByteArray bytes) {
  ShortFields shortFields;
  if (ReadsAsCp932(bytes)) {
    // Field by field from the bytes: a large file is never held a second time, as text, and the
    // bytes already made into cells go back to the system as the filling goes on.
    DoneBytes done(bytes);
    return FillStorage(
        storage, bytes.constData(), bytes.size(), [&](const char* s, qsizetype length) {
          done.Before(s);
          if (std::all_of(s, s + length, [](char b) { return uchar(b) < 0x80; }))
            return shortFields.Get(s, length);
          const QString text = DecodeCp932(QByteArrayView(s, length));
          return shortFields.Get(reinterpret_cast<const char16_t*>(text.constData()), text.size());
        });
  }
  const QString text = DecodeFileText(bytes);
  bytes = QByteArray();  // a large file is held once, as text, while the cells are made
  return FillStorage(
      storage, reinterpret_cast<const char16_t*>(text.constData()), text.size(),
      [&](const char16_t* s, qsizetype length) { return shortFields.Get(s, length); });
}

KltSheet ReadKltSheet(QByteArray bytes) {
  KltSheet read{Sheet::EmptyStorage(), {}, {}};
  read.load = ReadKltIntoStorage(read.storage, std::move(bytes));
  read.view = Sheet::ReadGradeViewOf(read.storage);
  return read;
}

}  // namespace kelt
