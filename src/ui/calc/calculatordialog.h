#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace kelt {

class Calculator;
class frmDocument;

// 電卓: a keypad that adds, subtracts, multiplies or divides a score column by a number and
// writes the results into the cursor's column at every operation key. Opening takes the undo
// snapshot, so undo goes back to the sheet as it was before the calculator. The calculator's
// state belongs to the frame and outlives the window.
class CalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  CalculatorDialog(Calculator* state, std::function<frmDocument*()> activeSheet, QWidget* parent);

  void PressDigit(int digit);  // 10 is the point
  void PressOperation(int op);
  void PressClear();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool HandleKey(const QKeyEvent* event);
  void ShowDisplay();

  Calculator* m_state;
  std::function<frmDocument*()> m_activeSheet;
  QLabel* m_display;
  QComboBox* m_combo;
  QPushButton* m_equals = nullptr;
};

}  // namespace kelt
