#include "core/print/classpage.h"

#include <algorithm>

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"
#include "core/storage/cp932codec.h"

namespace kelt {

namespace {

struct Glyphs {
  QStringList chars;  // one code point each
  QList<int> columns;
};

Glyphs Split(const QString& text) {
  Glyphs glyphs;
  QString printable = text;
  for (QChar& c : printable)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
  for (qsizetype i = 0; i < printable.size();) {
    const qsizetype n = printable[i].isHighSurrogate() && i + 1 < printable.size() &&
                                printable[i + 1].isLowSurrogate()
                            ? 2
                            : 1;
    glyphs.chars << printable.mid(i, n);
    i += n;
  }
  glyphs.columns = PrintColumns(printable);
  return glyphs;
}
}  // namespace

QList<int> PrintColumns(const QString& text) {
  // One conversion for the whole text; the bytes are then walked character by character. A
  // character CP932 lacks is written as one '?', a surrogate pair included.
  const QByteArray bytes = EncodeCp932(text).bytes;
  QList<int> columns;
  qsizetype b = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()) continue;
    const bool twoBytes = b < bytes.size() && IsLeadByte(static_cast<unsigned char>(bytes[b]));
    columns << (twoBytes ? 2 : 1);
    b += twoBytes ? 2 : 1;
  }
  return columns;
}

QString PrintField(const QString& text, int width) {
  const Glyphs glyphs = Split(text);
  int total = 0;
  int twoColumn = 0;
  for (const int w : glyphs.columns) {
    total += w;
    if (w == 2) ++twoColumn;
  }
  QString kept;
  int used = 0;
  if (total <= width) {
    kept = glyphs.chars.join(QString());
    used = total;
  } else if (twoColumn >= width) {
    for (qsizetype i = 0; i < glyphs.chars.size() && used + glyphs.columns[i] <= width; ++i) {
      kept += glyphs.chars[i];
      used += glyphs.columns[i];
    }
  } else {
    for (qsizetype i = glyphs.chars.size() - 1; i >= 0 && used + glyphs.columns[i] <= width; --i) {
      kept.prepend(glyphs.chars[i]);
      used += glyphs.columns[i];
    }
  }
  return QString(width - used, QLatin1Char(' ')) + kept;
}

QString PrintNumberField(const QString& text, int width) {
  if (width < 2 || !IsNumericCell(text)) return PrintField(text, width);
  int columns = 0;
  for (const int w : PrintColumns(text)) columns += w;
  if (columns <= width - 1) return PrintField(text, width);
  return QLatin1Char(' ') + QString(width - 1, QLatin1Char('#'));
}

QStringList ClassPageLines(const TextGrid& classView, const QList<int>& items) {
  using namespace classpage;
  QList<int> columns;
  const int lastCol = std::min(kLastPrintedCol, classView.Cols() - 1);
  for (int c = Sheet::kFirstScoreCol; c <= lastCol; ++c) {
    if (items.contains(c - Sheet::kFirstScoreCol)) columns << c;
  }
  QStringList lines;
  for (int r = 0; r < kLines; ++r) {
    QString line = PrintField(classView.Text(r, 0), kNumberWidth) +
                   PrintField(classView.Text(r, 1), kNameWidth);
    for (const int c : columns) line += PrintNumberField(classView.Text(r, c), kScoreWidth);
    lines << line;
  }
  return lines;
}

QList<int> ClassPageRules() {
  QList<int> rules;
  for (int d = 1; d <= 11; ++d) rules << 5 * d - 1;
  rules << classpage::kLastRule;
  return rules;
}

}  // namespace kelt
