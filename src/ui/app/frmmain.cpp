#include "ui/app/frmmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <exception>

#include "core/sheet/sheet.h"
#include "ui/app/frmsplash.h"
#include "ui/app/helpviewer.h"
#include "ui/app/placement.h"
#include "ui/calc/calcdialogs.h"
#include "ui/calc/distributionwindow.h"
#include "ui/calc/viewpointdialog.h"
#include "ui/edit/clipboardcommands.h"
#include "ui/edit/structurecommands.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/pictures.h"
#include "ui/platform/prompts.h"
#include "ui/platform/twips.h"
#include "ui/print/printdialog.h"
#include "ui/sheet/frmdocument.h"
#include "ui/storage/filecommands.h"
#include "ui/storage/recovery.h"

namespace kelt {

namespace {

// Room around the toolbar or strip on a first start: the window's borders and a sheet window's
// frame.
constexpr int kFirstStartMargin = 40;
QString Utf8(const char* text) { return QString::fromUtf8(text); }

// Beside the program in the build tree; under share/kelt once installed.
QString InstalledHelpPath() {
  const QString dir = QApplication::applicationDirPath();
  QString beside = dir + QStringLiteral("/kelt.hlp");
  if (QFile::exists(beside)) return beside;
  const QString shared = QDir::cleanPath(dir + QStringLiteral("/../share/kelt/kelt.hlp"));
  return QFile::exists(shared) ? shared : beside;
}

QIcon ToolbarIcon(const CommandEntry& entry) {
  // One picture, read here once (an icon given a file name reads it again when drawn): twice the
  // size for a dense screen.
  const int scale = qApp->devicePixelRatio() > 1 ? 2 : 1;
  QPixmap picture =
      ReadPng(QStringLiteral(":/icons/%1-%2.png").arg(Utf8(entry.icon)).arg(24 * scale));
  picture.setDevicePixelRatio(scale);
  return QIcon(picture);
}
}  // namespace

frmMain::frmMain(const QString& startPath, QWidget* parent)
    : QMainWindow(parent), m_mdi(new QMdiArea(this)) {
  BuildFrame();
  NewSheet(startPath);
}

frmMain::frmMain(std::future<SheetFileRead> startSheet, QWidget* parent)
    : QMainWindow(parent), m_mdi(new QMdiArea(this)) {
  BuildFrame();
  NewSheet(startSheet.get());
}

void frmMain::BuildFrame() {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Kelt"));
  m_mdi->setObjectName(QStringLiteral("mdiArea"));
  m_mdi->setAccessibleName(QStringLiteral("シート"));
  menuBar()->setAccessibleName(QStringLiteral("メニューバー"));
  setCentralWidget(m_mdi);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    if (window) m_focusAllowed = true;
  });

  BuildCommands();
  BuildStatusBar();

  // Where it was left and where its help lies.
  RestorePlacement();
  m_helpPath = InstalledHelpPath();
}

frmMain::~frmMain() = default;

