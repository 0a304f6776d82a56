#include "core/calc/computations.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/calc/numberrules.h"
#include "support/markcolumn.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

const QString kOld = QStringLiteral("old");

// A view with the given pupil rows (plus header, total and average rows), every cell "old" but
// the labels of the total and average rows in column 0.
TextGrid View(int pupils, int cols) {
  TextGrid view(pupils + 3, cols);
  for (int r = 0; r < view.Rows(); ++r)
    for (int c = 0; c < cols; ++c) view.SetText(r, c, kOld);
  view.SetText(pupils + 1, 0, test::kTotalLabel);
  view.SetText(pupils + 2, 0, test::kAverageLabel);
  return view;
}

// Cell texts written "a|b|c"; an empty text between bars is an empty cell.
QStringList Cells(const char16_t* joined) { return QString::fromUtf16(joined).split(u'|'); }

void SetPupils(TextGrid& view, int col, const QStringList& texts) {
  for (int i = 0; i < texts.size(); ++i) view.SetText(i + 1, col, texts[i]);
}

QStringList Pupils(const TextGrid& view, int col) { return test::PupilCells(view, col); }

// One pupil per row, marks in columns 2 to 4, results in column 5.
struct RowCase {
  QStringList marks;
  QString total;
  QStringList averages;  // at 0, 1 and 2 places
};

const RowCase kRows[] = {
    {Cells(u"80|75|"), u"155"_qs, Cells(u"78|77.5|77.5")},
    {Cells(u"85.5|90.25|"), u"175.75"_qs, Cells(u"88|87.9|87.88")},
    {Cells(u"10.123456|20.123456|"), u"30.246912"_qs, Cells(u"15|15.1|15.12")},
    {Cells(u"70|71|71"), u"212"_qs, Cells(u"71|70.7|70.67")},
    {Cells(u"2.675|2.675|2.675"), u"8.025"_qs, Cells(u"3|2.7|2.68")},
    {Cells(u"-2.5|-2|"), u"-4.5"_qs, Cells(u"-2|-2.2|-2.25")},
    {Cells(u"-3|-4|名前"), u"-7"_qs, Cells(u"-3|-3.5|-3.5")},
    {Cells(u"1,200| 85 |８５"), u"86"_qs, Cells(u"43|43|43")},
    {Cells(u"|85点|&H10"), kOld, Cells(u"old|old|old")},
};

TextGrid RowCaseView() {
  TextGrid view = View(std::size(kRows), 6);
  for (int i = 0; i < static_cast<int>(std::size(kRows)); ++i)
    for (int c = 0; c < 3; ++c) view.SetText(i + 1, c + 2, kRows[i].marks[c]);
  return view;
}

TEST(Computations, HorizontalTotalAndAverage) {
  const CalcChoice base{{0, 1, 2}, 0, 5};
  TextGrid view = RowCaseView();
  EXPECT_EQ(HorizontalTotal(view, base), static_cast<int>(std::size(kRows)) - 1);
  for (int p = 0; p <= 2; ++p) {
    TextGrid averaged = RowCaseView();
    CalcChoice choice = base;
    choice.places = p;
    HorizontalAverage(averaged, choice);
    for (int i = 0; i < static_cast<int>(std::size(kRows)); ++i) {
      EXPECT_EQ(view.Text(i + 1, 5), kRows[i].total) << "row " << i;
      EXPECT_EQ(averaged.Text(i + 1, 5), kRows[i].averages[p]) << "row " << i << " at " << p;
    }
    for (const TextGrid* g : {&view, &averaged}) {
      EXPECT_EQ(g->Text(0, 5), kOld);
      EXPECT_EQ(g->Text(std::size(kRows) + 1, 5), kOld);
      EXPECT_EQ(g->Text(std::size(kRows) + 2, 5), kOld);
    }
  }
}

TEST(Computations, HorizontalItemsSelectColumns) {
  TextGrid view = View(2, 5);
  SetPupils(view, 2, Cells(u"10|1"));
  SetPupils(view, 3, Cells(u"20|"));
  SetPupils(view, 4, Cells(u"40|4"));

  // A marked target column counts with its old value, then takes the total.
  TextGrid marked = view;
  EXPECT_EQ(HorizontalTotal(marked, {{0, 1}, 0, 2}), 2);
  EXPECT_EQ(Pupils(marked, 2), Cells(u"30|1"));

  // Items beyond the last column are ignored; column 4 has no item and is not read.
  TextGrid beyond = view;
  EXPECT_EQ(HorizontalAverage(beyond, {{1, 0, 7, -1}, 1, 1}), 2);
  EXPECT_EQ(Pupils(beyond, 1), Cells(u"15|1"));

  TextGrid none = view;
  EXPECT_EQ(HorizontalTotal(none, {{}, 0, 1}), 0);
  EXPECT_EQ(HorizontalAverage(none, {{5}, 0, 1}), 0);
  EXPECT_EQ(none, view);
}

