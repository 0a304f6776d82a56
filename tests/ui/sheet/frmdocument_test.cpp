#include "ui/sheet/frmdocument.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/sheet/sheet.h"
#include "support/fakehost.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/celleditor.h"
#include "ui/sheet/sheethost.h"
#include "ui/storage/filecommands.h"

namespace kelt {
namespace {

using Host = test::FakeHost;

QPushButton* ClassButton(QWidget* doc, int index) {
  for (auto* button : doc->findChildren<QPushButton*>(QStringLiteral("Command1"))) {
    if (button->property("Index").toInt() == index) return button;
  }
  return nullptr;
}

struct Window {
  Window() : doc(new frmDocument(&host)) {
    doc->SetCaption(QStringLiteral("Book1"));
    doc->resize(900, 600);
    doc->show();
  }
  ~Window() { delete doc.data(); }
  Host host;
  QPointer<frmDocument> doc;
};

// The first window of a session is built on grids made on another thread; it must be the window
// that lays out its own fresh sheet, in what it shows, stores and formats, before and after the
// teacher switches views.
TEST(frmDocument, AWindowOnGridsMadeAsideIsAFreshWindow) {
  Host host;
  SheetFileRead made = NewSheetAside();
  frmDocument fresh(&host);
  frmDocument aside(&host, std::move(made.sheet.storage), std::move(made.sheet.view));
  EXPECT_EQ(made.sheet.view.Rows(), 0);  // taken, not copied
  auto expectSame = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(aside.sheet()->View(), fresh.sheet()->View());
    EXPECT_EQ(aside.sheet()->ViewIndex(), fresh.sheet()->ViewIndex());
    EXPECT_EQ(aside.sheet()->Mynowrow(), fresh.sheet()->Mynowrow());
    EXPECT_EQ(aside.sheet()->Mynowcol(), fresh.sheet()->Mynowcol());
    FlexGrid* a = aside.viewGrid();
    FlexGrid* f = fresh.viewGrid();
    ASSERT_EQ(a->Rows(), f->Rows());
    ASSERT_EQ(a->Cols(), f->Cols());
    EXPECT_EQ(a->Row(), f->Row());
    EXPECT_EQ(a->Col(), f->Col());
    for (int c = 0; c < f->Cols(); ++c) {
      EXPECT_EQ(a->ColWidth(c), f->ColWidth(c)) << c;
      EXPECT_EQ(a->CellAlignment(0, c), f->CellAlignment(0, c)) << c;
    }
    for (int r = 0; r < f->Rows(); ++r)
      ASSERT_EQ(a->CellAlignment(r, 0), f->CellAlignment(r, 0)) << r;
  };
  expectSame("as built");
  EXPECT_EQ(aside.sheet()->Storage(), fresh.sheet()->Storage());
  for (frmDocument* doc : {&fresh, &aside}) {
    doc->ShowClassView(4);
    doc->sheet()->SetViewText(3, 2, QStringLiteral("77"));
  }
  expectSame("in class 5-E, a mark typed");
  for (frmDocument* doc : {&fresh, &aside}) doc->ShowGradeView();
  expectSame("back in the year");
  EXPECT_EQ(aside.sheet()->Storage(), fresh.sheet()->Storage());
}

TEST(frmDocument, StripAndGridByName) {
  Window w;
  auto* grid = w.doc->findChild<FlexGrid*>(QStringLiteral("MSFlexGrid1"));
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(grid->isVisible());
  ASSERT_NE(w.doc->findChild<QLabel*>(QStringLiteral("Label5")), nullptr);
  ASSERT_NE(w.doc->findChild<QLineEdit*>(QStringLiteral("Text1")), nullptr);
  auto* text4 = w.doc->findChild<QLineEdit*>(QStringLiteral("Text4"));
  ASSERT_NE(text4, nullptr);
  EXPECT_FALSE(text4->isVisible());
  EXPECT_EQ(text4->text(), QStringLiteral("21"));
  auto* grade = w.doc->findChild<QPushButton*>(QStringLiteral("Command18"));
  ASSERT_NE(grade, nullptr);
  EXPECT_EQ(grade->text(), QStringLiteral("学年"));
  for (int n = 0; n < 20; ++n) {
    ASSERT_NE(ClassButton(w.doc, n), nullptr) << n;
    EXPECT_EQ(ClassButton(w.doc, n)->text(), Sheet::ClassName(n));
  }
  EXPECT_EQ(grid->Rows(), 1003);
  EXPECT_EQ(grid->Cols(), 21);
  EXPECT_EQ(grid->ColWidth(1), 1500);
  EXPECT_EQ(grid->ColWidth(2), 705);
  EXPECT_EQ(grid->CellAlignment(500, 0), 4);
  EXPECT_EQ(grid->CellAlignment(0, 20), 4);
  EXPECT_EQ(grid->CellAlignment(1, 2), 9);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->Col(), 2);
  // Grid below the strip: left 100, top 400 twips.
  EXPECT_EQ(grid->geometry().topLeft(), QPoint(7, 27));
  EXPECT_EQ(grid->width(), w.doc->width() - 13);
}

// What a screen reader says of the box, the address and the grid, which Qt cannot guess.
TEST(frmDocument, AccessibleNamesSayWhatEachPartIs) {
  Window w;
  auto name = [](QObject* object) {
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
  };
  EXPECT_EQ(QAccessible::queryAccessibleInterface(w.doc->editor())->text(QAccessible::Description),
            QStringLiteral("セルの入力欄"));
  FlexGrid* grid = w.doc->viewGrid();
  EXPECT_EQ(name(grid), QStringLiteral("成績表"));
  QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(grid)->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->columnCount(), grid->Cols() - 1) << "the row header is not a column";

  w.doc->sheet()->SetViewText(0, 3, QStringLiteral("数学"));
  grid->SetCurrentCell(4, 3);
  w.doc->cellEditor()->Refresh();
  const QString spoken = QStringLiteral("現在のセル 数学:104");
  EXPECT_EQ(name(w.doc->findChild<QLabel*>(QStringLiteral("Label5"))), spoken);
  EXPECT_EQ(name(w.doc->editor()), spoken);
}

