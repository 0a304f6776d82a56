#include "ui/sheet/celleditor.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "core/sheet/sheet.h"
#include "support/fakehost.h"
#include "support/listeningreader.h"
#include "support/qtprint.h"
#include "support/sheetwindow.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"
#include "ui/sheet/sheethost.h"
#include "ui/sheet/visiblecounts.h"

namespace kelt {
namespace {

using Host = test::FakeHost;

using Window = test::SheetWindow;

TEST(CellEditor, TypingWritesTheCellAndMarksTheSheet) {
  Window w;
  EXPECT_EQ(w.label()->text(), QStringLiteral("A:101"));
  QTest::keyClick(w.box(), Qt::Key_8);
  EXPECT_EQ(w.sheet()->ViewText(1, 2), QStringLiteral("8"));
  QTest::keyClick(w.box(), Qt::Key_5);
  EXPECT_EQ(w.sheet()->ViewText(1, 2), QStringLiteral("85"));
  EXPECT_TRUE(w.sheet()->IsModified());
  const QAbstractItemModel* model = w.grid()->model();
  EXPECT_EQ(model->data(model->index(0, 1)).toString(), QStringLiteral("85"));

  w.Key(Qt::Key_Return);
  EXPECT_EQ(w.sheet()->Mynowrow(), 2);
  EXPECT_EQ(w.box()->text(), QString());
  EXPECT_EQ(w.label()->text(), QStringLiteral("A:102"));
  QTest::keyClicks(w.box(), QStringLiteral("72.5"));
  EXPECT_EQ(w.sheet()->ViewText(2, 2), QStringLiteral("72.5"));
  EXPECT_EQ(w.sheet()->ViewText(1, 2), QStringLiteral("85"));
}

TEST(CellEditor, EnterAloneMarksTheSheetModified) {
  Window w;
  ASSERT_FALSE(w.sheet()->IsModified());
  w.GoTo(1002, 2);
  w.Key(Qt::Key_Return);  // the average row: no move, still a character
  EXPECT_EQ(w.sheet()->Mynowrow(), 1002);
  EXPECT_TRUE(w.sheet()->IsModified());
}

// A screen reader may stay on the grid through the focus bounce of a move; the box, where the
// focus ends, is renamed after its new cell on every move, and says so.
TEST(CellEditor, AScreenReaderHearsEveryMove) {
  Window w;
  w.sheet()->SetViewText(0, 3, QStringLiteral("国語"));
  w.GoTo(2, 2);
  test::ListeningReader reader;
  // After each move the focus ends on the box: the last focus a reader hears must be the box's.
  auto lastFocus = [&reader] {
    QObject* last = nullptr;
    for (const test::ListeningReader::Heard& heard : reader.heard())
      if (heard.type == QAccessible::Focus) last = heard.object;
    return last;
  };
  const std::pair<Qt::Key, int> moves[] = {
      {Qt::Key_Right, 1}, {Qt::Key_Down, 1}, {Qt::Key_Up, 2}, {Qt::Key_Up, 1}};
  for (const auto& [key, times] : moves) {
    w.Key(key, times);
    EXPECT_EQ(lastFocus(), w.box()) << key;
  }
  w.Click(7, 2);
  EXPECT_EQ(lastFocus(), w.box()) << "a click";
  EXPECT_EQ(reader.NamesOf(w.box()), (QStringList{
                                         QStringLiteral("現在のセル 国語:102"),
                                         QStringLiteral("現在のセル 国語:103"),
                                         QStringLiteral("現在のセル 国語:102"),
                                         QStringLiteral("現在のセル 国語:101"),
                                         QStringLiteral("現在のセル A:107"),
                                     }));
}

// Qt 6.4's own line edit spins for ever when a screen reader asks for the word at the very end
// of its text. The box answers every boundary at every offset, the end included, at once; a
// watchdog ends the test program rather than let it hang.
TEST(CellEditor, AScreenReaderAsksForWordsUpToTheEnd) {
  Window w;
  w.GoTo(3, 2);
  w.box()->setText(QStringLiteral("85 欠 ﾀﾛｳ"));
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(w.box())->textInterface();
  ASSERT_NE(text, nullptr);
  std::atomic<bool> answered = false;
  std::thread watchdog([&] {
    for (int i = 0; i < 200 && !answered; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!answered) {
      std::fputs("the box's accessible text did not answer within 10 s\n", stderr);
      std::abort();
    }
  });
  const int length = text->characterCount();
  int start = -1;
  int end = -1;
  for (const auto boundary :
       {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
        QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary}) {
    for (int offset = 0; offset <= length; ++offset) {
      text->textAtOffset(offset, boundary, &start, &end);
      text->textBeforeOffset(offset, boundary, &start, &end);
      text->textAfterOffset(offset, boundary, &start, &end);
    }
  }
  answered = true;
  watchdog.join();
  EXPECT_EQ(length, 8);
  EXPECT_EQ(text->textAtOffset(0, QAccessible::WordBoundary, &start, &end), QStringLiteral("85"));
  EXPECT_EQ(text->text(3, 4), QStringLiteral("欠"));
  // A reader that edits through the interface writes the cell, as typing does.
  QAccessible::queryAccessibleInterface(w.box())->editableTextInterface()->replaceText(
      0, 2, QStringLiteral("90"));
  EXPECT_EQ(w.sheet()->ViewText(3, 2), QStringLiteral("90 欠 ﾀﾛｳ"));
  EXPECT_EQ(text->textAtOffset(length, QAccessible::WordBoundary, &start, &end), QString());
  EXPECT_EQ(start, length);
  EXPECT_EQ(end, length);
}

TEST(CellEditor, AddressLabel) {
  Window w;
  w.GoTo(55, 1);
  EXPECT_EQ(w.label()->text(), QStringLiteral("氏  名:205"));
  w.GoTo(1001, 2);
  EXPECT_EQ(w.label()->text(), QStringLiteral("A:合計"));
  w.GoTo(3, 2);
  w.ShowClass(0);
  EXPECT_EQ(w.label()->text(), QStringLiteral("A:3"));
}

// Keys at the edges of the grid do nothing; inside, they move one cell.
TEST(CellEditor, ArrowLimits) {
  struct Case {
    const char* name;
    bool classView;
    int row, col;
    Qt::Key key;
    int wantRow, wantCol;
  };
  const Case cases[] = {
      {"down on the last row", false, 1002, 5, Qt::Key_Down, 1002, 5},
      {"down in a class", true, 51, 5, Qt::Key_Down, 52, 5},
      {"down on the class average", true, 52, 5, Qt::Key_Down, 52, 5},
      {"up on row 1", false, 1, 5, Qt::Key_Up, 1, 5},
      {"up", true, 2, 5, Qt::Key_Up, 1, 5},
      {"left in column 2", false, 7, 2, Qt::Key_Left, 7, 2},
      {"left", false, 7, 3, Qt::Key_Left, 7, 2},
      {"right in the last column", true, 7, 20, Qt::Key_Right, 7, 20},
      {"right", true, 7, 19, Qt::Key_Right, 7, 20},
      {"enter on the average row", true, 52, 4, Qt::Key_Return, 52, 4},
      {"enter", false, 500, 4, Qt::Key_Return, 501, 4},
  };
  for (const Case& c : cases) {
    Window w;
    if (c.classView) w.ShowClass(4);
    w.GoTo(c.row, c.col);
    QSignalSpy moved(w.sheet(), &Sheet::cursorMoved);
    w.Key(c.key);
    const bool move = c.wantRow != c.row || c.wantCol != c.col;
    ASSERT_EQ(moved.size(), move ? 1 : 0) << c.name << ": every move is announced, once";
    if (move) {
      EXPECT_EQ(moved[0], (QVariantList{c.wantRow, c.wantCol})) << c.name;
    }
    EXPECT_EQ(w.sheet()->Mynowrow(), c.wantRow) << c.name;
    EXPECT_EQ(w.sheet()->Mynowcol(), c.wantCol) << c.name;
    EXPECT_EQ(w.grid()->Row(), c.wantRow) << c.name;
    EXPECT_TRUE(w.box()->hasFocus()) << c.name;
  }
}

TEST(CellEditor, EnterScrollsBelowTheFirstScreenDownOnlyAtTheBottom) {
  Window w;
  w.ShowClass(0);
  const int visible = VisibleRowCount(*w.grid());
  ASSERT_GT(visible, 5);
  ASSERT_LT(visible + 8, 52);

  w.grid()->SetTopRow(5);
  w.GoTo(visible + 2, 2);
  w.Key(Qt::Key_Return);
  EXPECT_EQ(w.grid()->TopRow(), 6) << "Enter past the first screenful scrolls";
  EXPECT_EQ(w.sheet()->Mynowrow(), visible + 3);
  w.Key(Qt::Key_Down);
  EXPECT_EQ(w.grid()->TopRow(), 6) << "Down in the middle of the screen does not";
  EXPECT_EQ(w.sheet()->Mynowrow(), visible + 4);

  // From the top both scroll once the cursor passes the screen.
  w.grid()->SetTopRow(1);
  w.GoTo(1, 2);
  w.Key(Qt::Key_Down, visible + 2);
  EXPECT_EQ(w.grid()->TopRow(), 3);
  EXPECT_EQ(w.sheet()->Mynowrow(), visible + 3);
}

TEST(CellEditor, PageKeys) {
  Window w;
  w.ShowClass(2);
  const int visible = VisibleRowCount(*w.grid());
  w.GoTo(52 - visible, 3);
  w.Key(Qt::Key_PageDown);
  EXPECT_EQ(w.sheet()->Mynowrow(), 52) << "near the end: the average row";
  EXPECT_EQ(w.sheet()->Mynowcol(), 3);
  w.GoTo(5, 3);
  w.Key(Qt::Key_PageUp);
  EXPECT_EQ(w.sheet()->Mynowrow(), 1);
  EXPECT_EQ(w.grid()->TopRow(), 1);

  w.doc->ShowGradeView();
  w.GoTo(1, 2);
  w.Key(Qt::Key_PageDown);
  EXPECT_EQ(w.sheet()->Mynowrow(), 1 + visible);
  EXPECT_EQ(w.grid()->TopRow(), 1 + visible);
  w.Key(Qt::Key_PageDown);
  w.Key(Qt::Key_PageUp);
  EXPECT_EQ(w.sheet()->Mynowrow(), 1 + visible);
}

// A class view that fits on screen, or a cursor scrolled away: the keys stay inside the grid.
TEST(CellEditor, PageKeysStayInsideTheGrid) {
  Window w(QSize(900, 1600));
  w.ShowClass(1);
  ASSERT_EQ(VisibleRowCount(*w.grid()), 53) << "the whole class fits";
  w.GoTo(10, 2);
  w.Key(Qt::Key_PageDown);
  EXPECT_EQ(w.sheet()->Mynowrow(), 52);
  EXPECT_GE(w.grid()->TopRow(), 1);
  w.Key(Qt::Key_PageUp);
  EXPECT_EQ(w.sheet()->Mynowrow(), 1);
  EXPECT_EQ(w.grid()->TopRow(), 1);

  Window g;
  g.GoTo(3, 2);
  g.grid()->SetTopRow(900);  // scrolled away with the scroll bar
  g.Key(Qt::Key_PageUp);
  EXPECT_GE(g.sheet()->Mynowrow(), 1);
  g.Key(Qt::Key_Up);
  EXPECT_GE(g.sheet()->Mynowrow(), 1);
  EXPECT_GE(g.grid()->TopRow(), 1);
}

TEST(CellEditor, DeleteClearsABlockOnlyFromItsTopLeft) {
  struct Case {
    const char* name;
    int fromRow, fromCol, toRow, toCol;
    bool cleared;
  };
  const Case cases[] = {
      {"top-left to bottom-right", 2, 3, 4, 5, true},
      {"bottom-right to top-left", 4, 5, 2, 3, false},
      {"bottom-left to top-right", 4, 3, 2, 5, false},
  };
  for (const Case& c : cases) {
    Window w;
    for (int r = 1; r <= 5; ++r)
      for (int col = 2; col <= 6; ++col) w.sheet()->SetViewText(r, col, QStringLiteral("9"));
    w.Click(c.fromRow, c.fromCol);
    w.Click(c.toRow, c.toCol, Qt::ShiftModifier);
    w.box()->setFocus();
    w.Key(Qt::Key_Delete);
    for (int r = 1; r <= 5; ++r) {
      for (int col = 2; col <= 6; ++col) {
        const bool inBlock = r >= 2 && r <= 4 && col >= 3 && col <= 5;
        EXPECT_EQ(w.sheet()->ViewText(r, col).isEmpty(), c.cleared && inBlock)
            << c.name << " at " << r << "," << col;
      }
    }
    EXPECT_TRUE(w.sheet()->IsModified()) << c.name;
  }
}

TEST(CellEditor, ClickOnANameThenTypeIncludingAnInputMethod) {
  Window w;
  w.sheet()->SetViewText(3, 2, QStringLiteral("70"));
  QSignalSpy moved(w.sheet(), &Sheet::cursorMoved);
  w.Click(3, 2);
  ASSERT_EQ(moved.size(), 1);
  EXPECT_EQ(moved[0], (QVariantList{3, 2})) << "a click moves the cursor and says so";
  EXPECT_EQ(w.box()->text(), QStringLiteral("70")) << "a score cell shows at once";
  EXPECT_EQ(w.label()->text(), QStringLiteral("A:103"));
  EXPECT_TRUE(w.box()->hasFocus());

  w.Click(4, 1);
  EXPECT_EQ(w.label()->text(), QStringLiteral("A:103")) << "a name cell waits for the next key";
  QTest::keyClick(w.box(), Qt::Key_T);
  EXPECT_EQ(w.sheet()->ViewText(4, 1), QStringLiteral("t"));
  EXPECT_EQ(w.label()->text(), QStringLiteral("氏  名:104"));

  // Composing kana into kanji: the preedit stays in the box, the commit lands whole.
  QInputMethodEvent preedit(QStringLiteral("やまだ"), {});
  QApplication::sendEvent(w.box(), &preedit);
  EXPECT_EQ(w.sheet()->ViewText(4, 1), QStringLiteral("t"));
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("山田"));
  QApplication::sendEvent(w.box(), &commit);
  EXPECT_EQ(w.sheet()->ViewText(4, 1), QStringLiteral("t山田"));
  EXPECT_EQ(w.sheet()->ViewText(3, 2), QStringLiteral("70"));
}

// With an input method no key-down reaches the box: the composition alone takes the name cell.
TEST(CellEditor, NameComposedRightAfterTheClickLandsInTheNameCell) {
  Window w;
  w.sheet()->SetViewText(3, 2, QStringLiteral("70"));
  w.Click(3, 2);
  w.Click(4, 1);
  QInputMethodEvent preedit(QStringLiteral("さとう"), {});
  QApplication::sendEvent(w.box(), &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("佐藤"));
  QApplication::sendEvent(w.box(), &commit);
  EXPECT_EQ(w.sheet()->ViewText(4, 1), QStringLiteral("佐藤"));
  EXPECT_EQ(w.sheet()->ViewText(3, 2), QStringLiteral("70"));
  EXPECT_EQ(w.label()->text(), QStringLiteral("氏  名:104"));
  EXPECT_TRUE(w.sheet()->IsModified());
}

TEST(CellEditor, RefreshLeavesTheCaretAloneOnTheSameCell) {
  Window w;
  QTest::keyClicks(w.box(), QStringLiteral("855"));
  w.box()->setCursorPosition(1);
  w.Key(Qt::Key_Up);  // row 1: no move
  EXPECT_EQ(w.box()->cursorPosition(), 1);
  QTest::keyClick(w.box(), Qt::Key_Backspace);
  EXPECT_EQ(w.sheet()->ViewText(1, 2), QStringLiteral("55"));
}

TEST(CellEditor, LineBreaksAndTabsNeverReachACell) {
  Window w;
  w.box()->setText(QStringLiteral("8\t5\r\n"));
  EXPECT_EQ(w.sheet()->ViewText(1, 2), QStringLiteral("85"));
  EXPECT_EQ(w.box()->text(), QStringLiteral("85"));
}

TEST(CellEditor, CtrlCInTheBoxDoesNotCopyTheBoxText) {
  Window w;
  QApplication::clipboard()->setText(QStringLiteral("before"));
  QTest::keyClicks(w.box(), QStringLiteral("85"));
  w.box()->selectAll();
  QTest::keyClick(w.box(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
  QTest::keyClick(w.box(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(w.sheet()->ViewText(1, 2), QStringLiteral("85")) << "no paste of the box's own";
}

TEST(CellEditor, FocusBouncesThroughTheGridOnlyWhenPermitted) {
  Window w;
  w.GoTo(10, 3);
  w.Key(Qt::Key_Down);
  EXPECT_TRUE(w.box()->hasFocus());
  w.host.allowed = false;
  w.Key(Qt::Key_Down);
  EXPECT_TRUE(w.grid()->hasFocus());
  EXPECT_EQ(w.sheet()->Mynowrow(), 12);
}

TEST(CellEditor, TheBoxFollowsCellsChangedBehindIt) {
  Window w;
  w.GoTo(7, 4);
  w.sheet()->SetViewText(7, 4, QStringLiteral("64"));
  EXPECT_EQ(w.box()->text(), QStringLiteral("64"));
  w.sheet()->Undo();
  EXPECT_EQ(w.box()->text(), QString());
}

// Right scrolls the grid by one column once the cursor passes Left + VisibleColCount − 2, before
// the grid's own scrolling would bring the cell into view.
TEST(CellEditor, RightScrollsAtItsThreshold) {
  Window w({700, 400});
  w.grid()->setAutoScroll(false);  // only the editor's own scrolling counts here
  w.GoTo(5, 2);
  QList<int> lefts;
  for (int i = 0; i < 12; ++i) {
    QTest::keyPress(w.box(), Qt::Key_Right);
    lefts.append(w.grid()->LeftCol());
  }
  ASSERT_EQ(VisibleColCount(*w.grid()), 12);
  // From column 2: no scroll up to column 11 = 1 + 12 − 2, then one column a key.
  EXPECT_EQ(lefts, (QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3}));
}

// The box's text changes without a key press too; every such change reaches the cell and marks
// the sheet, or the close question would not ask and the change be lost.
TEST(CellEditor, EditsWithoutAKeyMarkTheSheet) {
  using Edit = std::function<void(QLineEdit*)>;
  // The box's own menu: undo, redo, -, cut, copy, paste, delete, -, select all.
  enum { kCut = 3, kPaste = 5, kDelete = 6 };
  auto menuAction = [](int index) -> Edit {
    return [index](QLineEdit* box) {
      std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
      ASSERT_GT(menu->actions().size(), index);
      QAction* action = menu->actions()[index];
      ASSERT_TRUE(action->isEnabled()) << action->text().toStdString();
      action->trigger();
    };
  };
  const struct {
    const char* how;
    Edit edit;
    const char* cell;
  } cases[] = {
      {"context menu paste", menuAction(kPaste), "7085"},
      {"context menu cut",
       [&](QLineEdit* box) {
         box->selectAll();
         menuAction(kCut)(box);
       },
       ""},
      {"context menu delete",
       [&](QLineEdit* box) {
         box->setSelection(0, 1);
         menuAction(kDelete)(box);
       },
       "0"},
      {"drop",
       [](QLineEdit* box) {
         QMimeData data;
         data.setText(QStringLiteral("9"));
         QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(box, &enter);
         QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(box, &drop);
       },
       nullptr},
  };
  for (const auto& c : cases) {
    Window w;
    w.sheet()->SetViewText(1, 2, QStringLiteral("70"));
    w.doc->cellEditor()->Refresh();
    ASSERT_FALSE(w.sheet()->IsModified());
    QApplication::clipboard()->setText(QStringLiteral("85"));
    w.box()->setCursorPosition(2);
    c.edit(w.box());
    if (c.cell) {
      EXPECT_EQ(w.sheet()->ViewText(1, 2), QString::fromUtf8(c.cell)) << c.how;
    } else {
      EXPECT_NE(w.sheet()->ViewText(1, 2), QStringLiteral("70")) << c.how;
    }
    EXPECT_EQ(w.sheet()->ViewText(1, 2), w.box()->text()) << c.how;
    EXPECT_TRUE(w.sheet()->IsModified()) << c.how;
  }
}

TEST(CellEditor, TabChangesNothing) {
  Window w;
  w.sheet()->SetViewText(1, 2, QStringLiteral("70"));
  w.Key(Qt::Key_Tab);
  QTest::keyClick(w.box(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_FALSE(w.sheet()->IsModified());
  EXPECT_EQ(w.sheet()->ViewText(1, 2), QStringLiteral("70"));
  EXPECT_TRUE(w.box()->hasFocus());
}

// Moving onto a cell never changes it: a cell longer than the box can hold is shown cut short,
// read-only; one just within the limit is edited as usual.
TEST(CellEditor, ALongCellIsNeverCutByMovingOntoIt) {
  Window w;
  const QString longest(CellEditor::kMaxBoxLength, QLatin1Char('7'));
  const QString tooLong(CellEditor::kMaxBoxLength + 1, QLatin1Char('8'));
  w.sheet()->SetViewText(2, 2, tooLong);
  w.sheet()->SetViewText(3, 2, longest);
  w.Key(Qt::Key_Down);
  EXPECT_EQ(w.sheet()->ViewText(2, 2), tooLong);
  EXPECT_TRUE(w.box()->isReadOnly());
  EXPECT_TRUE(w.box()->text().endsWith(QChar(u'\u2026')));
  EXPECT_LT(w.box()->text().size(), 1000);
  w.Key(Qt::Key_Down);
  EXPECT_FALSE(w.box()->isReadOnly());
  EXPECT_EQ(w.box()->text(), longest);
  w.Key(Qt::Key_Up);
  w.Key(Qt::Key_Up);
  EXPECT_EQ(w.sheet()->ViewText(2, 2), tooLong);
  EXPECT_EQ(w.sheet()->ViewText(3, 2), longest);
  EXPECT_FALSE(w.sheet()->IsModified());
  // Delete still clears it, and the box takes the cell again.
  w.Key(Qt::Key_Down);
  w.Key(Qt::Key_Delete);
  EXPECT_EQ(w.sheet()->ViewText(2, 2), QString());
  EXPECT_FALSE(w.box()->isReadOnly());
  QTest::keyClicks(w.box(), QStringLiteral("64"));
  EXPECT_EQ(w.sheet()->ViewText(2, 2), QStringLiteral("64"));
}

TEST(CellEditor, ShiftDeleteClearsTheBlockLikeDelete) {
  Window w;
  for (int r = 2; r <= 3; ++r) w.sheet()->SetViewText(r, 3, QStringLiteral("9"));
  QApplication::clipboard()->setText(QStringLiteral("before"));
  w.Click(2, 3);
  w.Click(3, 3, Qt::ShiftModifier);
  w.box()->setFocus();
  w.box()->selectAll();
  QTest::keyClick(w.box(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(w.sheet()->ViewText(2, 3), QString());
  EXPECT_EQ(w.sheet()->ViewText(3, 3), QString());
  EXPECT_TRUE(w.sheet()->IsModified());
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
}

}  // namespace
}  // namespace kelt
