#include "ui/app/frmmain.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/helpviewer.h"
#include "ui/app/placement.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

QStringList Captions(const frmMain& frame) {
  QStringList captions;
  for (frmDocument* doc : frame.sheets()) captions << doc->Caption();
  return captions;
}

using test::Action;

void ClearSettings() {
  auto settings = OpenSettings();
  settings->clear();
  settings->sync();
}

// A path of any length from the command line (or a copy's caption) is the sheet's caption, but no
// window title is ever given more than a bounded text of it: the window system refuses a title of
// megabytes and ends the program. The start and the end of the path, the file's name, stay.
TEST(frmMain, WindowTitlesAreBounded) {
  ClearSettings();
  const QString path = QStringLiteral("/tmp/") + QString(20000, QLatin1Char('x')) +
                       QStringLiteral("/\U00020BB7田.klt");
  test::ScriptedPrompts prompts;  // a file not there yet: a new sheet to be saved there
  frmMain frame(path);
  frame.show();
  QApplication::processEvents();
  const frmDocument* doc = frame.activeSheet();
  EXPECT_EQ(doc->Caption(), path);
  const QString title = doc->windowTitle();
  EXPECT_LE(title.size(), kMaxTitleLength);
  EXPECT_TRUE(title.startsWith(QStringLiteral("/tmp/x")));
  EXPECT_TRUE(title.endsWith(QStringLiteral("/\U00020BB7田.klt"))) << title.toStdString();
  EXPECT_LT(frame.windowTitle().size(), kMaxTitleLength + 20);
  EXPECT_EQ(WindowTitleText(QStringLiteral("Book1")), QStringLiteral("Book1"));
}

TEST(frmMain, StartsWithBook1AndNumbersNewSheetsOnward) {
  ClearSettings();
  frmMain frame;
  frame.show();
  // The maximized sheet's caption joins the frame's, as "Kelt - [Book1]".
  EXPECT_TRUE(frame.windowTitle().startsWith(QStringLiteral("Kelt")))
      << frame.windowTitle().toStdString();
  EXPECT_EQ(Captions(frame), QStringList{QStringLiteral("Book1")});
  EXPECT_TRUE(frame.mdiArea()->currentSubWindow()->isMaximized());
  EXPECT_EQ(frame.activeSheet()->Caption(), QStringLiteral("Book1"));

  Action(frame, "mnuFileNew")->trigger();
  frame.ToolbarClick(QStringLiteral("新規作成"));
  EXPECT_EQ(Captions(frame), (QStringList{QStringLiteral("Book1"), QStringLiteral("Book2"),
                                          QStringLiteral("Book3")}));
  EXPECT_EQ(frame.activeSheet()->Caption(), QStringLiteral("Book3"));

  // Exit closes every unmodified sheet and leaves the frame; numbers are never reused.
  Action(frame, "mnuFileExit")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(frame.sheets().isEmpty());
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(frame.activeSheet(), nullptr);
  frame.NewSheet();
  EXPECT_EQ(Captions(frame), QStringList{QStringLiteral("Book4")});
}

TEST(frmMain, ExitKeepsASheetWhoseCloseIsRefused) {
  frmMain frame;
  frame.NewSheet();
  frame.NewSheet();
  frame.sheets()[1]->sheet()->MarkModified();
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::No);
  frame.CloseAllWindows();
  QApplication::processEvents();
  EXPECT_EQ(Captions(frame), QStringList{QStringLiteral("Book2")});
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("Book2"));
}

TEST(frmMain, ClosingTheFrameAsksEachModifiedSheet) {
  frmMain frame;
  frame.show();
  frame.activeSheet()->sheet()->MarkModified();
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::No);
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(frame.sheets().size(), 1);
    EXPECT_TRUE(frame.FocusAllowed());
  }
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Yes);
  EXPECT_TRUE(frame.close());
  EXPECT_TRUE(prompts.AllAnswered());
}

