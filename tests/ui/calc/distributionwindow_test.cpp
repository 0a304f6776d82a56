#include "ui/calc/distributionwindow.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/fulldisk.h"
#include "support/poppler.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/calc/chartpanel.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using namespace Qt::StringLiterals;

// A few marks of 国語 (item 0): 1-A has 80, 60, 欠 and 70, 2-B has 45.5.
QStringList FewMarks() {
  QStringList marks(51);
  marks[0] = QStringLiteral("80");
  marks[1] = QStringLiteral("60");
  marks[2] = QStringLiteral("欠");
  marks[3] = QStringLiteral("70");
  marks[50] = QStringLiteral("45.5");
  return marks;
}

// A full year, 1000 pupils in 20 classes, with marks from `lowest` to `highest` spread over every
// class (37 shares no factor with the number of marks, so every mark from one end to the other is
// given).
QStringList FullYear(int lowest, int highest) {
  QStringList marks;
  const int count = highest - lowest + 1;
  for (int pupil = 0; pupil < Sheet::kClassCount * Sheet::kPupilsPerClass; ++pupil)
    marks << QString::number(lowest + pupil * 37 % count);
  return marks;
}

// The frame, its sheet with `marks` of 国語 from grade row 1 down (rows 1 to 50 are 1-A, 51 to
// 100 are 2-B, and so on; an empty text is an empty cell), and 分布 open at its first size.
struct Window : test::ShownFrame {
  explicit Window(const QStringList& marks = FewMarks()) {
    sheet()->SetViewText(0, 2, QStringLiteral("国語"));
    for (int r = 0; r < marks.size(); ++r) {
      if (!marks[r].isEmpty()) sheet()->SetViewText(r + 1, 2, marks[r]);
    }
    sheet()->StoreView();
    sheet()->SetMark(Sheet::Mark::Saved);
    test::Action(frame, "bunpu")->trigger();
    window = frame.findChild<DistributionWindow*>(QStringLiteral("分布"));
  }
  QString Cell(int row, int col) const {
    const QTableWidgetItem* item =
        window->findChild<QTableWidget*>(QStringLiteral("Table1"))->item(row, col);
    return item ? item->text() : QString();
  }
  void Choose(int item) {
    window->findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(item);
  }
  QChartView* Chart(const char* name) const {
    return window->findChild<QChartView*>(QString::fromLatin1(name));
  }
  // Lets the charts lay out, and the axes they replaced go, as the event loop would.
  static void Settle() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  DistributionWindow* window = nullptr;
};