void frmMain::BuildCommands() {
  QHash<QString, QMenu*> menus;
  auto menuFor = [&](const char* name) -> QMenu* {
    const QString key = Utf8(name);
    if (QMenu* menu = menus.value(key)) return menu;
    for (const MenuEntry& entry : Menus()) {
      if (key != Utf8(entry.objectName)) continue;
      // Menus are added in the order of the menu list, whatever the order of first use.
      QMenu* menu = new QMenu(Utf8(entry.caption), this);
      menu->setObjectName(key);
      menus.insert(key, menu);
      return menu;
    }
    return nullptr;
  };
  for (const CommandEntry& entry : Commands()) {
    if (!entry.menu) continue;
    QMenu* menu = menuFor(entry.menu);
    if (!menu) continue;
    if (QByteArray(entry.caption) == "-") {
      menu->addSeparator()->setObjectName(Utf8(entry.objectName));
      continue;
    }
    QAction* action = menu->addAction(Utf8(entry.caption));
    action->setObjectName(Utf8(entry.objectName));
    if (*entry.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
    const Command command = entry.command;
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
  }
  for (const MenuEntry& entry : Menus()) {
    if (QMenu* menu = menus.value(Utf8(entry.objectName))) menuBar()->addMenu(menu);
  }

  m_windowMenu = menus.value(QStringLiteral("mnuWindow"));
  if (m_windowMenu) connect(m_windowMenu, &QMenu::aboutToShow, this, &frmMain::FillWindowMenu);

  m_toolBar = addToolBar(QStringLiteral("ツールバー"));
  m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
  m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  m_toolBar->setMovable(false);
  // The button that shows the buttons a narrow frame hides.
  if (auto* more = m_toolBar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
    more->setAccessibleName(QStringLiteral("その他のボタン"));
  std::vector<const CommandEntry*> buttons;
  for (const CommandEntry& entry : Commands()) {
    if (entry.toolbarPosition > 0) buttons.push_back(&entry);
  }
  std::sort(buttons.begin(), buttons.end(),
            [](auto* a, auto* b) { return a->toolbarPosition < b->toolbarPosition; });
  for (const CommandEntry* entry : buttons) {
    const QString key = Utf8(entry->toolbarKey);
    QAction* action = m_toolBar->addAction(ToolbarIcon(*entry), Utf8(entry->toolbarCaption));
    action->setObjectName(key);
    action->setToolTip(Utf8(entry->tooltip));
    action->setData(key);
    connect(action, &QAction::triggered, this, [this, key] { ToolbarClick(key); });
    for (int after : ToolbarSeparatorsAfter()) {
      if (after == entry->toolbarPosition) m_toolBar->addSeparator();
    }
  }
}

void frmMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("sbStatusBar"));
  bar->setAccessibleName(QStringLiteral("ステータスバー"));
  auto* status = new QLabel(QStringLiteral("ｽﾃｰﾀｽ"), bar);
  status->setObjectName(QStringLiteral("sbStatus"));
  m_dateLabel = new QLabel(bar);
  m_dateLabel->setObjectName(QStringLiteral("sbDate"));
  m_timeLabel = new QLabel(bar);
  m_timeLabel->setObjectName(QStringLiteral("sbTime"));
  bar->addWidget(status, 1);
  bar->addPermanentWidget(m_dateLabel);
  bar->addPermanentWidget(m_timeLabel);
  auto refresh = [this] {
    const QDateTime now = QDateTime::currentDateTime();
    m_dateLabel->setText(now.toString(QStringLiteral("yyyy/MM/dd")));
    m_timeLabel->setText(now.toString(QStringLiteral("H:mm")));
  };
  refresh();
  auto* clock = new QTimer(this);
  connect(clock, &QTimer::timeout, this, refresh);
  clock->start(1000);
}

frmDocument* frmMain::activeSheet() const {
  // The current window, also while the frame itself is not the active application window.
  QMdiSubWindow* window = m_mdi->currentSubWindow();
  return window ? qobject_cast<frmDocument*>(window->widget()) : nullptr;
}

QList<frmDocument*> frmMain::sheets() const {
  QList<frmDocument*> result;
  for (QMdiSubWindow* window : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
    if (auto* doc = qobject_cast<frmDocument*>(window->widget())) result.append(doc);
  }
  return result;
}

