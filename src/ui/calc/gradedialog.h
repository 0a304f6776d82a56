#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "core/calc/computations.h"

class QLineEdit;
class QListWidget;
class QRadioButton;

namespace kelt {

class frmDocument;

// 評定: five-step grades of one score column from five lower bounds, written as digits or
// letters into the cursor's column; "確認" shows how many pupils each grade gets, writing nothing.
// Modeless; each button works on the sheet active at that moment.
class GradeDialog : public QDialog {
  Q_OBJECT

 public:
  GradeDialog(std::function<frmDocument*()> activeSheet, QWidget* parent);

  // "評定": snapshot, grades, modified mark, close.
  void Accept();
  // "確認": the counts into the count boxes; the sheet is not touched.
  void ShowDistribution();

 private:
  CalcChoice Choice() const;

  std::function<frmDocument*()> m_activeSheet;
  QListWidget* m_list;
  QRadioButton* m_letters;
  std::array<QLineEdit*, 5> m_bounds{};  // grade 5 down to 1
  std::array<QLineEdit*, 5> m_counts{};
};

}  // namespace kelt
