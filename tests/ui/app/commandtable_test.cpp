// The menus and the toolbar as teachers know them, written out here by hand rather than read from
// the program's own table, and what each toolbar button does with and without a sheet.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "support/frameactions.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

struct Item {
  const char* name;
  const char* caption;
  const char* shortcut;
};

struct Menu {
  const char* name;
  const char* caption;
  std::vector<Item> items;
};

const std::vector<Menu> kMenus = {
    {"mnuFile",
     "ﾌｧｲﾙ(&F)",
     {{"mnuFileNew", "新規作成(&N)", "Ctrl+N"},
      {"mnuFileOpen", "開く(&O)...", "Ctrl+O"},
      {"mnuFileBar0", "-", ""},
      {"mnuFileSave", "上書き保存(&S)", "Ctrl+S"},
      {"mnuFileSaveAs", "名前を付けて保存(&A)...", ""},
      {"mnuFilePrint", "印刷(&P)...", "Ctrl+P"},
      {"mnuFileExit", "終了(&X)", ""}}},
    {"mnuEdit",
     "編集(&E)",
     {{"mnuEditCut", "切り取り(&T)", "Ctrl+X"},
      {"mnuEditCopy", "ｺﾋﾟｰ(&C)", "Ctrl+C"},
      {"mnuEditPaste", "貼り付け(&P)", "Ctrl+V"},
      {"mnuFileBar1", "-", ""},
      {"undo", "元に戻す", ""}}},
    {"mnuTools",
     "ﾂｰﾙ(&T)",
     {{"mnuToolsretu", "列挿入", ""},
      {"mnuToolsgyou", "行挿入", ""},
      {"buf2", "-", ""},
      {"retu_out", "列削除", ""},
      {"mnubar4", "-", ""},
      {"retu_moto", "列幅を元に戻す", ""},
      {"gyou_moto", "行の高さを元に戻す", ""},
      {"buf", "-", ""},
      {"retukoumoku", "列項目変更", ""},
      {"seitoran", "氏名欄ロック", ""}}},
    {"kansuu",
     "関数",
     {{"yokogoukei", "横合計", ""},
      {"juni", "順位", ""},
      {"shisoku", "四則演算", ""},
      {"tatekei", "縦合計平均", ""},
      {"yokoheikin", "横平均", ""},
      {"hyoutei", "評定・段階頻度", ""},
      {"kanten", "観点別評価...", ""},
      {"marume", "四捨五入", ""},
      {"heusa", "偏差値", ""},
      {"bunpu", "成績の分布...", ""}}},
    {"mnuWindow",
     "ｳｨﾝﾄﾞｳ(&W)",
     {{"mnuWindowCascade", "重ねて表示(&C)", ""},
      {"mnuWindowTileHorizontal", "上下に並べて表示(&H)", ""},
      {"mnuWindowTileVertical", "左右に並べて表示(&V)", ""}}},
    {"mnuHelp",
     "ﾍﾙﾌﾟ(&H)",
     {{"mnuHelpContents", "目次(&C)", ""}, {"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", ""}}},
};

// Caption, key and tooltip of each button, left to right; "|" stands for a separator.
struct Button {
  const char* caption;
  const char* key;
  const char* tooltip;
  const char* dialog;  // the dialog it opens, or null
};

const std::vector<Button> kToolbar = {
    {"新規", "新規作成", "新規作成", nullptr},
    {"開く", "開く", "開く", nullptr},
    {"保存", "上書き保存", "上書き保存", nullptr},
    {"|", "", "", nullptr},
    {"印刷", "印刷", "印刷", "印刷"},
    {"|", "", "", nullptr},
    {"切取", "切り取り", "切り取り", nullptr},
    {"ｺﾋﾟｰ", "ｺﾋﾟｰ", "ｺﾋﾟｰ", nullptr},
    {"貼付", "貼り付け", "貼り付け", nullptr},
    {"|", "", "", nullptr},
    {"合計", "ｵｰﾄ SUM", "選択した項目の合計", "合計"},
    {"順位", "順位", "選択した項目で順位をつけます", "順位"},
    {"|", "", "", nullptr},
    {"|", "", "", nullptr},
    {"四則", "四則", "項目に対して四則演算します", "電卓"},
    {"縦計", "縦計", "クラス・学年の合計・平均を求めます", "縦合計平均"},
    {"横平", "横平", "選択した項目の平均を求めます", "平均"},
    {"評定", "評定", "選択した項目の評定値を求めます", "評定"},
    {"丸め", "丸め", "四捨五入します", "四捨五入"},
    {"偏差", "偏差", "選択した数値の偏差値を求めます", "偏差値"},
    {"列項", "列項", "項目を設定します", "列項目"},
    {"氏名", "氏名", "生徒氏名の入力ができます", nullptr},
    {"|", "", "", nullptr},
    {"行挿", "行挿", "行を挿入します", nullptr},
    {"列挿", "列挿", "列項目を挿入します", nullptr},
    {"列削", "列削", "列を削除します", nullptr},
};

