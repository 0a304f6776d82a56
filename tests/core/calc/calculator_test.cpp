#include "core/calc/calculator.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/markcolumn.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

using test::Texts;

// Presses the keys of `keys` as the keypad would: digits, ".", "C" for CLR, and the operation
// keys "=", "+", "-", "X", "/". Returns false at a division by zero.
bool Press(Calculator& calc, TextGrid& view, const char* keys, int source = 2, int target = 3) {
  const QString ops = QStringLiteral("=+-X/");
  for (const char* k = keys; *k; ++k) {
    if (*k >= '0' && *k <= '9') {
      calc.Digit(*k - '0');
    } else if (*k == '.') {
      calc.Point();
    } else if (*k == 'C') {
      calc.Clear();
    } else if (calc.Operation(static_cast<int>(ops.indexOf(QLatin1Char(*k))), view, source,
                              target) == Calculator::Result::kDivisionByZero) {
      return false;
    }
  }
  return true;
}

TEST(Calculator, SequencesOnAColumn) {
  const struct {
    const char* keys;
    QStringList marks, target;
    const char* display;
  } cases[] = {
      {"X2=", Texts("80|60"), Texts("160|120"), " 2"},
      {"X", Texts("80|60"), Texts("80|60"), " 0"},
      {"==", Texts("80|60"), Texts("80|60"), " 0"},
      {"+0.1=", Texts("80"), Texts("80.1"), " 0.1"},
      {"X1.1=", Texts("80"), Texts("88"), " 1.1"},
      {"-5=", Texts("80||x|1,200"), Texts("75|old|old|1195"), " 5"},
      {"/4=", Texts("10"), Texts("2.5"), " 4"},
      {"+3X2=", Texts("10"), Texts("20"), " 3"},
      {"12", Texts("10"), Texts("old"), "12"},
      {"12C5", Texts("10"), Texts("old"), "5"},
      {"+.", Texts("10"), Texts("10"), "0."},
      {"1.5.", Texts("10"), Texts("old"), "1.5"},
      {"12..", Texts("10"), Texts("old"), "12.."},
      {"-12=", Texts("10"), Texts("-2"), " 12"},
      {"X12345678=", Texts("1"), Texts("12345678"), " 1.234568E+07"},
  };
  for (const auto& c : cases) {
    Calculator calc;
    TextGrid view = test::MarkColumn(c.marks);
    EXPECT_TRUE(Press(calc, view, c.keys)) << c.keys;
    EXPECT_EQ(test::PupilCells(view, 3), c.target) << c.keys;
    EXPECT_EQ(calc.Display(), QString::fromUtf8(c.display)) << c.keys;
    EXPECT_EQ(test::PupilCells(view, 2), c.marks) << c.keys << ": the source stays";
    EXPECT_EQ(test::OtherRowCells(view), test::kOtherRowsUntouched) << c.keys;
  }
}

// A pending division by zero writes nothing, stays pending and shows again on the next key;
// without a numeric pupil there is nothing to divide.
TEST(Calculator, DivisionByZeroStaysPending) {
  Calculator calc;
  TextGrid view = test::MarkColumn(Texts("80|60"));
  EXPECT_FALSE(Press(calc, view, "/0="));
  EXPECT_EQ(calc.PendingOp(), Calculator::kDivide);
  EXPECT_EQ(test::PupilCells(view, 3), QStringList(Texts("80|60"))) << "only the first key's copy";
  calc.Clear();
  EXPECT_FALSE(Press(calc, view, "+"));
  EXPECT_EQ(calc.PendingOp(), Calculator::kDivide);

  TextGrid noMarks = test::MarkColumn(Texts("|abc"));
  EXPECT_TRUE(Press(calc, noMarks, "="));
  EXPECT_EQ(test::PupilCells(noMarks, 3), QStringList(Texts("old|old")));
  EXPECT_EQ(calc.PendingOp(), Calculator::kEquals);

  // The source as its own target: each key starts from what the one before wrote.
  Calculator same;
  TextGrid column = test::MarkColumn(Texts("10"));
  Press(same, column, "+5+5=", 2, 2);
  EXPECT_EQ(test::PupilCells(column, 2), QStringList(Texts("20")));
  EXPECT_EQ(test::OtherRowCells(column), test::kOtherRowsUntouched);
}

}  // namespace
}  // namespace kelt