void frmMain::Run(Command command) {
  switch (command) {
    case Command::FileNew:
      NewSheet();
      break;
    case Command::FileOpen:
      OpenSheetFile();
      break;
    case Command::FileSave:
      SaveSheet(activeSheet(), this);
      break;
    case Command::FileSaveAs:
      SaveSheetAs(activeSheet(), this);
      break;
    case Command::FileExit:
      CloseAllWindows();
      break;
    case Command::Undo:
      Undo();
      break;
    case Command::EditCut:
      EditCut(activeSheet());
      break;
    case Command::EditCopy:
      EditCopy(activeSheet());
      break;
    case Command::EditPaste:
      EditPaste(activeSheet(), this);
      break;
    case Command::InsertColumn:
      InsertColumnCommand(activeSheet(), this);
      break;
    case Command::InsertRow:
      InsertRowCommand(activeSheet(), this);
      break;
    case Command::DeleteColumn:
      DeleteColumnCommand(activeSheet(), this);
      break;
    case Command::RestoreColumnWidths:
      RestoreColumnWidths(activeSheet());
      break;
    case Command::RestoreRowHeights:
      RestoreRowHeights(activeSheet());
      break;
    case Command::ToggleNameLock:
      ToggleNameLock(activeSheet());
      break;
    case Command::WindowCascade:
      Arrange(0);
      break;
    case Command::WindowTileHorizontal:
      Arrange(1);
      break;
    case Command::WindowTileVertical:
      Arrange(2);
      break;
    case Command::HorizontalTotal:
      OpenDialog(CalcDialog::Total);
      break;
    case Command::Rank:
      OpenDialog(CalcDialog::Rank);
      break;
    case Command::VerticalTotalAverage:
      OpenDialog(CalcDialog::VerticalTotalAverage);
      break;
    case Command::HorizontalAverage:
      OpenDialog(CalcDialog::Average);
      break;
    case Command::Rounding:
      OpenDialog(CalcDialog::Rounding);
      break;
    case Command::DeviationScore:
      OpenDialog(CalcDialog::DeviationScore);
      break;
    case Command::FilePrint:
      OpenPrintDialog(this, [this] { return activeSheet(); });
      break;
    case Command::Grades:
      OpenGradeDialog(this, [this] { return activeSheet(); });
      break;
    case Command::Viewpoints:
      OpenViewpointDialog(this, [this] { return activeSheet(); });
      break;
    case Command::Arithmetic:
      OpenCalculator(&m_calculator, this, [this] { return activeSheet(); });
      break;
    case Command::ItemNames:
      OpenItemNamesDialog(this, [this] { return activeSheet(); });
      break;
    case Command::Distribution:
      OpenDistributionWindow(this, activeSheet());
      break;
    case Command::HelpContents:
      HelpContents();
      break;
    case Command::HelpAbout:
      HelpAbout();
      break;
    case Command::None:
      break;
  }
}

void frmMain::ToolbarClick(const QString& key) {
  const CommandEntry* entry = FindToolbarKey(key);
  if (!entry) return;
  // A failing toolbar command ends without taking the program with it; the teacher goes on
  // working, and the log says what failed.
  try {
    Run(entry->command);
  } catch (const std::exception& e) {
    qWarning("kelt: the toolbar command %s failed: %s", qUtf8Printable(key), e.what());
  } catch (...) {
    qWarning("kelt: the toolbar command %s failed", qUtf8Printable(key));
  }
}

frmDocument* frmMain::NewSheet(const QString& path) {
  if (path.isEmpty()) return AddSheet(nullptr);
  SheetFileRead read = ReadSheetFileAside(path);
  return AddSheet(&read);
}

frmDocument* frmMain::NewSheet(SheetFileRead read) { return AddSheet(&read); }

frmDocument* frmMain::AddSheet(SheetFileRead* read, const QString& caption) {
  auto* doc =
      read ? new frmDocument(this, std::move(read->sheet.storage), std::move(read->sheet.view))
           : new frmDocument(this);
  QString message;
  if (read && !read->path.isEmpty()) {
    ++m_sheetCounter;
    message = ShowSheetFileRead(doc, std::move(*read));
  } else {
    doc->SetCaption(caption.isEmpty() ? NextBookCaption() : caption);
  }
  auto* copy = new RecoveryCopy(doc);
  connect(copy, &RecoveryCopy::copyFailed, this, &frmMain::TellCopiesNotKept);
  QMdiSubWindow* window = m_mdi->addSubWindow(doc);
  window->showMaximized();
  m_mdi->setActiveSubWindow(window);
  doc->editor()->setFocus();
  // The window opens with what could be read; then the teacher learns why not all of it.
  if (!message.isEmpty()) Tell(message);
  return doc;
}

bool frmMain::CaptionInUse(const QString& caption) const {
  const QList<frmDocument*> open = sheets();
  return std::any_of(open.cbegin(), open.cend(),
                     [&](const frmDocument* doc) { return doc->Caption() == caption; });
}

QString frmMain::NextBookCaption() {
  // A restored sheet may hold a number already.
  QString caption;
  do {
    caption = Sheet::BookCaption(++m_sheetCounter);
  } while (CaptionInUse(caption));
  return caption;
}