QToolBar* Toolbar(const frmMain& frame) {
  return frame.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
}

QList<QDialog*> Dialogs(const frmMain& frame, const QString& name = {}) {
  return frame.findChildren<QDialog*>(name, Qt::FindDirectChildrenOnly);
}

TEST(CommandTable, MenusAndToolbarAsTeachersKnowThem) {
  frmMain frame;
  const QList<QAction*> menus = frame.menuBar()->actions();
  ASSERT_EQ(menus.size(), qsizetype(kMenus.size()));
  for (size_t m = 0; m < kMenus.size(); ++m) {
    const Menu& want = kMenus[m];
    QMenu* menu = menus[m]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), U(want.name));
    EXPECT_EQ(menus[m]->text(), U(want.caption));
    // The window menu's sheet list follows its own three items.
    const QList<QAction*> items = menu->actions();
    ASSERT_GE(items.size(), qsizetype(want.items.size())) << want.name;
    for (size_t i = 0; i < want.items.size(); ++i) {
      const Item& item = want.items[i];
      QAction* action = items[i];
      EXPECT_EQ(action->objectName(), U(item.name));
      EXPECT_TRUE(action->isVisible() && action->isEnabled()) << item.name;
      if (QByteArray(item.caption) == "-") {
        EXPECT_TRUE(action->isSeparator()) << item.name;
        continue;
      }
      EXPECT_EQ(action->text(), U(item.caption)) << item.name;
      EXPECT_EQ(action->shortcut(), QKeySequence(U(item.shortcut))) << item.name;
    }
    if (want.name != std::string("mnuWindow")) {
      EXPECT_EQ(items.size(), qsizetype(want.items.size())) << want.name;
    }
  }

  const QList<QAction*> entries = Toolbar(frame)->actions();
  ASSERT_EQ(entries.size(), qsizetype(kToolbar.size()));
  for (size_t b = 0; b < kToolbar.size(); ++b) {
    const Button& want = kToolbar[b];
    QAction* action = entries[b];
    if (QByteArray(want.caption) == "|") {
      EXPECT_TRUE(action->isSeparator()) << "entry " << b;
      continue;
    }
    EXPECT_EQ(action->text(), U(want.caption)) << "entry " << b;
    EXPECT_EQ(action->data().toString(), U(want.key)) << want.key;
    EXPECT_EQ(action->toolTip(), U(want.tooltip)) << want.key;
    EXPECT_FALSE(action->icon().pixmap(24).isNull()) << want.key;
  }
}

// With every sheet closed, the buttons and items that work on a sheet do nothing; only 新規 and
// 開く go on working.
TEST(CommandTable, WithoutASheetOnlyNewAndOpenAct) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("class.klt"));
  {
    Sheet sheet;
    sheet.BuildSheetLayout();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WriteKlt(sheet.Storage()));
  }
  frmMain frame;
  frame.show();
  test::ScriptedPrompts prompts;
  frame.mdiArea()->closeAllSubWindows();
  ASSERT_TRUE(frame.sheets().isEmpty());
  QApplication::clipboard()->setText(QStringLiteral("untouched"));

  QList<QAction*> quiet;
  for (const Button& button : kToolbar) {
    const QByteArray key(button.key);
    if (!key.isEmpty() && key != "新規作成" && key != "開く")
      quiet << frame.findChild<QAction*>(U(button.key));
  }
  for (const char* name :
       {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuEditCut", "mnuEditCopy", "mnuEditPaste",
        "undo",        "mnuToolsretu",  "mnuToolsgyou", "retu_out",   "retu_moto",   "gyou_moto",
        "retukoumoku", "seitoran",      "yokogoukei",   "juni",       "shisoku",     "tatekei",
        "yokoheikin",  "hyoutei",       "kanten",       "marume",     "heusa",       "bunpu"})
    quiet << test::Action(frame, name);
  for (QAction* action : quiet) {
    ASSERT_NE(action, nullptr);
    action->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(frame.sheets().isEmpty()) << action->objectName().toStdString();
    EXPECT_TRUE(Dialogs(frame).isEmpty()) << action->objectName().toStdString();
  }
  EXPECT_TRUE(prompts.shown().isEmpty());
  EXPECT_TRUE(prompts.fileDialogs().isEmpty());
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));

  frame.findChild<QAction*>(QStringLiteral("新規作成"))->trigger();
  EXPECT_EQ(frame.sheets().size(), 1);
  prompts.ExpectFile(path);
  frame.findChild<QAction*>(QStringLiteral("開く"))->trigger();
  ASSERT_EQ(frame.sheets().size(), 2);
  EXPECT_EQ(frame.activeSheet()->Caption(), path);
}