// Exactly one view button carries the highlight, and it is the button of the view shown.
TEST(frmDocument, NormalSize) {
  EXPECT_EQ(frmDocument::NormalSize({900, 600}, {1000, 800}), QSize(600, 400));
  EXPECT_EQ(frmDocument::NormalSize({100, 30}, {1200, 900}), QSize(800, 600))
      << "area not laid out";
  EXPECT_EQ(frmDocument::NormalSize({100, 30}, {300, 200}), QSize(360, 240)) << "never too small";
}

TEST(frmDocument, HighlightFollowsTheView) {
  Window w;
  const auto highlighted = [&] {
    QStringList names;
    for (auto* button : w.doc->findChildren<QPushButton*>()) {
      if (button->palette().color(QPalette::Button) == frmDocument::HighlightColour())
        names << button->text();
    }
    return names;
  };
  EXPECT_EQ(highlighted(), QStringList{QStringLiteral("学年")});
  QTest::mouseClick(ClassButton(w.doc, 2), Qt::LeftButton);
  EXPECT_EQ(highlighted(), QStringList{QStringLiteral("3-C")});
  EXPECT_EQ(w.doc->findChild<QLineEdit*>(QStringLiteral("Text4"))->text(), QStringLiteral("2"));
  EXPECT_EQ(w.doc->viewGrid()->Rows(), 53);
  EXPECT_EQ(w.doc->viewGrid()->model()->headerData(51, Qt::Vertical).toString(),
            QStringLiteral("52"));
  QTest::mouseClick(ClassButton(w.doc, 19), Qt::LeftButton);
  EXPECT_EQ(highlighted(), QStringList{QStringLiteral("20-T")});
  QTest::mouseClick(w.doc->gradeButton(), Qt::LeftButton);
  EXPECT_EQ(highlighted(), QStringList{QStringLiteral("学年")});
  EXPECT_EQ(w.doc->viewGrid()->Rows(), 1003);
  EXPECT_EQ(w.doc->viewGrid()->model()->headerData(49, Qt::Vertical).toString(),
            QStringLiteral("150"));
  EXPECT_EQ(w.doc->viewGrid()->RowHeight(900), 345);
}

TEST(frmDocument, MarkTypedInAClassShowsInTheGradeViewOnScreen) {
  Window w;
  QTest::mouseClick(ClassButton(w.doc, 1), Qt::LeftButton);
  w.doc->sheet()->SetViewText(4, 3, QStringLiteral("85"));
  QTest::mouseClick(w.doc->gradeButton(), Qt::LeftButton);
  const QAbstractItemModel* model = w.doc->viewGrid()->model();
  EXPECT_EQ(model->data(model->index(53, 2)).toString(), QStringLiteral("85"));  // grade row 54
  EXPECT_EQ(model->headerData(53, Qt::Vertical).toString(), QStringLiteral("204"));
}

TEST(frmDocument, CursorComesFromTheSheetOnSwitch) {
  Window w;
  w.doc->activateWindow();
  QApplication::setActiveWindow(w.doc);
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.doc));
  w.doc->sheet()->MoveCursor(120, 4);
  QTest::mouseClick(ClassButton(w.doc, 7), Qt::LeftButton);
  EXPECT_EQ(w.doc->viewGrid()->Row(), 14);
  EXPECT_EQ(w.doc->viewGrid()->Col(), 4);
  EXPECT_TRUE(w.doc->editor()->hasFocus());
}

TEST(frmDocument, CloseQuestion) {
  struct Case {
    const char* name;
    Sheet::Mark mark;
    bool asked;
    PromptAnswer answer;
    bool closes;
  };
  const Case cases[] = {
      {"new sheet", Sheet::Mark::Untouched, false, PromptAnswer::Ok, true},
      {"saved sheet", Sheet::Mark::Saved, false, PromptAnswer::Ok, true},
      {"modified, yes", Sheet::Mark::Modified, true, PromptAnswer::Yes, true},
      {"modified, no", Sheet::Mark::Modified, true, PromptAnswer::No, false},
  };
  for (const Case& c : cases) {
    Window w;
    w.doc->sheet()->SetViewText(1, 2, QStringLiteral("85"));
    w.doc->sheet()->SetMark(c.mark);
    test::ScriptedPrompts prompts;
    if (c.asked) prompts.Expect(c.answer);
    const bool closed = w.doc->close();
    EXPECT_EQ(closed, c.closes) << c.name;
    ASSERT_EQ(prompts.shown().size(), c.asked ? 1 : 0) << c.name;
    if (c.asked) {
      EXPECT_EQ(prompts.shown()[0].text,
                QStringLiteral("ファイルが変更されています。終了しますか?"));
      EXPECT_EQ(prompts.shown()[0].title, QStringLiteral("Book1"));
      EXPECT_EQ(prompts.shown()[0].buttons, PromptButtons::YesNo);
    }
    if (!c.closes) {
      EXPECT_EQ(w.doc->sheet()->ViewText(1, 2), QStringLiteral("85"));
      EXPECT_TRUE(w.doc->sheet()->IsModified());
      EXPECT_TRUE(w.host.allowed) << "a refused close gives the focus back";
    } else {
      EXPECT_FALSE(w.host.allowed) << c.name;
    }
  }
}

}  // namespace
}  // namespace kelt
