#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "core/calc/computations.h"
#include "ui/platform/itemlist.h"

class QBoxLayout;
class QButtonGroup;
class QListWidget;
class QRadioButton;

namespace kelt {

class frmDocument;

// The rounding choice `Frame1` ("四捨五入": 整数, 小数第１位 and 小数第2位 as Option1 to Option3)
// added to `layout`, with option `checked` selected; the group's ids are the decimal places.
QButtonGroup* AddRoundingChoice(QWidget* dialog, QBoxLayout* layout, int checked = 0);

// What a calculation asks of the sheet and the dialog before it runs.
struct CalcNeeds {
  bool writesAtCursor = false;  // results go into the grid's current column
  bool needsItem = false;       // an item must be chosen in the list
};

// The OK sequence the calculation dialogs share, on the sheet active at that moment: the undo
// snapshot, the computation (or a request for an item when it needs one and has none), the
// modified mark. Returns false, with a message and nothing done, when the results would go into
// the number or name column: the dialog then stays open for the teacher to move the cursor.
bool RunCalculation(QWidget* dialog, frmDocument* doc, CalcChoice choice, CalcNeeds needs,
                    const std::function<void(TextGrid&, const CalcChoice&)>& compute);

// One row of the dialog table.
struct ColumnDialogKind {
  enum class Rounding { None, Offered };         // the rounding choice
  enum class Results { AtCursor, InTotalRows };  // where the computation writes
  const char* name;                              // objectName and title
  std::optional<ItemChoice> list;                // the column list, if the dialog has one
  Rounding rounding;
  Results results;
  const char* okCaption;
  Computation compute;
};

// The dialogs 合計, 平均, 縦合計平均, 順位, 偏差値 and 四捨五入: a list of the score columns, the
// rounding choice, OK and 中止. Modeless; OK works on the sheet active at that moment.
class ColumnDialog : public QDialog {
  Q_OBJECT

 public:
  ColumnDialog(const ColumnDialogKind& kind, std::function<frmDocument*()> activeSheet,
               QWidget* parent);

  CalcChoice Choice() const;
  // The OK button: store, compute on the active sheet, mark it, close.
  void Accept();

 private:
  ColumnDialogKind m_kind;
  std::function<frmDocument*()> m_activeSheet;
  QListWidget* m_list = nullptr;
  QButtonGroup* m_options = nullptr;
};

}  // namespace kelt
