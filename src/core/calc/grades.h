#pragma once

#include <QString>
#include <array>
#include <optional>

#include "core/calc/computations.h"

namespace kelt {

// Five-step grades. Everything here runs in the fixed order of the grades 5, 4, 3, 2, 1: index i
// stands for grade 5 − i (its lower bound, its letter, its count).
using GradeBounds = std::array<double, 5>;
using GradeCounts = std::array<int, 5>;

// The bounds as typed into their boxes: each box's leading number ("1,200" reads as 1, an empty
// or non-numeric box as 0).
GradeBounds BoundsFromTexts(const std::array<QString, 5>& texts);

// The first grade, testing 5 down to 1, whose bound the value reaches; nothing below grade 1's
// bound. The bounds need not descend.
std::optional<int> GradeOf(double value, const GradeBounds& bounds);

// "5" to "1", or "A" to "E" with `letters`.
QString GradeText(int grade, bool letters);

// Writes the grade of each pupil whose source cell (the first item) is numeric, compared by its
// whole text, into the target column. Pupils without a numeric cell or a grade keep the target
// text. Returns the cells written.
int WriteGrades(TextGrid& view, const CalcChoice& choice, const GradeBounds& bounds, bool letters);

// How many pupils of the source column fall into each grade, by the same rules; all zero without
// a source column.
GradeCounts CountGrades(const TextGrid& view, const CalcChoice& choice, const GradeBounds& bounds);

}  // namespace kelt
