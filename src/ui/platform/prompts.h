#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace kelt {

enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptAnswer { Ok, Cancel, Yes, No };
enum class PromptIcon { None, Information, Warning, Critical, Question };

// Every message box of the program goes through here, so tests can answer them.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual PromptAnswer Message(QWidget* parent, const QString& text, const QString& title,
                               PromptButtons buttons, PromptIcon icon) = 0;
  // A question with buttons of its own, the first the default and the last the cautious one:
  // the index of the button chosen, the last when the box is closed without a choice.
  virtual int Choose(QWidget* parent, const QString& text, const QString& title,
                     const QStringList& buttons, PromptIcon icon) = 0;
  // File dialogs; `filter` is "description|pattern". An empty path means cancelled. The save
  // dialog does not ask about overwriting: the caller asks about the path it really writes.
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
  virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;
  // The printer dialog: the teacher chooses a printer or a file for `printer`; false when she
  // cancels.
  virtual bool ChoosePrinter(QWidget* parent, QPrinter* printer) = 0;
};

// The prompts in force: the real dialogs unless a test installed its own.
Prompts& CurrentPrompts();
// Installs `prompts` (not owned); null restores the real dialogs.
void SetPrompts(Prompts* prompts);

// The title of every message box that names none of its own.
QString ApplicationTitle();

// Shortcut for a message through the current prompts.
PromptAnswer ShowMessage(QWidget* parent, const QString& text,
                         PromptButtons buttons = PromptButtons::Ok, const QString& title = {},
                         PromptIcon icon = PromptIcon::None);

// Message boxes with Japanese button texts, whatever translations are loaded.
class DialogPrompts : public Prompts {
 public:
  PromptAnswer Message(QWidget* parent, const QString& text, const QString& title,
                       PromptButtons buttons, PromptIcon icon) override;
  int Choose(QWidget* parent, const QString& text, const QString& title, const QStringList& buttons,
             PromptIcon icon) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
  QString OpenFileName(QWidget* parent, const QString& filter) override;
  bool ChoosePrinter(QWidget* parent, QPrinter* printer) override;
};

// "Keltファイル(*.klt)|*.klt" in the notation of Qt's file dialogs.
QString QtFileFilter(const QString& filter);

}  // namespace kelt
