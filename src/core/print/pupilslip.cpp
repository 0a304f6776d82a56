#include "core/print/pupilslip.h"

#include <algorithm>

#include "core/calc/computations.h"
#include "core/calc/numberrules.h"
#include "core/print/classpage.h"
#include "core/sheet/sheet.h"

namespace kelt {

namespace {

const QString kTotal = QStringLiteral("合計");
const QString kNoTotal = QStringLiteral("—");

// A result as the slip prints it: one decimal place ("70.0"); empty stays empty.
QString OneDecimal(const QString& result) {
  const std::optional<double> value = NumericCellValue(result);
  return value ? QString::number(*value, 'f', 1) : QString();
}

// The sheet's calculations over one column of the year, read back as the slip shows them.
struct ColumnFigures {
  QString yearAverage;
  QList<QString> classAverages;  // by class index
  int counted = 0;               // pupils with a number
};

ColumnFigures Figures(TextGrid& year, int col, int rankCol, int deviationCol) {
  ColumnFigures figures;
  const int item = col - Sheet::kFirstScoreCol;
  // 平均 leaves alone an average it has no number for: the sheet's own never shows.
  year.SetText(Sheet::AverageRow(year), col, QString());
  Rank(year, {{item}, 0, rankCol});
  DeviationScore(year, {{item}, 1, deviationCol});
  for (int r = Sheet::kFirstPupilRow; r <= Sheet::LastPupilRow(year); ++r) {
    if (year.WithText(r, col, IsNumericCell)) ++figures.counted;
  }
  VerticalTotalAverage(year, {{item}, 1, col});
  figures.yearAverage = OneDecimal(year.Text(Sheet::AverageRow(year), col));
  // A class's average as its own view's 平均 gives it.
  TextGrid classView(Sheet::kClassRows, year.Cols());
  for (int n = 0; n < Sheet::kClassCount; ++n) {
    for (int r = 1; r <= Sheet::kPupilsPerClass; ++r)
      classView.CopyText(r, col, year, Sheet::kPupilsPerClass * n + r, col);
    classView.SetText(Sheet::AverageRow(classView), col, QString());
    VerticalTotalAverage(classView, {{item}, 1, col});
    figures.classAverages << OneDecimal(classView.Text(Sheet::AverageRow(classView), col));
  }
  return figures;
}

// A text left-aligned in a field of `width` half-width columns, cut at its right.
QString LeftField(const QString& text, int width) {
  const QList<int> columns = PrintColumns(text);
  QString field;
  int used = 0;
  qsizetype i = 0;
  for (const int w : columns) {
    const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    if (used + w > width) break;
    const QString character = text.mid(i, length);
    field += character.at(0).unicode() < 0x20 ? QStringLiteral(" ") : character;
    used += w;
    i += length;
  }
  return field + QString(width - used, QLatin1Char(' '));
}

constexpr int kItemWidth = 20;
constexpr int kMarkWidth = 7;
constexpr int kAverageWidth = 11;
constexpr int kRankWidth = 13;
constexpr int kDeviationWidth = 8;

}  // namespace

QList<PupilSlip> PupilSlips(const TextGrid& storage, const QList<int>& classes,
                            const QList<int>& items) {
  TextGrid year = Sheet::ReadGradeViewOf(storage);
  QList<int> cols;
  for (const int item : items) {
    const int col = Sheet::ItemColumn(item);
    if (item >= 0 && col < year.Cols() && !cols.contains(col)) cols << col;
  }
  std::sort(cols.begin(), cols.end());
  // Scratch columns at the right: the 合計, its rank and 偏差値 written by the calculations.
  const int totalCol = year.Cols();
  const int rankCol = totalCol + 1;
  const int deviationCol = totalCol + 2;
  year.SetCols(totalCol + 3);

  // 合計 only for the pupils with a number in every chosen item.
  QList<int> chosen;
  for (const int col : cols) chosen << col - Sheet::kFirstScoreCol;
  HorizontalTotal(year, {chosen, 0, totalCol});
  for (int r = Sheet::kFirstPupilRow; r <= Sheet::LastPupilRow(year); ++r) {
    for (const int col : cols) {
      if (!year.WithText(r, col, IsNumericCell)) year.SetText(r, totalCol, QString());
    }
  }

  struct Column {
    int col;
    QString item;
    ColumnFigures figures;
    QList<QString> ranks;       // by grade row
    QList<QString> deviations;  // by grade row
  };
  QList<Column> columns;
  QList<int> all = cols;
  all << totalCol;
  for (const int col : all) {
    Column column{col, col == totalCol ? kTotal : year.Text(0, col), {}, {}, {}};
    column.figures = Figures(year, col, rankCol, deviationCol);
    for (int r = 0; r <= Sheet::LastPupilRow(year); ++r) {
      column.ranks << year.Text(r, rankCol);
      column.deviations << OneDecimal(year.Text(r, deviationCol));
    }
    columns << column;
  }

  QList<PupilSlip> slips;
  for (const int n : classes) {
    if (n < 0 || n >= Sheet::kClassCount) continue;
    for (int row = 1; row <= Sheet::kPupilsPerClass; ++row) {
      const int g = Sheet::kPupilsPerClass * n + row;
      const QString name = year.Text(g, 1);
      const bool anyText =
          std::any_of(cols.cbegin(), cols.cend(), [&](int col) { return !year.IsEmpty(g, col); });
      if (name.isEmpty() && !anyText) continue;
      PupilSlip slip{n, row, name, {}};
      for (const Column& c : columns) {
        SlipLine line;
        line.item = c.item;
        line.mark = year.Text(g, c.col);
        if (c.col == totalCol && line.mark.isEmpty()) line.mark = kNoTotal;
        line.classAverage = c.figures.classAverages.value(n);
        line.yearAverage = c.figures.yearAverage;
        if (year.WithText(g, c.col, IsNumericCell)) {
          line.rank = c.ranks.value(g) + QStringLiteral(" / ") + QString::number(c.figures.counted);
          line.deviation = c.deviations.value(g);
        }
        slip.lines << line;
      }
      slips << slip;
    }
  }
  return slips;
}

QStringList SlipTableLines(const PupilSlip& slip, bool ranks, bool deviations) {
  const auto line = [&](const QString& item, const QString& mark, const QString& classAverage,
                        const QString& yearAverage, const QString& rank, const QString& deviation) {
    QString text = LeftField(item, kItemWidth) + PrintNumberField(mark, kMarkWidth) +
                   PrintNumberField(classAverage, kAverageWidth) +
                   PrintNumberField(yearAverage, kAverageWidth);
    if (ranks) text += PrintField(rank, kRankWidth);
    if (deviations) text += PrintNumberField(deviation, kDeviationWidth);
    return text;
  };
  QStringList lines{line(QStringLiteral("項目"), QStringLiteral("得点"),
                         QStringLiteral("クラス平均"), QStringLiteral("学年平均"),
                         QStringLiteral("学年順位"), QStringLiteral("偏差値"))};
  for (const SlipLine& l : slip.lines)
    lines << line(l.item, l.mark, l.classAverage, l.yearAverage, l.rank, l.deviation);
  return lines;
}

}  // namespace kelt
