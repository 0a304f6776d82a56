#pragma once

#include <QString>

#include "core/sheet/textgrid.h"

namespace kelt {

// The pocket calculator that applies + − × ÷ between a score column and a number. Each operation
// key applies the operation of the key before it, with the number typed in between, to every
// pupil; so "X", 2, "=" doubles the column. The state outlives the dialog that shows it.
class Calculator {
 public:
  // Operation codes, the keys' own numbers.
  enum Op { kEquals = 0, kAdd = 1, kSubtract = 2, kMultiply = 3, kDivide = 4 };
  enum class Result { kDone, kDivisionByZero };

  const QString& Display() const { return m_display; }
  int PendingOp() const { return m_pendingOp; }
  double Operand() const { return m_operand; }
  float FirstOperand() const { return m_firstOperand; }
  bool StartNewNumber() const { return m_startNewNumber; }

  void Digit(int digit);
  void Point();
  // Clears the display and the first operand; the pending operation and its operand stay.
  void Clear();
  // Operation key `op`: takes the display as the operand, applies the pending operation from
  // the source column to the target column of every numeric pupil, and makes `op` pending.
  // A pending division by zero writes nothing and leaves the operation pending.
  Result Operation(int op, TextGrid& view, int sourceCol, int targetCol);

 private:
  QString m_display = QStringLiteral("0");
  int m_pendingOp = kEquals;
  // The operand as typed: 0.1 stays 0.1, so 80 + 0.1 writes 80.1.
  double m_operand = 0.0;
  // Shown after each operation key, in the display's seven-digit form.
  float m_firstOperand = 0.0f;
  bool m_startNewNumber = false;
};

// The display's form of a number: a blank before a value that is not negative, at most seven
// significant digits (" 12", "-0.5", " 1.234568E+07").
QString CalculatorDisplayText(float value);

}  // namespace kelt
