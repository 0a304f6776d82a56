// Every calculation on a full grade view (1000 pupils) at 257 columns.
// Run: kelt_calc_bench --benchmark_min_time=0.5
#include <benchmark/benchmark.h>

#include <QList>

#include "core/calc/computations.h"
#include "core/calc/viewpoints.h"
#include "core/sheet/textgrid.h"

namespace {

constexpr int kRows = 1003;
constexpr int kCols = 257;
constexpr int kTarget = kCols - 1;

// Marks with one decimal, a few empty cells and names, as a year's sheet holds them.
kelt::TextGrid YearView() {
  kelt::TextGrid view(kRows, kCols);
  for (int r = 1; r <= kRows - 3; ++r) {
    view.SetText(r, 1, QStringLiteral("生徒%1").arg(r));
    for (int c = 2; c < kCols; ++c) {
      const int draw = (r * 7919 + c * 104729) % 1013;
      if (draw % 37 == 0) continue;
      view.SetText(r, c, QStringLiteral("%1.%2").arg(draw % 101).arg(draw % 10));
    }
  }
  return view;
}

// Every score column but the target.
QList<int> AllItems() {
  QList<int> items;
  for (int c = 2; c < kTarget; ++c) items << c - 2;
  return items;
}

void Run(benchmark::State& state, kelt::Computation computation, kelt::CalcChoice choice) {
  const kelt::TextGrid year = YearView();
  kelt::TextGrid view;
  for (auto _ : state) {
    state.PauseTiming();
    view = year;  // the previous copy is freed here, untimed
    state.ResumeTiming();
    benchmark::DoNotOptimize(computation(view, choice));
  }
}

void BM_HorizontalTotal(benchmark::State& s) {
  Run(s, kelt::HorizontalTotal, {AllItems(), 0, kTarget});
}
void BM_HorizontalAverage(benchmark::State& s) {
  Run(s, kelt::HorizontalAverage, {AllItems(), 1, kTarget});
}
void BM_VerticalTotalAverage(benchmark::State& s) {
  Run(s, kelt::VerticalTotalAverage, {AllItems() << kTarget - 2, 2, kTarget});
}
void BM_Rank(benchmark::State& s) { Run(s, kelt::Rank, {{100}, 0, kTarget}); }
void BM_DeviationScore(benchmark::State& s) { Run(s, kelt::DeviationScore, {{100}, 2, kTarget}); }
void BM_RoundColumn(benchmark::State& s) { Run(s, kelt::RoundColumn, {{}, 0, 100}); }

// 観点別評価 on the year: three viewpoints of six items each, 確認 (the counts) and 実行.
kelt::ViewpointSettings YearViewpoints() {
  kelt::ViewpointSettings settings;
  for (int v = 0; v < kelt::kViewpointCount; ++v) {
    settings.viewpoints[v].name = QStringLiteral("観点%1").arg(v + 1);
    for (int i = 0; i < 6; ++i)
      settings.viewpoints[v].items.append({2 + v * 6 + i, 100, 1.0 + i % 2});
    settings.viewpoints[v].target = 30 + v;
  }
  settings.gradeTarget = 33;
  settings.gradeOfSum = kelt::DefaultGradeTable(3);
  return settings;
}
void BM_ViewpointsCheck(benchmark::State& state) {
  const kelt::TextGrid year = YearView();
  const kelt::ViewpointSettings settings = YearViewpoints();
  for (auto _ : state) benchmark::DoNotOptimize(kelt::CountViewpoints(year, settings));
}
void BM_ViewpointsWrite(benchmark::State& state) {
  const kelt::TextGrid year = YearView();
  const kelt::ViewpointSettings settings = YearViewpoints();
  kelt::TextGrid view;
  for (auto _ : state) {
    state.PauseTiming();
    view = year;
    state.ResumeTiming();
    benchmark::DoNotOptimize(kelt::WriteViewpoints(view, settings));
  }
}
BENCHMARK(BM_ViewpointsCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewpointsWrite)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_HorizontalTotal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HorizontalAverage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerticalTotalAverage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeviationScore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundColumn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
