#pragma once

#include <QMainWindow>
#include <QPointer>
#include <future>

#include "core/calc/calculator.h"
#include "ui/app/commandtable.h"
#include "ui/app/helpviewer.h"
#include "ui/calc/calcdialogs.h"
#include "ui/sheet/sheethost.h"
#include "ui/storage/filecommands.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace kelt {

class HelpViewer;
class frmDocument;

// The frame: sheet windows in a multiple-document area, the menus and toolbar built from the
// command table, the status bar. It coordinates; the sheets and dialogs do the work.
class frmMain : public QMainWindow, public SheetHost {
  Q_OBJECT

 public:
  // The frame with its first sheet, read from `startPath` when one is given.
  explicit frmMain(const QString& startPath = {}, QWidget* parent = nullptr);
  // The frame with its first sheet being made aside, the start-up file read or a new sheet: the
  // frame's menus and bars are built meanwhile, and the sheet is waited for only then.
  explicit frmMain(std::future<SheetFileRead> startSheet, QWidget* parent = nullptr);
  ~frmMain() override;

  // The active sheet window, or null when none is open.
  frmDocument* activeSheet() const;
  QList<frmDocument*> sheets() const;
  QMdiArea* mdiArea() const { return m_mdi; }

  // The focus permission (the frame's Tag).
  bool FocusAllowed() const override { return m_focusAllowed; }
  void SetFocusAllowed(bool allowed) override { m_focusAllowed = allowed; }

  // The commands of the menus and the toolbar.
  void Run(Command command);
  void ToolbarClick(const QString& key);
  // A new sheet window: empty and numbered "Book" n, or read from `path`.
  frmDocument* NewSheet(const QString& path = {});
  frmDocument* NewSheet(SheetFileRead read);
  void OpenSheetFile();
  void CloseAllWindows();
  // 0 cascade, 1 one above the other, 2 side by side.
  void Arrange(int code);
  // Shows a calculation dialog by its name, one instance each.
  void OpenDialog(CalcDialog which);
  // After a crash: offers the sheets the last run left unsaved, once the frame is shown.
  void OfferRecovery();
  void HelpContents();
  void HelpAbout();
  void Undo();

  QString HelpFilePath() const { return m_helpPath; }
  void SetHelpFilePath(const QString& path) { m_helpPath = path; }
  HelpViewer* helpViewer() const { return m_help; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Everything but the first sheet.
  void BuildFrame();
  // The new sheet window, showing `read` when there is one; a sheet read from no file is captioned
  // `caption`, or the next "Book".
  frmDocument* AddSheet(SheetFileRead* read, const QString& caption = {});
  void BuildCommands();
  void BuildStatusBar();
  void FillWindowMenu();
  void RestorePlacement();
  void StorePlacement();
  // A message that needs the frame on screen: shown now, or as soon as the frame is shown.
  void Tell(const QString& text);
  // "Book" and the next number no open sheet has.
  QString NextBookCaption();
  bool CaptionInUse(const QString& caption) const;
  // Says once, in the status bar, that the recovery copies cannot be written.
  void TellCopiesNotKept(const QString& why);
  void ShowPendingMessages();

  QMdiArea* m_mdi;
  QToolBar* m_toolBar = nullptr;
  QMenu* m_windowMenu = nullptr;
  QList<QAction*> m_windowListActions;
  QLabel* m_dateLabel = nullptr;
  QLabel* m_timeLabel = nullptr;
  QPointer<HelpViewer> m_help;
  QString m_helpPath;
  bool m_focusAllowed = false;
  int m_sheetCounter = 0;
  QSize m_outerSize;
  QStringList m_pendingMessages;
  bool m_placed = false;
  bool m_toldCopiesNotKept = false;
  // The one calculator: what it had pending when closed is there at the next opening.
  Calculator m_calculator;
};

}  // namespace kelt
