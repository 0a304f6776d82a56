#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "core/sheet/textgrid.h"

namespace kelt {

// 個人成績票: each pupil's marks with where they stand, as the sheet's own calculations give it.

// One line of a slip: a chosen item, or 合計 over them.
struct SlipLine {
  QString item;
  QString mark;  // as it stands in the sheet; "—" for a 合計 the pupil lacks a number for
  QString classAverage;  // one decimal place, as 平均 gives it; empty when no one has a number
  QString yearAverage;
  QString rank;       // "12 / 987": 順位 in the year, of the pupils with a number; or empty
  QString deviation;  // 偏差値 in the year, one decimal place; empty without a number
  bool operator==(const SlipLine&) const = default;
};

struct PupilSlip {
  int classIndex;
  int row;  // the pupil's number in the class, 1 to 50
  QString name;
  QList<SlipLine> lines;  // the chosen items in column order, then 合計
};

// The most items a slip holds.
inline constexpr int kMaxSlipItems = 19;

// The slips of the pupils of `classes` (class indexes, in the order given) in `storage`, over the
// score items `items` (item k is column Sheet::ItemColumn(k); items the sheet lacks are left out).
// A pupil whose name is empty and who has no text in any chosen item gets none. Averages, ranks
// and 偏差値 are those 平均, 順位 and 偏差値 write (one decimal place), over the class or the
// year; 合計 counts the pupils with a number in every chosen item.
QList<PupilSlip> PupilSlips(const TextGrid& storage, const QList<int>& classes,
                            const QList<int>& items);

// The table of a slip as fixed-pitch lines of half-width columns: a heading line, then one line
// per SlipLine; the rank and 偏差値 columns only where asked for. Numbers that do not fit their
// field show as "#" marks, never cut.
QStringList SlipTableLines(const PupilSlip& slip, bool ranks, bool deviations);

}  // namespace kelt