TEST(Computations, VerticalTotalAndAverage) {
  const QStringList expected[] = {Cells(u"235|78"), Cells(u"235|78.3"), Cells(u"235|78.33")};
  for (int p = 0; p <= 2; ++p) {
    TextGrid view = View(5, 6);
    SetPupils(view, 2, Cells(u"80|65||90|x"));
    view.SetText(6, 2, u"999"_qs);  // a total row is never input
    SetPupils(view, 3, Cells(u"|abc|||"));
    SetPupils(view, 4, Cells(u"1|2|3|4|5"));
    const TextGrid before = view;
    EXPECT_EQ(VerticalTotalAverage(view, {{0, 1}, p, 4}), 2);
    EXPECT_EQ(view.Text(6, 2), expected[p][0]) << p;
    EXPECT_EQ(view.Text(7, 2), expected[p][1]) << p;
    view.SetText(6, 2, before.Text(6, 2));
    view.SetText(7, 2, before.Text(7, 2));
    EXPECT_EQ(view, before) << "only the marked, numeric column's two cells change";
  }
}

// A year of one-decimal marks: the totals keep every digit.
TEST(Computations, YearTotalsAreExact) {
  TextGrid view = View(1000, 4);
  for (int r = 1; r <= 1000; ++r) view.SetText(r, 2, u"72.3"_qs);
  std::mt19937 random(20240405);
  std::int64_t tenths = 0;
  for (int r = 1; r <= 1000; ++r) {
    const int mark = static_cast<int>(random() % 1001);
    tenths += mark;
    view.SetText(r, 3, QStringLiteral("%1.%2").arg(mark / 10).arg(mark % 10));
  }
  VerticalTotalAverage(view, {{0, 1}, 2, 2});
  EXPECT_EQ(view.Text(1001, 2), u"72300"_qs);
  EXPECT_EQ(view.Text(1002, 2), u"72.3"_qs);
  const QString exact = tenths % 10 ? QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10)
                                    : QString::number(tenths / 10);
  EXPECT_EQ(view.Text(1001, 3), exact);

  TextGrid across = View(1, 1003);
  for (int c = 2; c < 1002; ++c) across.SetText(1, c, u"72.3"_qs);
  QList<int> items;
  for (int k = 0; k < 1000; ++k) items << k;
  HorizontalTotal(across, {items, 0, 1002});
  EXPECT_EQ(across.Text(1, 1002), u"72300"_qs);
}

struct RankCase {
  QStringList marks;
  QStringList ranks;
};

const RankCase kRanks[] = {
    {Cells(u"90|85|85|70|"), Cells(u"1|2|2|4|")}, {Cells(u"10||-5"), Cells(u"1||3")},
    {Cells(u"7|7|7"), Cells(u"1|1|1")},           {Cells(u"|42|名前"), Cells(u"|1|")},
    {Cells(u"1,200|2|1.5"), Cells(u"3|1|2")},     {Cells(u"-1|-2|abc"), Cells(u"2|3|")},
};

TEST(Computations, RankSharesPlacesAndClearsNonNumeric) {
  for (const RankCase& c : kRanks) {
    SCOPED_TRACE(c.marks.join(u'|').toStdString());
    const int totalRow = static_cast<int>(c.marks.size()) + 1;
    TextGrid view = View(c.marks.size(), 5);
    SetPupils(view, 3, c.marks);
    view.SetText(totalRow, 3, u"99"_qs);  // a total is no pupil's mark
    EXPECT_EQ(Rank(view, {{1}, 2, 4}), c.marks.size());
    EXPECT_EQ(Pupils(view, 4), c.ranks);
    EXPECT_EQ(view.Text(totalRow, 4), kOld);

    SetPupils(view, 4, c.marks);  // into itself: the marks become their ranks
    EXPECT_EQ(Rank(view, {{2}, 0, 4}), c.marks.size());
    EXPECT_EQ(Pupils(view, 4), c.ranks);
  }
  TextGrid view = View(2, 4);
  const TextGrid before = view;
  EXPECT_FALSE(HasSelectedItem({{}, 0, 3}));
  EXPECT_EQ(Rank(view, {{}, 0, 3}), 0);
  EXPECT_EQ(Rank(view, {{2}, 0, 3}), 0) << "item beyond the last column";
  EXPECT_EQ(view, before);
}

struct DeviationCase {
  QStringList marks;
  int places;
  QStringList scores;
};

const QStringList kTenEqual(10, u"72.3"_qs);
const QStringList kFifties(10, u"50"_qs);
// Their compensated mean still misses 85.7 in the last binary digit.
const QStringList kThirteenEqual(13, u"85.7"_qs);
const QStringList kThirteenFifties(13, u"50"_qs);

