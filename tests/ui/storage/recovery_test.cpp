#include "ui/storage/recovery.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "support/files.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/calc/columndialog.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"
#include "ui/storage/filecommands.h"

namespace kelt {
namespace {

// A recovery folder of the test's own, restored afterwards.
struct RecoveryFolder {
  RecoveryFolder() : old(RecoveryDirectory()) { SetRecoveryDirectory(dir.path()); }
  ~RecoveryFolder() { SetRecoveryDirectory(old); }
  QStringList Files(const char* pattern) const {
    return QDir(dir.path()).entryList({QString::fromLatin1(pattern)}, QDir::Files);
  }
  QTemporaryDir dir;
  QString old;
};

struct Frame {
  Frame() {
    frame = std::make_unique<frmMain>();
    frame->show();
    QApplication::processEvents();
  }
  frmDocument* doc() const { return frame->activeSheet(); }
  std::unique_ptr<frmMain> frame;
};

// Waits for the copy written soon after a bulk edit.
bool WaitForCopy(const RecoveryFolder& folder) {
  return QTest::qWaitFor([&] { return !folder.Files("*.klt").isEmpty(); }, 3000);
}

TEST(Recovery, ACopyFollowsUnsavedChanges) {
  RecoveryFolder folder;
  Frame f;
  frmDocument* doc = f.doc();
  doc->sheet()->ShowClass(2);
  doc->sheet()->SetViewText(4, 1, QStringLiteral("佐藤"));
  doc->sheet()->SetViewText(4, 3, QStringLiteral("77"));
  doc->sheet()->MarkModified();
  EXPECT_TRUE(folder.Files("*.klt").isEmpty()) << "a typed change waits";
  doc->viewGrid()->SetCurrentCell(4, 5);
  CalcChoice choice;
  choice.items = {1};
  RunCalculation(doc, doc, choice, true, false,
                 [](TextGrid& view, const CalcChoice& c) { HorizontalTotal(view, c); });
  ASSERT_TRUE(WaitForCopy(folder)) << "a calculation is copied at once";
  // Marks typed after that are copied again, 30 s later, however long the typing goes on.
  auto* copy = doc->findChild<RecoveryCopy*>();
  ASSERT_FALSE(copy->WritePending());
  doc->sheet()->SetViewText(6, 3, QStringLiteral("64"));
  EXPECT_TRUE(copy->WritePending());
  copy->WriteNow();
  const TextGrid storageBefore = doc->sheet()->Storage();

  const QStringList copies = folder.Files("*.klt");
  ASSERT_EQ(copies.size(), 1);
  Sheet read;
  read.BuildSheetLayout();
  ReadKltIntoSheet(read, test::ReadAll(folder.dir.filePath(copies[0])));
  EXPECT_EQ(read.Storage().Text(Sheet::StorageRow(2, 4), 1), QStringLiteral("佐藤"));
  EXPECT_EQ(read.Storage().Text(Sheet::StorageRow(2, 4), 5), QStringLiteral("77"));
  EXPECT_EQ(read.Storage().Text(Sheet::StorageRow(2, 6), 3), QStringLiteral("64"));
  EXPECT_EQ(doc->sheet()->Storage(), storageBefore) << "the undo snapshot is not disturbed";

  // A save that fails keeps the copy; one that succeeds removes it.
  QTemporaryDir files;
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  ASSERT_FALSE(WriteSheetFile(doc, QStringLiteral("/nonexistent/kumi.klt"), f.frame.get()));
  QApplication::processEvents();
  EXPECT_EQ(folder.Files("*.klt").size(), 1) << "a failed save keeps the copy";
  ASSERT_TRUE(WriteSheetFile(doc, files.filePath(QStringLiteral("kumi.klt")), f.frame.get()));
  QApplication::processEvents();
  EXPECT_TRUE(folder.Files("*.klt").isEmpty());

  // A close whose changes are declined removes it too.
  doc->sheet()->SetViewText(5, 3, QStringLiteral("60"));
  doc->sheet()->MarkModified();
  doc->findChild<RecoveryCopy*>()->WriteNow();  // what the typing timer does after 30 s
  ASSERT_EQ(folder.Files("*.klt").size(), 1);
  prompts.Expect(PromptAnswer::Yes);
  f.frame->mdiArea()->closeAllSubWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(folder.Files("*").isEmpty()) << folder.Files("*").join(u' ').toStdString();
}

// A copy whose owner is gone (a crash) is offered at the next start and comes back whole; the
// copies of a running instance are left to it.
TEST(Recovery, ACrashedRunsSheetsAreOfferedBack) {
  RecoveryFolder folder;
  QString caption;
  {
    Frame running;
    frmDocument* doc = running.doc();
    caption = doc->Caption();
    doc->sheet()->ShowClass(6);
    doc->sheet()->SetViewText(1, 2, QStringLiteral("91"));
    doc->sheet()->MarkModified();
    auto* copy = doc->findChild<RecoveryCopy*>();
    ASSERT_NE(copy, nullptr);
    copy->WriteNow();

    {
      test::ScriptedPrompts none;  // no question: the copy's owner still runs
      Frame second;
      EXPECT_TRUE(none.shown().isEmpty());
    }
    ASSERT_EQ(folder.Files("*.klt").size(), 1);
    // The crash: the files stay behind, the lock is a dead process's.
    const QString base = copy->BasePath();
    for (const char* ext : {".klt", ".info"}) {
      const QString path = base + QString::fromLatin1(ext);
      ASSERT_TRUE(QFile::copy(path, path + QStringLiteral(".kept")));
    }
    doc->sheet()->SetMark(Sheet::Mark::Untouched);
    QApplication::processEvents();
    for (const char* ext : {".klt", ".info"}) {
      const QString path = base + QString::fromLatin1(ext);
      ASSERT_TRUE(QFile::rename(path + QStringLiteral(".kept"), path));
    }
    test::WriteAll(base + QStringLiteral(".lock"), "999999999\nkelt\n\n");
  }

  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Yes);
  Frame next;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.shown().isEmpty(); }, 3000));
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text,
            QStringLiteral("前回の終了時に保存されていないシートがあります。復元しますか?"));
  EXPECT_EQ(prompts.shown()[0].buttons, PromptButtons::YesNo);
  frmDocument* restored = next.doc();
  EXPECT_EQ(restored->Caption(), caption);
  EXPECT_TRUE(restored->sheet()->IsModified());
  EXPECT_EQ(restored->sheet()->ViewIndex(), 6);
  EXPECT_EQ(restored->sheet()->ViewText(1, 2), QStringLiteral("91"));
  EXPECT_EQ(next.frame->mdiArea()->subWindowList().size(), 2);
  ASSERT_EQ(folder.Files("*.klt").size(), 1) << "the old copy gone, the sheet's own written";

  // いいえ removes what is offered.
  restored->sheet()->SetMark(Sheet::Mark::Untouched);
  QApplication::processEvents();
  test::WriteAll(folder.dir.filePath(QStringLiteral("sheet-1-1.klt")), "a\tb\r\n");
  test::WriteAll(folder.dir.filePath(QStringLiteral("sheet-1-1.info")), "Book9\n21\n");
  prompts.Expect(PromptAnswer::No);
  Frame declined;
  EXPECT_TRUE(QTest::qWaitFor([&] { return prompts.shown().size() == 2; }, 3000));
  EXPECT_TRUE(folder.Files("sheet-1-1.*").isEmpty());
  EXPECT_EQ(declined.frame->mdiArea()->subWindowList().size(), 1);
}

}  // namespace
}  // namespace kelt
