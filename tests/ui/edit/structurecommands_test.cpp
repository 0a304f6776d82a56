#include "ui/edit/structurecommands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyleOptionHeader>
#include <QTest>
#include <QToolBar>

#include "core/sheet/sheet.h"
#include "support/frameactions.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/celleditor.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using test::Action;

struct Frame : test::ShownFrame {
  Frame() : ShownFrame(QSize(1000, 700)) {}
};

// The menu and the toolbar reach the same edits; a new column looks like the others.
TEST(StructureCommands, ColumnsFromTheMenuAndTheToolbar) {
  Frame f;
  f.sheet()->ShowClass(0);
  f.sheet()->SetViewText(5, 3, QStringLiteral("70"));
  f.sheet()->SetViewText(5, 4, QStringLiteral("80"));
  f.grid()->SetCurrentCell(5, 3);
  test::ScriptedPrompts prompts;
  Action(f.frame, "mnuToolsretu")->trigger();
  ASSERT_EQ(f.grid()->Cols(), 22);
  EXPECT_EQ(f.sheet()->ViewText(5, 4), QStringLiteral("70"));
  EXPECT_EQ(f.doc()->editor()->text(), QString()) << "the box shows the new, empty cell";
  EXPECT_EQ(f.grid()->ColWidth(21), f.grid()->ColWidth(20));
  EXPECT_EQ(f.grid()->CellAlignment(0, 21), 4);
  EXPECT_TRUE(f.sheet()->IsModified());

  f.frame.ToolbarClick(QStringLiteral("列削"));
  EXPECT_EQ(f.grid()->Cols(), 21);
  EXPECT_EQ(f.sheet()->ViewText(5, 3), QStringLiteral("70"));
  EXPECT_EQ(f.doc()->editor()->text(), QStringLiteral("70"));

  // Deleting the column the cursor stands in, the last one, leaves the cursor in the grid.
  f.grid()->SetCurrentCell(5, 20);
  f.frame.ToolbarClick(QStringLiteral("列削"));
  EXPECT_EQ(f.grid()->Cols(), 20);
  EXPECT_EQ(f.grid()->Col(), 19);
  EXPECT_EQ(f.sheet()->Mynowcol(), 19);
  f.frame.ToolbarClick(QStringLiteral("列挿"));
  EXPECT_EQ(f.grid()->Cols(), 21);
  EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST(StructureCommands, LimitsAreToldAndChangeNothing) {
  Frame f;
  f.sheet()->SetViewCols(257);
  f.sheet()->MutableStorage().SetCols(257);
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Action(f.frame, "mnuToolsretu")->trigger();
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("これ以上追加できません"));
  EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("kelt"));
  EXPECT_EQ(f.grid()->Cols(), 257);

  f.sheet()->SetViewCols(3);
  f.sheet()->MutableStorage().SetCols(3);
  f.grid()->SetCurrentCell(1, 2);
  prompts.Expect(PromptAnswer::Ok);
  Action(f.frame, "retu_out")->trigger();
  ASSERT_EQ(prompts.shown().size(), 2);
  EXPECT_EQ(prompts.shown()[1].text, QStringLiteral("これ以上削除できません"));
  EXPECT_EQ(f.grid()->Cols(), 3);
  EXPECT_FALSE(f.sheet()->IsModified());
}

