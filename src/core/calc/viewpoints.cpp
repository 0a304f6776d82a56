#include "core/calc/viewpoints.h"

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"

namespace kelt {

namespace {

bool Used(const Viewpoint& viewpoint) { return !viewpoint.name.trimmed().isEmpty(); }

// One pupil's letters and 評定.
struct PupilResult {
  std::array<std::optional<QChar>, kViewpointCount> letters;
  std::optional<int> grade;
};

PupilResult Evaluate(const TextGrid& view, int row, const ViewpointSettings& settings) {
  PupilResult result;
  int points = 0;
  bool every = true;
  bool any = false;
  for (int v = 0; v < kViewpointCount; ++v) {
    const Viewpoint& viewpoint = settings.viewpoints[v];
    if (!Used(viewpoint)) continue;
    any = true;
    const std::optional<double> achievement = Achievement(view, row, viewpoint);
    if (!achievement) {
      every = false;
      continue;
    }
    const QChar letter = Letter(*achievement, settings.aFrom, settings.bFrom);
    result.letters[v] = letter;
    points += letter == u'A' ? 3 : letter == u'B' ? 2 : 1;
  }
  const auto grade = settings.gradeOfSum.constFind(points);
  if (any && every && grade != settings.gradeOfSum.cend()) result.grade = *grade;
  return result;
}

}  // namespace

QMap<int, int> DefaultGradeTable(int viewpoints) {
  if (viewpoints == 1) return {{3, 5}, {2, 3}, {1, 1}};
  if (viewpoints == 2) return {{6, 5}, {5, 4}, {4, 3}, {3, 2}, {2, 1}};
  return {{9, 5}, {8, 4}, {7, 3}, {6, 3}, {5, 2}, {4, 2}, {3, 1}};
}

ViewpointRefusal CheckViewpoints(const ViewpointSettings& settings) {
  QList<int> targets;
  QList<int> items;
  for (const Viewpoint& viewpoint : settings.viewpoints) {
    if (!Used(viewpoint)) continue;
    if (viewpoint.items.isEmpty()) return {ViewpointRefusal::kNoItems, viewpoint.name};
    targets << viewpoint.target;
    for (const ViewpointItem& item : viewpoint.items) items << item.col;
  }
  if (settings.gradeTarget >= 0) targets << settings.gradeTarget;
  for (qsizetype i = 0; i < targets.size(); ++i) {
    if (Sheet::IsNumberOrNameColumn(targets[i])) return {ViewpointRefusal::kNumberOrNameColumn, {}};
    if (items.contains(targets[i])) return {ViewpointRefusal::kTargetIsItem, {}};
    if (targets.indexOf(targets[i]) != i) return {ViewpointRefusal::kSameTarget, {}};
  }
  return {};
}

std::optional<double> Achievement(const TextGrid& view, int row, const Viewpoint& viewpoint) {
  double scored = 0.0;
  double weights = 0.0;
  bool counted = false;
  for (const ViewpointItem& item : viewpoint.items) {
    if (item.fullMarks <= 0.0 || item.weight < 0.0) continue;
    const std::optional<double> mark = view.WithText(row, item.col, NumericCellValue);
    if (!mark) continue;
    // Multiplied before dividing: 40 × 100 ÷ 50 is 80 exactly, where 40 ÷ 50 × 100 is not.
    scored += item.weight * *mark * 100.0 / item.fullMarks;
    weights += item.weight;
    counted = true;
  }
  if (!counted || weights <= 0.0) return std::nullopt;
  // The value the teacher's arithmetic gives, without the last binary digits' noise.
  return RoundHalfUp(scored / weights, 9);
}

QChar Letter(double achievement, double aFrom, double bFrom) {
  if (achievement >= aFrom) return u'A';
  if (achievement >= bFrom) return u'B';
  return u'C';
}

ViewpointCounts CountViewpoints(const TextGrid& view, const ViewpointSettings& settings) {
  ViewpointCounts counts;
  if (CheckViewpoints(settings).kind != ViewpointRefusal::kNone) return counts;
  for (int row = Sheet::kFirstPupilRow; row <= Sheet::LastPupilRow(view); ++row) {
    const PupilResult result = Evaluate(view, row, settings);
    bool a = false;
    bool c = false;
    for (int v = 0; v < kViewpointCount; ++v) {
      if (!result.letters[v]) continue;
      const int index = result.letters[v]->unicode() - u'A';
      ++counts.letters[v][index];
      a = a || index == 0;
      c = c || index == 2;
    }
    if (a && c) ++counts.aAndC;
    if (result.grade && *result.grade >= 1 && *result.grade <= 5)
      ++counts.grades[5 - *result.grade];
  }
  return counts;
}

int WriteViewpoints(TextGrid& view, const ViewpointSettings& settings) {
  if (CheckViewpoints(settings).kind != ViewpointRefusal::kNone) return 0;
  int written = 0;
  for (int row = Sheet::kFirstPupilRow; row <= Sheet::LastPupilRow(view); ++row) {
    // Read before any of the row's targets is written.
    const PupilResult result = Evaluate(view, row, settings);
    for (int v = 0; v < kViewpointCount; ++v) {
      const Viewpoint& viewpoint = settings.viewpoints[v];
      if (!Used(viewpoint)) continue;
      view.SetText(row, viewpoint.target,
                   result.letters[v] ? QString(*result.letters[v]) : QString());
      ++written;
    }
    if (settings.gradeTarget >= 0) {
      view.SetText(row, settings.gradeTarget,
                   result.grade ? QString::number(*result.grade) : QString());
      ++written;
    }
  }
  return written;
}

}  // namespace kelt
