#include "core/storage/kltformat.h"

#include <algorithm>
#include <climits>

#include "core/sheet/sheet.h"
#include "core/sheet/textgrid.h"
#include "core/storage/cp932codec.h"

namespace kelt {

namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kComma = u',';
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

struct Extent {
  int lastRow = 0;  // R
  int lastCol = 0;  // C
};

Extent WrittenExtent(const TextGrid& storage) {
  Extent extent;
  for (int r = 0; r < storage.Rows(); ++r) {
    for (int c = 1; c < storage.Cols(); ++c) {
      if (storage.Text(r, c).isEmpty()) continue;
      extent.lastRow = std::max(extent.lastRow, r);
      extent.lastCol = std::max(extent.lastCol, c);
    }
  }
  return extent;
}

bool HasSeparator(const QString& text) {
  return std::any_of(text.cbegin(), text.cend(), [](QChar ch) {
    const char16_t u = ch.unicode();
    return u == kTab || u == kComma || u == kCr || u == kLf;
  });
}

}  // namespace

QString KltText(const TextGrid& storage) {
  const Extent extent = WrittenExtent(storage);
  static const QString kLineEnd = QStringLiteral("\r\n");
  // With C = 0 nothing lies in columns 1 and up: each row is an empty line, since the cell
  // (r, C) that ends a line would be column 0, which is never written.
  const int lastCol = extent.lastCol;

  qsizetype size = 2 * qsizetype(extent.lastRow + 2);
  for (int r = 0; r <= extent.lastRow; ++r) {
    for (int c = 1; c <= lastCol; ++c) size += storage.Text(r, c).size() + 1;
  }
  QString text;
  text.reserve(size);
  for (int r = 0; r <= extent.lastRow; ++r) {
    for (int c = 1; c <= lastCol; ++c) {
      text += storage.Text(r, c);
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
  const Extent extent = WrittenExtent(storage);
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

KltFields ReadKlt(const QByteArray& bytes) {
  const QString text = DecodeFileText(bytes);
  const auto* s = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype n = text.size();

  KltFields result;
  qsizetype widest = 1;
  qsizetype lineCount = 0;
  qsizetype lastWidth = 0;
  qsizetype i = 0;
  while (i < n) {
    const bool store = ++lineCount <= kKltMaxLines;
    QStringList fields;
    if (store) fields.reserve(lastWidth);
    qsizetype field = 1;
    qsizetype fieldStart = i;
    qsizetype k = i;
    // Ends the field [fieldStart, k): kept, or noted when text is left out.
    auto endField = [&] {
      if (store && field <= kKltMaxFields) {
        fields.append(text.mid(fieldStart, k - fieldStart));
      } else if (k > fieldStart) {
        (store ? result.fieldsLeftOut : result.linesLeftOut) = true;
      }
    };
    for (; k < n; ++k) {
      const char16_t ch = s[k];
      if (ch == kCr || ch == kLf) break;
      if (ch != kTab && ch != kComma) continue;
      endField();
      ++field;
      widest = std::max(widest, field);
      fieldStart = k + 1;
    }
    // An empty line has no field at all; otherwise the text after the last separator is one.
    if (k > i) endField();
    if (store) {
      lastWidth = fields.size();
      result.lines.append(std::move(fields));
    }
    if (k < n && s[k] == kCr && k + 1 < n && s[k + 1] == kLf) ++k;
    i = k + 1;
  }
  result.widestField = static_cast<int>(std::min<qsizetype>(widest, INT_MAX));
  return result;
}

void LoadKlt(Sheet& sheet, const KltFields& fields) {
  TextGrid& storage = sheet.MutableStorage();
  const int cols = std::min(fields.widestField, kKltMaxFields) + 1;
  if (storage.Cols() < cols) storage.SetCols(cols);
  if (storage.Rows() < Sheet::kStorageRows) storage.SetRows(Sheet::kStorageRows);

  const int lastField = std::min(fields.widestField, kKltMaxFields);
  const qsizetype lineCount = std::min<qsizetype>(fields.lines.size(), kKltMaxLines);
  for (int l = 0; l < lineCount; ++l) {
    const QStringList& line = fields.lines[l];
    for (int j = 1; j <= lastField; ++j)
      storage.SetText(l, j, j <= line.size() ? line[j - 1] : QString());
  }

  sheet.ShowReadStorage();
}

}  // namespace kelt
