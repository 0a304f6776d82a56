#pragma once

#include <QList>
#include <array>

namespace kelt {

class TextGrid;

// The figures of one group of marks (the year or a class). The mean and the rest are set only
// when there is at least one numeric mark.
struct MarkFigures {
  int numeric = 0;  // numeric cells
  int other = 0;    // non-empty cells that are not numeric ("欠", "-")
  double mean = 0.0;
  double deviation = 0.0;  // population standard deviation
  double minimum = 0.0;
  double lowerQuartile = 0.0;
  double median = 0.0;
  double upperQuartile = 0.0;
  double maximum = 0.0;
};

// Figures of `marks` (any order), with `other` non-numeric cells beside them. Quartiles and the
// median interpolate linearly between the sorted marks at positions p·(n−1), as spreadsheets'
// QUARTILE.INC does.
MarkFigures FiguresOf(QList<double> marks, int other);

struct ItemStatistics {
  MarkFigures year;
  std::array<MarkFigures, 20> classes;
  QList<double> yearMarks;  // every numeric mark of the year, in storage order
};

// The marks of column `col` of a storage grid: the 50 pupil rows of each of the 20 classes, read
// by the calculations' number rules (a cell is a mark when it is numeric as a whole; its value is
// the leading number). Totals and averages rows are not marks.
ItemStatistics StatisticsOfItem(const TextGrid& storage, int col);

// Counts of `marks` in bins of `width` (> 0): bin i holds [first + i·width, first + (i+1)·width),
// where first is the largest multiple of width not above the smallest mark; the last bin also
// holds its upper edge, so 100 falls in 90–100 with width 10. Empty when there are no marks.
struct Histogram {
  double first = 0.0;
  double width = 10.0;
  QList<int> counts;
};
Histogram HistogramOf(const QList<double>& marks, double width);

}  // namespace kelt
