#include "ui/calc/distributionwindow.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"
#include "core/storage/sheetfile.h"
#include "ui/calc/chartpanel.h"
#include "ui/calc/columndialog.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/fonts.h"
#include "ui/platform/itemlist.h"
#include "ui/platform/prompts.h"
#include "ui/platform/singledialog.h"
#include "ui/print/pagepainter.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {

const char* const kColumns[] = {"点数の数",  "その他", "平均",      "標準偏差", "最小",
                                "第1四分位", "中央値", "第3四分位", "最大"};

}  // namespace

DistributionWindow::DistributionWindow(frmDocument* doc, QWidget* parent)
    : QDialog(parent), m_doc(doc) {
  MakeSingleDialog(this, QStringLiteral("分布"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  auto* side = new QVBoxLayout;
  m_list = MakeColumnList(this, ScoreColumnNames(doc), ItemChoice::One);
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

  // Without the chart module the figures still show; the charts' place says why they do not.
  QString why;
  m_chartPanel = NewChartPanel(this, &why);
  if (m_chartPanel) {
    m_charts = m_chartPanel->Widget();
  } else {
    auto* missing = new QLabel(QStringLiteral("グラフを表示できません。\n") + why, this);
    missing->setObjectName(QStringLiteral("Charts"));
    missing->setAlignment(Qt::AlignCenter);
    m_charts = missing;
  }

  // Two thirds of the height for the charts, one above the other; the table scrolls.
  auto* main = new QVBoxLayout;
  main->addWidget(m_table, 1);
  main->addWidget(m_charts, 2);
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
  // The state, not the click: a screen reader's toggle checks a choice without clicking it.
  connect(m_places, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) ShowTable();
  });
  connect(m_binWidth, &QComboBox::currentIndexChanged, this, &DistributionWindow::ShowHistogram);
  if (doc) {
    Sheet* sheet = doc->sheet();
    connect(sheet, &Sheet::viewCellChanged, this, later);
    connect(sheet, &Sheet::viewTextsChanged, this, later);
    connect(sheet, &Sheet::viewColsChanged, this, later);
    connect(sheet, &Sheet::viewChanged, this, later);
    // The window belongs to its sheet.
    connect(doc, &QObject::destroyed, this, &QWidget::close);
    setWindowTitle(QStringLiteral("分布 - ") + WindowTitleText(doc->Caption()));
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
  if (!m_chartPanel) return;
  const double width = m_binWidth->currentText().toDouble();
  const Histogram histogram = HistogramOf(m_statistics.yearMarks, width);
  QStringList bins;
  for (qsizetype i = 0; i < histogram.counts.size(); ++i)
    bins << ResultText(histogram.first + double(i) * histogram.width);
  m_chartPanel->ShowHistogram(bins, histogram.counts);
}

void DistributionWindow::ShowBoxes() {
  if (!m_chartPanel) return;
  // Classes without a numeric mark have no box; the others stand side by side.
  QList<ChartBox> boxes;
  for (int n = 0; n < Sheet::kClassCount; ++n) {
    const MarkFigures& f = m_statistics.classes[n];
    if (f.numeric == 0) continue;
    boxes.append(
        {Sheet::ClassName(n), f.minimum, f.lowerQuartile, f.median, f.upperQuartile, f.maximum});
  }
  m_chartPanel->ShowBoxes(boxes, m_statistics.year.median);
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
  const QString caption = m_doc ? WindowTitleText(m_doc->Caption()) : QString();
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
