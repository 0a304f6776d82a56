// Structure edits and the clipboard at full size: a column inserted and deleted in the grade view
// of a year with 256 columns (view and storage), and a whole year copied and pasted as text.
// Run: kelt_edit_bench
#include <benchmark/benchmark.h>

#include "core/edit/clipboardtext.h"
#include "core/edit/structureedits.h"
#include "core/sheet/sheet.h"
#include "fill.h"

namespace {

using kelt::Sheet;

void BM_InsertColumn(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  kelt::bench::Fill(sheet, 256);
  for (auto _ : state) {
    kelt::InsertColumn(sheet, 3);
    state.PauseTiming();
    kelt::DeleteColumn(sheet, 3);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertColumn)->Unit(benchmark::kMillisecond);

void BM_DeleteColumn(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  kelt::bench::Fill(sheet, 256);
  for (auto _ : state) {
    kelt::DeleteColumn(sheet, 3);
    state.PauseTiming();
    kelt::InsertColumn(sheet, 3);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteColumn)->Unit(benchmark::kMillisecond);

// The grade view's 1000 pupils over 21 columns, to text and back into another year.
void BM_WholeYearCopyPaste(benchmark::State& state) {
  Sheet from;
  from.BuildSheetLayout();
  kelt::bench::Fill(from, 21);
  Sheet to;
  to.BuildSheetLayout();
  for (auto _ : state) {
    const QString text = kelt::CopyRange(from.View(), 1, 1, 20, Sheet::kGradeRows - 1);
    const kelt::PasteBlock block = kelt::ParsePasteText(text, to.View().Rows(), to.View().Cols());
    to.EditView([&](kelt::TextGrid& view) { kelt::PasteRange(view, 1, 1, block); });
  }
}
BENCHMARK(BM_WholeYearCopyPaste)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
