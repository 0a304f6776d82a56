#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <array>
#include <optional>

#include "core/sheet/textgrid.h"

namespace kelt {

// 観点別評価: a pupil's marks in the items that bear on a viewpoint become A, B or C, and the
// viewpoints' letters together a five-step 評定.

// An item that counts for a viewpoint: its column, its full marks (満点) and its weight (重み).
struct ViewpointItem {
  int col;
  double fullMarks = 100.0;
  double weight = 1.0;
  bool operator==(const ViewpointItem&) const = default;
};

struct Viewpoint {
  QString name;  // a viewpoint without a name is not used
  QList<ViewpointItem> items;
  int target = -1;  // the column its letters go to
};

inline constexpr int kViewpointCount = 3;

struct ViewpointSettings {
  std::array<Viewpoint, kViewpointCount> viewpoints;
  double aFrom = 80.0;        // A: this achievement (%) and more
  double bFrom = 50.0;        // B: this and more; C below
  int gradeTarget = -1;       // the column 評定 goes to; none when negative
  QMap<int, int> gradeOfSum;  // the sum of points (A 3, B 2, C 1) to 評定
};

// The default table from the sum of points to 評定: for three viewpoints 9 → 5, 8 → 4, 7 and 6
// → 3, 5 and 4 → 2, 3 → 1; for two 6 → 5, 5 → 4, 4 → 3, 3 → 2, 2 → 1; for one 3 → 5, 2 → 3,
// 1 → 1.
QMap<int, int> DefaultGradeTable(int viewpoints);

// Why settings cannot be carried out; nothing is written then.
struct ViewpointRefusal {
  enum Kind {
    kNone,
    kNumberOrNameColumn,  // a target is the number or name column
    kTargetIsItem,        // a target column is also a picked item
    kSameTarget,          // two targets are one column
    kNoItems,             // a named viewpoint has no item: `viewpoint` says which
  } kind = kNone;
  QString viewpoint;
};
ViewpointRefusal CheckViewpoints(const ViewpointSettings& settings);

// The pupil's achievement (%) in a viewpoint: Σ(weight × mark ÷ full marks) ÷ Σ(weight) × 100 over
// its items whose cell holds a number by the calculations' rules; nothing when none does. Exact
// where the teacher's arithmetic is: 40 of 50 is 80.
std::optional<double> Achievement(const TextGrid& view, int row, const Viewpoint& viewpoint);

// 'A', 'B' or 'C'.
QChar Letter(double achievement, double aFrom, double bFrom);

// What 確認 shows: for each viewpoint the pupils with A, B and C; the pupils of each 評定, 5 down
// to 1; and the pupils with both an A and a C, whom national guidance asks to look at again.
struct ViewpointCounts {
  std::array<std::array<int, 3>, kViewpointCount> letters{};
  std::array<int, 5> grades{};
  int aAndC = 0;
};
ViewpointCounts CountViewpoints(const TextGrid& view, const ViewpointSettings& settings);

// Writes each pupil's letters ("A", "B", "C"; empty without a number in any of the viewpoint's
// items) into the targets and 評定 ("5" to "1"; empty unless every used viewpoint has a letter and
// the table has their sum) into its target. Only pupil rows; nothing when CheckViewpoints refuses.
// Returns the cells written.
int WriteViewpoints(TextGrid& view, const ViewpointSettings& settings);

}  // namespace kelt
