#include "core/storage/recoverycells.h"

#include <QStringDecoder>
#include <algorithm>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"

namespace kelt {

namespace {
constexpr char kEscape = '\\';

void AppendEscaped(QByteArray& out, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  if (!std::any_of(utf8.cbegin(), utf8.cend(),
                   [](char b) { return b == kEscape || b == '\t' || b == '\r' || b == '\n'; })) {
    out += utf8;
    return;
  }
  for (const char b : utf8) {
    switch (b) {
      case kEscape:
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += b;
    }
  }
}

// A cell's text from its written bytes; nothing for an escape the writer never writes or bytes
// that are not UTF-8.
std::optional<QString> Unescaped(QByteArrayView bytes) {
  QByteArray utf8;
  utf8.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != kEscape) {
      utf8 += bytes[i];
      continue;
    }
    if (++i == bytes.size()) return std::nullopt;
    switch (bytes[i]) {
      case kEscape:
        utf8 += kEscape;
        break;
      case 't':
        utf8 += '\t';
        break;
      case 'r':
        utf8 += '\r';
        break;
      case 'n':
        utf8 += '\n';
        break;
      default:
        return std::nullopt;
    }
  }
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(utf8);
  if (decoder.hasError()) return std::nullopt;
  return text;
}
}  // namespace

QByteArray WriteRecoveryCells(const TextGrid& storage) {
  int lastRow = -1;
  for (int r = 0; r < storage.Rows(); ++r) {
    for (int c = 1; c < storage.Cols(); ++c) {
      if (!storage.IsEmpty(r, c)) {
        lastRow = r;
        break;
      }
    }
  }
  QByteArray out;
  for (int r = 0; r <= lastRow; ++r) {
    for (int c = 1; c < storage.Cols(); ++c) {
      if (c > 1) out += '\t';
      AppendEscaped(out, storage.Text(r, c));
    }
    out += '\n';
  }
  // Empty trailing columns are the sheet's too: a line of their separators says how many.
  if (lastRow < 0 && storage.Cols() > 2) out += QByteArray(storage.Cols() - 2, '\t') + '\n';
  return out;
}

std::optional<TextGrid> ReadRecoveryCells(const QByteArray& bytes) {
  TextGrid storage = Sheet::EmptyStorage();
  qsizetype start = 0;
  for (int row = 0; start < bytes.size(); ++row) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    if (row >= Sheet::kStorageRows) return std::nullopt;
    const QByteArrayView line(bytes.constData() + start, end - start);
    const qsizetype fields = std::count(line.begin(), line.end(), '\t') + 1;
    if (fields > kKltMaxFields) return std::nullopt;
    if (fields >= storage.Cols()) storage.SetCols(int(fields) + 1);
    int col = 1;
    qsizetype fieldStart = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
      if (i < line.size() && line[i] != '\t') continue;
      const std::optional<QString> text = Unescaped(line.sliced(fieldStart, i - fieldStart));
      if (!text) return std::nullopt;
      storage.SetText(row, col, *text);
      ++col;
      fieldStart = i + 1;
    }
    start = end + 1;
  }
  return storage;
}

}  // namespace kelt
