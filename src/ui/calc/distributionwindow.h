#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include "core/calc/statistics.h"

class QButtonGroup;
class QComboBox;
class QListWidget;
class QTableWidget;

namespace kelt {

class ChartPanel;
class frmDocument;

// 分布: how the year and each class did in one item. A table of counts, mean, spread and
// quartiles per class and for the year, a histogram of the year's marks and a box plot per
// class beside the year's median. It reads the sheet as a store would give it, from a copy, so
// the sheet keeps its mark and its undo snapshot; it follows every change of the sheet's texts.
class DistributionWindow : public QDialog {
  Q_OBJECT

 public:
  DistributionWindow(frmDocument* doc, QWidget* parent);

  // The figures shown, of the chosen item (none chosen: all empty).
  const ItemStatistics& Shown() const { return m_statistics; }
  // Reads the sheet again and redraws; the sheet's notices call it once per burst of edits.
  void Refresh();
  // The charts on a printer (A4 landscape) and into a PNG or PDF file; false on failure.
  bool PaintCharts(QPaintDevice* device) const;
  bool SaveCharts(const QString& path) const;

 private:
  void FillItems();
  void ShowTable();
  void ShowHistogram();
  void ShowBoxes();
  void Print();
  void Save();
  QString Figure(double value) const;

  QPointer<frmDocument> m_doc;
  QListWidget* m_list = nullptr;
  QButtonGroup* m_places = nullptr;
  QComboBox* m_binWidth = nullptr;
  QTableWidget* m_table = nullptr;
  ChartPanel* m_chartPanel = nullptr;  // none without the chart module
  QWidget* m_charts = nullptr;         // the panel, or the note of why it is missing
  QTimer m_pending;
  int m_item = -1;
  ItemStatistics m_statistics;
};

// Opens the frame's 分布 window for the active sheet, or brings it to the front; nothing without
// a sheet.
QDialog* OpenDistributionWindow(QWidget* frame, frmDocument* doc);

}  // namespace kelt
