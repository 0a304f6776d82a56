#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QListWidget;

namespace kelt {

class frmDocument;

// 印刷: prints the class shown in the active sheet on one A4 page, with the score columns marked
// in the list; "全クラス印刷" prints all 20 classes in one job, "プレビュー" shows the pages,
// "個人票" prints a slip for every pupil of the class (of the year in the grade view), with or
// without ranks and 偏差値 as the two check boxes say. Printing changes nothing in the sheet.
class PrintDialog : public QDialog {
  Q_OBJECT

 public:
  PrintDialog(std::function<frmDocument*()> activeSheet, QWidget* parent);

  // "印刷": refused in the grade view; closes once printed, stays open when cancelled.
  void PrintClass();
  void PrintAllClasses();
  void Preview();
  void PrintSlips();

 private:
  QStringList ShownClassLines(const frmDocument* doc) const;
  QList<QStringList> AllClassPages() const;

  std::function<frmDocument*()> m_activeSheet;
  QListWidget* m_list;
  QCheckBox* m_ranks;
  QCheckBox* m_deviations;
};

// Shows the frame's one 印刷 dialog; nothing without an active sheet.
QDialog* OpenPrintDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet);

}  // namespace kelt
