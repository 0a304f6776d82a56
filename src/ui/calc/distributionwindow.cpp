#include "ui/calc/distributionwindow.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QBuffer>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageWriter>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"
#include "core/storage/sheetfile.h"
#include "ui/calc/columndialog.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/fonts.h"
#include "ui/platform/prompts.h"
#include "ui/platform/singledialog.h"
#include "ui/print/pagepainter.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {

const char* const kColumns[] = {"点数の数",  "その他", "平均",      "標準偏差", "最小",
                                "第1四分位", "中央値", "第3四分位", "最大"};

QChart* NewChart(const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setVisible(false);
  chart->setMargins(QMargins(4, 4, 4, 4));
  return chart;
}

void ClearChart(QChart* chart) {
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
}

// A count axis from 0 in steps of 1, 2 or 5 times a power of ten, with room above the highest
// bar for its label.
QValueAxis* CountAxis(int highest) {
  const int room = highest + highest / 5 + 1;
  int step = 1;
  for (int scale = 1; room / step > 6; scale *= 10) {
    for (int factor : {1, 2, 5}) {
      step = factor * scale;
      if (room / step <= 6) break;
    }
  }
  auto* axis = new QValueAxis;
  axis->setLabelFormat(QStringLiteral("%d"));
  axis->setRange(0, (room + step - 1) / step * step);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(step);
  return axis;
}

}  // namespace

