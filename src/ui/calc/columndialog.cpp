#include "ui/calc/columndialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/sheet/sheet.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/flexgrid.h"
#include "ui/platform/itemlist.h"
#include "ui/platform/prompts.h"
#include "ui/platform/singledialog.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

QButtonGroup* AddRoundingChoice(QWidget* dialog, QBoxLayout* layout, int checked) {
  auto* frame = new QGroupBox(QStringLiteral("四捨五入"), dialog);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* options = new QVBoxLayout(frame);
  auto* group = new QButtonGroup(dialog);
  const QString captions[] = {QStringLiteral("整数"), QStringLiteral("小数第１位"),
                              QStringLiteral("小数第2位")};
  for (int i = 0; i < 3; ++i) {
    auto* option = new QRadioButton(captions[i], frame);
    option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
    group->addButton(option, i);
    options->addWidget(option);
  }
  group->button(checked)->setChecked(true);
  layout->addWidget(frame);
  return group;
}

bool RunCalculation(QWidget* dialog, frmDocument* doc, CalcChoice choice, CalcNeeds needs,
                    const std::function<void(TextGrid&, const CalcChoice&)>& compute) {
  // With no sheet left open there is nothing to compute on.
  if (!doc) return true;
  // Totals or ranks over the pupils' numbers or names would destroy them: the teacher puts the
  // cursor into a score column and presses again.
  if (needs.writesAtCursor && RefusesResultsAtCursor(*doc, dialog)) return false;
  Sheet* sheet = doc->sheet();
  sheet->StoreView();
  choice.targetColumn = doc->viewGrid()->Col();
  if (needs.needsItem && !HasSelectedItem(choice)) {
    AskForItem(dialog);
  } else {
    sheet->EditView([&](TextGrid& view) { compute(view, choice); });
  }
  sheet->MarkModified();
  return true;
}

ColumnDialog::ColumnDialog(const ColumnDialogKind& kind, std::function<frmDocument*()> activeSheet,
                           QWidget* parent)
    : QDialog(parent), m_kind(kind), m_activeSheet(std::move(activeSheet)) {
  const QString name = QString::fromUtf8(kind.name);
  MakeSingleDialog(this, name);

  auto* layout = new QVBoxLayout(this);
  if (kind.list) {
    m_list = MakeColumnList(this, ScoreColumnNames(m_activeSheet()), *kind.list);
    layout->addWidget(m_list, 1);
  }
  if (kind.rounding == ColumnDialogKind::Rounding::Offered)
    m_options = AddRoundingChoice(this, layout);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(QString::fromUtf8(kind.okCaption), this);
  ok->setObjectName(QStringLiteral("Command1"));
  auto* cancel = new QPushButton(QStringLiteral("中止"), this);
  cancel->setObjectName(QStringLiteral("Command2"));
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &ColumnDialog::Accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  resize(240, kind.list ? 360 : 160);
}

CalcChoice ColumnDialog::Choice() const {
  CalcChoice choice;
  if (m_list) choice.items = ChosenItems(m_list);
  if (m_options) choice.places = std::max(m_options->checkedId(), 0);
  return choice;
}

void ColumnDialog::Accept() {
  if (RunCalculation(
          this, m_activeSheet(), Choice(),
          {.writesAtCursor = m_kind.results == ColumnDialogKind::Results::AtCursor,
           .needsItem = m_kind.list == ItemChoice::One},
          [this](TextGrid& view, const CalcChoice& choice) { m_kind.compute(view, choice); })) {
    close();
  }
}

}  // namespace kelt