const DeviationCase kDeviations[] = {
    {Cells(u"60|70|80"), 0, Cells(u"38|50|62")},
    {Cells(u"60|70|80"), 1, Cells(u"37.8|50|62.2")},
    {Cells(u"60|70|80"), 2, Cells(u"37.75|50|62.25")},
    {Cells(u"55|70|85|90"), 0, Cells(u"35|46|57|61")},
    {Cells(u"55|70|85|90"), 2, Cells(u"35.39|46.35|57.3|60.95")},
    {Cells(u"60||70|abc|80"), 0, Cells(u"38|old|50|old|62")},
    {Cells(u"80|80|80"), 2, Cells(u"50|50|50")},
    {Cells(u"|72"), 1, Cells(u"old|50")},
    {kTenEqual, 2, kFifties},
    {kThirteenEqual, 2, kThirteenFifties},
    {Cells(u"-2|0"), 0, Cells(u"40|60")},  // mean exactly -1
    {{u"-1"_qs}, 0, {u"50"_qs}},
    {Cells(u"|x"), 0, Cells(u"old|old")},  // nothing counted, nothing written
};

TEST(Computations, DeviationScores) {
  for (const DeviationCase& c : kDeviations) {
    SCOPED_TRACE(c.marks.join(u'|').toStdString() + " at " + std::to_string(c.places));
    TextGrid view = View(c.marks.size(), 6);
    SetPupils(view, 2, c.marks);
    DeviationScore(view, {{0}, c.places, 5});
    EXPECT_EQ(Pupils(view, 5), c.scores);

    SetPupils(view, 5, c.marks);  // into itself: statistics come before any write
    DeviationScore(view, {{3}, c.places, 5});
    QStringList expected = c.scores;
    for (int i = 0; i < expected.size(); ++i)
      if (expected[i] == kOld) expected[i] = c.marks[i];
    EXPECT_EQ(Pupils(view, 5), expected);
  }
}

struct RoundingCase {
  QString text;
  QStringList rounded;  // at 0, 1 and 2 places
};

const RoundingCase kRoundings[] = {
    {u"72.45"_qs, Cells(u"72|72.5|72.45")},
    {u"72.456"_qs, Cells(u"72|72.5|72.46")},
    {u"-3.5"_qs, Cells(u"-3|-3.5|-3.5")},
    {u"85"_qs, Cells(u"85|85|85")},
    {u"1,200"_qs, Cells(u"1200|1200|1200")},
    {u" 2.675 "_qs, Cells(u"3|2.7|2.68")},
    {u""_qs, Cells(u"||")},
    {u"山田"_qs, Cells(u"山田|山田|山田")},
    {u"85点"_qs, Cells(u"85点|85点|85点")},
};

TEST(Computations, RoundingInPlace) {
  QStringList texts;
  for (const RoundingCase& c : kRoundings) texts << c.text;
  for (int p = 0; p <= 2; ++p) {
    TextGrid view = View(texts.size(), 4);
    SetPupils(view, 3, texts);
    view.SetText(0, 3, u"72.45"_qs);
    const int totalRow = static_cast<int>(texts.size()) + 1;
    view.SetText(totalRow, 3, u"1.55"_qs);
    EXPECT_EQ(RoundColumn(view, {{}, p, 3}), texts.size() - 3);
    QStringList expected;
    for (const RoundingCase& c : kRoundings) expected << c.rounded[p];
    EXPECT_EQ(Pupils(view, 3), expected) << p;
    EXPECT_EQ(view.Text(0, 3), u"72.45"_qs);
    EXPECT_EQ(view.Text(totalRow, 3), u"1.55"_qs);
  }
}

// Ranks and deviation scores of a year of random marks against a direct computation.
TEST(Computations, YearRanksAndScoresMatchDirectFormulas) {
  constexpr int kPupils = 1000;
  TextGrid view = View(kPupils, 5);
  std::mt19937 random(7);
  std::vector<double> marks(kPupils + 1, 0.0);
  std::vector<bool> counted(kPupils + 1, false);
  for (int r = 1; r <= kPupils; ++r) {
    const unsigned draw = random();
    if (draw % 20 == 0) {
      view.SetText(r, 2, QString());
      continue;
    }
    marks[r] = static_cast<int>(draw % 1001) / 10.0;  // many ties
    counted[r] = true;
    view.SetText(r, 2, QString::number(marks[r]));
  }
  Rank(view, {{0}, 0, 3});
  DeviationScore(view, {{0}, 2, 4});

  double sum = 0.0;
  int n = 0;
  for (int r = 1; r <= kPupils; ++r)
    if (counted[r]) sum += marks[r], ++n;
  const double mean = sum / n;
  double squares = 0.0;
  for (int r = 1; r <= kPupils; ++r)
    if (counted[r]) squares += (marks[r] - mean) * (marks[r] - mean);
  const double sd = std::sqrt(squares / n);

  for (int r = 1; r <= kPupils; ++r) {
    if (!counted[r]) {
      EXPECT_EQ(view.Text(r, 3), QString()) << r;
      EXPECT_EQ(view.Text(r, 4), kOld) << r;
      continue;
    }
    int rank = 1;
    for (int other = 1; other <= kPupils; ++other) rank += marks[other] > marks[r] ? 1 : 0;
    EXPECT_EQ(view.Text(r, 3), QString::number(rank)) << r;
    const double direct = 50.0 + 10.0 * (marks[r] - mean) / sd;
    EXPECT_NEAR(view.Text(r, 4).toDouble(), direct, 0.005 + 1e-9) << r;
  }
}

}  // namespace
}  // namespace kelt
