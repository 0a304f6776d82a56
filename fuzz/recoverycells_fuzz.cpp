// Any bytes in a recovery copy's place: the reader keeps within a sheet's rows and columns, and
// what it reads is written and read back unchanged.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/recoverycells.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const std::optional<kelt::TextGrid> read = kelt::ReadRecoveryCells(bytes);
  if (!read) return 0;
  if (read->Rows() != kelt::Sheet::kStorageRows || read->Cols() > kelt::kKltMaxFields + 1)
    std::abort();
  if (kelt::ReadRecoveryCells(kelt::WriteRecoveryCells(*read)) != read) std::abort();
  return 0;
}
