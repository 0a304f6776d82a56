#include "ui/platform/prompts.h"

#include <QMessageBox>
#include <QPushButton>

namespace kelt {

namespace {
Prompts* g_prompts = nullptr;

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
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
  QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::NoButton, parent);
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
    case PromptButtons::Ok: return PromptAnswer::Ok;
    case PromptButtons::OkCancel: return firstChosen ? PromptAnswer::Ok : PromptAnswer::Cancel;
    case PromptButtons::YesNo: return firstChosen ? PromptAnswer::Yes : PromptAnswer::No;
  }
  return PromptAnswer::Ok;
}

}  // namespace kelt
