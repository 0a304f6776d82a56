#pragma once

#include <QList>
#include <QString>

#include <deque>

#include "ui/platform/prompts.h"

namespace kelt::test {

// Answers message boxes from a script and records what they said; installed for its lifetime.
// A box that the script did not expect fails the test and gets the cautious answer.
class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    QString text;
    QString title;
    PromptButtons buttons;
    PromptIcon icon;
  };

  ScriptedPrompts();
  ~ScriptedPrompts() override;

  void Expect(PromptAnswer answer) { m_answers.push_back(answer); }
  const QList<Shown>& shown() const { return m_shown; }
  bool AllAnswered() const { return m_answers.empty(); }

  PromptAnswer Message(QWidget* parent, const QString& text, const QString& title,
                       PromptButtons buttons, PromptIcon icon) override;

 private:
  std::deque<PromptAnswer> m_answers;
  QList<Shown> m_shown;
};

}  // namespace kelt::test
