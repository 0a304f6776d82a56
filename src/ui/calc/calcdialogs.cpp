#include "ui/calc/calcdialogs.h"

#include "core/calc/computations.h"
#include "ui/calc/calculatordialog.h"
#include "ui/calc/columndialog.h"
#include "ui/calc/gradedialog.h"
#include "ui/calc/itemnamesdialog.h"
#include "ui/platform/singledialog.h"

namespace kelt {

namespace {
using Rounding = ColumnDialogKind::Rounding;
using Results = ColumnDialogKind::Results;

struct DialogRow {
  CalcDialog which;
  ColumnDialogKind kind;
};

const DialogRow kDialogs[] = {
    {CalcDialog::Total,
     {"合計", ItemChoice::Several, Rounding::None, Results::AtCursor, "合計", &HorizontalTotal}},
    {CalcDialog::Average,
     {"平均", ItemChoice::Several, Rounding::Offered, Results::AtCursor, "平均",
      &HorizontalAverage}},
    {CalcDialog::VerticalTotalAverage,
     {"縦合計平均", ItemChoice::Several, Rounding::Offered, Results::InTotalRows, "平均・合計",
      &VerticalTotalAverage}},
    {CalcDialog::Rank, {"順位", ItemChoice::One, Rounding::None, Results::AtCursor, "順位", &Rank}},
    {CalcDialog::DeviationScore,
     {"偏差値", ItemChoice::One, Rounding::Offered, Results::AtCursor, "偏差値", &DeviationScore}},
    {CalcDialog::Rounding,
     {"四捨五入", std::nullopt, Rounding::Offered, Results::AtCursor, "四捨五入", &RoundColumn}},
};
// A dialog of the frame, once; nothing without an active sheet.
template <typename Make>
QDialog* ShowOrCreate(const QString& name, QWidget* frame,
                      const std::function<frmDocument*()>& activeSheet, Make make) {
  if (!activeSheet()) return nullptr;
  return ShowSingleDialog(name, frame, make);
}
}  // namespace

QDialog* OpenColumnDialog(CalcDialog which, QWidget* frame,
                          const std::function<frmDocument*()>& activeSheet) {
  for (const DialogRow& row : kDialogs) {
    if (row.which != which) continue;
    return ShowOrCreate(QString::fromUtf8(row.kind.name), frame, activeSheet,
                        [&] { return new ColumnDialog(row.kind, activeSheet, frame); });
  }
  return nullptr;
}

QDialog* OpenGradeDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet) {
  return ShowOrCreate(QStringLiteral("評定"), frame, activeSheet,
                      [&] { return new GradeDialog(activeSheet, frame); });
}

QDialog* OpenItemNamesDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet) {
  return ShowOrCreate(QStringLiteral("列項目"), frame, activeSheet,
                      [&] { return new ItemNamesDialog(activeSheet, frame); });
}

QDialog* OpenCalculator(Calculator* state, QWidget* frame,
                        const std::function<frmDocument*()>& activeSheet) {
  return ShowOrCreate(QStringLiteral("電卓"), frame, activeSheet,
                      [&] { return new CalculatorDialog(state, activeSheet, frame); });
}

}  // namespace kelt