// With a sheet, each button acts, and a dialog's button opens its one dialog, in front.
TEST(CommandTable, WithASheetEachButtonActs) {
  frmMain frame;
  frame.show();
  test::ScriptedPrompts prompts;
  frmDocument* doc = frame.activeSheet();
  Sheet* sheet = doc->sheet();
  sheet->ShowClass(0);
  FlexGrid* grid = doc->viewGrid();
  auto click = [&](const char* key) { frame.findChild<QAction*>(U(key))->trigger(); };

  for (const Button& button : kToolbar) {
    if (!button.dialog) continue;
    click(button.key);
    // The teacher goes back to the sheet; the second click brings the same dialog forward.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    click(button.key);
    const QList<QDialog*> open = Dialogs(frame, U(button.dialog));
    ASSERT_EQ(open.size(), 1) << button.key;
    EXPECT_TRUE(open.first()->isVisible()) << button.key;
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), open.first()) << button.key << " is in front";
    open.first()->close();
    QApplication::processEvents();
  }

  sheet->SetViewText(5, 2, QStringLiteral("85"));
  grid->SetCurrentCell(5, 2);
  click("ｺﾋﾟｰ");
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("85\r\n"));
  click("切り取り");
  EXPECT_EQ(sheet->ViewText(5, 2), QString());
  grid->SetCurrentCell(6, 3);
  click("貼り付け");
  EXPECT_EQ(sheet->ViewText(6, 3), QStringLiteral("85"));

  const int cols = grid->Cols();
  click("列挿");
  EXPECT_EQ(grid->Cols(), cols + 1);
  click("列削");
  EXPECT_EQ(grid->Cols(), cols);
  const int fixed = grid->FixedCols();
  click("氏名");
  EXPECT_NE(grid->FixedCols(), fixed);

  prompts.Expect(PromptAnswer::Cancel);
  click("行挿");
  ASSERT_FALSE(prompts.shown().isEmpty());
  EXPECT_EQ(prompts.shown().last().text, QStringLiteral("最終行のデータが消去されます"));

  prompts.ExpectFile(QString());  // a new sheet is saved under a name of its own: cancelled
  click("上書き保存");
  prompts.ExpectFile(QString());
  click("開く");
  EXPECT_EQ(prompts.fileDialogs().size(), 2);
  click("新規作成");
  EXPECT_EQ(frame.sheets().size(), 2);
  EXPECT_TRUE(prompts.AllAnswered());
}

// ﾍﾙﾌﾟ → 目次 names every menu command by its caption (without its access key) and every key.
TEST(CommandTable, TheHelpNamesEveryCommandAndKey) {
  QFile file(QStringLiteral(KELT_HELP_FILE));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString help = QString::fromUtf8(file.readAll());
  static const QRegularExpression accessKey(QStringLiteral("\\(&.\\)|\\.\\.\\.$"));
  for (const CommandEntry& entry : Commands()) {
    const QString caption = QString::fromUtf8(entry.caption).remove(accessKey);
    if (!entry.menu || caption == u"-") continue;
    EXPECT_TRUE(help.contains(caption)) << entry.caption;
    if (*entry.shortcut) {
      EXPECT_TRUE(help.contains(QString::fromLatin1(entry.shortcut))) << entry.shortcut;
    }
  }
}

}  // namespace
}  // namespace kelt