void frmMain::TellCopiesNotKept(const QString& why) {
  if (m_toldCopiesNotKept) return;
  m_toldCopiesNotKept = true;
  // In the status bar, once: a box at every pause in the typing would take the teacher's keys.
  auto* status = statusBar()->findChild<QLabel*>(QStringLiteral("sbStatus"));
  if (!status) return;
  status->setText(QStringLiteral("復元用のコピーを保存できません。こまめに保存してください。"));
  status->setToolTip(QDir::toNativeSeparators(RecoveryDirectory()) + QLatin1Char('\n') + why);
  status->setAccessibleDescription(status->toolTip());
}

void frmMain::Tell(const QString& text) {
  m_pendingMessages.append(text);
  if (isVisible()) ShowPendingMessages();
}

void frmMain::ShowPendingMessages() {
  while (!m_pendingMessages.isEmpty()) {
    ShowMessage(this, m_pendingMessages.takeFirst(), PromptButtons::Ok, QString(),
                PromptIcon::Warning);
  }
}

void frmMain::OfferRecovery() {
  QList<OrphanedCopy> copies = TakeOrphanedCopies();
  if (copies.isEmpty()) return;
  const PromptAnswer answer = ShowMessage(
      this, QStringLiteral("前回の終了時に保存されていないシートがあります。復元しますか?"),
      PromptButtons::YesNo);
  if (answer != PromptAnswer::Yes) {
    for (const OrphanedCopy& copy : copies) RemoveCopy(copy);
    return;
  }
  // The start's own empty sheet, still untouched, gives way to what is restored.
  const QList<frmDocument*> open = sheets();
  frmDocument* untouched = open.size() == 1 && Sheet::IsBookCaption(open[0]->Caption()) &&
                                   open[0]->sheet()->ModifiedMark() == Sheet::Mark::Untouched
                               ? open[0]
                               : nullptr;
  for (const OrphanedCopy& copy : copies) {
    std::optional<TextGrid> storage = ReadCopy(copy);
    if (!storage) {
      const QString name =
          copy.caption.isEmpty() ? QStringLiteral("シート") : WindowTitleText(copy.caption);
      Tell(SetCopyAside(copy)
               ? QStringLiteral("%1 を復元できませんでした。\nコピーは %2 に残してあります。")
                     .arg(name, QDir::toNativeSeparators(UnrestoredDirectory()))
               : QStringLiteral("%1 を復元できませんでした。").arg(name));
      continue;
    }
    if (untouched) {
      // Its sub-window, and the sheet with it: gone before the captions are compared.
      delete untouched->parentWidget();
      untouched = nullptr;
    }
    // Two windows never share a caption: a copy keeps its own where it is free; a copy of an
    // unsaved sheet whose "Book" number is taken gets the next, and so does a copy of a file that
    // is open in another window too.
    const bool captionFree = !copy.caption.isEmpty() && !CaptionInUse(copy.caption);
    SheetFileRead read;
    read.sheet.view = Sheet::ReadGradeViewOf(*storage);
    read.sheet.storage = std::move(*storage);
    frmDocument* doc = AddSheet(&read, captionFree ? copy.caption : QString());
    if (!captionFree && !copy.caption.isEmpty() && !Sheet::IsBookCaption(copy.caption)) {
      Tell(QStringLiteral("%1 は既に開いているため、復元したシートは %2 としました。")
               .arg(WindowTitleText(copy.caption), doc->Caption()));
    }
    ShowCopy(copy, doc);
    RemoveCopy(copy);
  }
}

void frmMain::OpenSheetFile() {
  m_focusAllowed = false;
  const QString path = ChooseFileToOpen(this);
  if (path.isEmpty()) {
    m_focusAllowed = true;  // cancelled: the editor may take the focus again
    return;
  }
  NewSheet(path);
}

void frmMain::CloseAllWindows() {
  // Last loaded first; a window that refuses stays and the rest are still asked.
  QList<QWidget*> windows;
  for (QMdiSubWindow* window : m_mdi->subWindowList(QMdiArea::CreationOrder))
    windows.append(window);
  for (QDialog* dialog : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) windows.append(dialog);
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->close();
}

