// The module that draws 分布's charts with Qt Charts; the program loads it when 分布 first opens.
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/calc/chartpanel.h"

namespace kelt {

namespace {

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

// The smallest of 1, 2 or 5 times a power of ten that divides `span` (> 0) into at most `most`
// steps.
double NiceStep(double span, int most) {
  double scale = std::pow(10.0, std::floor(std::log10(span / most)));
  for (;;) {
    for (const double factor : {1.0, 2.0, 5.0}) {
      if (span / (factor * scale) <= most) return factor * scale;
    }
    scale *= 10;
  }
}

// A count axis from 0 in whole steps, with room above the highest bar for its label.
QValueAxis* CountAxis(int highest) {
  const int room = highest + highest / 5 + 1;
  const int step = std::max(1, int(NiceStep(room, 6)));
  auto* axis = new QValueAxis;
  axis->setLabelFormat(QStringLiteral("%d"));
  const int top = (room + step - 1) / step * step;  // the next whole step
  axis->setRange(0, top);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(step);
  return axis;
}

// A mark axis over 0 to 100, the scale marks are given in, widened in whole steps to take in any
// mark outside it.
QValueAxis* MarkAxis(double lowest, double highest) {
  const double low = std::min(lowest, 0.0), high = std::max(highest, 100.0);
  auto* axis = new QValueAxis;
  axis->setLabelFormat(QStringLiteral("%g"));  // whole steps; from a million on, kept short
  const double span = high - low;
  if (!std::isfinite(span)) {  // marks near the ends of the double range
    axis->setRange(low, high);
    return axis;
  }
  const double step = NiceStep(span, 6);
  axis->setRange(std::floor(low / step) * step, std::ceil(high / step) * step);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(step);
  return axis;
}

class Panel : public QWidget, public ChartPanel {
 public:
  explicit Panel(QWidget* parent)
      : QWidget(parent),
        m_histogram(NewChart(QStringLiteral("学年の度数分布"))),
        m_boxes(NewChart(QStringLiteral("クラス別の箱ひげ図"))) {
    setObjectName(QStringLiteral("Charts"));
    // One above the other, each as wide as the window allows: twenty bins or classes side by side
    // need the width for their labels, which Qt Charts would otherwise elide.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    const struct {
      QChart* chart;
      const char* name;
      const char* spoken;
    } views[] = {{m_histogram, "Chart1", "学年の度数分布"},
                 {m_boxes, "Chart2", "クラス別の箱ひげ図"}};
    for (const auto& v : views) {
      auto* view = new QChartView(v.chart, this);
      view->setObjectName(QString::fromLatin1(v.name));
      view->setAccessibleName(QString::fromUtf8(v.spoken));
      view->viewport()->setAccessibleName(QString::fromUtf8(v.spoken));
      view->setRenderHint(QPainter::Antialiasing);
      // Twenty class names keep their whole text from about 560 pixels on; a chart is saved and
      // printed at its size on the screen, so it is never narrower.
      view->setMinimumSize(600, 240);
      column->addWidget(view, 1);
    }
  }

  QWidget* Widget() override { return this; }

  void ShowHistogram(const QStringList& bins, const QList<int>& counts) override {
    ClearChart(m_histogram);
    if (counts.isEmpty()) return;
    auto* set = new QBarSet(QStringLiteral("人数"));
    set->setColor(QColor(58, 120, 194));
    set->setLabelColor(QColor(47, 62, 78));
    int highest = 0;
    for (const int count : counts) {
      *set << count;
      highest = std::max(highest, count);
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

  void ShowBoxes(const QList<ChartBox>& boxes, double yearMedian) override {
    ClearChart(m_boxes);
    if (boxes.isEmpty()) return;
    auto* series = new QBoxPlotSeries;
    series->setBrush(QColor(207, 224, 243));
    series->setPen(QPen(QColor(47, 62, 78), 1.5));
    QStringList classes;
    double low = boxes.first().minimum, high = boxes.first().maximum;
    for (const ChartBox& b : boxes) {
      series->append(
          new QBoxSet(b.minimum, b.lowerQuartile, b.median, b.upperQuartile, b.maximum, b.name));
      classes << b.name;
      low = std::min(low, b.minimum);
      high = std::max(high, b.maximum);
    }
    m_boxes->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(classes);
    x->setLabelsAngle(-90);  // twenty class names side by side
    QValueAxis* y = MarkAxis(low, high);
    m_boxes->addAxis(x, Qt::AlignBottom);
    m_boxes->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);

    // The year's median across every box, so a class that lags stands out.
    auto* median = new QLineSeries;
    median->setName(QStringLiteral("学年の中央値"));
    median->setPen(QPen(QColor(200, 70, 61), 2, Qt::DashLine));
    const double right = double(classes.size()) - 0.5;
    median->append(-0.5, yearMedian);
    median->append(right, yearMedian);
    m_boxes->addSeries(median);
    auto* across = new QValueAxis;
    across->setRange(-0.5, right);
    across->setVisible(false);
    m_boxes->addAxis(across, Qt::AlignBottom);
    median->attachAxis(across);
    median->attachAxis(y);
  }

 private:
  QChart* m_histogram;
  QChart* m_boxes;
};

}  // namespace

}  // namespace kelt

extern "C" Q_DECL_EXPORT kelt::ChartPanel* kelt_new_chart_panel(QWidget* parent) {
  return new kelt::Panel(parent);
}
