#include "core/calc/grades.h"

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"

namespace kelt {
namespace {

// Calls `graded(row, grade)` for every pupil with a grade, top to bottom.
template <typename Graded>
void ForEachGrade(const TextGrid& view, const CalcChoice& choice, const GradeBounds& bounds,
                  Graded graded) {
  if (!HasSelectedItem(choice)) return;
  const int item = choice.items.first();
  const int source = Sheet::ItemColumn(item);
  if (item < 0 || source >= view.Cols()) return;
  for (int row = Sheet::kFirstPupilRow; row <= Sheet::LastPupilRow(view); ++row) {
    const QString& text = view.Text(row, source);
    if (!IsNumericCell(text)) continue;
    if (const std::optional<int> grade = GradeOf(WholeTextValue(text), bounds)) graded(row, *grade);
  }
}

}  // namespace

GradeBounds BoundsFromTexts(const std::array<QString, 5>& texts) {
  GradeBounds bounds{};
  for (std::size_t i = 0; i < texts.size(); ++i) bounds[i] = LeadingNumberValue(texts[i]);
  return bounds;
}

std::optional<int> GradeOf(double value, const GradeBounds& bounds) {
  for (std::size_t i = 0; i < bounds.size(); ++i) {
    if (value >= bounds[i]) return 5 - static_cast<int>(i);
  }
  return std::nullopt;
}

QString GradeText(int grade, bool letters) {
  if (letters) return QString(QChar(u'A' + (5 - grade)));
  return QString::number(grade);
}

int WriteGrades(TextGrid& view, const CalcChoice& choice, const GradeBounds& bounds, bool letters) {
  const int target = choice.targetColumn;
  if (target < 0 || target >= view.Cols()) return 0;
  int written = 0;
  // A target equal to the source is read row by row before its own row is written.
  ForEachGrade(view, choice, bounds, [&](int row, int grade) {
    view.SetText(row, target, GradeText(grade, letters));
    ++written;
  });
  return written;
}

GradeCounts CountGrades(const TextGrid& view, const CalcChoice& choice, const GradeBounds& bounds) {
  GradeCounts counts{};
  ForEachGrade(view, choice, bounds,
               [&](int, int grade) { ++counts[static_cast<std::size_t>(5 - grade)]; });
  return counts;
}

}  // namespace kelt