void frmMain::Arrange(int code) {
  if (code < 0 || code > 2) return;
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
    if (!window->isMinimized() && window->isVisible()) windows.append(window);
  }
  QMdiSubWindow* active = m_mdi->currentSubWindow();
  // The active sheet stays in front of the cascade.
  if (code == 0 && windows.removeOne(active)) windows.append(active);
  const QSize normal = windows.isEmpty() ? QSize() : windows.last()->sizeHint();
  const QList<QRect> rects =
      ArrangedWindows(code, m_mdi->viewport()->rect(), int(windows.size()), normal);
  for (qsizetype i = 0; i < windows.size(); ++i) {
    if (windows[i]->isMaximized()) windows[i]->showNormal();
    windows[i]->setGeometry(rects[i]);
    windows[i]->raise();
  }
  if (active) m_mdi->setActiveSubWindow(active);
}

void frmMain::FillWindowMenu() {
  for (QAction* action : m_windowListActions) {
    m_windowMenu->removeAction(action);
    action->deleteLater();
  }
  m_windowListActions.clear();
  const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  m_windowListActions.append(m_windowMenu->addSeparator());
  int number = 0;
  for (QMdiSubWindow* window : windows) {
    QAction* action =
        m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(window->windowTitle()));
    action->setCheckable(true);
    action->setChecked(window == m_mdi->currentSubWindow());
    connect(action, &QAction::triggered, this,
            [this, window] { m_mdi->setActiveSubWindow(window); });
    m_windowListActions.append(action);
  }
}

void frmMain::OpenDialog(CalcDialog which) {
  OpenColumnDialog(which, this, [this] { return activeSheet(); });
}

void frmMain::HelpContents() {
  if (!m_help) m_help = new HelpViewer(this);
  m_help->ShowContents(m_helpPath);
}

void frmMain::HelpAbout() {
  ShowMessage(this, VersionText(), PromptButtons::Ok, ApplicationTitle());
}

void frmMain::Undo() {
  frmDocument* doc = activeSheet();
  if (!doc) return;
  if (ShowMessage(this, QStringLiteral("ボタンによる計算の前に戻ります"),
                  PromptButtons::OkCancel) != PromptAnswer::Ok) {
    return;
  }
  doc->sheet()->Undo();
}

void frmMain::RestorePlacement() {
  const auto settings = OpenSettings();
  QList<QRect> screens;
  for (QScreen* screen : QGuiApplication::screens()) screens.append(screen->availableGeometry());
  QRect placed;
  if (HasStoredPlacement(*settings) || screens.isEmpty()) {
    placed = FitOnScreen(PlacementToPixels(ReadPlacement(*settings), WidgetDpi(this)), screens);
  } else {
    // A first start shows the whole toolbar and a sheet's whole strip of class buttons.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : screens.first();
    const int strip = TwipsToPixels(frmDocument::kStripWidth, WidgetDpi(this));
    const int width = std::max(m_toolBar->sizeHint().width(), strip) + kFirstStartMargin;
    const int height = std::max(available.height() * 3 / 4, kMinimumFrameSize.height());
    placed = FirstPlacement(QSize(width, height), available);
  }
  move(placed.topLeft());
  resize(placed.size());
  m_outerSize = placed.size();
}

void frmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A message about the command line's file waits until the frame is on screen.
  if (!m_pendingMessages.isEmpty()) QTimer::singleShot(0, this, &frmMain::ShowPendingMessages);
  if (m_placed) return;
  m_placed = true;
  QTimer::singleShot(0, this, &frmMain::OfferRecovery);
  // The stored size is the outer one; the window manager's frame is known only once shown.
  QTimer::singleShot(0, this, [this] {
    const QSize frame = frameGeometry().size() - size();
    if ((frame.width() > 0 || frame.height() > 0) && windowState() == Qt::WindowNoState) {
      resize(m_outerSize - frame);
    }
  });
}

void frmMain::StorePlacement() {
  if (isMinimized()) return;  // the previous run's values stay
  const auto settings = OpenSettings();
  WritePlacement(*settings, PlacementFromPixels(frameGeometry(), WidgetDpi(this)));
}

void frmMain::closeEvent(QCloseEvent* event) {
  const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (!(*it)->close()) {
      event->ignore();
      return;
    }
  }
  if (m_help) m_help->close();
  StorePlacement();
  event->accept();
}

}  // namespace kelt