// Choosing an item fills the table; a typed mark changes it; the sheet keeps its mark, its
// snapshot and its view.
TEST(DistributionWindow, FollowsTheSheetWithoutTouchingIt) {
  Window w;
  ASSERT_NE(w.window, nullptr);
  EXPECT_TRUE(w.window->isVisible());
  EXPECT_EQ(w.window->findChild<QListWidget*>(QStringLiteral("List1"))->currentRow(), 0)
      << "the item under the cursor";
  w.Choose(1);
  EXPECT_EQ(w.Cell(0, 0), QStringLiteral("0")) << "an item without marks";
  w.Choose(0);
  // 学年: 4 marks and one 欠; mean of 80, 60, 70, 45.5 is 63.875, shown to one decimal.
  const QStringList year{QStringLiteral("4"),    QStringLiteral("1"),    QStringLiteral("63.9"),
                         QStringLiteral("12.7"), QStringLiteral("45.5"), QStringLiteral("56.4"),
                         QStringLiteral("65"),   QStringLiteral("72.5"), QStringLiteral("80")};
  for (int c = 0; c < year.size(); ++c) EXPECT_EQ(w.Cell(0, c), year[c]) << "column " << c;
  EXPECT_EQ(w.Cell(1, 0), QStringLiteral("3"));
  EXPECT_EQ(w.Cell(2, 2), QStringLiteral("45.5"));
  EXPECT_EQ(w.Cell(3, 2), QString()) << "3-C has no marks";
  w.window->findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
  EXPECT_EQ(w.Cell(0, 2), QStringLiteral("64"));

  // The histogram follows the chosen width: 40 to 80 in tens, then 45 to 80 in fives.
  auto bins = [&w] {
    auto* chart = w.window->findChild<QChartView*>(QStringLiteral("Chart1"))->chart();
    return static_cast<QBarSeries*>(chart->series().first())->barSets().first()->count();
  };
  EXPECT_EQ(bins(), 4);
  w.window->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentText(QStringLiteral("5"));
  EXPECT_EQ(bins(), 7) << "45 to 80, the top mark in the last bin";

  const TextGrid storage = w.sheet()->Storage();
  const TextGrid view = w.sheet()->View();
  w.sheet()->SetViewText(5, 2, QStringLiteral("100"));  // as the editor box writes a cell
  QApplication::processEvents();
  EXPECT_EQ(w.Cell(0, 0), QStringLiteral("5"));
  EXPECT_EQ(w.Cell(1, 8), QStringLiteral("100"));
  EXPECT_EQ(w.window->Shown().year.numeric, 5);
  EXPECT_TRUE(w.sheet()->Storage() == storage) << "the undo snapshot is untouched";
  EXPECT_EQ(w.sheet()->View().Text(5, 2), QStringLiteral("100"));
  EXPECT_EQ(w.sheet()->View().Text(1, 2), view.Text(1, 2));
  EXPECT_EQ(w.sheet()->ModifiedMark(), Sheet::Mark::Saved) << "reading marks nothing";

  // A class view shows its own edits to the window as a store would.
  w.frame.activeSheet()->classButton(1)->click();
  w.sheet()->SetViewText(2, 2, QStringLiteral("55"));
  QApplication::processEvents();
  EXPECT_EQ(w.Cell(2, 0), QStringLiteral("2"));
}

// What a chart view's scene draws as text: the visible texts under the plot area (the category
// labels and the axis title), the visible texts reaching past the view's edge, and every text that
// Qt Charts cut short because it did not fit.
struct ChartTexts {
  QStringList under;
  QStringList outside;
  QStringList elided;
};

ChartTexts TextsOf(const QChartView* view) {
  ChartTexts texts;
  const QRectF plot = view->chart()->plotArea();
  const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
  for (const QGraphicsItem* item : view->scene()->items()) {
    const auto* label = qgraphicsitem_cast<const QGraphicsTextItem*>(item);
    if (!label) continue;
    const QString text = label->toPlainText();
    if (text.contains(QStringLiteral("...")) || text.contains(QChar(u'…'))) texts.elided << text;
    if (!label->isVisible()) continue;
    const QRectF place = label->sceneBoundingRect();
    if (!shown.contains(place)) texts.outside << text;
    if (place.top() >= plot.bottom()) texts.under << text;
  }
  return texts;
}

// A full year at the window's first size and at its smallest, for each bin width: every bin's
// lower bound stands whole under the histogram and every class name under its box. Saved and
// printed charts are drawn at the window's size, so they show them too.
TEST(DistributionWindow, DrawsEveryLabelWhole) {
  Window w(FullYear(0, 100));
  QStringList classes;
  for (int n = 0; n < Sheet::kClassCount; ++n) classes << Sheet::ClassName(n);
  auto* binWidth = w.window->findChild<QComboBox*>(QStringLiteral("Combo1"));
  for (const QSize size : {w.window->size(), w.window->minimumSizeHint()}) {
    w.window->resize(size);
    for (const int width : {5, 10, 20}) {
      SCOPED_TRACE(testing::Message()
                   << size.width() << "x" << size.height() << ", bins of " << width);
      binWidth->setCurrentText(QString::number(width));
      Window::Settle();
      QStringList bins;
      for (int lower = 0; lower < 100; lower += width) bins << QString::number(lower);
      const struct {
        const char* chart;
        QStringList labels;
      } charts[] = {{"Chart1", bins}, {"Chart2", classes}};
      for (const auto& c : charts) {
        const ChartTexts texts = TextsOf(w.Chart(c.chart));
        EXPECT_EQ(texts.elided, QStringList()) << c.chart;
        EXPECT_EQ(texts.outside, QStringList()) << c.chart;
        for (const QString& label : c.labels)
          EXPECT_TRUE(texts.under.contains(label)) << c.chart << " lacks " << label.toStdString();
      }
    }
  }
}

