// Any bytes as a .klt file: read as kelt opens files, held to a plain model of the format, then
// written back; and the same bytes as UTF-16 text through the encoder. Besides the sanitizers,
// the checks below hold the reader and the codec to what they promise.
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "core/sheet/sheet.h"
#include "core/storage/cp932codec.h"
#include "core/storage/kltformat.h"
#include "support/kltfields.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void FuzzReader(const QByteArray& bytes) {
  Check(kelt::DecodeCp932(bytes).size() <= bytes.size());  // one character per byte at most

  // The reader kelt opens files with, held to the plain model of the format.
  kelt::KltSheet read = kelt::ReadKltSheet(bytes);
  const kelt::test::KltFields fields = kelt::test::ReadKltFields(bytes);
  Check(fields.lines.size() <= kelt::kKltMaxLines);
  for (const QStringList& line : fields.lines) {
    Check(line.size() <= kelt::kKltMaxFields && line.size() <= fields.widestField);
    for (const QString& field : line) {
      for (QChar ch : field) Check(ch != u'\t' && ch != u',' && ch != u'\r' && ch != u'\n');
    }
  }
  const kelt::TextGrid& storage = read.storage;
  // A sheet holds at most 257 columns, however wide the file.
  Check(storage.Cols() ==
        std::max(kelt::Sheet::kInitialCols, std::min(fields.widestField, kelt::kKltMaxFields) + 1));
  Check(read.view.Cols() == storage.Cols());
  Check(storage.Rows() == kelt::Sheet::kStorageRows && read.view.Rows() == kelt::Sheet::kGradeRows);
  Check(read.load.linesLeftOut == fields.linesLeftOut &&
        read.load.fieldsLeftOut == fields.fieldsLeftOut);

  kelt::Sheet model;
  model.BuildSheetLayout();
  kelt::test::LoadKltFields(model, fields);
  Check(model.Storage() == storage && model.View() == read.view);

  // A new window adopting what was read holds the same.
  kelt::Sheet opened;
  opened.BuildSheetLayout();
  opened.AdoptRead(std::move(read.storage), std::move(read.view));
  Check(opened.Storage() == model.Storage() && opened.View() == model.View());

  // What was read writes back; every cell the checker passes reads back the same.
  const QList<kelt::UnstorableCell> unstorable = kelt::FindUnstorableCells(opened.Storage());
  QList<qsizetype> unencodable;
  const QByteArray written = kelt::WriteKlt(opened.Storage(), &unencodable);
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