// A click on a name leaves the cursor in the name column: a column inserted or deleted there
// would move or take every class's names. Both commands refuse, from both fixed columns, in the
// grade view and in a class.
TEST(StructureCommands, TheNumberAndNameColumnsAreNeitherInsertedBeforeNorDeleted) {
  const struct {
    const char* what;
    int view;  // a class, or the grade marker
    int col;
    bool click;
  } cases[] = {
      {"a name clicked in the grade view", Sheet::kGradeMarker, 1, true},
      {"a name clicked in 3-C", 2, 1, true},
      {"the number column of the grade view", Sheet::kGradeMarker, 0, false},
      {"the number column of 3-C", 2, 0, false},
  };
  for (const auto& c : cases) {
    for (const char* command : {"mnuToolsretu", "retu_out"}) {
      Frame f;
      if (c.view != Sheet::kGradeMarker) f.sheet()->ShowClass(c.view);
      f.sheet()->SetViewText(4, 1, QStringLiteral("佐藤"));
      f.sheet()->SetViewText(4, 2, QStringLiteral("70"));
      f.sheet()->StoreView();
      f.sheet()->SetMark(Sheet::Mark::Saved);
      if (c.click) {
        const QRect cell = f.grid()->visualRect(f.grid()->model()->index(3, c.col - 1));
        QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, cell.center());
      } else {
        f.grid()->SetCurrentCell(4, c.col);
      }
      ASSERT_EQ(f.grid()->Col(), c.col) << c.what;
      const TextGrid view = f.sheet()->View();
      const TextGrid storage = f.sheet()->Storage();
      test::ScriptedPrompts prompts;
      prompts.Expect(PromptAnswer::Ok);
      Action(f.frame, command)->trigger();
      ASSERT_EQ(prompts.shown().size(), 1) << c.what << ", " << command;
      EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("番号・氏名の列には書き込めません"));
      EXPECT_EQ(f.grid()->Cols(), Sheet::kInitialCols) << c.what << ", " << command;
      EXPECT_TRUE(f.sheet()->View() == view) << c.what << ", " << command;
      EXPECT_TRUE(f.sheet()->Storage() == storage) << c.what << ", " << command;
      EXPECT_FALSE(f.sheet()->IsModified()) << c.what << ", " << command;
    }
  }
}

TEST(StructureCommands, RowInsertAsksFirstAndOnlyInAClass) {
  Frame f;
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Ok);
    f.frame.ToolbarClick(QStringLiteral("行挿"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("行の挿入はクラスシートのみです"));
  }
  f.sheet()->ShowClass(1);
  f.sheet()->SetViewText(10, 1, QStringLiteral("佐藤"));
  f.grid()->SetCurrentCell(10, 2);
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Cancel);
    Action(f.frame, "mnuToolsgyou")->trigger();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("最終行のデータが消去されます"));
    EXPECT_EQ(prompts.shown()[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(f.sheet()->ViewText(10, 1), QStringLiteral("佐藤"));
    EXPECT_FALSE(f.sheet()->IsModified());
  }
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  Action(f.frame, "mnuToolsgyou")->trigger();
  EXPECT_EQ(f.sheet()->ViewText(10, 1), QString());
  EXPECT_EQ(f.sheet()->ViewText(11, 1), QStringLiteral("佐藤"));
  EXPECT_TRUE(f.sheet()->IsModified());
}

TEST(StructureCommands, SizesBackToStandard) {
  Frame f;
  const int standardHeight = f.grid()->RowHeight(60);
  f.grid()->SetColWidth(0, 1200);
  f.grid()->SetColWidth(1, 3000);
  f.grid()->SetColWidth(7, 100);
  for (int r : {0, 52, 53, 60}) f.grid()->SetRowHeight(r, 900);
  Action(f.frame, "retu_moto")->trigger();
  EXPECT_GE(f.grid()->ColWidth(0), 500);
  EXPECT_NEAR(f.grid()->ColWidth(1), 1500, 15);
  EXPECT_NEAR(f.grid()->ColWidth(7), 700, 15);
  Action(f.frame, "gyou_moto")->trigger();
  EXPECT_EQ(f.grid()->RowHeight(0), standardHeight);
  EXPECT_EQ(f.grid()->RowHeight(52), standardHeight);
  EXPECT_NEAR(f.grid()->RowHeight(53), 900, 15) << "the grade view's rows past 52 keep theirs";
  EXPECT_FALSE(f.sheet()->IsModified());

  f.frame.CloseAllWindows();
  QApplication::processEvents();
  test::ScriptedPrompts none;
  for (const char* name :
       {"mnuToolsretu", "mnuToolsgyou", "retu_out", "retu_moto", "gyou_moto", "seitoran"})
    Action(f.frame, name)->trigger();  // no sheet: nothing happens
}

// Whether the number column draws `text` whole: the label's place in a section of the column's
// width holds the text.
bool ShownWhole(const FlexGrid* grid, const QString& text) {
  const QHeaderView* header = grid->verticalHeader();
  QStyleOptionHeader option;
  option.initFrom(header);
  option.rect = QRect(0, 0, header->width(), 40);
  option.text = text;
  const QRect label = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
  return QFontMetrics(header->font()).horizontalAdvance(text) <= label.width();
}

