#include "support/scriptedprompts.h"

#include <gtest/gtest.h>

#include <QPrinter>

namespace kelt::test {

ScriptedPrompts::ScriptedPrompts() { SetPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() { SetPrompts(nullptr); }

PromptAnswer ScriptedPrompts::Message(QWidget*, const QString& text, const QString& title,
                                      PromptButtons buttons, PromptIcon icon) {
  m_shown.append({text, title, buttons, icon, {}});
  if (m_answers.empty()) {
    ADD_FAILURE() << "unexpected message box: " << text.toStdString();
    switch (buttons) {
      case PromptButtons::Ok:
        return PromptAnswer::Ok;
      case PromptButtons::OkCancel:
        return PromptAnswer::Cancel;
      case PromptButtons::YesNo:
        return PromptAnswer::No;
    }
  }
  const PromptAnswer answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

int ScriptedPrompts::Choose(QWidget*, const QString& text, const QString& title,
                            const QStringList& buttons, PromptIcon icon) {
  m_shown.append({text, title, PromptButtons::Ok, icon, buttons});
  const int cautious = int(buttons.size()) - 1;
  if (m_choices.empty()) {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return cautious;
  }
  const QString choice = m_choices.front();
  m_choices.pop_front();
  const int index = int(buttons.indexOf(choice));
  if (index < 0) {
    ADD_FAILURE() << "no button " << choice.toStdString() << " in: " << text.toStdString();
    return cautious;
  }
  return index;
}

QString ScriptedPrompts::NextFile(bool save, const QString& title, const QString& filter) {
  m_fileDialogs.append({save, title, filter});
  if (m_files.empty()) {
    ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
    return {};
  }
  const QString path = m_files.front();
  m_files.pop_front();
  return path;
}

QString ScriptedPrompts::SaveFileName(QWidget*, const QString& title, const QString& filter) {
  return NextFile(true, title, filter);
}

QString ScriptedPrompts::OpenFileName(QWidget*, const QString& filter) {
  return NextFile(false, QString(), filter);
}

bool ScriptedPrompts::ChoosePrinter(QWidget*, QPrinter* printer) {
  ++m_printerDialogs;
  if (m_printers.empty()) {
    ADD_FAILURE() << "unexpected printer dialog";
    return false;
  }
  const QString path = m_printers.front();
  m_printers.pop_front();
  if (path.isEmpty()) return false;
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  return true;
}

}  // namespace kelt::test
