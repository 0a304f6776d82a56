// Full-size operations of a sheet: the copies between view and storage, a view switch with its
// screen update, and a new sheet window. Run headless: QT_QPA_PLATFORM=offscreen kelt_bench
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <benchmark/benchmark.h>

#include "core/sheet/sheet.h"
#include "ui/app/application.h"
#include "ui/app/frmmain.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"
#include "ui/sheet/sheethost.h"

namespace {

using kelt::Sheet;

// A year of marks in every cell of every score column.
void Fill(Sheet& sheet, int cols) {
  sheet.MutableStorage().SetCols(cols);
  sheet.SetViewCols(cols);
  sheet.EditView([](kelt::TextGrid& view) {
    for (int r = 1; r < view.Rows(); ++r)
      for (int c = 1; c < view.Cols(); ++c) view.SetText(r, c, QString::number((r * 7 + c) % 101));
  });
  sheet.StoreView();
}

void BM_StoreView(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  Fill(sheet, static_cast<int>(state.range(0)));
  for (auto _ : state) sheet.StoreView();
}
BENCHMARK(BM_StoreView)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

void BM_ReloadGradeView(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  Fill(sheet, static_cast<int>(state.range(0)));
  for (auto _ : state) sheet.ReloadGradeView();
}
BENCHMARK(BM_ReloadGradeView)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

// Grade view to a class and back, without a screen.
void BM_CoreViewSwitch(benchmark::State& state) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  Fill(sheet, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    sheet.ShowClass(3);
    sheet.ShowGrade();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_CoreViewSwitch)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

struct Host : kelt::SheetHost {
  QString FocusPermission() const override { return kelt::kFocusAllowed; }
  void SetFocusPermission(const QString&) override {}
};

// A shown sheet window holding a full year of `cols` columns.
struct ShownSheet {
  explicit ShownSheet(int cols) : doc(&host) {
    Fill(*doc.sheet(), cols);
    doc.resize(1200, 800);
    doc.show();
    QApplication::processEvents();
  }
  Host host;
  kelt::frmDocument doc;
};

// One click on a view button of a shown sheet window, including the repaint it causes.
void BM_WindowViewSwitch(benchmark::State& state) {
  ShownSheet shown(static_cast<int>(state.range(0)));
  kelt::frmDocument& doc = shown.doc;
  int i = 0;
  for (auto _ : state) {
    if (++i % 2) {
      doc.ShowClassView(3);
    } else {
      doc.ShowGradeView();
    }
    doc.viewGrid()->viewport()->repaint();
  }
}
BENCHMARK(BM_WindowViewSwitch)->Arg(21)->Arg(257)->Unit(benchmark::kMillisecond);

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
    if (doc.sheet()->Mynowrow >= 1000) doc.viewGrid()->SetCurrentCell(1, 130);
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
    doc->sheet()->SetTag(QString());
    doc->parentWidget()->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NewSheetWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelt::SetupApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
