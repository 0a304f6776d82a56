#pragma once

#include <QDialog>
#include <QHash>
#include <array>
#include <functional>
#include <optional>
#include <utility>

#include "core/calc/viewpoints.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace kelt {

class frmDocument;

// 観点別評価: for up to three viewpoints, the items that count (with full marks and weights) and
// the column their A/B/C goes to; the thresholds of A and B; the column of 評定 and the table from
// the sum of points to it. "確認" shows the counts, writing nothing; "実行" writes, as one undo
// snapshot, and closes. Every setting is remembered, items by their header text.
class ViewpointDialog : public QDialog {
  Q_OBJECT

 public:
  ViewpointDialog(std::function<frmDocument*()> activeSheet, QWidget* parent);
  ~ViewpointDialog() override;

  void Check();
  void Run();

 private:
  struct Row {
    QLineEdit* name;
    QListWidget* list;
    QTableWidget* marks;
    QComboBox* target;
    // Full marks and weight typed for an item, by its header text, kept while it is unpicked.
    QHash<QString, std::pair<QString, QString>> typed;
  };
  // The settings as the dialog shows them; nothing when they cannot be carried out, after
  // telling the teacher why.
  std::optional<ViewpointSettings> Settings();
  void RebuildMarks(int v);
  void ResetGradeTable();
  int UsedViewpoints() const;
  void Remember() const;
  void Recall();

  std::function<frmDocument*()> m_activeSheet;
  QStringList m_itemNames;
  std::array<Row, kViewpointCount> m_rows{};
  QLineEdit* m_aFrom;
  QLineEdit* m_bFrom;
  QComboBox* m_gradeTarget;
  QTableWidget* m_gradeTable;
  QLabel* m_result;
};

// Shows the frame's one 観点別評価 dialog; nothing without an active sheet.
QDialog* OpenViewpointDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet);

}  // namespace kelt
