#include "core/calc/numberrules.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "support/qtprint.h"

namespace kelt {
namespace {

struct CellCase {
  const char16_t* text;
  bool numeric;
  double leading;
  double whole;  // 0 when not numeric
};

const CellCase kCells[] = {
    {u"1,200", true, 1, 1200},
    {u"-1,200", true, -1, -1200},
    {u"1,234,567.5", true, 1, 1234567.5},
    {u" 85 ", true, 85, 85},
    {u"\t85\n", true, 85, 85},
    {u"-2.25", true, -2.25, -2.25},
    {u"+7", true, 7, 7},
    {u".5", true, 0.5, 0.5},
    {u"5.", true, 5, 5},
    {u"1.5E3", true, 1500, 1500},
    {u"2e-2", true, 0.02, 0.02},
    {u"85点", false, 85, 0},
    {u"８５", false, 0, 0},
    {u"\u300085", false, 0, 0},
    {u"&H10", false, 16, 0},
    {u"&o17", false, 15, 0},
    {u"&Hff", false, 255, 0},
    {u"", false, 0, 0},
    {u"   ", false, 0, 0},
    {u"12,00", false, 12, 0},
    {u"1234,567", false, 1234, 0},  // a first group of four digits
    {u"1,2", false, 1, 0},
    {u",100", false, 0, 0},
    {u"1,000.5,5", false, 1, 0},
    {u"1.200,5", false, 1.2, 0},
    {u"1 200", false, 1200, 0},
    {u"- 5", false, -5, 0},
    {u"1.2.3", false, 1.2, 0},
    {u"1e", false, 1, 0},
    {u"1D2", false, 100, 0},
    {u"1 e 2", false, 100, 0},
    {u"1e400", false, 0, 0},
    {u"0x10", false, 0, 0},
    {u".", false, 0, 0},
    {u"abc", false, 0, 0},
};

TEST(NumberRules, CellReadings) {
  for (const CellCase& c : kCells) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    EXPECT_EQ(IsNumericCell(text), c.numeric);
    EXPECT_DOUBLE_EQ(LeadingNumberValue(text), c.leading);
    EXPECT_DOUBLE_EQ(WholeTextValue(text), c.whole);
    const std::optional<double> cell = NumericCellValue(text);
    EXPECT_EQ(cell.has_value(), c.numeric);
    // What the computations add up is the leading-number value of a numeric cell.
    if (cell) {
      EXPECT_DOUBLE_EQ(*cell, c.leading);
    }
  }
}

struct RoundCase {
  double x;
  int places;
  double expected;
};

const RoundCase kRounding[] = {
    {2.25, 1, 2.3},
    {-2.25, 1, -2.2},
    {3.5, 0, 4},
    {-3.5, 0, -3},
    {2.675, 2, 2.68},
    {1.005, 2, 1.01},
    {72.45, 1, 72.5},
    {72.45, 0, 72},
    {-72.45, 1, -72.4},
    {87.875, 1, 87.9},
    {212.0 / 3, 2, 70.67},
    {-2.251, 1, -2.3},
    {0.5, 0, 1},
    {0.05, 1, 0.1},
    {0.045, 1, 0},
    {0.1 + 0.2, 2, 0.3},
    {72.456, 2, 72.46},
    {85, 2, 85},
    {1e20, 2, 1e20},
    {-1e-9, 2, 0},
    {99.995, 2, 100},
    {-99.995, 2, -99.99},
    {1234567.25, 1, 1234567.3},
};

TEST(NumberRules, HalfUpRoundingOfTheDecimalSeen) {
  for (const RoundCase& c : kRounding) {
    SCOPED_TRACE(std::to_string(c.x) + " at " + std::to_string(c.places));
    EXPECT_EQ(RoundHalfUp(c.x, c.places), c.expected);
  }
  for (const double x : {-0.4, -0.5, -0.0, -1e-300}) {
    EXPECT_FALSE(std::signbit(RoundHalfUp(x, 0))) << x << " must not round to -0";
  }
}

struct TextCase {
  double x;
  const char16_t* text;
};

const TextCase kTexts[] = {{80, u"80"},
                           {72.5, u"72.5"},
                           {-2.2, u"-2.2"},
                           {0.0, u"0"},
                           {-0.0, u"0"},
                           {0.1 + 0.2, u"0.3"},
                           {1.0 / 3, u"0.333333333333333"},
                           {-1234567.25, u"-1234567.25"},
                           {123456789012345.0, u"123456789012345"},
                           {72300.00000000001, u"72300"},
                           {0.0001, u"0.0001"},
                           {1e15, u"1E+15"},
                           {-2.5e-7, u"-2.5E-07"},
                           // Fifteen digits of the largest doubles would read back as beyond
                           // any number: these get the digits that read back.
                           {std::numeric_limits<double>::max(), u"1.7976931348623157E+308"},
                           {-std::numeric_limits<double>::max(), u"-1.7976931348623157E+308"},
                           {std::numeric_limits<double>::infinity(), u""},
                           {std::numeric_limits<double>::quiet_NaN(), u""}};

TEST(NumberRules, ResultTexts) {
  for (const TextCase& c : kTexts) {
    const QString expected = QString::fromUtf16(c.text);
    EXPECT_EQ(ResultText(c.x), expected) << c.x;
    // A written result is read back as the same number by the next calculation.
    if (!expected.isEmpty()) {
      EXPECT_TRUE(IsNumericCell(expected)) << c.x;
      EXPECT_EQ(ResultText(WholeTextValue(expected)), expected);
    }
  }
}

// Neither Qt's default locale nor the C library's numeric locale changes how cells are read or
// written.
TEST(NumberRules, IndependentOfTheLocale) {
  const QLocale saved;
  const std::string savedC = std::setlocale(LC_NUMERIC, nullptr);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
    if (std::setlocale(LC_NUMERIC, name)) break;

  EXPECT_TRUE(IsNumericCell(QStringLiteral("1,200")));
  EXPECT_EQ(WholeTextValue(QStringLiteral("1,200")), 1200);
  EXPECT_EQ(WholeTextValue(QStringLiteral("72.5")), 72.5);
  EXPECT_FALSE(IsNumericCell(QStringLiteral("72,5")));
  EXPECT_FALSE(IsNumericCell(QStringLiteral("1.200,5")));
  EXPECT_EQ(LeadingNumberValue(QStringLiteral("2.5D1")), 25);
  EXPECT_EQ(ResultText(-1234567.25), QStringLiteral("-1234567.25"));
  EXPECT_EQ(RoundHalfUp(2.675, 2), 2.68);

  std::setlocale(LC_NUMERIC, savedC.c_str());
  QLocale::setDefault(saved);
}

TEST(NumberRules, CompensatedSumKeepsTheDigits) {
  CompensatedSum sum;
  double plain = 0.0;
  for (int i = 0; i < 1000; ++i) {
    sum.Add(72.3);
    plain += 72.3;
  }
  EXPECT_EQ(sum.Value(), 72300.0);
  EXPECT_NE(plain, 72300.0) << "the plain sum drifts, which is why the compensated one exists";

  // A small term between two cancelling large ones survives (Kahan's variant loses it).
  CompensatedSum cancelling;
  for (const double x : {1e100, 1.0, -1e100}) cancelling.Add(x);
  EXPECT_EQ(cancelling.Value(), 1.0);
}

}  // namespace
}  // namespace kelt
