#include "core/print/pupilslip.h"

#include <gtest/gtest.h>

#include <numeric>

#include "core/print/classpage.h"
#include "core/sheet/sheet.h"
#include "support/qtprint.h"

namespace kelt {

void PrintTo(const SlipLine& l, std::ostream* os) {
  *os << '[' << l.item.toStdString() << ' ' << l.mark.toStdString() << ' '
      << l.classAverage.toStdString() << ' ' << l.yearAverage.toStdString() << ' '
      << l.rank.toStdString() << ' ' << l.deviation.toStdString() << ']';
}

namespace {

// Two classes, worked by hand below: 国語 80 60 80 | 100, 数学 60 欠 90 40 | 60.
TextGrid Year() {
  TextGrid storage = Sheet::EmptyStorage();
  storage.SetText(0, 2, QStringLiteral("国語"));
  storage.SetText(0, 3, QStringLiteral("数学"));
  storage.SetText(0, 4, QStringLiteral("英語"));
  const struct {
    int classIndex, row;
    const char* name;
    const char* japanese;
    const char* maths;
  } pupils[] = {
      {0, 1, "佐藤", "80", "60"}, {0, 2, "鈴木", "60", "欠"},  {0, 3, "田中", "80", "90"},
      {0, 5, "", "", "40"},       {1, 1, "山本", "100", "60"},
  };
  for (const auto& p : pupils) {
    const int r = Sheet::StorageRow(p.classIndex, p.row);
    storage.SetText(r, 1, QString::fromUtf8(p.name));
    storage.SetText(r, 2, QString::fromUtf8(p.japanese));
    storage.SetText(r, 3, QString::fromUtf8(p.maths));
  }
  // A stale average of the sheet's own, which the slips never show.
  storage.SetText(Sheet::kYearAverageStorageRow, 4, QStringLiteral("99"));
  return storage;
}

SlipLine Line(const char* item, const char* mark, const char* classAverage, const char* yearAverage,
              const char* rank, const char* deviation) {
  return {QString::fromUtf8(item),        QString::fromUtf8(mark), QString::fromUtf8(classAverage),
          QString::fromUtf8(yearAverage), QString::fromUtf8(rank), QString::fromUtf8(deviation)};
}

TEST(PupilSlips, FiguresAsTheSheetsCalculationsGiveThem) {
  const QList<PupilSlip> slips = PupilSlips(Year(), {0, 1}, {1, 0});
  // 1-A's pupils 1, 2, 3 and the nameless 5 who has a mark; 4 and the empty rows get none.
  ASSERT_EQ(slips.size(), 5);
  QList<int> rows;
  for (const PupilSlip& s : slips) rows << s.classIndex * 100 + s.row;
  EXPECT_EQ(rows, QList<int>({1, 2, 3, 5, 101}));

  const struct {
    int slip;
    QList<SlipLine> lines;
  } cases[] = {
      {0,
       {Line("国語", "80", "73.3", "80.0", "2 / 4", "50.0"),
        Line("数学", "60", "63.3", "62.5", "2 / 4", "48.6"),
        Line("合計", "140", "155.0", "156.7", "3 / 3", "36.6")}},
      // 欠 takes no rank or 偏差値, and leaves no 合計.
      {1,
       {Line("国語", "60", "73.3", "80.0", "4 / 4", "35.9"),
        Line("数学", "欠", "63.3", "62.5", "", ""), Line("合計", "—", "155.0", "156.7", "", "")}},
      {3,
       {Line("国語", "", "73.3", "80.0", "", ""),
        Line("数学", "40", "63.3", "62.5", "4 / 4", "37.4"),
        Line("合計", "—", "155.0", "156.7", "", "")}},
      {4,
       {Line("国語", "100", "100.0", "80.0", "1 / 4", "64.1"),
        Line("数学", "60", "60.0", "62.5", "2 / 4", "48.6"),
        Line("合計", "160", "160.0", "156.7", "2 / 3", "52.7")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slip);
    EXPECT_EQ(slips[c.slip].lines, c.lines);
  }
  EXPECT_EQ(slips[4].name, QStringLiteral("山本"));
  EXPECT_EQ(slips[4].classIndex, 1);
}

// An item nobody has a number in: nothing to average or rank, and no pupil has a 合計; one pupil
// alone with a number is first of one, at 50.
TEST(PupilSlips, EmptyItemsAndASinglePupil) {
  TextGrid year = Year();
  const QList<PupilSlip> slips = PupilSlips(year, {0}, {0, 2});
  ASSERT_EQ(slips.size(), 3) << "the nameless pupil has no text in these items";
  EXPECT_EQ(slips[0].lines.value(1), Line("英語", "", "", "", "", ""));
  EXPECT_EQ(slips[0].lines.value(2), Line("合計", "—", "", "", "", ""));

  TextGrid alone = Sheet::EmptyStorage();
  alone.SetText(0, 2, QStringLiteral("国語"));
  alone.SetText(Sheet::StorageRow(7, 30), 1, QStringLiteral("ﾔﾏﾀﾞ"));
  alone.SetText(Sheet::StorageRow(7, 30), 2, QStringLiteral("55"));
  const QList<PupilSlip> one = PupilSlips(alone, {7}, {0});
  ASSERT_EQ(one.size(), 1);
  EXPECT_EQ(one[0].row, 30);
  EXPECT_EQ(one[0].lines.value(0), Line("国語", "55", "55.0", "55.0", "1 / 1", "50.0"));
}

// Every line of a slip's table is as wide as its heading; a mark too wide for its field shows as
// "#" marks, never cut; without ranks or 偏差値 those columns go.
TEST(PupilSlips, TableLinesKeepTheirColumns) {
  TextGrid year = Year();
  year.SetText(Sheet::StorageRow(0, 1), 2, QStringLiteral("123456789"));
  year.SetText(0, 3, QStringLiteral("とても長い項目の名前がここに入ります"));
  const PupilSlip slip = PupilSlips(year, {0}, {0, 1}).first();
  const auto width = [](const QString& line) {
    const QList<int> columns = PrintColumns(line);
    return std::accumulate(columns.cbegin(), columns.cend(), 0);
  };
  for (const bool ranks : {true, false}) {
    for (const bool deviations : {true, false}) {
      const QStringList lines = SlipTableLines(slip, ranks, deviations);
      ASSERT_EQ(lines.size(), 4);
      for (const QString& line : lines)
        EXPECT_EQ(width(line), width(lines[0])) << line.toStdString();
      EXPECT_EQ(lines[0].contains(QStringLiteral("学年順位")), ranks);
      EXPECT_EQ(lines[0].contains(QStringLiteral("偏差値")), deviations);
    }
  }
  const QStringList lines = SlipTableLines(slip, true, true);
  EXPECT_TRUE(lines[1].contains(QStringLiteral("######"))) << lines[1].toStdString();
  EXPECT_FALSE(lines[1].contains(QStringLiteral("3456789"))) << lines[1].toStdString();
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("とても長い項目の名前")))
      << lines[2].toStdString();
}

}  // namespace
}  // namespace kelt
