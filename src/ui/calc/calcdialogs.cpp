#include "ui/calc/calcdialogs.h"

#include "core/calc/computations.h"
#include "ui/calc/columndialog.h"

namespace kelt {

namespace {
using List = ColumnDialogKind::List;

struct DialogRow {
  CalcDialog which;
  ColumnDialogKind kind;
};

const DialogRow kDialogs[] = {
    {CalcDialog::Total, {"合計", List::Several, false, true, "合計", &HorizontalTotal}},
    {CalcDialog::Average, {"平均", List::Several, true, true, "平均", &HorizontalAverage}},
    {CalcDialog::VerticalTotalAverage,
     {"縦合計平均", List::Several, true, false, "平均・合計", &VerticalTotalAverage}},
    {CalcDialog::Rank, {"順位", List::One, false, true, "順位", &Rank}},
    {CalcDialog::DeviationScore, {"偏差値", List::One, true, true, "偏差値", &DeviationScore}},
    {CalcDialog::Rounding, {"四捨五入", List::None, true, true, "四捨五入", &RoundColumn}},
};
}  // namespace

QDialog* OpenColumnDialog(CalcDialog which, QWidget* frame,
                          const std::function<frmDocument*()>& activeSheet) {
  if (!activeSheet()) return nullptr;
  for (const DialogRow& row : kDialogs) {
    if (row.which != which) continue;
    const QString name = QString::fromUtf8(row.kind.name);
    if (auto* open = frame->findChild<ColumnDialog*>(name, Qt::FindDirectChildrenOnly)) {
      open->show();
      open->raise();
      open->activateWindow();
      return open;
    }
    auto* dialog = new ColumnDialog(row.kind, activeSheet, frame);
    dialog->show();
    return dialog;
  }
  return nullptr;
}

}  // namespace kelt