// Closing the frame asks the sheets from the last opened to the first.
TEST(frmMain, ClosingTheFrameAsksTheLastSheetFirst) {
  frmMain frame;
  frame.show();
  frame.NewSheet();
  frame.NewSheet();
  for (frmDocument* doc : frame.sheets()) doc->sheet()->MarkModified();
  test::ScriptedPrompts prompts;
  for (int i = 0; i < 3; ++i) prompts.Expect(PromptAnswer::Yes);
  EXPECT_TRUE(frame.close());
  ASSERT_EQ(prompts.shown().size(), 3);
  EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("Book3"));
  EXPECT_EQ(prompts.shown()[1].title, QStringLiteral("Book2"));
  EXPECT_EQ(prompts.shown()[2].title, QStringLiteral("Book1"));
}

// The stored values are the frame's outer bounds, window decoration included.
TEST(frmMain, PlacementDefaultsAndRoundTrip) {
  ClearSettings();
  QRect outer;
  {
    frmMain frame;
    frame.show();
    QApplication::processEvents();
    // A first start asks for room for every toolbar button and the whole strip of class buttons,
    // more than the offscreen screen's 800 pixels: it takes the screen's width, centred.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_LT(screen.width(), 1000);
    EXPECT_EQ(frame.frameGeometry(), QRect(screen.x(), screen.y() + screen.height() / 8,
                                           screen.width(), screen.height() * 3 / 4));
    frame.move(30, 45);
    frame.resize(600, 420);
    outer = frame.frameGeometry();
    frame.close();
  }
  auto settings = OpenSettings();
  EXPECT_EQ(settings->value(QStringLiteral("Settings/MainLeft")).toString(), QStringLiteral("450"));
  const Placement stored = PlacementFromPixels(outer, 96);
  EXPECT_EQ(ReadPlacement(*settings), stored);
  {
    frmMain frame;
    frame.show();
    QApplication::processEvents();
    EXPECT_EQ(frame.frameGeometry(), outer);
    frame.move(200, 200);
    frame.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(frame.isMinimized());
    frame.close();
  }
  settings->sync();
  EXPECT_EQ(ReadPlacement(*settings), stored) << "minimized stores nothing";
  // Whatever was stored, the frame comes back whole on the screen and large enough to use.
  const Placement odd[] = {{900000, 900000, 6000, 6000},
                           {1000, 1000, 1000000000, 1000000000},
                           {1000, 1000, 0, 0},
                           {-90000, -5000, -100, -100}};
  for (const Placement& placement : odd) {
    WritePlacement(*settings, placement);
    frmMain frame;
    const QRect screen = frame.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(QRect(frame.pos(), frame.size()))) << placement.left;
    EXPECT_GE(frame.width(), kMinimumFrameSize.width()) << placement.width;
    EXPECT_GE(frame.height(), kMinimumFrameSize.height()) << placement.height;
  }
}

TEST(frmMain, UndoAsksAndReloadsTheActiveSheet) {
  frmMain frame;
  Sheet* sheet = frame.activeSheet()->sheet();
  sheet->SetViewText(5, 2, QStringLiteral("85"));
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Cancel);
    Action(frame, "undo")->trigger();
    EXPECT_EQ(sheet->ViewText(5, 2), QStringLiteral("85"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("ボタンによる計算の前に戻ります"));
    EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("kelt"));
    EXPECT_EQ(prompts.shown()[0].buttons, PromptButtons::OkCancel);
  }
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Action(frame, "undo")->trigger();
  EXPECT_EQ(sheet->ViewText(5, 2), QString());
  EXPECT_EQ(sheet->ViewText(5, 0), QStringLiteral("105"))
      << "undo before any other store keeps the numbers";
  const QAbstractItemModel* model = frame.activeSheet()->viewGrid()->model();
  EXPECT_EQ(model->data(model->index(4, 1)).toString(), QString())
      << "the screen shows the undone cell";

  frame.CloseAllWindows();
  QApplication::processEvents();
  Action(frame, "undo")->trigger();  // no sheet: nothing asked
  EXPECT_EQ(prompts.shown().size(), 1);
}

TEST(frmMain, AboutShowsTheVersion) {
  frmMain frame;
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Action(frame, "mnuHelpAbout")->trigger();
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.1.0"));
  EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("kelt"));
  EXPECT_EQ(prompts.shown()[0].buttons, PromptButtons::Ok);
  EXPECT_EQ(prompts.shown()[0].icon, PromptIcon::None);
}