DistributionWindow::DistributionWindow(frmDocument* doc, QWidget* parent)
    : QDialog(parent), m_doc(doc) {
  MakeSingleDialog(this, QStringLiteral("分布"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  auto* side = new QVBoxLayout;
  m_list = MakeColumnList(this, doc, false);
  side->addWidget(m_list, 1);
  m_places = AddRoundingChoice(this, side, 1);
  auto* binLabel = new QLabel(QStringLiteral("階級の幅"), this);
  m_binWidth = new QComboBox(this);
  m_binWidth->setObjectName(QStringLiteral("Combo1"));
  m_binWidth->addItems({QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("20")});
  m_binWidth->setCurrentIndex(1);
  binLabel->setBuddy(m_binWidth);
  side->addWidget(binLabel);
  side->addWidget(m_binWidth);
  const struct {
    const char* name;
    const char* caption;
    void (DistributionWindow::*run)();
  } buttons[] = {{"Command1", "印刷", &DistributionWindow::Print},
                 {"Command2", "保存", &DistributionWindow::Save},
                 {"Command3", "閉じる", nullptr}};
  for (const auto& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setAutoDefault(false);  // Enter in the list must not print
    if (b.run) {
      connect(button, &QPushButton::clicked, this, b.run);
    } else {
      connect(button, &QPushButton::clicked, this, &QDialog::close);
    }
    side->addWidget(button);
  }

  m_table = new QTableWidget(Sheet::kClassCount + 1, int(std::size(kColumns)), this);
  m_table->setObjectName(QStringLiteral("Table1"));
  m_table->setAccessibleName(QStringLiteral("クラス別の成績"));
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QStringList columns;
  for (const char* column : kColumns) columns << QString::fromUtf8(column);
  m_table->setHorizontalHeaderLabels(columns);
  QStringList rows{QStringLiteral("学年")};
  for (int n = 0; n < Sheet::kClassCount; ++n) rows << Sheet::ClassName(n);
  m_table->setVerticalHeaderLabels(rows);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_table->verticalHeader()->setDefaultSectionSize(20);

  m_histogram = NewChart(QStringLiteral("学年の度数分布"));
  m_boxes = NewChart(QStringLiteral("クラス別の箱ひげ図"));
  m_charts = new QWidget(this);
  m_charts->setObjectName(QStringLiteral("Charts"));
  auto* chartRow = new QHBoxLayout(m_charts);
  chartRow->setContentsMargins(0, 0, 0, 0);
  const struct {
    QChart* chart;
    const char* name;
    const char* spoken;
  } views[] = {{m_histogram, "Chart1", "学年の度数分布"},
               {m_boxes, "Chart2", "クラス別の箱ひげ図"}};
  for (const auto& v : views) {
    auto* view = new QChartView(v.chart, m_charts);
    view->setObjectName(QString::fromLatin1(v.name));
    view->setAccessibleName(QString::fromUtf8(v.spoken));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 240);
    chartRow->addWidget(view, v.chart == m_boxes ? 3 : 2);
  }

  auto* main = new QVBoxLayout;
  main->addWidget(m_table, 2);
  main->addWidget(m_charts, 3);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(side);
  layout->addLayout(main, 1);
  resize(1100, 760);

  // A burst of edits (a paste, a calculation) redraws once.
  m_pending.setSingleShot(true);
  m_pending.setInterval(0);
  connect(&m_pending, &QTimer::timeout, this, &DistributionWindow::Refresh);
  auto later = [this] { m_pending.start(); };
  connect(m_list, &QListWidget::currentRowChanged, this, &DistributionWindow::Refresh);
  connect(m_places, &QButtonGroup::idClicked, this, &DistributionWindow::ShowTable);
  connect(m_binWidth, &QComboBox::currentIndexChanged, this, &DistributionWindow::ShowHistogram);
  if (doc) {
    Sheet* sheet = doc->sheet();
    connect(sheet, &Sheet::viewCellChanged, this, later);
    connect(sheet, &Sheet::viewTextsChanged, this, later);
    connect(sheet, &Sheet::viewColsChanged, this, later);
    connect(sheet, &Sheet::viewChanged, this, later);
    // The window belongs to its sheet.
    connect(doc, &QObject::destroyed, this, &QWidget::close);
    setWindowTitle(QStringLiteral("分布 - ") + doc->Caption());
    // The item under the cursor first, so the column in hand is shown at once.
    const int item = doc->viewGrid()->Col() - Sheet::kFirstScoreCol;
    const QSignalBlocker once(m_list);  // the Refresh below reads it
    m_list->setCurrentRow(item >= 0 && item < m_list->count() ? item : 0);
  }
  m_list->setFocus();
  Refresh();
}

void DistributionWindow::FillItems() {
  // Inserted or deleted columns and new item names show at once; the chosen position stays.
  const QStringList names = ScoreColumnNames(m_doc);
  bool same = names.size() == m_list->count();
  for (int i = 0; same && i < names.size(); ++i) same = m_list->item(i)->text() == names[i];
  if (same) return;
  const QSignalBlocker quiet(m_list);
  const int row = m_list->currentRow();
  m_list->clear();
  m_list->addItems(names);
  if (row < m_list->count()) m_list->setCurrentRow(row);
}

void DistributionWindow::Refresh() {
  m_pending.stop();
  if (m_doc) FillItems();
  m_item = m_list->currentRow();
  m_statistics = ItemStatistics();
  if (m_doc && m_item >= 0) {
    // What a store would write, taken from a copy: the sheet's snapshot stays as it was.
    const Sheet* sheet = m_doc->sheet();
    TextGrid stored = sheet->Storage();
    sheet->StoreViewInto(stored);
    m_statistics = StatisticsOfItem(stored, Sheet::ItemColumn(m_item));
  }
  ShowTable();
  ShowHistogram();
  ShowBoxes();
}

QString DistributionWindow::Figure(double value) const {
  return ResultText(RoundHalfUp(value, std::max(m_places->checkedId(), 0)));
}

void DistributionWindow::ShowTable() {
  for (int r = 0; r <= Sheet::kClassCount; ++r) {
    const MarkFigures& f = r == 0 ? m_statistics.year : m_statistics.classes[r - 1];
    const bool any = f.numeric > 0;
    const QString texts[] = {
        m_item < 0 ? QString() : QString::number(f.numeric),
        m_item < 0 ? QString() : QString::number(f.other),
        any ? Figure(f.mean) : QString(),
        any ? Figure(f.deviation) : QString(),
        any ? Figure(f.minimum) : QString(),
        any ? Figure(f.lowerQuartile) : QString(),
        any ? Figure(f.median) : QString(),
        any ? Figure(f.upperQuartile) : QString(),
        any ? Figure(f.maximum) : QString(),
    };
    for (int c = 0; c < int(std::size(texts)); ++c) {
      QTableWidgetItem* item = m_table->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(r, c, item);
      }
      item->setText(texts[c]);
    }
  }
}

void DistributionWindow::ShowHistogram() {
  ClearChart(m_histogram);
  const double width = m_binWidth->currentText().toDouble();
  const Histogram histogram = HistogramOf(m_statistics.yearMarks, width);
  if (histogram.counts.isEmpty()) return;
  auto* set = new QBarSet(QStringLiteral("人数"));
  set->setColor(QColor(58, 120, 194));
  set->setLabelColor(QColor(47, 62, 78));
  QStringList bins;
  int highest = 0;
  for (qsizetype i = 0; i < histogram.counts.size(); ++i) {
    *set << histogram.counts[i];
    highest = std::max(highest, histogram.counts[i]);
    bins << ResultText(histogram.first + double(i) * histogram.width);
  }
  auto* series = new QBarSeries;
  series->append(set);
  series->setBarWidth(0.95);
  series->setLabelsVisible(true);
  series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
  m_histogram->addSeries(series);
  auto* x = new QBarCategoryAxis;
  x->append(bins);
  x->setLabelsAngle(bins.size() > 12 ? -90 : 0);
  x->setTitleText(QStringLiteral("点数 (各階級の下限)"));
  QValueAxis* y = CountAxis(highest);
  y->setTitleText(QStringLiteral("人数"));
  m_histogram->addAxis(x, Qt::AlignBottom);
  m_histogram->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
}