// The boxes' value axis fits the marks: 0 to 100 for any marks within them, else steps of 1, 2
// or 5 times a power of ten that cover the marks, from 0 unless a mark is negative.
TEST(DistributionWindow, FitsTheBoxAxisToTheMarks) {
  const struct {
    int lowest, highest;
    double from, to;
  } cases[] = {
      {0, 100, 0, 100}, {12, 87, 0, 100}, {-15, 90, -20, 100}, {0, 130, 0, 150}, {20, 250, 0, 250},
  };
  for (const auto& c : cases) {
    Window w(FullYear(c.lowest, c.highest));
    const QList<QAbstractAxis*> axes = w.Chart("Chart2")->chart()->axes(Qt::Vertical);
    ASSERT_EQ(axes.size(), 1);
    const auto* axis = qobject_cast<const QValueAxis*>(axes.first());
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->min(), c.from) << c.lowest << " to " << c.highest;
    EXPECT_EQ(axis->max(), c.to) << c.lowest << " to " << c.highest;
  }
}

// A screen reader changes a rounding choice with the button's toggle action, which checks it
// without a click; the table follows the choice all the same.
TEST(DistributionWindow, RoundsAsAScreenReaderChooses) {
  Window w;
  ASSERT_EQ(w.Cell(0, 2), QStringLiteral("63.9"));  // 63.875 at the first choice, 小数第１位
  const struct {
    const char* option;
    const char* mean;
  } choices[] = {{"Option1", "64"}, {"Option3", "63.88"}, {"Option2", "63.9"}};
  for (const auto& c : choices) {
    auto* option = w.window->findChild<QRadioButton*>(QString::fromLatin1(c.option));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(option);
    ASSERT_NE(accessible, nullptr);
    QAccessibleActionInterface* actions = accessible->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(option->isChecked()) << c.option;
    EXPECT_EQ(w.Cell(0, 2), QString::fromLatin1(c.mean)) << c.option;
  }
}

// The item list follows inserted columns and new names; closing the sheet closes its window.
TEST(DistributionWindow, FollowsColumnsAndGoesWithItsSheet) {
  Window w;
  auto* list = w.window->findChild<QListWidget*>(QStringLiteral("List1"));
  const int items = list->count();
  test::ScriptedPrompts prompts;
  w.grid()->SetCurrentCell(1, 2);
  test::Action(w.frame, "mnuToolsretu")->trigger();  // a column before 国語
  QApplication::processEvents();
  ASSERT_EQ(list->count(), items + 1);
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("国語"));

  QPointer<DistributionWindow> window = w.window;
  prompts.Expect(PromptAnswer::Yes);  // close it unsaved
  w.frame.mdiArea()->closeAllSubWindows();
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w.frame.sheets().isEmpty());
  EXPECT_TRUE(window.isNull() || !window->isVisible());
  EXPECT_TRUE(prompts.AllAnswered());
}