TEST(frmMain, HelpContentsOpensTheViewerAndTheFrameClosesIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kelt.hlp"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QStringLiteral("<html><body><h1>目次</h1><p>学年の成績</p></body></html>").toUtf8());
  file.close();

  frmMain frame;
  frame.show();
  frame.SetHelpFilePath(path);
  Action(frame, "mnuHelpContents")->trigger();
  ASSERT_NE(frame.helpViewer(), nullptr);
  EXPECT_TRUE(frame.helpViewer()->isVisible());
  EXPECT_TRUE(frame.helpViewer()->findChild<QTextBrowser*>()->toPlainText().contains(
      QStringLiteral("学年の成績")));
  frame.close();
  EXPECT_FALSE(frame.helpViewer() && frame.helpViewer()->isVisible());
}

TEST(frmMain, MissingHelpFileIsReported) {
  frmMain frame;
  frame.SetHelpFilePath(QStringLiteral("/nonexistent/kelt.hlp"));
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Action(frame, "mnuHelpContents")->trigger();
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("/nonexistent/kelt.hlp")));
  EXPECT_FALSE(frame.helpViewer()->isVisible());
}

TEST(frmMain, TheBuiltHelpFileLiesBesideTheProgram) {
  // The build copies the help text next to every executable that uses the frame's path.
  const QString beside = QApplication::applicationDirPath() + QStringLiteral("/../src/kelt.hlp");
  if (!QFile::exists(beside)) GTEST_SKIP() << "the program is not built in this tree";
  QFile file(beside);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(html.contains(QStringLiteral("目次")));
}

TEST(frmMain, WindowArrangements) {
  frmMain frame;
  frame.resize(800, 600);
  frame.show();
  frame.NewSheet();
  QList<QMdiSubWindow*> windows = frame.mdiArea()->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(windows.size(), 2);
  const QRect area = frame.mdiArea()->viewport()->rect();

  Action(frame, "mnuWindowTileHorizontal")->trigger();
  EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
  EXPECT_EQ(windows[1]->geometry().top(), area.height() / 2);
  EXPECT_EQ(windows[1]->geometry().width(), area.width());

  Action(frame, "mnuWindowTileVertical")->trigger();
  EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, area.width() / 2, area.height()));
  EXPECT_EQ(windows[1]->geometry().left(), area.width() / 2);
  EXPECT_EQ(windows[1]->geometry().height(), area.height());

  Action(frame, "mnuWindowCascade")->trigger();
  EXPECT_FALSE(windows[0]->isMaximized());
  EXPECT_NE(windows[0]->geometry().topLeft(), windows[1]->geometry().topLeft());
}

// A sheet window shown maximised keeps a usable normal size: restoring or cascading it shows its
// strip and grid, not a bare title bar.
TEST(frmMain, RestoredAndCascadedSheetsShowTheirGrid) {
  frmMain frame;
  frame.resize(900, 700);
  frame.show();
  QApplication::processEvents();
  const QSize area = frame.mdiArea()->viewport()->size();
  auto expectUsable = [&](QMdiSubWindow* window, const char* when) {
    auto* doc = qobject_cast<frmDocument*>(window->widget());
    ASSERT_NE(doc, nullptr);
    EXPECT_GE(window->height(), area.height() / 2) << when;
    EXPECT_GE(window->width(), area.width() / 2) << when;
    EXPECT_TRUE(doc->viewGrid()->isVisible()) << when;
    EXPECT_GE(doc->viewGrid()->height(), 100) << when;
  };
  QMdiSubWindow* first = frame.mdiArea()->subWindowList().first();
  first->showNormal();  // the restore button
  QApplication::processEvents();
  expectUsable(first, "restored");

  frame.NewSheet();
  frame.NewSheet();
  Action(frame, "mnuWindowCascade")->trigger();
  QApplication::processEvents();
  const QList<QMdiSubWindow*> windows = frame.mdiArea()->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(windows.size(), 3);
  for (QMdiSubWindow* window : windows) expectUsable(window, "cascaded");
}

