#include "core/calc/statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>

#include "core/sheet/sheet.h"
#include "core/sheet/textgrid.h"

namespace kelt {
namespace {

TEST(Statistics, FiguresOfHandComputedCases) {
  const struct {
    const char* name;
    QList<double> marks;
    int other;
    MarkFigures want;
  } cases[] = {
      {"one mark", {70}, 0, {1, 0, 70, 0, 70, 70, 70, 70, 70}},
      {"ties", {50, 80, 50, 50}, 1, {4, 1, 57.5, 12.9903811, 50, 50, 50, 57.5, 80}},
      {"even count interpolates", {4, 1, 3, 2}, 0, {4, 0, 2.5, 1.1180340, 1, 1.75, 2.5, 3.25, 4}},
      {"negative and decimal",
       {7.5, -2.5, 0},
       0,
       {3, 0, 1.6666667, 4.2491829, -2.5, -1.25, 0, 3.75, 7.5}},
      {"no numeric mark", {}, 3, {0, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MarkFigures got = FiguresOf(c.marks, c.other);
    EXPECT_EQ(got.numeric, c.want.numeric);
    EXPECT_EQ(got.other, c.want.other);
    EXPECT_NEAR(got.mean, c.want.mean, 1e-6);
    EXPECT_NEAR(got.deviation, c.want.deviation, 1e-6);
    EXPECT_DOUBLE_EQ(got.minimum, c.want.minimum);
    EXPECT_DOUBLE_EQ(got.lowerQuartile, c.want.lowerQuartile);
    EXPECT_DOUBLE_EQ(got.median, c.want.median);
    EXPECT_DOUBLE_EQ(got.upperQuartile, c.want.upperQuartile);
    EXPECT_DOUBLE_EQ(got.maximum, c.want.maximum);
  }
}

// A class's pupils are its marks; its total and average rows, and the year's, are not.
TEST(Statistics, ItemReadsPupilRowsByTheCalculationsRules) {
  TextGrid storage(Sheet::kStorageRows, 4);
  storage.SetText(Sheet::StorageRow(0, 1), 2, QStringLiteral("80"));
  storage.SetText(Sheet::StorageRow(0, 2), 2, QStringLiteral("欠"));
  storage.SetText(Sheet::StorageRow(0, 50), 2, QStringLiteral(" 70 "));
  storage.SetText(Sheet::StorageRow(0, 51), 2, QStringLiteral("150"));
  storage.SetText(Sheet::StorageRow(0, 52), 2, QStringLiteral("75"));
  storage.SetText(Sheet::StorageRow(19, 1), 2, QStringLiteral("1,200"));
  storage.SetText(Sheet::kYearTotalStorageRow, 2, QStringLiteral("999"));
  storage.SetText(Sheet::StorageRow(5, 1), 3, QStringLiteral("10"));  // another item

  const ItemStatistics got = StatisticsOfItem(storage, 2);
  EXPECT_EQ(got.classes[0].numeric, 2);
  EXPECT_EQ(got.classes[0].other, 1);
  EXPECT_DOUBLE_EQ(got.classes[0].mean, 75);
  EXPECT_EQ(got.classes[19].numeric, 1);
  EXPECT_DOUBLE_EQ(got.classes[19].mean, 1) << "the leading number, as totals read it";
  EXPECT_EQ(got.classes[5].numeric, 0);
  EXPECT_EQ(got.year.numeric, 3);
  EXPECT_EQ(got.year.other, 1);
  EXPECT_DOUBLE_EQ(got.year.maximum, 80);
  EXPECT_EQ(got.yearMarks, (QList<double>{80, 70, 1}));
}

TEST(Statistics, HistogramBins) {
  const double huge = std::numeric_limits<double>::max();
  const struct {
    const char* name;
    QList<double> marks;
    double width;
    double first;
    double usedWidth;
    QList<int> counts;
  } cases[] = {
      {"100 joins the last bin", {0, 9.9, 10, 100}, 10, 0, 10, {2, 1, 0, 0, 0, 0, 0, 0, 0, 1}},
      {"below zero", {-5, 3}, 10, -10, 10, {1, 1}},
      {"one mark", {100}, 20, 100, 20, {1}},
      {"bins of 5", {62, 64, 65, 71}, 5, 60, 5, {2, 1, 1}},
      {"none", {}, 10, 0, 10, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Histogram got = HistogramOf(c.marks, c.width);
    EXPECT_DOUBLE_EQ(got.first, c.first);
    EXPECT_DOUBLE_EQ(got.width, c.usedWidth);
    EXPECT_EQ(got.counts, c.counts);
  }

  // Marks far apart widen the bins rather than make millions; every mark is still counted.
  const Histogram wide = HistogramOf({0, 1e6}, 5);
  EXPECT_LE(wide.counts.size(), 1000);
  EXPECT_EQ(wide.counts.first(), 1);
  EXPECT_EQ(wide.counts.last(), 1);
  const Histogram ends = HistogramOf({-huge, 0, huge}, 10);
  EXPECT_EQ(std::accumulate(ends.counts.begin(), ends.counts.end(), 0), 3);
}

}  // namespace
}  // namespace kelt
