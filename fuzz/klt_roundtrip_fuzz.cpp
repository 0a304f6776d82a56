// Any bytes read as a sheet, written as kelt writes it and read again: every cell that the writer
// does not report as unstorable comes back as it was, so a file kelt wrote always reads back the
// same, whatever encoding its first reading took.
#include <QByteArray>
#include <QSet>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  kelt::Sheet first;
  first.BuildSheetLayout();
  kelt::LoadKlt(first, kelt::ReadKlt(bytes));
  const kelt::TextGrid& storage = first.Storage();

  QSet<qint64> unstorable;
  for (const kelt::UnstorableCell& cell : kelt::FindUnstorableCells(storage))
    unstorable.insert(qint64(cell.row) << 32 | cell.col);

  kelt::Sheet second;
  second.BuildSheetLayout();
  kelt::LoadKlt(second, kelt::ReadKlt(kelt::WriteKlt(storage)));
  for (int r = 0; r < storage.Rows(); ++r) {
    for (int c = 1; c < storage.Cols(); ++c) {
      if (unstorable.contains(qint64(r) << 32 | c)) continue;
      Check(second.Storage().Text(r, c) == kelt::ToCp932Forms(storage.Text(r, c)));
    }
  }
  return 0;
}