TEST(DistributionWindow, SavesAndPrintsTheCharts) {
  Window w(FullYear(0, 100));
  w.Choose(0);
  QTemporaryDir dir;
  test::ScriptedPrompts prompts;
  const QString png = dir.filePath(QStringLiteral("chart"));
  const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
  prompts.ExpectFile(png);
  QTest::mouseClick(w.window->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  QFile pngFile(png + QStringLiteral(".png"));
  ASSERT_TRUE(pngFile.open(QIODevice::ReadOnly)) << "a name without a suffix is saved as PNG";
  EXPECT_TRUE(pngFile.read(8).startsWith("\x89PNG"));
  EXPECT_TRUE(w.window->SaveCharts(pdf));
  const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
  prompts.ExpectPrinter(printed);
  QTest::mouseClick(w.window->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  EXPECT_TRUE(QFile::exists(printed));
  // The saved PDF holds the charts' texts whole: every bin's lower bound, every class.
  const QStringList words =
      test::Poppler("pdftotext", {pdf, QStringLiteral("-")}).split(QRegularExpression(u"\\s+"_s));
  for (int n = 0; n < Sheet::kClassCount; ++n)
    EXPECT_TRUE(words.contains(Sheet::ClassName(n))) << Sheet::ClassName(n).toStdString();
  for (int bin = 0; bin <= 100; bin += 10) EXPECT_TRUE(words.contains(QString::number(bin))) << bin;

  // A folder that cannot be written tells the teacher; nothing is left half-written.
  prompts.ExpectFile(QStringLiteral("/proc/kelt/chart.png"));
  prompts.Expect(PromptAnswer::Ok);
  QTest::mouseClick(w.window->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  ASSERT_FALSE(prompts.shown().isEmpty());
  EXPECT_TRUE(prompts.shown().last().text.startsWith(QStringLiteral("保存できませんでした。")));
  EXPECT_TRUE(prompts.AllAnswered());
}

// A disk that fills up keeps the chart saved there before and says so, for a small PNG as for a
// PDF.
TEST(DistributionWindow, AFullDiskKeepsTheOldChart) {
  if (!test::FullDisk::CanMount()) GTEST_SKIP() << "mounting a small disk needs root";
  Window w;
  test::FullDisk disk;
  ASSERT_TRUE(disk.Mounted());
  const QByteArray old(4096, 'o');
  for (const char* name : {"chart.png", "chart.pdf"}) {
    QFile file(disk.Path(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(old);
  }
  disk.Fill();
  test::ScriptedPrompts prompts;
  for (const char* name : {"chart.png", "chart.pdf"}) {
    const QString path = disk.Path(QString::fromLatin1(name));
    prompts.ExpectFile(path);
    prompts.Expect(PromptAnswer::Ok);
    QTest::mouseClick(w.window->findChild<QPushButton*>(QStringLiteral("Command2")),
                      Qt::LeftButton);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old) << name;
  }
  ASSERT_EQ(prompts.shown().size(), 2);
  for (const auto& shown : prompts.shown())
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("保存できませんでした。")));
}

// The charts come from a module looked for in several places: a place without it or with a file
// that is no library says why, and the first that loads gives panels that draw and clear.
TEST(DistributionWindow, TheChartModuleLoadsOrSaysWhyNot) {
  QTemporaryDir dir;
  const QString absent = dir.filePath(QStringLiteral("absent/kelt_charts.so"));
  const QString broken = dir.filePath(QStringLiteral("kelt_charts.so"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a library");
  file.close();

  QString why;
  EXPECT_EQ(LoadChartModule({absent}, &why), nullptr);
  EXPECT_EQ(why, QStringLiteral("kelt_charts が見つかりません。"));
  why.clear();
  EXPECT_EQ(LoadChartModule({absent, broken}, &why), nullptr);
  EXPECT_FALSE(why.isEmpty());
  EXPECT_NE(why, QStringLiteral("kelt_charts が見つかりません。"));

  const ChartPanelMaker make = LoadChartModule({absent, broken, ChartModulePaths().last()}, &why);
  ASSERT_NE(make, nullptr);
  QWidget parent;
  ChartPanel* panel = make(&parent);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Widget()->parentWidget(), &parent);
  auto* histogram = panel->Widget()->findChild<QChartView*>(QStringLiteral("Chart1"));
  auto* boxes = panel->Widget()->findChild<QChartView*>(QStringLiteral("Chart2"));
  ASSERT_NE(histogram, nullptr);
  ASSERT_NE(boxes, nullptr);
  panel->ShowHistogram({QStringLiteral("50"), QStringLiteral("60")}, {3, 4});
  ASSERT_EQ(histogram->chart()->series().size(), 1);
  EXPECT_EQ(
      static_cast<QBarSeries*>(histogram->chart()->series().first())->barSets().first()->count(),
      2);
  panel->ShowBoxes({{QStringLiteral("1-A"), 10, 20, 30, 40, 50}}, 30);
  EXPECT_EQ(boxes->chart()->series().size(), 2);  // the boxes and the year's median
  panel->ShowHistogram({}, {});
  panel->ShowBoxes({}, 0);
  EXPECT_TRUE(histogram->chart()->series().isEmpty());
  EXPECT_TRUE(boxes->chart()->series().isEmpty());
}

}  // namespace
}  // namespace kelt
