#include "core/calc/viewpoints.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <array>
#include <functional>
#include <vector>

#include "support/qtprint.h"

namespace kelt {
namespace {

// Five pupils (rows 1 to 5), the total and average rows; items in columns 2 to 6, targets 8 to 11.
enum Col { kTest1 = 2, kTest2 = 3, kReport = 4, kWork = 5, kAttitude = 6 };

TextGrid View() {
  TextGrid view(8, 12);
  const char* const rows[][5] = {
      {"90", "45", "8", "16", "5"},         // 90 %, 90 %, 80 %, 80 %, 100 %
      {"60", "20", "5", "10", "2"},         // 60 %, 40 %, 50 %, 50 %, 40 %
      {"欠", "", "10", "", "1"},            // —, —, 100 %, —, 20 %
      {"", "", "", "", ""},                 //
      {"100", "50", "10", "20", "5"},       // all full marks
      {"500", "500", "500", "500", "500"},  // the total row: never read or written
  };
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 5; ++c) view.SetText(r + 1, kTest1 + c, QString::fromUtf8(rows[r][c]));
  }
  return view;
}

ViewpointSettings Settings() {
  ViewpointSettings s;
  s.viewpoints[0] = {QStringLiteral("知識・技能"), {{kTest1, 100, 1}, {kTest2, 50, 1}}, 8};
  s.viewpoints[1] = {QStringLiteral("思考・判断・表現"), {{kReport, 10, 2}, {kTest2, 50, 1}}, 9};
  s.viewpoints[2] = {
      QStringLiteral("主体的に学習に取り組む態度"), {{kAttitude, 5, 1}, {kWork, 20, 1}}, 10};
  s.gradeTarget = 11;
  s.gradeOfSum = DefaultGradeTable(3);
  return s;
}

