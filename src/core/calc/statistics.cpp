#include "core/calc/statistics.h"

#include <algorithm>
#include <cmath>

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"
#include "core/sheet/textgrid.h"

namespace kelt {

namespace {

// The value at position p·(n−1) of sorted marks, between its two neighbours.
double Quantile(const QList<double>& sorted, double p) {
  const double position = p * double(sorted.size() - 1);
  const auto below = static_cast<qsizetype>(std::floor(position));
  const qsizetype above = std::min(below + 1, sorted.size() - 1);
  const double fraction = position - double(below);
  return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

}  // namespace

MarkFigures FiguresOf(QList<double> marks, int other) {
  MarkFigures figures;
  figures.other = other;
  figures.numeric = int(marks.size());
  if (marks.isEmpty()) return figures;
  std::sort(marks.begin(), marks.end());

  CompensatedSum sum;
  for (double mark : marks) sum.Add(mark);
  figures.mean = sum.Value() / double(marks.size());
  // Squares of the distances from the mean: no cancellation, unlike Σx² − n·mean².
  CompensatedSum squares;
  for (double mark : marks) squares.Add((mark - figures.mean) * (mark - figures.mean));
  figures.deviation = std::sqrt(squares.Value() / double(marks.size()));

  figures.minimum = marks.first();
  figures.lowerQuartile = Quantile(marks, 0.25);
  figures.median = Quantile(marks, 0.5);
  figures.upperQuartile = Quantile(marks, 0.75);
  figures.maximum = marks.last();
  return figures;
}

ItemStatistics StatisticsOfItem(const TextGrid& storage, int col) {
  static_assert(std::tuple_size_v<decltype(ItemStatistics::classes)> == Sheet::kClassCount);
  ItemStatistics result;
  int yearOther = 0;
  for (int n = 0; n < Sheet::kClassCount; ++n) {
    QList<double> marks;
    int other = 0;
    for (int row = 1; row <= Sheet::kPupilsPerClass; ++row) {
      const QString& text = storage.Text(Sheet::StorageRow(n, row), col);
      if (text.isEmpty()) continue;
      if (const std::optional<double> mark = NumericCellValue(text)) {
        marks.append(*mark);
      } else {
        ++other;
      }
    }
    result.classes[n] = FiguresOf(marks, other);
    result.yearMarks.append(marks);
    yearOther += other;
  }
  result.year = FiguresOf(result.yearMarks, yearOther);
  return result;
}

Histogram HistogramOf(const QList<double>& marks, double width) {
  Histogram histogram;
  histogram.width = width;
  if (marks.isEmpty() || !(width > 0)) return histogram;
  const auto [low, high] = std::minmax_element(marks.begin(), marks.end());
  // Marks far apart would ask for millions of bins: the width grows by whole steps instead.
  constexpr double kMostBins = 1000;
  histogram.first = std::floor(*low / width) * width;
  double span = (*high - histogram.first) / width;
  if (span > kMostBins) {
    histogram.width = width * std::ceil(span / kMostBins);
    histogram.first = std::floor(*low / histogram.width) * histogram.width;
    span = (*high - histogram.first) / histogram.width;
  }
  if (!std::isfinite(span) || !std::isfinite(histogram.first)) {
    // Only near the ends of the number range: one bin holds them all.
    histogram.first = *low;
    histogram.width = *high - *low;
    span = 1;
  }
  const int bins = int(std::clamp(std::ceil(span), 1.0, kMostBins));
  histogram.counts.fill(0, bins);
  for (double mark : marks) {
    const double at = std::floor((mark - histogram.first) / histogram.width);
    // The upper edge of the last bin, and any NaN from the ends of the range, stay in range.
    const int bin = at > 0 ? int(std::min(at, double(bins - 1))) : 0;
    histogram.counts[bin] += 1;
  }
  return histogram;
}

}  // namespace kelt
