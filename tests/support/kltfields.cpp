#include "support/kltfields.h"

#include <algorithm>

#include "core/sheet/sheet.h"
#include "core/storage/cp932codec.h"
#include "core/storage/kltformat.h"

namespace kelt::test {

KltFields ReadKltFields(const QByteArray& bytes) {
  const QString text = DecodeFileText(bytes);
  KltFields result;
  qsizetype start = 0;
  for (int line = 0; start < text.size(); ++line) {
    qsizetype end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    const QString lineText = text.mid(start, end - start);
    start = end + (text.mid(end, 2) == u"\r\n" ? 2 : 1);

    QStringList fields;
    if (!lineText.isEmpty()) {
      QString field;
      for (const QChar ch : lineText + u'\t') {
        if (ch != u'\t' && ch != u',') {
          field += ch;
          continue;
        }
        fields.append(field);
        field.clear();
      }
    }
    result.widestField = std::max(result.widestField, int(fields.size()));
    for (qsizetype j = 0; j < fields.size(); ++j) {
      if (fields[j].isEmpty()) continue;
      if (line >= kKltMaxLines)
        result.linesLeftOut = true;
      else if (j >= kKltMaxFields)
        result.fieldsLeftOut = true;
    }
    if (line < kKltMaxLines) result.lines.append(fields.mid(0, kKltMaxFields));
  }
  return result;
}

void LoadKltFields(Sheet& sheet, const KltFields& fields) {
  TextGrid& storage = sheet.MutableStorage();
  const int lastField = std::min(fields.widestField, kKltMaxFields);
  if (storage.Cols() < lastField + 1) storage.SetCols(lastField + 1);
  if (storage.Rows() < Sheet::kStorageRows) storage.SetRows(Sheet::kStorageRows);
  for (int l = 0; l < fields.lines.size(); ++l) {
    const QStringList& line = fields.lines[l];
    for (int j = 1; j <= lastField; ++j)
      storage.SetText(l, j, j <= line.size() ? line[j - 1] : QString());
  }
  // The grade view shows the header and every pupil and year row; column 0 keeps the layout's
  // numbers and labels.
  sheet.SetViewCols(storage.Cols());
  sheet.EditView([&](TextGrid& view) {
    for (int row = 0; row < Sheet::kGradeRows; ++row) {
      const int storageRow = Sheet::StorageRowOfGradeRow(row);
      for (int col = 1; col < storage.Cols(); ++col)
        view.SetText(row, col, storage.Text(storageRow, col));
    }
  });
}

}  // namespace kelt::test
