#include "core/calc/computations.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"

namespace kelt {
namespace {

// A standard deviation this small against the marks themselves is left over from rounding.
constexpr double kSpreadNoise = 1e-9;

bool IsColumn(const TextGrid& view, int col) { return col >= 0 && col < view.Cols(); }

// Score columns whose items are marked, in column order, each once.
std::vector<int> MarkedColumns(const TextGrid& view, const QList<int>& items) {
  std::vector<char> marked(static_cast<std::size_t>(std::max(view.Cols(), 0)), 0);
  for (const int item : items) {
    const int col = Sheet::ItemColumn(item);
    if (item >= 0 && col < view.Cols()) marked[static_cast<std::size_t>(col)] = 1;
  }
  std::vector<int> columns;
  for (int col = Sheet::kFirstScoreCol; col < view.Cols(); ++col)
    if (marked[static_cast<std::size_t>(col)]) columns.push_back(col);
  return columns;
}

// Column of a one-item computation's selected item, or nothing.
std::optional<int> SourceColumn(const TextGrid& view, const CalcChoice& choice) {
  if (!HasSelectedItem(choice)) return std::nullopt;
  const int item = choice.items.first();
  if (item < 0 || Sheet::ItemColumn(item) >= view.Cols()) return std::nullopt;
  return Sheet::ItemColumn(item);
}

// An overflowing sum has no text worth writing; the cell keeps its old one.
bool WriteResult(TextGrid& view, int row, int col, double value) {
  if (!std::isfinite(value)) return false;
  view.SetText(row, col, ResultText(value));
  return true;
}

struct Sum {
  double total = 0.0;
  int count = 0;
};

Sum SumOfRow(const TextGrid& view, int row, const std::vector<int>& columns) {
  CompensatedSum total;
  int count = 0;
  for (const int col : columns) {
    if (const std::optional<double> value = view.WithText(row, col, NumericCellValue)) {
      total.Add(*value);
      ++count;
    }
  }
  return {total.Value(), count};
}

// The per-pupil horizontal results; each row's marked cells are all read before its target cell
// is written, so a marked target column contributes its old value.
enum class RowResult { Total, Average };

int HorizontalResults(TextGrid& view, const CalcChoice& choice, RowResult kind) {
  if (!IsColumn(view, choice.targetColumn)) return 0;
  const std::vector<int> columns = MarkedColumns(view, choice.items);
  if (columns.empty()) return 0;
  int written = 0;
  for (int row = Sheet::kFirstPupilRow; row <= Sheet::LastPupilRow(view); ++row) {
    const Sum sum = SumOfRow(view, row, columns);
    if (sum.count == 0) continue;
    const double result =
        kind == RowResult::Average ? RoundHalfUp(sum.total / sum.count, choice.places) : sum.total;
    if (WriteResult(view, row, choice.targetColumn, result)) ++written;
  }
  return written;
}

}  // namespace

int HorizontalTotal(TextGrid& view, const CalcChoice& choice) {
  return HorizontalResults(view, choice, RowResult::Total);
}

int HorizontalAverage(TextGrid& view, const CalcChoice& choice) {
  return HorizontalResults(view, choice, RowResult::Average);
}

int VerticalTotalAverage(TextGrid& view, const CalcChoice& choice) {
  const std::vector<int> columns = MarkedColumns(view, choice.items);
  // Row by row, the order the grid keeps its cells in, each column with its own sum.
  std::vector<CompensatedSum> totals(columns.size());
  std::vector<int> counts(columns.size(), 0);
  for (int row = Sheet::kFirstPupilRow; row <= Sheet::LastPupilRow(view); ++row) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (const std::optional<double> value = view.WithText(row, columns[i], NumericCellValue)) {
        totals[i].Add(*value);
        ++counts[i];
      }
    }
  }
  int written = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (counts[i] == 0) continue;
    const double total = totals[i].Value();
    if (WriteResult(view, Sheet::TotalRow(view), columns[i], total)) ++written;
    const double average = RoundHalfUp(total / counts[i], choice.places);
    if (WriteResult(view, Sheet::AverageRow(view), columns[i], average)) ++written;
  }
  return written;
}

int Rank(TextGrid& view, const CalcChoice& choice) {
  const std::optional<int> source = SourceColumn(view, choice);
  if (!source || !IsColumn(view, choice.targetColumn)) return 0;
  const int first = Sheet::kFirstPupilRow;
  const int last = Sheet::LastPupilRow(view);
  if (last < first) return 0;

  // Every pupil competes, a non-numeric cell as 0; all are read before any rank is written.
  std::vector<std::optional<double>> values;
  values.reserve(static_cast<std::size_t>(last) - first + 1);
  for (int row = first; row <= last; ++row)
    values.push_back(view.WithText(row, *source, NumericCellValue));
  std::vector<double> sorted;
  sorted.reserve(values.size());
  for (const std::optional<double>& value : values) sorted.push_back(value.value_or(0.0));
  std::sort(sorted.begin(), sorted.end());

  int written = 0;
  for (int row = first; row <= last; ++row) {
    const std::optional<double>& value = values[static_cast<std::size_t>(row - first)];
    QString text;
    if (value) {
      // 1 plus the number of pupils with a greater score.
      const auto greater = sorted.end() - std::upper_bound(sorted.begin(), sorted.end(), *value);
      text = QString::number(1 + greater);
    }
    view.SetText(row, choice.targetColumn, text);
    ++written;
  }
  return written;
}

int DeviationScore(TextGrid& view, const CalcChoice& choice) {
  const std::optional<int> source = SourceColumn(view, choice);
  if (!source || !IsColumn(view, choice.targetColumn)) return 0;

  struct Counted {
    int row;
    double mark;
  };
  std::vector<Counted> counted;
  CompensatedSum total;
  double largest = 0.0;
  for (int row = Sheet::kFirstPupilRow; row <= Sheet::LastPupilRow(view); ++row) {
    if (const std::optional<double> mark = view.WithText(row, *source, NumericCellValue)) {
      counted.push_back({row, *mark});
      total.Add(*mark);
      largest = std::max(largest, std::fabs(*mark));
    }
  }
  if (counted.empty()) return 0;

  const double count = static_cast<double>(counted.size());
  const double mean = total.Value() / count;
  CompensatedSum squares;
  for (const Counted& c : counted) squares.Add((c.mark - mean) * (c.mark - mean));
  const double deviation = std::sqrt(squares.Value() / count);
  const bool spread = deviation > kSpreadNoise * largest;

  int written = 0;
  for (const Counted& c : counted) {
    const double score = spread ? (c.mark - mean) * 10.0 / deviation + 50.0 : 50.0;
    if (WriteResult(view, c.row, choice.targetColumn, RoundHalfUp(score, choice.places))) ++written;
  }
  return written;
}

int RoundColumn(TextGrid& view, const CalcChoice& choice) {
  const int col = choice.targetColumn;
  if (!IsColumn(view, col)) return 0;
  int written = 0;
  for (int row = Sheet::kFirstPupilRow; row <= Sheet::LastPupilRow(view); ++row) {
    const QString& text = view.Text(row, col);
    if (!IsNumericCell(text)) continue;
    if (WriteResult(view, row, col, RoundHalfUp(WholeTextValue(text), choice.places))) ++written;
  }
  return written;
}

}  // namespace kelt
