// The .klt file at full size: 1043 lines of 256 fields (about 0.8 MB), read into a new sheet's
// grids and written back. Run: kelt_storage_bench
#include <benchmark/benchmark.h>

#include <memory>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"

namespace {

using kelt::Sheet;

// Every storage row and field filled: item names, pupil names in kana and kanji, marks.
kelt::TextGrid FullStorage() {
  kelt::TextGrid storage(Sheet::kStorageRows, kelt::kKltMaxFields + 1);
  storage.SetText(0, 1, QStringLiteral("氏  名"));
  for (int c = 2; c < storage.Cols(); ++c) storage.SetText(0, c, QStringLiteral("項目%1").arg(c));
  for (int r = 1; r < storage.Rows(); ++r) {
    storage.SetText(r, 1, QStringLiteral("髙橋ｺﾀﾛｳ%1").arg(r));
    for (int c = 2; c < storage.Cols(); ++c)
      storage.SetText(r, c, QString::number((r * 7 + c) % 101));
  }
  return storage;
}

void BM_ReadKltIntoSheet(benchmark::State& state) {
  const QByteArray bytes = kelt::WriteKlt(FullStorage());
  for (auto _ : state) {
    state.PauseTiming();
    auto sheet = std::make_unique<Sheet>();
    sheet->BuildSheetLayout();
    state.ResumeTiming();
    kelt::LoadKlt(*sheet, kelt::ReadKlt(bytes));
    benchmark::DoNotOptimize(sheet->View().Text(1000, 256));
    state.PauseTiming();
    sheet.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadKltIntoSheet)->Unit(benchmark::kMillisecond);

void BM_WriteKlt(benchmark::State& state) {
  const kelt::TextGrid storage = FullStorage();
  qsizetype size = 0;
  for (auto _ : state) {
    const QByteArray bytes = kelt::WriteKlt(storage);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_WriteKlt)->Unit(benchmark::kMillisecond);

// The check a save runs before writing.
void BM_FindUnstorableCells(benchmark::State& state) {
  const kelt::TextGrid storage = FullStorage();
  for (auto _ : state) benchmark::DoNotOptimize(kelt::FindUnstorableCells(storage));
}
BENCHMARK(BM_FindUnstorableCells)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
