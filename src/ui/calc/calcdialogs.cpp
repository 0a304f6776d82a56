#include "ui/calc/calcdialogs.h"

#include "core/calc/computations.h"
#include "ui/calc/calculatordialog.h"
#include "ui/calc/columndialog.h"
#include "ui/calc/gradedialog.h"
#include "ui/calc/itemnamesdialog.h"
#include "ui/platform/singledialog.h"

namespace kelt {

namespace {
using List = ColumnDialogKind::List;

struct DialogRow {
  CalcDialog which;
  ColumnDialogKind kind;
};

const DialogRow kDialogs[] = {
    {CalcDialog::Total,
     {.name = "合計",
      .list = List::Several,
      .rounding = false,
      .writesTarget = true,
      .okCaption = "合計",
      .compute = &HorizontalTotal}},
    {CalcDialog::Average,
     {.name = "平均",
      .list = List::Several,
      .rounding = true,
      .writesTarget = true,
      .okCaption = "平均",
      .compute = &HorizontalAverage}},
    {CalcDialog::VerticalTotalAverage,
     {.name = "縦合計平均",
      .list = List::Several,
      .rounding = true,
      .writesTarget = false,
      .okCaption = "平均・合計",
      .compute = &VerticalTotalAverage}},
    {CalcDialog::Rank,
     {.name = "順位",
      .list = List::One,
      .rounding = false,
      .writesTarget = true,
      .okCaption = "順位",
      .compute = &Rank}},
    {CalcDialog::DeviationScore,
     {.name = "偏差値",
      .list = List::One,
      .rounding = true,
      .writesTarget = true,
      .okCaption = "偏差値",
      .compute = &DeviationScore}},
    {CalcDialog::Rounding,
     {.name = "四捨五入",
      .list = List::None,
      .rounding = true,
      .writesTarget = true,
      .okCaption = "四捨五入",
      .compute = &RoundColumn}},
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
