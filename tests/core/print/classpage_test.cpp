#include "core/print/classpage.h"

#include <gtest/gtest.h>

#include "core/sheet/sheet.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

int Columns(const QString& text) {
  int sum = 0;
  for (const int w : PrintColumns(text)) sum += w;
  return sum;
}

// Texts keep their right-aligned field; a mark or result that does not fit its field less one
// column is never shown cut and never runs into its neighbour.
TEST(ClassPage, Fields) {
  enum Kind { kText, kMark };
  const struct {
    Kind kind;
    const char* text;
    int width;
    const char* field;
  } cases[] = {
      {kText, "12", 6, "    12"},
      {kText, "100", 6, "   100"},
      {kText, "1234567", 6, "234567"},
      {kText, "番号", 4, "番号"},
      {kText, "氏  名", 14, "        氏  名"},  // two ASCII blanks inside: 6 columns
      {kText, "ｱｲｳｴｵ", 6, " ｱｲｳｴｵ"},
      {kText, "", 4, "    "},
      {kText, "山田 太郎", 14, "     山田 太郎"},
      // Wider than the field: the left is lost, the field stays whole and aligned.
      {kText, "あ12345", 6, " 12345"},
      {kText, "寿限無寿限無五劫の擦", 14, "寿限無五劫の擦"},
      // So many two-column characters that nothing would be left: the left part stays.
      {kText, "国語総合演習", 6, "国語総"},
      {kText, "寿限無寿限無五劫の擦り切れ海砂利", 14, "寿限無寿限無五"},
      {kText, "a\tb", 4, " a b"},
      {kText, "😀1", 4, "  😀1"},
      {kMark, "12", 6, "    12"},
      {kMark, "12345", 6, " 12345"},  // width − 1: still a blank before it
      {kMark, "678901", 6, " #####"},
      {kMark, "1234567", 6, " #####"},
      {kMark, "-12.25", 6, " #####"},
      {kMark, "72.5", 6, "  72.5"},
      {kMark, "1,234", 6, " 1,234"},
      {kMark, "1E+20", 6, " 1E+20"},
      {kMark, "欠", 6, "    欠"},
      {kMark, "欠席欠席", 6, "席欠席"},  // not a number: the text's rule
      {kMark, "ab12345", 6, "b12345"},
      {kMark, "", 6, "      "},
  };
  for (const auto& c : cases) {
    const QString field =
        c.kind == kMark ? PrintNumberField(U(c.text), c.width) : PrintField(U(c.text), c.width);
    EXPECT_EQ(field, U(c.field)) << c.text;
    EXPECT_EQ(Columns(field), c.width) << c.text;
  }
}

// A class view from a sheet as the teacher sees it.
TextGrid ClassView(int cols = Sheet::kInitialCols) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  sheet.SetViewCols(cols);
  sheet.MutableStorage().SetCols(cols);
  sheet.ShowClass(2);
  sheet.SetViewText(1, 1, U("山田 太郎"));
  sheet.SetViewText(1, 2, U("100"));
  sheet.SetViewText(1, 3, U("1234567"));
  sheet.SetViewText(51, 2, U("4321"));
  return sheet.View();
}

TEST(ClassPage, Lines) {
  const TextGrid view = ClassView();
  const QStringList two = ClassPageLines(view, {0, 1});
  ASSERT_EQ(two.size(), 53);
  for (const QString& line : two) EXPECT_EQ(Columns(line), 30) << line.toStdString();
  EXPECT_EQ(two[0], U("番号        氏  名     A     B"));
  EXPECT_EQ(two[1], U("   1     山田 太郎   100 #####"));
  EXPECT_EQ(two[51].mid(4, 12), U("          合計"));
  EXPECT_EQ(two[52].mid(4, 12), U("          平均"));
  EXPECT_EQ(two[51].right(12), U("  4321      "));

  const QStringList none = ClassPageLines(view, {});
  for (const QString& line : none) EXPECT_EQ(Columns(line), 18);
  EXPECT_EQ(none[1], U("   1     山田 太郎"));

  // Items past the 19th and columns the sheet lacks print nothing.
  EXPECT_EQ(Columns(ClassPageLines(ClassView(30), {0, 18, 19, 25})[0]), 18 + 12);
  EXPECT_EQ(Columns(ClassPageLines(ClassView(5), {0, 2, 3, 10})[0]), 18 + 12);
  EXPECT_EQ(ClassPageRules(), QList<int>({4, 9, 14, 19, 24, 29, 34, 39, 44, 49, 54, 56}));
}

// What the whole-year print reads: a class as a switch to it would show it, from a copy of storage.
TEST(ClassPage, ClassViewFromAStoredCopy) {
  Sheet sheet;
  sheet.BuildSheetLayout();
  sheet.ShowClass(6);
  sheet.SetViewText(3, 1, U("佐藤"));
  sheet.SetViewText(52, 4, U("71.5"));
  TextGrid storage = sheet.Storage();
  sheet.StoreViewInto(storage);
  EXPECT_EQ(Sheet::ClassViewOf(storage, 6), sheet.View());
  sheet.ShowClass(0);
  EXPECT_EQ(Sheet::ClassViewOf(storage, 0), sheet.View());
}

}  // namespace
}  // namespace kelt
