#include "core/calc/grades.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/markcolumn.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

using test::Texts;

const GradeBounds kDefault = {85, 65, 40, 30, 0};

CalcChoice Item0(int target) {
  CalcChoice choice;
  choice.items = {0};
  choice.targetColumn = target;
  return choice;
}

TEST(Grades, WritesDigitsOrLettersAndCounts) {
  const QStringList marks = Texts("100|85|84.5|65|40|39|30|0|-3||欠|1,200");
  const struct {
    const char* what;
    GradeBounds bounds;
    bool letters;
    QStringList grades;
    GradeCounts counts;
  } cases[] = {
      {"default bounds, digits",
       kDefault,
       false,
       Texts("5|5|4|4|3|2|2|1|old|old|old|5"),
       {3, 2, 1, 2, 1}},
      {"default bounds, letters",
       kDefault,
       true,
       Texts("A|A|B|B|C|D|D|E|old|old|old|A"),
       {3, 2, 1, 2, 1}},
      {"ascending bounds: the first test reached decides",
       {50, 60, 70, 80, 90},
       false,
       Texts("5|5|5|5|old|old|old|old|old|old|old|5"),
       {5, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TextGrid view = test::MarkColumn(marks);
    const int written = WriteGrades(view, Item0(3), c.bounds, c.letters);
    EXPECT_EQ(test::PupilCells(view, 3), c.grades) << c.what;
    EXPECT_EQ(written, c.grades.size() - c.grades.count(QStringLiteral("old"))) << c.what;
    EXPECT_EQ(test::PupilCells(view, 2), marks) << c.what << ": the marks stay";
    EXPECT_EQ(test::OtherRowCells(view), test::kOtherRowsUntouched) << c.what;
    EXPECT_EQ(CountGrades(view, Item0(3), c.bounds), c.counts) << c.what;
  }
}

TEST(Grades, BoundsTargetsAndMissingItems) {
  const QStringList typed = Texts("1,200||abc|70.5|-10");
  EXPECT_EQ(BoundsFromTexts({typed[0], typed[1], typed[2], typed[3], typed[4]}),
            (GradeBounds{1, 0, 0, 70.5, -10}));

  // The evaluated column as target: marks become grades.
  TextGrid view = test::MarkColumn(Texts("90|50"));
  WriteGrades(view, Item0(2), kDefault, false);
  EXPECT_EQ(test::PupilCells(view, 2), QStringList(Texts("5|3")));
  EXPECT_EQ(test::OtherRowCells(view), test::kOtherRowsUntouched);

  // No item, or an item past the sheet's columns: nothing is read or written.
  TextGrid untouched = test::MarkColumn(Texts("90"));
  CalcChoice none = Item0(3);
  none.items.clear();
  CalcChoice beyond = Item0(3);
  beyond.items = {5};
  for (const CalcChoice& choice : {none, beyond}) {
    EXPECT_EQ(WriteGrades(untouched, choice, kDefault, false), 0);
    EXPECT_EQ(CountGrades(untouched, choice, kDefault), (GradeCounts{}));
  }
  EXPECT_EQ(test::PupilCells(untouched, 3), QStringList(Texts("old")));
}

}  // namespace
}  // namespace kelt
