#pragma once

#include <QList>

#include "core/sheet/textgrid.h"

namespace kelt {

// What a calculation dialog gathered when its button was pressed.
struct CalcChoice {
  // Marked list items; item k stands for column Sheet::ItemColumn(k). The one-item computations
  // (rank, deviation score) use the first. Items without a column in the sheet are ignored, and
  // score columns without an item count as unmarked.
  QList<int> items;
  // Decimal places of the rounding choice: 0 "整数", 1 "小数第１位", 2 "小数第2位".
  int places = 0;
  // The grid's current column: it receives the per-pupil results and is the column rounded.
  int targetColumn = 2;
};

// Whether a one-item computation has an item to work on; without one it writes nothing, and the
// dialog decides what to tell the teacher.
inline bool HasSelectedItem(const CalcChoice& choice) { return !choice.items.isEmpty(); }

// Every computation works on a view grid (grade or class view): pupil rows 1 to Rows−3, the
// total row Rows−2, the average row Rows−1, score columns 2 to Cols−1. Each returns the number of
// cells it wrote or cleared; cells it does not write keep their text.
using Computation = int (*)(TextGrid& view, const CalcChoice& choice);

// Each pupil's total over the marked columns into the target column; pupils without a numeric
// marked cell keep the target text.
int HorizontalTotal(TextGrid& view, const CalcChoice& choice);
// Each pupil's average over the numeric marked cells, rounded half-up to `places`.
int HorizontalAverage(TextGrid& view, const CalcChoice& choice);
// Each marked column's total and rounded average over its numeric pupil cells into its total and
// average rows; a column without a numeric pupil cell keeps both texts.
int VerticalTotalAverage(TextGrid& view, const CalcChoice& choice);
// Competition ranks (1, 2, 2, 4) by the source column, highest first; a non-numeric source cell
// competes as 0 and gets an empty rank cell.
int Rank(TextGrid& view, const CalcChoice& choice);
// Standard scores (mean 50, standard deviation 10, population form) of the numeric source cells,
// rounded half-up to `places`; all counted pupils get 50 when the marks do not spread.
int DeviationScore(TextGrid& view, const CalcChoice& choice);
// Rounds every numeric pupil cell of the target column in place, reading its whole text.
int RoundColumn(TextGrid& view, const CalcChoice& choice);

}  // namespace kelt
