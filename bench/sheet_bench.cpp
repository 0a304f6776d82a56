// Full-size operations of a sheet: the copies between view and storage, a view switch with its
// screen update, and a new sheet window. Run headless: QT_QPA_PLATFORM=offscreen kelt_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWindow>
#include <functional>
#include <memory>

#include "core/calc/calculator.h"
#include "core/calc/computations.h"
#include "core/calc/grades.h"
#include "core/print/pupilslip.h"
#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"
#include "fill.h"
#include "ui/app/application.h"
#include "ui/app/frmmain.h"
#include "ui/calc/columndialog.h"
#include "ui/calc/distributionwindow.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/prompts.h"
#include "ui/print/pagepainter.h"
#include "ui/sheet/frmdocument.h"
#include "ui/sheet/sheethost.h"
#include "ui/storage/recovery.h"

namespace {

using kelt::Sheet;

// Every cell of the view into storage, as the first store after a change of the view's shape;
// later stores copy only what was written since.
void BM_StoreWholeView(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  kelt::bench::Fill(sheet, static_cast<int>(state.range(0)));
  for (auto _ : state) sheet.StoreWholeViewInto(sheet.MutableStorage());
}
BENCHMARK(BM_StoreWholeView)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

void BM_ReloadGradeView(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  kelt::bench::Fill(sheet, static_cast<int>(state.range(0)));
  for (auto _ : state) sheet.ReloadGradeView();
}
BENCHMARK(BM_ReloadGradeView)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

// Grade view to a class and back, without a screen.
void BM_CoreViewSwitch(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  kelt::bench::Fill(sheet, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    sheet.ShowClass(3);
    sheet.ShowGrade();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_CoreViewSwitch)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

struct Host : kelt::SheetHost {
  bool FocusAllowed() const override { return true; }
  void SetFocusAllowed(bool) override {}
};

// A shown sheet window holding a full year of `cols` columns.
struct ShownSheet {
  explicit ShownSheet(int cols) : doc(&host) {
    kelt::bench::Fill(*doc.sheet(), cols);
    doc.resize(1200, 800);
    doc.show();
    // Drawn once before anything is timed: a window is exposed, then painted, as events come.
    while (!doc.windowHandle() || !doc.windowHandle()->isExposed()) QApplication::processEvents();
    QApplication::processEvents();
  }
  Host host;
  kelt::frmDocument doc;
};

// Grade view to a class and back in a shown sheet window, each click followed by `paint`.
template <typename Paint>
void ViewSwitches(benchmark::State& state, Paint paint) {
  ShownSheet shown(static_cast<int>(state.range(0)));
  kelt::frmDocument& doc = shown.doc;
  int i = 0;
  for (auto _ : state) {
    if (++i % 2) {
      doc.ShowClassView(3);
    } else {
      doc.ShowGradeView();
    }
    paint(doc);
  }
}

// One click on a view button, with the whole table repainted.
void BM_WindowViewSwitch(benchmark::State& state) {
  ViewSwitches(state, [](kelt::frmDocument& doc) { doc.viewGrid()->viewport()->repaint(); });
}
BENCHMARK(BM_WindowViewSwitch)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

// One view button with the repaint as the event loop does it, not more: what the teacher waits
// for between the click and the new table.
void BM_WindowViewSwitchPainted(benchmark::State& state) {
  ViewSwitches(state, [](kelt::frmDocument&) { QApplication::processEvents(); });
}
BENCHMARK(BM_WindowViewSwitchPainted)->Arg(257)->Unit(benchmark::kMillisecond);

// The same through the 20 classes in turn, each with its own names, as a teacher goes through the
// year; the views above come back every other click.
void BM_WindowViewSwitchPaintedEachClass(benchmark::State& state) {
  ShownSheet shown(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    shown.doc.ShowClassView(i++ % 20);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_WindowViewSwitchPaintedEachClass)->Arg(257)->Unit(benchmark::kMillisecond);

// A class shown for the first time in a window just opened, with the whole table repainted: no
// cell of it has been met before.
void BM_WindowViewSwitchPaintedFirstTime(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto shown = std::make_unique<ShownSheet>(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    shown->doc.ShowClassView(i++ % 20);
    shown->doc.viewGrid()->viewport()->repaint();
    state.PauseTiming();
    shown.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WindowViewSwitchPaintedFirstTime)
    ->Arg(257)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// From a calculation dialog's OK to the repainted table, in the grade view of a full year of 257
// columns: the snapshot, the computation, the notice of what changed and the repaint.
constexpr kelt::CalcNeeds kOnCursor{.writesAtCursor = true};
constexpr kelt::CalcNeeds kOnCursorWithItem{.writesAtCursor = true, .needsItem = true};

void CalculationToRepaint(
    benchmark::State& state, const kelt::CalcChoice& choice, kelt::CalcNeeds needs,
    const std::function<void(kelt::TextGrid&, const kelt::CalcChoice&)>& compute) {
  ShownSheet shown(257);
  kelt::frmDocument& doc = shown.doc;
  doc.viewGrid()->SetCurrentCell(1, choice.targetColumn);
  for (auto _ : state) {
    kelt::RunCalculation(&doc, &doc, choice, needs, compute);
    QApplication::processEvents();
  }
}

kelt::CalcChoice Choice(QList<int> items, int places, int target) {
  kelt::CalcChoice choice;
  choice.items = std::move(items);
  choice.places = places;
  choice.targetColumn = target;
  return choice;
}

void BM_OkToRepaint_Total(benchmark::State& s) {
  CalculationToRepaint(s, Choice({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, 40), kOnCursor,
                       [](auto& v, const auto& c) { kelt::HorizontalTotal(v, c); });
}
void BM_OkToRepaint_Average(benchmark::State& s) {
  CalculationToRepaint(s, Choice({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, 40), kOnCursor,
                       [](auto& v, const auto& c) { kelt::HorizontalAverage(v, c); });
}
void BM_OkToRepaint_VerticalTotalAverage(benchmark::State& s) {
  CalculationToRepaint(s, Choice({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, 40), kOnCursor,
                       [](auto& v, const auto& c) { kelt::VerticalTotalAverage(v, c); });
}
void BM_OkToRepaint_Rank(benchmark::State& s) {
  CalculationToRepaint(s, Choice({0}, 0, 40), kOnCursorWithItem,
                       [](auto& v, const auto& c) { kelt::Rank(v, c); });
}
void BM_OkToRepaint_DeviationScore(benchmark::State& s) {
  CalculationToRepaint(s, Choice({0}, 1, 40), kOnCursorWithItem,
                       [](auto& v, const auto& c) { kelt::DeviationScore(v, c); });
}
void BM_OkToRepaint_Rounding(benchmark::State& s) {
  CalculationToRepaint(s, Choice({}, 0, 40), kOnCursor,
                       [](auto& v, const auto& c) { kelt::RoundColumn(v, c); });
}
void BM_OkToRepaint_Grades(benchmark::State& s) {
  CalculationToRepaint(s, Choice({0}, 0, 40), kOnCursorWithItem, [](auto& v, const auto& c) {
    kelt::WriteGrades(v, c, {85, 65, 40, 30, 0}, false);
  });
}
BENCHMARK(BM_OkToRepaint_Total)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkToRepaint_Average)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkToRepaint_VerticalTotalAverage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkToRepaint_Rank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkToRepaint_DeviationScore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkToRepaint_Rounding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkToRepaint_Grades)->Unit(benchmark::kMillisecond);

// The calculator's operation key on a full year: every pupil of the target column written.
void BM_OkToRepaint_CalculatorKey(benchmark::State& state) {
  ShownSheet shown(257);
  kelt::frmDocument& doc = shown.doc;
  doc.viewGrid()->SetCurrentCell(1, 40);
  kelt::Calculator calculator;
  int op = kelt::Calculator::kAdd;
  for (auto _ : state) {
    doc.sheet()->EditView([&](kelt::TextGrid& view) { calculator.Operation(op, view, 2, 40); });
    doc.sheet()->MarkModified();
    op = op == kelt::Calculator::kAdd ? kelt::Calculator::kEquals : kelt::Calculator::kAdd;
    QApplication::processEvents();
  }
}
BENCHMARK(BM_OkToRepaint_CalculatorKey)->Unit(benchmark::kMillisecond);

// The recovery copy of a full year of 257 columns: storage copied aside, the view stored into
// the copy, the file written and synced. It runs once typing pauses for 2 s (at least every 30 s
// while it goes on) and after bulk edits, never on a keystroke.
void BM_RecoveryCopyWrite(benchmark::State& state) {
  kelt::frmMain frame;
  frame.resize(1200, 800);
  frame.show();
  QApplication::processEvents();
  kelt::frmDocument* doc = frame.activeSheet();
  kelt::bench::Fill(*doc->sheet(), 257);
  auto* copy = doc->findChild<kelt::RecoveryCopy*>();
  int i = 0;
  for (auto _ : state) {
    ++i;
    doc->sheet()->SetViewText(1 + i % 900, 5, QString::number(i % 100));
    doc->sheet()->MarkModified();
    copy->WriteNow();
  }
  doc->sheet()->SetMark(kelt::Sheet::Mark::Untouched);
}
BENCHMARK(BM_RecoveryCopyWrite)->Unit(benchmark::kMillisecond);

// A shown frame whose sheet holds a full year of 257 columns, the cursor in a score column.
struct FullFrame {
  FullFrame() {
    frame.resize(1200, 800);
    frame.show();
    doc = frame.activeSheet();
    kelt::bench::Fill(*doc->sheet(), 257);
    doc->viewGrid()->SetCurrentCell(1, 40);
    QApplication::processEvents();
  }
  kelt::frmMain frame;
  kelt::frmDocument* doc = nullptr;
};

// 成績の分布 over a full year: the window opened and drawn, then one typed mark read again, its
// table and charts redrawn.
// 個人票 for the whole year, 1000 pupils with 10 items, from the figures to a finished PDF file.
void BM_YearSlipsToPdf(benchmark::State& state) {
  const kelt::TextGrid storage = kelt::bench::FullStorage(Sheet::kInitialCols);
  QList<int> items;
  for (int item = 0; item < 10; ++item) items << item;
  QList<int> classes;
  for (int n = 0; n < Sheet::kClassCount; ++n) classes << n;
  QTemporaryDir dir;
  int pages = 0;
  for (auto _ : state) {
    const QList<QList<kelt::PrintedSlip>> classPages = kelt::PrintedSlips(
        kelt::PupilSlips(storage, classes, items), QStringLiteral("個人成績票  year"),
        QStringLiteral("2026/12/08"), true, true);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("slips.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!kelt::PaintPupilSlips(&printer, classPages)) state.SkipWithError("not printed");
    pages = 0;
    for (const auto& slips : classPages) pages += int((slips.size() + 3) / 4);
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_YearSlipsToPdf)->Unit(benchmark::kMillisecond);

void BM_DistributionOpen(benchmark::State& state) {
  FullFrame full;
  for (auto _ : state) {
    QDialog* window = kelt::OpenDistributionWindow(&full.frame, full.doc);
    window->repaint();
    state.PauseTiming();
    delete window;
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DistributionOpen)->Unit(benchmark::kMillisecond);

void BM_DistributionTypedMark(benchmark::State& state) {
  FullFrame full;
  kelt::frmDocument* doc = full.doc;
  QDialog* window = kelt::OpenDistributionWindow(&full.frame, doc);
  QApplication::processEvents();
  int i = 0;
  for (auto _ : state) {
    doc->sheet()->SetViewText(1 + i % 900, 40, QString::number(i % 100));
    ++i;
    QApplication::processEvents();  // the window's refresh
    window->repaint();
  }
}
BENCHMARK(BM_DistributionTypedMark)->Unit(benchmark::kMillisecond);

// One Enter in the editor box (move, scroll, refresh, focus bounce) and one typed digit written
// into the new cell, in a full year of 257 columns.
void BM_KeyDownAndType(benchmark::State& state) {
  ShownSheet shown(static_cast<int>(state.range(0)));
  kelt::frmDocument& doc = shown.doc;
  QLineEdit* box = doc.editor();
  box->setFocus();
  const auto send = [box](QEvent::Type type, int key, const QString& text) {
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &event);
  };
  for (auto _ : state) {
    if (doc.sheet()->Mynowrow() >= 1000) doc.viewGrid()->SetCurrentCell(1, 130);
    send(QEvent::KeyPress, Qt::Key_Return, QStringLiteral("\r"));
    send(QEvent::KeyRelease, Qt::Key_Return, QStringLiteral("\r"));
    send(QEvent::KeyPress, Qt::Key_7, QStringLiteral("7"));
    send(QEvent::KeyRelease, Qt::Key_7, QStringLiteral("7"));
  }
}
BENCHMARK(BM_KeyDownAndType)->Arg(257)->Unit(benchmark::kMicrosecond);

// A new sheet window in the frame, shown maximized and painted.
void BM_NewSheetWindow(benchmark::State& state) {
  kelt::frmMain frame;
  frame.resize(1200, 800);
  frame.show();
  QApplication::processEvents();
  for (auto _ : state) {
    kelt::frmDocument* doc = frame.NewSheet();
    doc->viewGrid()->viewport()->repaint();
    state.PauseTiming();
    doc->sheet()->SetMark(kelt::Sheet::Mark::Untouched);
    doc->parentWidget()->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NewSheetWindow)->Unit(benchmark::kMillisecond);

// Files no sheet is made of, each just under the size limit or far beyond a sheet's shape: one
// line of 10 MB (the header), a 10 MB cell in a pupil's line, 16 MB of short fields.
QString HostileFile(const QTemporaryDir& dir, int kind) {
  QByteArray bytes;
  if (kind == 0) {
    bytes = QByteArray(10 * 1024 * 1024, 'x');
  } else if (kind == 1) {
    bytes = "name\tA\r\n\t1\r\n\t" + QByteArray(10 * 1024 * 1024, '8') + "\r\n";
  } else {
    const QByteArray field = "," + QByteArray("\xbb\xc4\xb3 ").repeated(15);  // ｻﾄｳ, 61 bytes
    const QByteArray line = "\xbb\xc4\xb3" + field.repeated(255) + "\r\n";
    bytes = line.repeated(kelt::kKltMaxLines);
  }
  const QString path = dir.filePath(QStringLiteral("hostile%1.klt").arg(kind));
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

// Answers every message at once; a benchmark has no one to read them.
struct SilentPrompts : kelt::Prompts {
  SilentPrompts() { kelt::SetPrompts(this); }
  ~SilentPrompts() override { kelt::SetPrompts(nullptr); }
  kelt::PromptAnswer Message(QWidget*, const QString& text, const QString&, kelt::PromptButtons,
                             kelt::PromptIcon) override {
    last = text;
    return kelt::PromptAnswer::Ok;
  }
  int Choose(QWidget*, const QString& text, const QString&, const QStringList& buttons,
             kelt::PromptIcon) override {
    last = text;
    return int(buttons.size()) - 1;
  }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  QString OpenFileName(QWidget*, const QString&) override { return {}; }
  bool ChoosePrinter(QWidget*, QPrinter*) override { return false; }
  QString last;
};

// Start-up with such a file: the frame built, its sheet read, shown and painted.
void BM_StartWithHostileFile(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = HostileFile(dir, static_cast<int>(state.range(0)));
  SilentPrompts prompts;
  for (auto _ : state) {
    auto frame = std::make_unique<kelt::frmMain>(path);
    frame->resize(1200, 800);
    frame->show();
    QApplication::processEvents();
    frame->activeSheet()->viewGrid()->viewport()->repaint();
    state.PauseTiming();
    frame->activeSheet()->sheet()->SetMark(kelt::Sheet::Mark::Untouched);
    frame.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  if (!prompts.last.isEmpty()) state.SetLabel(prompts.last.toStdString());
}
BENCHMARK(BM_StartWithHostileFile)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Down onto a 10 MB cell and Up again, each with its repaint.
void BM_KeysOverAHugeCell(benchmark::State& state) {
  QTemporaryDir dir;
  SilentPrompts prompts;
  kelt::frmMain frame(HostileFile(dir, 1));
  frame.resize(1200, 800);
  frame.show();
  QApplication::processEvents();
  kelt::frmDocument* doc = frame.activeSheet();
  QLineEdit* box = doc->editor();
  box->setFocus();
  const auto key = [&](int code) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier);
    QApplication::sendEvent(box, &release);
    QApplication::processEvents();
    doc->viewGrid()->viewport()->repaint();
  };
  doc->viewGrid()->SetCurrentCell(1, 2);
  for (auto _ : state) {
    key(Qt::Key_Down);
    key(Qt::Key_Up);
  }
  doc->sheet()->SetMark(kelt::Sheet::Mark::Untouched);
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_KeysOverAHugeCell)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelt::SetupApplication(app);
  QTemporaryDir recovery;
  kelt::SetRecoveryDirectory(recovery.path());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
