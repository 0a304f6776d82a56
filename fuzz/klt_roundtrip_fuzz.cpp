// Any bytes read as a sheet, written as kelt writes it and read again: every cell that the writer
// does not report as unstorable comes back as it was, so a file kelt wrote always reads back the
// same, whatever encoding its first reading took.
#include <QByteArray>
#include <QSet>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/storage/cp932codec.h"
#include "core/storage/kltformat.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const kelt::TextGrid storage = kelt::ReadKltSheet(bytes).storage;

  QSet<qint64> unstorable;
  for (const kelt::UnstorableCell& cell : kelt::FindUnstorableCells(storage))
    unstorable.insert(qint64(cell.row) << 32 | cell.col);

  const kelt::TextGrid second = kelt::ReadKltSheet(kelt::WriteKlt(storage)).storage;
  for (int r = 0; r < storage.Rows(); ++r) {
    for (int c = 1; c < storage.Cols(); ++c) {
      if (unstorable.contains(qint64(r) << 32 | c)) continue;
      Check(second.Text(r, c) == kelt::ToCp932Forms(storage.Text(r, c)));
    }
  }
  return 0;
}