// Four-digit pupil numbers (2038) and the year's labels are never cut, at start or after the
// widths are restored, in whichever view the restore was made; 500 twips stay where they do.
TEST(StructureCommands, TheNumberColumnShowsEveryNumberWhole) {
  const struct {
    const char* what;
    double points;  // the grid's font; 0 keeps the sheet's own
    int restoreInClass;
  } cases[] = {
      {"the sheet's font, restored in the grade view", 0, -1},
      {"the sheet's font, restored in 3-C", 0, 2},
      {"a large font, restored in 3-C", 20, 2},
      {"a small font", 6, -1},
  };
  for (const auto& c : cases) {
    Frame f;
    FlexGrid* grid = f.grid();
    auto check = [&](const char* when) {
      for (int r = 1; r < grid->Rows(); ++r) {
        if (!ShownWhole(grid, grid->TextMatrix(r, 0))) {
          ADD_FAILURE() << c.what << ", " << when << ": row " << r << " "
                        << grid->TextMatrix(r, 0).toStdString() << " is cut at "
                        << grid->ColWidth(0) << " twips";
          return;
        }
      }
    };
    if (c.points == 0) check("at start");
    if (c.points > 0) {
      QFont font = grid->font();
      font.setPointSizeF(c.points);
      grid->setFont(font);
    }
    if (c.restoreInClass >= 0) f.sheet()->ShowClass(c.restoreInClass);
    Action(f.frame, "retu_moto")->trigger();
    f.doc()->ShowGradeView();
    check("restored");
    if (c.points > 0 && c.points < 8) {
      EXPECT_NEAR(grid->ColWidth(0), 500, 15) << c.what;
    }
  }
}

// The lock freezes the names beside the numbers: they stay in view however far the marks scroll,
// and the cursor cannot reach them. Toggled again, the column is back with its width.
TEST(StructureCommands, NameLockFreezesTheNameColumn) {
  Frame f;
  f.sheet()->ShowClass(0);
  f.sheet()->SetViewText(3, 1, QStringLiteral("佐藤"));
  f.grid()->SetColWidth(1, 2000);
  f.grid()->SetCurrentCell(3, 1);
  f.doc()->cellEditor()->Refresh();  // the cursor on a name, as typing names leaves it
  ASSERT_EQ(f.sheet()->Mynowcol(), 1);
  const int nameWidth = f.grid()->ColWidth(1);
  const int numberWidth = f.grid()->ColWidth(0);
  ASSERT_EQ(f.grid()->FixedCols(), 1);

  f.frame.ToolbarClick(QStringLiteral("氏名"));
  EXPECT_EQ(f.grid()->FixedCols(), 2);
  EXPECT_EQ(f.grid()->Col(), 2) << "the cursor leaves the frozen column";
  EXPECT_EQ(f.sheet()->Mynowcol(), 2) << "and the editor with it";
  EXPECT_EQ(f.grid()->ColWidth(0), numberWidth);
  EXPECT_EQ(f.grid()->ColWidth(1), nameWidth);
  EXPECT_EQ(f.grid()->LeftCol(), 2);
  const QModelIndex atLeftEdge = f.grid()->indexAt(QPoint(2, 2));
  EXPECT_EQ(atLeftEdge.column() + 1, 2) << "the marks start right after the frozen names";

  QLineEdit* box = f.doc()->editor();
  for (int i = 0; i < 30; ++i) QTest::keyClick(box, Qt::Key_Right);
  EXPECT_GT(f.grid()->LeftCol(), 2);
  for (int i = 0; i < 40; ++i) QTest::keyClick(box, Qt::Key_Left);
  EXPECT_EQ(f.grid()->Col(), 2);
  EXPECT_EQ(f.grid()->LeftCol(), 2);

  Action(f.frame, "retu_moto")->trigger();
  EXPECT_NEAR(f.grid()->ColWidth(1), 1500, 15) << "widths are restored in the frozen column too";
  Action(f.frame, "seitoran")->trigger();
  EXPECT_EQ(f.grid()->FixedCols(), 1);
  EXPECT_NEAR(f.grid()->ColWidth(1), 1500, 15);
  EXPECT_FALSE(f.grid()->isColumnHidden(0));
  EXPECT_EQ(f.grid()->LeftCol(), 1);
  EXPECT_EQ(f.sheet()->ViewText(3, 1), QStringLiteral("佐藤"));
  EXPECT_FALSE(f.sheet()->IsModified());
}

}  // namespace
}  // namespace kelt
