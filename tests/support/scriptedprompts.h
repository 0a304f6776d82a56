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
    QStringList choices;  // the buttons of a question of its own
  };

  ScriptedPrompts();
  ~ScriptedPrompts() override;

  void Expect(PromptAnswer answer) { m_answers.push_back(answer); }
  // The next question with buttons of its own gets the button with this text.
  void ExpectChoice(const QString& button) { m_choices.push_back(button); }
  // The next file dialog returns `path` (empty: cancelled).
  void ExpectFile(const QString& path) { m_files.push_back(path); }
  // The next printer dialog chooses a PDF file at `path` (empty: cancelled).
  void ExpectPrinter(const QString& pdfPath) { m_printers.push_back(pdfPath); }
  int printerDialogs() const { return m_printerDialogs; }
  struct FileDialog {
    bool save;
    QString title;
    QString filter;
  };
  const QList<FileDialog>& fileDialogs() const { return m_fileDialogs; }
  const QList<Shown>& shown() const { return m_shown; }
  bool AllAnswered() const {
    return m_answers.empty() && m_choices.empty() && m_files.empty() && m_printers.empty();
  }

  PromptAnswer Message(QWidget* parent, const QString& text, const QString& title,
                       PromptButtons buttons, PromptIcon icon) override;
  int Choose(QWidget* parent, const QString& text, const QString& title, const QStringList& buttons,
             PromptIcon icon) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
  QString OpenFileName(QWidget* parent, const QString& filter) override;
  bool ChoosePrinter(QWidget* parent, QPrinter* printer) override;

 private:
  QString NextFile(bool save, const QString& title, const QString& filter);

  std::deque<QString> m_files;
  std::deque<QString> m_printers;
  int m_printerDialogs = 0;
  QList<FileDialog> m_fileDialogs;
  std::deque<PromptAnswer> m_answers;
  std::deque<QString> m_choices;
  QList<Shown> m_shown;
};

}  // namespace kelt::test
