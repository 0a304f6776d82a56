#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace kelt {

// The two charts of 分布, drawn with Qt Charts in a module of their own (kelt_charts), loaded the
// first time 分布 opens: a start of the program need not load Qt Charts and the OpenGL libraries
// it brings.
struct ChartBox {
  QString name;
  double minimum, lowerQuartile, median, upperQuartile, maximum;
};

class ChartPanel {
 public:
  virtual ~ChartPanel() = default;
  // The charts one above the other, "Chart1" the histogram and "Chart2" the boxes; its parent
  // owns it.
  virtual QWidget* Widget() = 0;
  // Bars over `bins` (each bin's caption); none clears the chart.
  virtual void ShowHistogram(const QStringList& bins, const QList<int>& counts) = 0;
  // A box per class and the year's median across them; none clears the chart.
  virtual void ShowBoxes(const QList<ChartBox>& boxes, double yearMedian) = 0;
};

// A panel under `parent`, the module loaded at the first call; nullptr, and why in `error`,
// when the module cannot be loaded.
ChartPanel* NewChartPanel(QWidget* parent, QString* error);

// The module's maker of panels, from the first of `paths` that loads; nullptr, and why in
// `error`, when none does. The places looked in: beside the program (the build tree), where it
// is installed (lib/kelt), then where this build made it (the tests, which run from elsewhere).
using ChartPanelMaker = ChartPanel* (*)(QWidget* parent);
ChartPanelMaker LoadChartModule(const QStringList& paths, QString* error);
QStringList ChartModulePaths();

}  // namespace kelt
