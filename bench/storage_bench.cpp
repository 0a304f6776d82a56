// The .klt file at full size: 1043 lines of 256 fields (about 0.8 MB), read into a new sheet's
// grids and written back, also in a fresh process. Run: kelt_storage_bench
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"
#include "core/storage/sheetmerge.h"
#include "fill.h"

namespace {

using kelt::Sheet;

kelt::TextGrid FullStorage() { return kelt::bench::FullStorage(kelt::kKltMaxFields + 1); }

void BM_ReadKltIntoSheet(benchmark::State& state) {
  const QByteArray bytes = kelt::WriteKlt(FullStorage());
  for (auto _ : state) {
    state.PauseTiming();
    auto sheet = std::make_unique<Sheet>();
    sheet->BuildSheetLayout();
    state.ResumeTiming();
    kelt::KltSheet read = kelt::ReadKltSheet(bytes);
    sheet->AdoptRead(std::move(read.storage), std::move(read.view));
    benchmark::DoNotOptimize(sheet->View().Text(1000, 256));
    state.PauseTiming();
    sheet.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadKltIntoSheet)->Unit(benchmark::kMillisecond);

// The read as kelt does it at start-up: in a new process whose heap is still cold, from the
// file on disk into a new sheet. Each run starts this program again in its child mode, which
// reports its own time.
QString g_self;

qint64 ReadInNewProcess(const QString& path) {
  QProcess child;
  child.start(g_self, {QStringLiteral("--cold-read"), path});
  if (!child.waitForFinished(60000) || child.exitCode() != 0) return -1;
  return child.readAllStandardOutput().trimmed().toLongLong();
}

int ColdReadChild(const char* path) {
  QElapsedTimer timer;
  timer.start();
  auto sheet = std::make_unique<Sheet>();
  sheet->BuildSheetLayout();
  const kelt::FileBytes file = kelt::ReadFileBytes(QString::fromLocal8Bit(path));
  kelt::KltSheet read = kelt::ReadKltSheet(file.bytes);
  sheet->AdoptRead(std::move(read.storage), std::move(read.view));
  const qint64 ns = timer.nsecsElapsed();
  benchmark::DoNotOptimize(sheet->View().Text(1000, 256));
  std::printf("%lld\n", static_cast<long long>(ns));
  return 0;
}

void BM_ReadKltColdProcess(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("year.klt"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(kelt::WriteKlt(FullStorage())) < 0) {
    state.SkipWithError("cannot write the file");
    return;
  }
  file.close();
  for (auto _ : state) {
    const qint64 ns = ReadInNewProcess(path);
    if (ns < 0) {
      state.SkipWithError("the child failed");
      break;
    }
    state.SetIterationTime(static_cast<double>(ns) / 1e9);
  }
}
BENCHMARK(BM_ReadKltColdProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

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

// Save over a full year another teacher saved meanwhile: the file read back (its texts its own),
// compared with the base and the sheet, and merged. Each side changed a column of its own, and
// both one pupil's mark differently. Also reports what holding the base costs: its cell vector;
// its texts are the storage's own until a cell changes.
void BM_MergeFullYear(benchmark::State& state) {
  const kelt::TextGrid base = FullStorage();
  kelt::TextGrid mine = base;
  kelt::TextGrid file = base;
  for (int r = 1; r < Sheet::kStorageRows; ++r) {
    mine.SetText(r, 10, QStringLiteral("m%1").arg(r));
    file.SetText(r, 20, QStringLiteral("t%1").arg(r));
  }
  mine.SetText(5, 30, QStringLiteral("78"));
  file.SetText(5, 30, QStringLiteral("81"));
  const kelt::TextGrid theirs = kelt::ReadKltSheet(kelt::WriteKlt(file)).storage;
  qsizetype taken = 0;
  for (auto _ : state) {
    const kelt::StorageMerge merge = kelt::MergeStorage(base, mine, theirs);
    taken = merge.taken.size();
    benchmark::DoNotOptimize(merge.merged.Rows());
  }
  state.counters["taken"] = double(taken);
  state.counters["base_MB"] =
      double(base.Rows()) * base.Cols() * sizeof(QString) / (1024.0 * 1024.0);
}
BENCHMARK(BM_MergeFullYear)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--cold-read") == 0) return ColdReadChild(argv[2]);
  QCoreApplication app(argc, argv);
  g_self = QCoreApplication::applicationFilePath();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
