#include "ui/platform/prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

#include "ui/platform/displaytext.h"

namespace kelt {

namespace {
Prompts* g_prompts = nullptr;

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Information:
      return QMessageBox::Information;
    case PromptIcon::Warning:
      return QMessageBox::Warning;
    case PromptIcon::Critical:
      return QMessageBox::Critical;
    case PromptIcon::Question:
      return QMessageBox::Question;
    case PromptIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}
}  // namespace

Prompts& CurrentPrompts() {
  static DialogPrompts dialogs;
  return g_prompts ? *g_prompts : dialogs;
}

void SetPrompts(Prompts* prompts) { g_prompts = prompts; }

QString ApplicationTitle() { return QStringLiteral("kelt"); }

PromptAnswer ShowMessage(QWidget* parent, const QString& text, PromptButtons buttons,
                         const QString& title, PromptIcon icon) {
  return CurrentPrompts().Message(parent, text, title.isEmpty() ? ApplicationTitle() : title,
                                  buttons, icon);
}

PromptAnswer DialogPrompts::Message(QWidget* parent, const QString& text, const QString& title,
                                    PromptButtons buttons, PromptIcon icon) {
  QMessageBox box(ToQtIcon(icon), WindowTitleText(title), text, QMessageBox::NoButton, parent);
  QPushButton* first = nullptr;
  QPushButton* second = nullptr;
  switch (buttons) {
    case PromptButtons::Ok:
      first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      break;
    case PromptButtons::OkCancel:
      first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      second = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      break;
    case PromptButtons::YesNo:
      first = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
      second = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
      break;
  }
  box.setDefaultButton(first);
  box.setEscapeButton(second ? second : first);
  box.exec();
  // A box closed without a choice counts as the cautious answer.
  const bool firstChosen = box.clickedButton() == first;
  switch (buttons) {
    case PromptButtons::Ok:
      return PromptAnswer::Ok;
    case PromptButtons::OkCancel:
      return firstChosen ? PromptAnswer::Ok : PromptAnswer::Cancel;
    case PromptButtons::YesNo:
      return firstChosen ? PromptAnswer::Yes : PromptAnswer::No;
  }
  return PromptAnswer::Ok;
}

int DialogPrompts::Choose(QWidget* parent, const QString& text, const QString& title,
                          const QStringList& buttons, PromptIcon icon) {
  if (buttons.isEmpty()) return -1;
  QMessageBox box(ToQtIcon(icon), WindowTitleText(title), text, QMessageBox::NoButton, parent);
  QList<QPushButton*> added;
  for (qsizetype i = 0; i < buttons.size(); ++i) {
    const QMessageBox::ButtonRole role = i == 0                    ? QMessageBox::AcceptRole
                                         : i == buttons.size() - 1 ? QMessageBox::RejectRole
                                                                   : QMessageBox::ActionRole;
    added << box.addButton(buttons[i], role);
  }
  box.setDefaultButton(added.first());
  box.setEscapeButton(added.last());
  box.exec();
  const qsizetype chosen = added.indexOf(box.clickedButton());
  return int(chosen < 0 ? buttons.size() - 1 : chosen);
}

}  // namespace kelt

namespace kelt {

QString QtFileFilter(const QString& filter) {
  const qsizetype bar = filter.indexOf(QLatin1Char('|'));
  if (bar < 0) return filter;
  QString description = filter.left(bar);
  const QString pattern = filter.mid(bar + 1);
  // Qt reads the patterns from the parentheses at the end of the description.
  if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('(')))
    return description;
  return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QString DialogPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, QString(), QtFileFilter(filter), nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

QString DialogPrompts::OpenFileName(QWidget* parent, const QString& filter) {
  // The open dialog only offers files that exist.
  return QFileDialog::getOpenFileName(parent, QString(), QString(), QtFileFilter(filter));
}

bool DialogPrompts::ChoosePrinter(QWidget* parent, QPrinter* printer) {
  QPrintDialog dialog(printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace kelt
