#include "core/calc/calculator.h"

#include <cmath>

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"

namespace kelt {

QString CalculatorDisplayText(float value) {
  const QString digits = QString::number(static_cast<double>(value), 'G', 7);
  return value < 0 ? digits : QLatin1Char(' ') + digits;
}

void Calculator::Digit(int digit) {
  const QString text = QString::number(digit);
  if (m_startNewNumber) {
    m_display = text;
    m_startNewNumber = false;
  } else if (m_display == QLatin1String("0")) {
    m_display = text;
  } else {
    m_display += text;
  }
}

void Calculator::Point() {
  if (m_startNewNumber) {
    m_display = QStringLiteral("0.");
    m_startNewNumber = false;
    return;
  }
  const double value = LeadingNumberValue(m_display);
  if (value == std::trunc(value)) m_display += QLatin1Char('.');
}

void Calculator::Clear() {
  m_startNewNumber = false;
  m_firstOperand = 0.0f;
  m_display = QStringLiteral("0");
}

Calculator::Result Calculator::Operation(int op, TextGrid& view, int sourceCol, int targetCol) {
  m_operand = LeadingNumberValue(m_display);
  if (m_firstOperand == 0.0f) m_firstOperand = static_cast<float>(m_operand);

  const bool columnsExist =
      sourceCol >= 0 && sourceCol < view.Cols() && targetCol >= 0 && targetCol < view.Cols();
  for (int row = Sheet::kFirstPupilRow; columnsExist && row <= Sheet::LastPupilRow(view); ++row) {
    const QString& text = view.Text(row, sourceCol);
    if (!IsNumericCell(text)) continue;
    if (m_pendingOp == kDivide && m_operand == 0.0) return Result::kDivisionByZero;
    if (m_pendingOp == kEquals) {
      if (sourceCol != targetCol) view.SetText(row, targetCol, QString(text));
      continue;
    }
    const double v = WholeTextValue(text);
    double result = v;
    switch (m_pendingOp) {
      case kAdd:
        result = v + m_operand;
        break;
      case kSubtract:
        result = v - m_operand;
        break;
      case kMultiply:
        result = v * m_operand;
        break;
      case kDivide:
        result = v / m_operand;
        break;
      default:
        break;
    }
    // A result beyond any number leaves the cell as it was.
    if (std::isfinite(result)) view.SetText(row, targetCol, ResultText(result));
  }
  m_pendingOp = (op >= kEquals && op <= kDivide) ? op : kEquals;
  m_display = CalculatorDisplayText(m_firstOperand);
  m_startNewNumber = true;
  return Result::kDone;
}

}  // namespace kelt
