#include "ui/calc/calcdialogs.h"

#include "core/calc/computations.h"
#include "ui/calc/columndialog.h"

namespace kelt {

namespace {
using List = ColumnDialogKind::List;

const ColumnDialogKind kDialogs[] = {
    {"合計", List::Several, false, true, "合計", &HorizontalTotal},
    {"平均", List::Several, true, true, "平均", &HorizontalAverage},
    {"縦合計平均", List::Several, true, false, "平均・合計", &VerticalTotalAverage},
    {"順位", List::One, false, true, "順位", &Rank},
    {"偏差値", List::One, true, true, "偏差値", &DeviationScore},
    {"四捨五入", List::None, true, true, "四捨五入", &RoundColumn},
};
}  // namespace

QDialog* OpenColumnDialog(const QString& name, QWidget* frame,
                          const std::function<frmDocument*()>& activeSheet) {
  if (!activeSheet()) return nullptr;
  if (auto* open = frame->findChild<ColumnDialog*>(name, Qt::FindDirectChildrenOnly)) {
    open->show();
    open->raise();
    open->activateWindow();
    return open;
  }
  for (const ColumnDialogKind& kind : kDialogs) {
    if (QString::fromUtf8(kind.name) != name) continue;
    auto* dialog = new ColumnDialog(kind, activeSheet, frame);
    dialog->show();
    return dialog;
  }
  return nullptr;
}

}  // namespace kelt