TEST(frmMain, WindowMenuListsTheSheets) {
  frmMain frame;
  frame.NewSheet();
  auto* menu = frame.findChild<QMenu*>(QStringLiteral("mnuWindow"));
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  QStringList texts;
  for (QAction* action : menu->actions()) texts << action->text();
  EXPECT_EQ(texts.mid(0, 3),
            (QStringList{QStringLiteral("重ねて表示(&C)"), QStringLiteral("上下に並べて表示(&H)"),
                         QStringLiteral("左右に並べて表示(&V)")}));
  EXPECT_TRUE(texts.contains(QStringLiteral("&1 Book1")));
  EXPECT_TRUE(texts.contains(QStringLiteral("&2 Book2")));
  for (QAction* action : menu->actions()) {
    if (action->text() == QStringLiteral("&1 Book1")) action->trigger();
  }
  EXPECT_EQ(frame.activeSheet()->Caption(), QStringLiteral("Book1"));
  emit menu->aboutToShow();
  EXPECT_EQ(menu->actions().size(), texts.size()) << "the list is rebuilt, not appended";
}

// Ctrl+S saves and Ctrl+P opens 印刷 while a mark is being typed; neither key reaches the cell.
TEST(frmMain, SaveAndPrintKeysFromTheEditorBox) {
  test::ShownFrame f;
  f.frame.activateWindow();
  QApplication::setActiveWindow(&f.frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.frame));
  QLineEdit* box = f.doc()->editor();
  box->setFocus();
  QTest::keyClicks(box, QStringLiteral("85"));
  ASSERT_EQ(f.sheet()->ViewText(1, 2), QStringLiteral("85"));

  test::ScriptedPrompts prompts;
  prompts.ExpectFile(QString());  // Book1 has no name yet: the save asks one, and is cancelled
  QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(prompts.fileDialogs().size(), 1);
  EXPECT_TRUE(prompts.fileDialogs()[0].save);
  QTest::keyClick(box, Qt::Key_P, Qt::ControlModifier);
  EXPECT_NE(f.frame.findChild<QDialog*>(QStringLiteral("印刷"), Qt::FindDirectChildrenOnly),
            nullptr);
  EXPECT_EQ(box->text(), QStringLiteral("85"));
  EXPECT_EQ(f.sheet()->ViewText(1, 2), QStringLiteral("85"));
  EXPECT_TRUE(prompts.AllAnswered());
}

TEST(frmMain, MenusToolbarAndStatusBar) {
  frmMain frame;
  QStringList menus;
  for (QAction* action : frame.menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus.first(), QStringLiteral("ﾌｧｲﾙ(&F)"));
  EXPECT_EQ(menus.last(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  EXPECT_TRUE(menus.contains(QStringLiteral("ｳｨﾝﾄﾞｳ(&W)")));
  EXPECT_EQ(Action(frame, "mnuFileNew")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
  EXPECT_EQ(Action(frame, "mnuFileExit")->text(), QStringLiteral("終了(&X)"));
  EXPECT_EQ(Action(frame, "mnuHelpAbout")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));

  auto* toolbar = frame.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
  ASSERT_NE(toolbar, nullptr);
  QAction* newButton = toolbar->actions().first();
  EXPECT_EQ(newButton->text(), QStringLiteral("新規"));
  EXPECT_EQ(newButton->toolTip(), QStringLiteral("新規作成"));
  newButton->trigger();
  EXPECT_EQ(frame.activeSheet()->Caption(), QStringLiteral("Book2"));
  frame.ToolbarClick(QStringLiteral("no such key"));
  EXPECT_EQ(frame.sheets().size(), 2);

  auto* status = frame.findChild<QStatusBar*>(QStringLiteral("sbStatusBar"));
  ASSERT_NE(status, nullptr);
  auto* panel = status->findChild<QLabel*>(QStringLiteral("sbStatus"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->text(), QStringLiteral("ｽﾃｰﾀｽ"));
  EXPECT_EQ(status->findChild<QLabel*>(QStringLiteral("sbDate"))->text(),
            QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
}

TEST(frmMain, ActivatingASheetGrantsFocusPermission) {
  frmMain frame;
  frame.show();
  frame.NewSheet();
  frame.SetFocusAllowed(false);
  frame.mdiArea()->setActiveSubWindow(frame.mdiArea()->subWindowList().first());
  EXPECT_TRUE(frame.FocusAllowed());
}

}  // namespace
}  // namespace kelt