void DistributionWindow::ShowBoxes() {
  ClearChart(m_boxes);
  auto* series = new QBoxPlotSeries;
  series->setBrush(QColor(207, 224, 243));
  series->setPen(QPen(QColor(47, 62, 78), 1.5));
  QStringList classes;
  double low = 0, high = 0;
  bool first = true;
  // Classes without a numeric mark have no box; the others stand side by side.
  for (int n = 0; n < Sheet::kClassCount; ++n) {
    const MarkFigures& f = m_statistics.classes[n];
    if (f.numeric == 0) continue;
    series->append(new QBoxSet(f.minimum, f.lowerQuartile, f.median, f.upperQuartile, f.maximum,
                               Sheet::ClassName(n)));
    classes << Sheet::ClassName(n);
    low = first ? f.minimum : std::min(low, f.minimum);
    high = first ? f.maximum : std::max(high, f.maximum);
    first = false;
  }
  if (classes.isEmpty()) {
    delete series;
    return;
  }
  m_boxes->addSeries(series);
  auto* x = new QBarCategoryAxis;
  x->append(classes);
  x->setLabelsAngle(-90);  // twenty class names side by side
  auto* y = new QValueAxis;
  const double margin = std::max(1.0, (high - low) * 0.05);
  y->setRange(low - margin, high + margin);
  y->applyNiceNumbers();
  m_boxes->addAxis(x, Qt::AlignBottom);
  m_boxes->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);

  // The year's median across every box, so a class that lags stands out.
  auto* median = new QLineSeries;
  median->setName(QStringLiteral("学年の中央値"));
  median->setPen(QPen(QColor(200, 70, 61), 2, Qt::DashLine));
  const double right = double(classes.size()) - 0.5;
  median->append(-0.5, m_statistics.year.median);
  median->append(right, m_statistics.year.median);
  m_boxes->addSeries(median);
  auto* across = new QValueAxis;
  across->setRange(-0.5, right);
  across->setVisible(false);
  m_boxes->addAxis(across, Qt::AlignBottom);
  median->attachAxis(across);
  median->attachAxis(y);
}

bool DistributionWindow::PaintCharts(QPaintDevice* device) const {
  QPainter painter;
  if (!painter.begin(device)) return false;
  // A heading that says what the charts are of, then the charts as the window shows them,
  // scaled to the rest of the page or image with their proportions kept.
  const double heading = device->height() / 14.0;
  QFont font(PGothicFamily());
  font.setPixelSize(int(heading * 0.45));
  painter.setFont(font);
  const QString item = m_list->currentItem() ? m_list->currentItem()->text() : QString();
  const QString caption = m_doc ? m_doc->Caption() : QString();
  painter.drawText(QRectF(0, 0, device->width(), heading), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("成績の分布  ") + item + QStringLiteral("  (") + caption +
                       QStringLiteral(")"));
  const QSize size = m_charts->size();
  const double scale = std::min(double(device->width()) / size.width(),
                                (device->height() - heading) / size.height());
  painter.translate(0, heading);
  painter.scale(scale, scale);
  m_charts->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  return painter.end();
}

bool DistributionWindow::SaveCharts(const QString& path) const {
  // Drawn in memory, then written as the sheets are: the old file stays whole on a full disk.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  if (QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0) {
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setResolution(150);
    drawn = PaintCharts(&pdf);
  } else {
    QImage image(m_charts->size() * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawn = PaintCharts(&image) && QImageWriter(&buffer, "png").write(image);
  }
  return drawn && WriteFileAtomically(path, bytes).isEmpty();
}

void DistributionWindow::Print() {
  PrintDocument(this, QPageLayout::Landscape, [this](QPrinter* printer) {
    return PaintCharts(printer) && PrinterFinished(*printer);
  });
}

void DistributionWindow::Save() {
  QString path = CurrentPrompts().SaveFileName(this, QStringLiteral("グラフの保存"),
                                               QStringLiteral("PNG 画像 (*.png);;PDF (*.pdf)"));
  if (path.isEmpty()) return;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QStringLiteral("png") && suffix != QStringLiteral("pdf"))
    path += QStringLiteral(".png");
  if (!SaveCharts(path)) {
    ShowMessage(this, QStringLiteral("保存できませんでした。\n") + path, PromptButtons::Ok, {},
                PromptIcon::Warning);
  }
}

QDialog* OpenDistributionWindow(QWidget* frame, frmDocument* doc) {
  if (!doc) return nullptr;
  return ShowSingleDialog(QStringLiteral("分布"), frame,
                          [&] { return new DistributionWindow(doc, frame); });
}

}  // namespace kelt