TEST(Viewpoints, AchievementWeighsMarksByFullMarksAndWeight) {
  struct Case {
    const char* what;
    QStringList marks;  // test1 (of 100), test2 (of 50)
    double weight2;
    std::optional<double> expected;
  } cases[] = {
      {"weighted", {QStringLiteral("70"), QStringLiteral("40")}, 2, (70.0 + 160.0) / 3},
      {"欠 leaves its item out", {QStringLiteral("70"), QStringLiteral("欠")}, 2, 70.0},
      {"a blank too", {QString(), QStringLiteral("40")}, 2, 80.0},
      {"no number at all", {QStringLiteral("欠"), QString()}, 1, std::nullopt},
      {"40 of 50 is 80 exactly", {QString(), QStringLiteral("40")}, 1, 80.0},
      {"57 of 100 is 57", {QStringLiteral("57"), QString()}, 1, 57.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextGrid view(4, 4);
    view.SetText(1, 2, c.marks[0]);
    view.SetText(1, 3, c.marks[1]);
    const std::optional<double> got =
        Achievement(view, 1, {QStringLiteral("v"), {{2, 100, 1}, {3, 50, c.weight2}}, 0});
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (c.expected) {
      EXPECT_NEAR(*got, *c.expected, 1e-9);
    }
  }
  // Weights of 0.1 and 0.2 on two marks of 80 are 80, as the teacher works it out, and an A.
  TextGrid view(4, 4);
  view.SetText(1, 2, QStringLiteral("80"));
  view.SetText(1, 3, QStringLiteral("40"));
  const Viewpoint decimal{QStringLiteral("v"), {{2, 100, 0.1}, {3, 50, 0.2}}, 0};
  EXPECT_EQ(Letter(Achievement(view, 1, decimal).value_or(0), 80, 50), u'A');
  EXPECT_EQ(Letter(80.0, 80, 50), u'A');
  EXPECT_EQ(Letter(79.999, 80, 50), u'B');
  EXPECT_EQ(Letter(50.0, 80, 50), u'B');
  EXPECT_EQ(Letter(49.9, 80, 50), u'C');
}

TEST(Viewpoints, LettersAndGradesForEveryPupil) {
  struct Case {
    const char* what;
    bool twoViewpoints;
    std::vector<std::array<const char*, 4>> expected;  // each pupil's targets 8 to 11
  } cases[] = {
      {"three viewpoints",
       false,
       {{"A", "A", "A", "5"},
        {"B", "C", "C", "2"},
        {"", "A", "C", ""},
        {"", "", "", ""},
        {"A", "A", "A", "5"}}},
      // The unused viewpoint's column keeps what it held.
      {"two: the third's name cleared",
       true,
       {{"A", "A", "", "5"},
        {"B", "C", "", "2"},
        {"", "A", "stale", ""},
        {"", "", "", ""},
        {"A", "A", "", "5"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ViewpointSettings settings = Settings();
    if (c.twoViewpoints) {
      settings.viewpoints[2].name.clear();
      settings.gradeOfSum = DefaultGradeTable(2);
    }
    TextGrid view = View();
    view.SetText(3, 10, QStringLiteral("stale"));
    EXPECT_EQ(WriteViewpoints(view, settings), 5 * (c.twoViewpoints ? 3 : 4));
    for (int r = 1; r <= 5; ++r) {
      for (int col = 8; col <= 11; ++col) {
        EXPECT_EQ(view.Text(r, col), QString::fromUtf8(c.expected[r - 1][col - 8]))
            << "pupil " << r << ", column " << col;
      }
    }
    for (int col = 8; col <= 11; ++col) {
      EXPECT_TRUE(view.Text(6, col).isEmpty() && view.Text(7, col).isEmpty())
          << "the total and average rows are never written";
    }
  }
}

TEST(Viewpoints, CountsForTheCheck) {
  const ViewpointCounts counts = CountViewpoints(View(), Settings());
  EXPECT_EQ(counts.letters[0], (std::array<int, 3>{2, 1, 0}));
  EXPECT_EQ(counts.letters[1], (std::array<int, 3>{3, 0, 1}));
  EXPECT_EQ(counts.letters[2], (std::array<int, 3>{2, 0, 2}));
  EXPECT_EQ(counts.grades, (std::array<int, 5>{2, 0, 0, 1, 0}));
  EXPECT_EQ(counts.aAndC, 1) << "the third pupil: A in 思考, C in 態度";
}

TEST(Viewpoints, RefusesTargetsThatWouldLoseMarks) {
  struct Case {
    const char* what;
    std::function<void(ViewpointSettings&)> change;
    ViewpointRefusal::Kind kind;
    QString viewpoint;
  };
  const QList<Case> cases = {
      {"the name column",
       [](ViewpointSettings& s) { s.viewpoints[1].target = 1; },
       ViewpointRefusal::kNumberOrNameColumn,
       {}},
      {"評定 into the numbers",
       [](ViewpointSettings& s) { s.gradeTarget = 0; },
       ViewpointRefusal::kNumberOrNameColumn,
       {}},
      {"a target that is an item",
       [](ViewpointSettings& s) { s.viewpoints[0].target = kReport; },
       ViewpointRefusal::kTargetIsItem,
       {}},
      {"two targets in one column",
       [](ViewpointSettings& s) { s.gradeTarget = 9; },
       ViewpointRefusal::kSameTarget,
       {}},
      {"a named viewpoint without items",
       [](ViewpointSettings& s) { s.viewpoints[2].items.clear(); }, ViewpointRefusal::kNoItems,
       QStringLiteral("主体的に学習に取り組む態度")},
      {"an unnamed one may have none",
       [](ViewpointSettings& s) {
         s.viewpoints[2].name.clear();
         s.viewpoints[2].items.clear();
       },
       ViewpointRefusal::kNone,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ViewpointSettings settings = Settings();
    c.change(settings);
    const ViewpointRefusal refusal = CheckViewpoints(settings);
    EXPECT_EQ(refusal.kind, c.kind);
    EXPECT_EQ(refusal.viewpoint, c.viewpoint);
    TextGrid view = View();
    const TextGrid before = view;
    WriteViewpoints(view, settings);
    if (c.kind != ViewpointRefusal::kNone) {
      EXPECT_EQ(view, before) << "nothing written";
    }
  }
}

// Whatever the settings and marks, nothing is written outside the pupils' target cells.
TEST(Viewpoints, NothingOutsideTheTargets) {
  const QStringList texts = {QString(),
                             QStringLiteral("欠"),
                             QStringLiteral("100"),
                             QStringLiteral("-3"),
                             QStringLiteral("1e3"),
                             QStringLiteral("x")};
  for (quint32 seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    TextGrid view(3 + random.bounded(8), 3 + random.bounded(10));
    for (int r = 0; r < view.Rows(); ++r) {
      for (int c = 0; c < view.Cols(); ++c) view.SetText(r, c, texts[random.bounded(texts.size())]);
    }
    ViewpointSettings settings;
    QList<int> targets;
    for (Viewpoint& v : settings.viewpoints) {
      if (random.bounded(4) == 0) continue;
      v.name = QStringLiteral("v");
      for (int i = random.bounded(4); i > 0; --i)
        v.items.append({random.bounded(view.Cols() + 2), double(random.bounded(-1, 100)),
                        double(random.bounded(-1, 3))});
      v.target = random.bounded(-1, view.Cols() + 2);
      targets << v.target;
    }
    settings.gradeTarget = random.bounded(-1, view.Cols() + 2);
    targets << settings.gradeTarget;
    settings.gradeOfSum = DefaultGradeTable(3);
    const TextGrid before = view;
    WriteViewpoints(view, settings);
    for (int r = 0; r < view.Rows(); ++r) {
      for (int c = 0; c < view.Cols(); ++c) {
        const bool target = r >= 1 && r <= view.Rows() - 3 && targets.contains(c);
        if (!target) {
          EXPECT_EQ(view.Text(r, c), before.Text(r, c)) << r << ", " << c;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kelt
