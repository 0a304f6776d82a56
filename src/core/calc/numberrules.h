#pragma once

#include <QString>
#include <optional>

namespace kelt {

// How cell texts are read as numbers and how results are written back. Independent of the
// machine's locale: "," always groups thousands and "." is always the decimal point.

// True when the whole text is one number: optional blanks (space, tab, line feed) around an
// optional sign, ASCII digits grouped by "," in threes, at most one ".", an optional exponent
// ("E" or "e", optional sign, digits), within double range. Empty or blank texts, full-width
// digits and "&H"/"&O" forms are not numeric.
bool IsNumericCell(const QString& text);

// The leading-number value of a numeric cell (what totals, averages, ranks and deviation scores
// add up: "1,200" gives 1), or nothing when the cell is not numeric. One pass over the text.
std::optional<double> NumericCellValue(const QString& text);

// The number read from the start of any text, spaces, tabs and line feeds anywhere ignored:
// sign, digits, one ".", an exponent after "E" or "D"; "&H" and "&O" read a hexadecimal or octal
// integer. Reading stops at the first character that fits none of this; 0 when nothing was read.
double LeadingNumberValue(const QString& text);

// The value of the whole text of a numeric cell ("1,200" gives 1200); 0 for any other text.
double WholeTextValue(const QString& text);

// Half-up rounding to `places` decimals (clamped to 0..15) of the decimal value the teacher sees:
// the value's shortest form at 15 significant digits is rounded, halves toward +infinity
// (2.675 → 2.68, −2.25 → −2.2 at 1, −3.5 → −3 at 0). Never returns −0.
double RoundHalfUp(double x, int places);

// Plain decimal text of a result: at most 15 significant digits, no trailing zeros or point, "-"
// and ".", no grouping (80, 72.5, -2.2); an exponent form ("1E+20", "1E-07") only for
// magnitudes of 1e15 and beyond or below 1e-4. Never "-0". Empty for infinities and NaN.
QString ResultText(double x);

// Neumaier's compensated sum: adds doubles with the error of each addition carried along, so
// 1000 additions of 72.3 give exactly 72300.
class CompensatedSum {
 public:
  void Add(double x);
  double Value() const { return m_sum + m_compensation; }

 private:
  double m_sum = 0.0;
  double m_compensation = 0.0;
};

}  // namespace kelt
