#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace kelt {

class Calculator;
class frmDocument;

// The six column-selection dialogs: 合計, 平均, 縦合計平均, 順位, 偏差値, 四捨五入.
enum class CalcDialog { Total, Average, VerticalTotalAverage, Rank, DeviationScore, Rounding };

// Shows the calculation dialog as a child of `frame`: the open instance is brought to the front,
// otherwise a new one is filled from the active sheet. Nothing happens without an active sheet.
QDialog* OpenColumnDialog(CalcDialog which, QWidget* frame,
                          const std::function<frmDocument*()>& activeSheet);
// 評定, 列項目 and 電卓 (which keeps its state in `state`), opened the same way.
QDialog* OpenGradeDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet);
QDialog* OpenItemNamesDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet);
QDialog* OpenCalculator(Calculator* state, QWidget* frame,
                        const std::function<frmDocument*()>& activeSheet);

}  // namespace kelt
