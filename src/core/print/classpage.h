#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "core/sheet/textgrid.h"

namespace kelt {

// The printed page of one class: a header line, 50 pupil lines, the total and average lines,
// each made of right-aligned fixed-width fields counted in half-width columns.
namespace classpage {
constexpr int kNumberWidth = 4;
constexpr int kNameWidth = 14;
constexpr int kScoreWidth = 6;
constexpr int kLines = 53;
// The last score column that can be printed: the page holds at most 19 score fields.
constexpr int kLastPrintedCol = 20;
// Character cell of the page, in twips, and the first line's distance from the top in cells.
constexpr int kCellWidthTwips = 120;
constexpr int kCellHeightTwips = 240;
constexpr double kFirstLineTop = 3.1;
// The rule under the average line, in line heights; the others are under the header, every
// fifth pupil and pupil 50: 4, 9, ..., 54.
constexpr int kLastRule = 56;
constexpr int kRuleLength = 100;  // in cell widths: past the right edge of an A4 page
}  // namespace classpage

// Half-width columns of each character (code point) of the text as a printer with a Shift-JIS
// font sets it: 2 for a character of two bytes in CP932 (kanji, kana, full-width forms), 1 for
// any other (ASCII, half-width katakana, characters CP932 lacks).
QList<int> PrintColumns(const QString& text);

// The text right-aligned in a field exactly `width` columns wide. A wider text loses characters
// at its left (山田花子 in six columns prints 田花子); a text with so many two-column characters
// that none would be left keeps its left part instead (a family name matters more than the end
// of a given name). A two-column character is never split; control characters print as blanks.
QString PrintField(const QString& text, int width);

// A mark or result in its field: a number that needs more than width − 1 columns prints as one
// blank and width − 1 "#" marks, as spreadsheets do, so that a cut number is never shown and two
// numbers side by side never run together (80 beside 678901). Other texts as PrintField.
QString PrintNumberField(const QString& text, int width);

// The 53 lines of a class view: number, name and the score columns 2 to 20 whose items
// (Sheet::ItemColumn) are in `items`, in column order; columns the view lacks are skipped.
QStringList ClassPageLines(const TextGrid& classView, const QList<int>& items);

// The rules' heights in line heights, top to bottom.
QList<int> ClassPageRules();

}  // namespace kelt
