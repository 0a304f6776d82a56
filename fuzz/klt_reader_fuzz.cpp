// Any bytes as a .klt file: decoded, split and loaded into a new sheet, then written back; and
// the same bytes as UTF-16 text through the encoder. Besides the sanitizers, the checks below
// hold the reader and the codec to what they promise.
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/sheet/sheet.h"
#include "core/storage/cp932codec.h"
#include "core/storage/kltformat.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void FuzzReader(const QByteArray& bytes) {
  Check(kelt::DecodeCp932(bytes).size() <= bytes.size());  // one character per byte at most
  const kelt::KltFields fields = kelt::ReadKlt(bytes);
  Check(fields.lines.size() <= kelt::kKltMaxLines);
  for (const QStringList& line : fields.lines) {
    Check(line.size() <= kelt::kKltMaxFields && line.size() <= fields.widestField);
    for (const QString& field : line) {
      for (QChar ch : field) Check(ch != u'\t' && ch != u',' && ch != u'\r' && ch != u'\n');
    }
  }

  kelt::Sheet sheet;
  sheet.BuildSheetLayout();
  kelt::LoadKlt(sheet, fields);
  const kelt::TextGrid& storage = sheet.Storage();
  // A sheet holds at most 257 columns, however wide the file.
  Check(storage.Cols() ==
        std::max(kelt::Sheet::kInitialCols, std::min(fields.widestField, kelt::kKltMaxFields) + 1));
  Check(sheet.View().Cols() == storage.Cols());
  Check(storage.Rows() == kelt::Sheet::kStorageRows &&
        sheet.View().Rows() == kelt::Sheet::kGradeRows);
  for (qsizetype l = 0; l < fields.lines.size(); ++l) {
    const QStringList& line = fields.lines[l];
    for (qsizetype j = 0; j < line.size(); ++j) Check(storage.Text(int(l), int(j + 1)) == line[j]);
  }

  // Opening a file reads the bytes straight into a sheet: the same cells and the same notes.
  kelt::Sheet opened;
  opened.BuildSheetLayout();
  const kelt::KltLoad load = kelt::ReadKltIntoSheet(opened, bytes);
  Check(opened.Storage() == storage && opened.View() == sheet.View());
  Check(load.linesLeftOut == fields.linesLeftOut && load.fieldsLeftOut == fields.fieldsLeftOut);

  // What was read writes back; every cell the checker passes reads back the same.
  const QList<kelt::UnstorableCell> unstorable = kelt::FindUnstorableCells(storage);
  QList<qsizetype> unencodable;
  const QByteArray written = kelt::WriteKlt(storage, &unencodable);
  if (unstorable.isEmpty()) Check(unencodable.isEmpty());
}

void FuzzEncoder(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf16(reinterpret_cast<const char16_t*>(data), static_cast<qsizetype>(size / 2));
  const kelt::Cp932Bytes encoded = kelt::EncodeCp932(text);
  Check(encoded.bytes.size() <= 2 * text.size());
  qsizetype previous = -1;
  for (qsizetype index : encoded.unencodable) {
    Check(index > previous && index < text.size());
    previous = index;
  }
  if (kelt::CanEncodeCp932(text)) {
    Check(encoded.unencodable.isEmpty());
    Check(kelt::DecodeCp932(encoded.bytes) == kelt::ToCp932Forms(text));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzReader(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  FuzzEncoder(data, size);
  return 0;
}
