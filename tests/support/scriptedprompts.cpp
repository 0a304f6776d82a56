#include "support/scriptedprompts.h"

#include <gtest/gtest.h>

namespace kelt::test {

ScriptedPrompts::ScriptedPrompts() { SetPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() { SetPrompts(nullptr); }

PromptAnswer ScriptedPrompts::Message(QWidget*, const QString& text, const QString& title,
                                      PromptButtons buttons, PromptIcon icon) {
  m_shown.append({text, title, buttons, icon});
  if (m_answers.empty()) {
    ADD_FAILURE() << "unexpected message box: " << text.toStdString();
    switch (buttons) {
      case PromptButtons::Ok: return PromptAnswer::Ok;
      case PromptButtons::OkCancel: return PromptAnswer::Cancel;
      case PromptButtons::YesNo: return PromptAnswer::No;
    }
  }
  const PromptAnswer answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

}  // namespace kelt::test
