#include "ui/storage/recovery.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/recoverycells.h"
#include "support/files.h"
#include "support/frameactions.h"
#include "support/fulldisk.h"
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

using Frame = test::ShownFrame;
using test::Action;

// Waits for the copy written soon after a bulk edit.
bool WaitForCopy(const RecoveryFolder& folder) {
  return QTest::qWaitFor([&] { return !folder.Files("*.copy").isEmpty(); }, 3000);
}

// The storage a sheet's copy holds now.
TextGrid CopiedStorage(const RecoveryCopy* copy) {
  return ReadRecoveryCells(test::ReadAll(copy->BasePath() + QStringLiteral(".copy")))
      .value_or(TextGrid());
}

// The files a run that crashed leaves: a copy (UTF-8 cells, or CP932 from an earlier build), its
// description, and a lock whose process is gone.
void LeaveCrashedCopy(const RecoveryFolder& folder, const QString& name, const QByteArray& info,
                      const QByteArray& cells, const char* extension = ".copy") {
  const QString base = folder.dir.filePath(name);
  test::WriteAll(base + QString::fromLatin1(extension), cells);
  test::WriteAll(base + QStringLiteral(".info"), info);
  test::WriteAll(base + QStringLiteral(".lock"), "999999999\nkelt\n\n");
}

// The crash of the run showing `doc`: its copy's files stay behind, its lock is a dead process's.
void LeaveAsACrashWould(frmDocument* doc) {
  const QString base = doc->findChild<RecoveryCopy*>()->BasePath();
  const QStringList extensions = {QStringLiteral(".copy"), QStringLiteral(".info"),
                                  QStringLiteral(".base")};
  const QString kept = QStringLiteral(".kept");
  for (const QString& ext : extensions) {
    if (QFile::exists(base + ext)) {
      ASSERT_TRUE(QFile::copy(base + ext, base + ext + kept));
    }
  }
  doc->sheet()->SetMark(Sheet::Mark::Untouched);
  QApplication::processEvents();
  for (const QString& ext : extensions) {
    if (QFile::exists(base + ext + kept)) {
      ASSERT_TRUE(QFile::rename(base + ext + kept, base + ext));
    }
  }
  test::WriteAll(base + QStringLiteral(".lock"), "999999999\nkelt\n\n");
}

TEST(Recovery, ACopyFollowsUnsavedChanges) {
  RecoveryFolder folder;
  Frame f;
  frmDocument* doc = f.doc();
  doc->sheet()->ShowClass(2);
  doc->sheet()->SetViewText(4, 1, QStringLiteral("佐藤"));
  doc->sheet()->SetViewText(4, 3, QStringLiteral("77"));
  doc->sheet()->MarkModified();
  EXPECT_TRUE(folder.Files("*.copy").isEmpty()) << "a typed change waits";
  doc->viewGrid()->SetCurrentCell(4, 5);
  CalcChoice choice;
  choice.items = {1};
  RunCalculation(doc, doc, choice, {.writesAtCursor = true},
                 [](TextGrid& view, const CalcChoice& c) { HorizontalTotal(view, c); });
  ASSERT_TRUE(WaitForCopy(folder)) << "a calculation is copied at once";
  auto* copy = doc->findChild<RecoveryCopy*>();
  ASSERT_FALSE(copy->WritePending());
  doc->sheet()->SetViewText(6, 3, QStringLiteral("64"));
  EXPECT_TRUE(copy->WritePending());
  copy->WriteNow();
  const TextGrid storageBefore = doc->sheet()->Storage();

  ASSERT_EQ(folder.Files("*.copy").size(), 1);
  const TextGrid read = CopiedStorage(copy);
  EXPECT_EQ(read.Text(Sheet::StorageRow(2, 4), 1), QStringLiteral("佐藤"));
  EXPECT_EQ(read.Text(Sheet::StorageRow(2, 4), 5), QStringLiteral("77"));
  EXPECT_EQ(read.Text(Sheet::StorageRow(2, 6), 3), QStringLiteral("64"));
  EXPECT_EQ(doc->sheet()->Storage(), storageBefore) << "the undo snapshot is not disturbed";

  // A save that fails keeps the copy; one that succeeds removes it.
  QTemporaryDir files;
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  ASSERT_FALSE(WriteSheetFile(doc, QStringLiteral("/nonexistent/kumi.klt"), &f.frame));
  QApplication::processEvents();
  EXPECT_EQ(folder.Files("*.copy").size(), 1) << "a failed save keeps the copy";
  ASSERT_TRUE(WriteSheetFile(doc, files.filePath(QStringLiteral("kumi.klt")), &f.frame));
  QApplication::processEvents();
  EXPECT_TRUE(folder.Files("*.copy").isEmpty());

  // A close whose changes are declined removes it too.
  doc->sheet()->SetViewText(5, 3, QStringLiteral("60"));
  doc->sheet()->MarkModified();
  doc->findChild<RecoveryCopy*>()->WriteNow();  // what the typing timer does
  ASSERT_EQ(folder.Files("*.copy").size(), 1);
  prompts.Expect(PromptAnswer::Yes);
  f.frame.mdiArea()->closeAllSubWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(folder.Files("*").isEmpty()) << folder.Files("*").join(u' ').toStdString();
}

// A copy whose owner is gone (a crash) is offered at the next start and comes back whole, every
// character included, in place of the start's untouched sheet; the copies of a running instance
// are left to it.
TEST(Recovery, ACrashedRunsSheetsAreOfferedBackWhole) {
  RecoveryFolder folder;
  QString caption;
  const char* const names[] = {"𠮷田", "€5", "😀", "髙橋"};
  {
    Frame running;
    frmDocument* doc = running.doc();
    caption = doc->Caption();
    doc->sheet()->ShowClass(6);
    doc->sheet()->SetViewText(1, 2, QStringLiteral("91"));
    for (int r = 0; r < 4; ++r) doc->sheet()->SetViewText(2 + r, 1, QString::fromUtf8(names[r]));
    doc->sheet()->MarkModified();
    auto* copy = doc->findChild<RecoveryCopy*>();
    ASSERT_NE(copy, nullptr);
    copy->WriteNow();

    {
      test::ScriptedPrompts none;  // no question: the copy's owner still runs
      Frame second;
      EXPECT_TRUE(none.shown().isEmpty());
    }
    ASSERT_EQ(folder.Files("*.copy").size(), 1);
    LeaveAsACrashWould(doc);
  }

  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Yes);
  Frame next;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.shown().isEmpty(); }, 3000));
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_EQ(prompts.shown()[0].text,
            QStringLiteral("前回の終了時に保存されていないシートがあります。復元しますか?"));
  EXPECT_EQ(prompts.shown()[0].buttons, PromptButtons::YesNo);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(next.frame.sheets().size(), 1) << "the start's untouched sheet gave way";
  frmDocument* restored = next.doc();
  EXPECT_EQ(restored->Caption(), caption);
  EXPECT_TRUE(restored->sheet()->IsModified());
  EXPECT_EQ(restored->sheet()->ViewIndex(), 6);
  EXPECT_EQ(restored->sheet()->ViewText(1, 2), QStringLiteral("91"));
  for (int r = 0; r < 4; ++r)
    EXPECT_EQ(restored->sheet()->ViewText(2 + r, 1), QString::fromUtf8(names[r]));
  ASSERT_EQ(folder.Files("*.copy").size(), 1) << "the old copy gone, the sheet's own written";
  EXPECT_EQ(next.frame.NewSheet()->Caption(), QStringLiteral("Book2"));

  // いいえ removes what is offered.
  for (frmDocument* doc : next.frame.sheets()) doc->sheet()->SetMark(Sheet::Mark::Untouched);
  QApplication::processEvents();
  LeaveCrashedCopy(folder, QStringLiteral("sheet-1-1"), "Book9\n21\n", "a\tb\n");
  prompts.Expect(PromptAnswer::No);
  Frame declined;
  EXPECT_TRUE(QTest::qWaitFor([&] { return prompts.shown().size() == 2; }, 3000));
  EXPECT_TRUE(folder.Files("sheet-1-1.*").isEmpty());
  EXPECT_EQ(declined.frame.mdiArea()->subWindowList().size(), 1);
}

// A sheet read from the year's file and restored after a crash still merges at its next save what
// a colleague saved there meanwhile.
TEST(Recovery, ARestoredSheetStillMergesWithItsFile) {
  RecoveryFolder folder;
  QTemporaryDir files;
  const QString path = files.filePath(QStringLiteral("year.klt"));
  TextGrid year = Sheet::EmptyStorage();
  year.SetText(0, 2, QStringLiteral("国語"));
  year.SetText(0, 3, QStringLiteral("数学"));
  test::WriteAll(path, WriteKlt(year));
  {
    test::ScriptedPrompts none;
    frmMain running(path);
    frmDocument* doc = running.activeSheet();
    doc->sheet()->SetViewText(1, 2, QStringLiteral("78"));
    doc->sheet()->MarkModified();
    doc->findChild<RecoveryCopy*>()->WriteNow();
    ASSERT_EQ(folder.Files("*.base").size(), 1);
    LeaveAsACrashWould(doc);

    frmMain colleague(path);
    colleague.activeSheet()->sheet()->SetViewText(2, 3, QStringLiteral("67"));
    colleague.activeSheet()->sheet()->MarkModified();
    Action(colleague, "mnuFileSave")->trigger();
    EXPECT_TRUE(none.shown().isEmpty());
  }
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Yes);
  Frame next;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown().isEmpty(); }, 3000));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  frmDocument* restored = next.doc();
  ASSERT_EQ(restored->Caption(), path);
  EXPECT_EQ(folder.Files("*.base").size(), 1) << "the restored sheet's own copy keeps it too";
  prompts.ExpectChoice(QStringLiteral("取り込んで保存"));
  Action(next.frame, "mnuFileSave")->trigger();
  const TextGrid saved = ReadKltSheet(test::ReadAll(path)).storage;
  EXPECT_EQ(saved.Text(1, 2), QStringLiteral("78"));
  EXPECT_EQ(saved.Text(2, 3), QStringLiteral("67"));
  EXPECT_TRUE(prompts.AllAnswered());
}

// What a start finds after crashes: copies of earlier builds, in CP932, still come back; copies
// of two runs, both of a "Book1", never share a caption with each other or with a sheet opened
// later; a copy of the file the start opened becomes a new Book, and says so. A copy that cannot be
// restored (a planted description of megabytes, cells that are no copy's) is said so once, with
// no empty sheet for it, set aside where an administrator finds it, and not offered again.
TEST(Recovery, RestoredSheetsNeverShareACaptionAndBrokenCopiesGoAside) {
  RecoveryFolder folder;
  QTemporaryDir files;
  const QString kumi = files.filePath(QStringLiteral("kumi.klt"));
  test::WriteAll(kumi, "\x8E\x81  \x96\xBC\r\n");
  LeaveCrashedCopy(folder, QStringLiteral("sheet-5-1"), QByteArray(17 << 20, 'x') + "\n21\n",
                   "a\n");
  LeaveCrashedCopy(folder, QStringLiteral("sheet-5-2"), "Book4\n21\n", "\xFF\xFE\n");
  // 佐藤 in CP932, as the build before this one wrote its copies.
  LeaveCrashedCopy(folder, QStringLiteral("sheet-7-1"), "Book1\n21\n", "\t\r\n\x8D\xB2\x93\xA1\r\n",
                   ".klt");
  LeaveCrashedCopy(folder, QStringLiteral("sheet-8-1"), "Book1\n3\n",
                   QByteArray("\t\n\t\n\t\n\t\n") + "\t\xE9\xAB\x99\n");  // 髙 at row 4
  LeaveCrashedCopy(folder, QStringLiteral("sheet-9-1"), kumi.toUtf8() + "\n21\n", "\t\n\t77\n");
  test::ScriptedPrompts prompts;
  for (const PromptAnswer answer :
       {PromptAnswer::Yes, PromptAnswer::Ok, PromptAnswer::Ok, PromptAnswer::Ok})
    prompts.Expect(answer);
  {
    frmMain frame(kumi);
    frame.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return prompts.shown().size() == 4; }, 3000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<frmDocument*> open = frame.sheets();
    ASSERT_EQ(open.size(), 4) << "the start's sheet holds a file: it stays";
    QStringList captions;
    for (const frmDocument* doc : open) captions << doc->Caption();
    EXPECT_EQ(captions, QStringList({kumi, QStringLiteral("Book1"), QStringLiteral("Book2"),
                                     QStringLiteral("Book3")}));
    EXPECT_EQ(open[1]->sheet()->ViewText(1, 1), QStringLiteral("佐藤"));
    EXPECT_EQ(open[2]->sheet()->ViewIndex(), 3);
    EXPECT_EQ(open[2]->sheet()->Storage().Text(4, 2), QStringLiteral("髙"));
    EXPECT_EQ(open[3]->sheet()->ViewText(1, 2), QStringLiteral("77"));
    EXPECT_EQ(frame.NewSheet()->Caption(), QStringLiteral("Book4"));
    for (int i = 1; i <= 2; ++i) {
      const QString text = prompts.shown()[i].text;
      EXPECT_TRUE(text.contains(QStringLiteral("を復元できませんでした。"))) << text.toStdString();
      EXPECT_TRUE(text.contains(QDir::toNativeSeparators(UnrestoredDirectory())));
      EXPECT_LT(text.size(), 1000);
    }
    EXPECT_TRUE(prompts.shown()[2].text.startsWith(QStringLiteral("Book4")));
    EXPECT_TRUE(prompts.shown()[3].text.startsWith(kumi)) << prompts.shown()[3].text.toStdString();
    for (frmDocument* doc : frame.sheets()) doc->sheet()->SetMark(Sheet::Mark::Untouched);
    QApplication::processEvents();
  }
  EXPECT_TRUE(prompts.AllAnswered());
  EXPECT_TRUE(folder.Files("sheet-*").isEmpty());
  const QStringList aside = QDir(UnrestoredDirectory()).entryList(QDir::Files, QDir::Name);
  EXPECT_EQ(aside,
            QStringList({QStringLiteral("sheet-5-1.copy"), QStringLiteral("sheet-5-1.info"),
                         QStringLiteral("sheet-5-2.copy"), QStringLiteral("sheet-5-2.info")}));
  Frame again;
  QTest::qWait(50);
  EXPECT_EQ(prompts.shown().size(), 4) << "not offered again";
}

// When no copy can be kept (the folder cannot be made, a full disk), the teacher is told once,
// in the status bar, and goes on working without a box at every pause.
TEST(Recovery, CopiesThatCannotBeKeptAreToldOnce) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("file"));
  test::WriteAll(file, "x");
  const struct {
    const char* what;
    bool fullDisk;
  } cases[] = {{"a folder under a file", false}, {"a full disk", true}};
  for (const auto& c : cases) {
    if (c.fullDisk && !test::FullDisk::CanMount()) continue;
    std::unique_ptr<test::FullDisk> disk;
    RecoveryFolder folder;
    if (c.fullDisk) {
      disk = std::make_unique<test::FullDisk>();
      ASSERT_TRUE(disk->Mounted());
      disk->Fill();
      SetRecoveryDirectory(disk->Path(QStringLiteral("recovery")));
      QDir().mkpath(RecoveryDirectory());  // an empty folder takes no block
    } else {
      SetRecoveryDirectory(file + QStringLiteral("/recovery"));
    }
    test::ScriptedPrompts none;
    Frame f;
    auto* status = f.frame.findChild<QLabel*>(QStringLiteral("sbStatus"));
    const QString before = status->text();
    f.doc()->sheet()->SetViewText(1, 2, QStringLiteral("80"));
    f.doc()->sheet()->MarkModified();
    auto* copy = f.doc()->findChild<RecoveryCopy*>();
    copy->WriteNow();
    EXPECT_NE(status->text(), before) << c.what;
    EXPECT_TRUE(status->text().contains(QStringLiteral("復元用のコピー"))) << c.what;
    f.doc()->sheet()->SetViewText(2, 2, QStringLiteral("81"));
    copy->WriteNow();
    EXPECT_TRUE(none.shown().isEmpty()) << c.what;
    f.doc()->sheet()->SetMark(Sheet::Mark::Untouched);
  }
}

// A copy is written once the typing pauses, at the latest a while after the first cell typed
// however long the typing goes on, and soon after a bulk edit, which no keystroke puts off.
TEST(Recovery, TheCopyFollowsThePausesInTheTyping) {
  using S = CopySchedule;
  const struct {
    const char* what;
    std::vector<std::pair<char, qint64>> events;  // 't' typed, 'b' bulk edit, 'w' written
    std::optional<qint64> due;
  } cases[] = {
      {"nothing", {}, std::nullopt},
      {"one cell", {{'t', 1000}}, 1000 + S::kPauseMs},
      {"a pause after the last of a few", {{'t', 0}, {'t', 500}, {'t', 900}}, 900 + S::kPauseMs},
      {"typing that never pauses", {{'t', 0}, {'t', 29000}, {'t', 29500}}, S::kTypingMaxMs},
      {"a bulk edit", {{'b', 400}}, 400 + S::kBulkMs},
      {"a bulk edit while a typed copy waits", {{'t', 0}, {'b', 300}}, 300 + S::kBulkMs},
      {"typing after a bulk edit", {{'b', 300}, {'t', 350}}, 300 + S::kBulkMs},
      {"a second bulk edit", {{'b', 300}, {'b', 350}}, 300 + S::kBulkMs},
      {"written", {{'t', 0}, {'b', 10}, {'w', 110}}, std::nullopt},
      {"typing again after a write", {{'t', 0}, {'w', 2000}, {'t', 40000}}, 40000 + S::kPauseMs},
  };
  for (const auto& c : cases) {
    CopySchedule schedule;
    for (const auto& [kind, at] : c.events) {
      if (kind == 't') schedule.Typed(at);
      if (kind == 'b') schedule.Bulk(at);
      if (kind == 'w') schedule.Written();
    }
    EXPECT_EQ(schedule.Due(), c.due) << c.what;
  }

  // In a sheet: a typed cell is on disk some 2 s later; a bulk edit made while that copy waits
  // is on disk within a tenth of a second, with the typed cell.
  RecoveryFolder folder;
  Frame f;
  Sheet* sheet = f.doc()->sheet();
  auto* copy = f.doc()->findChild<RecoveryCopy*>();
  sheet->SetViewText(1, 2, QStringLiteral("80"));
  sheet->MarkModified();
  EXPECT_GT(copy->MsUntilWrite(), S::kPauseMs - 200);
  EXPECT_LE(copy->MsUntilWrite(), S::kPauseMs);
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !folder.Files("*.copy").isEmpty(); }, 5000));
  EXPECT_GE(clock.elapsed(), S::kPauseMs - 300);
  EXPECT_EQ(CopiedStorage(copy).Text(1, 2), QStringLiteral("80"));

  sheet->SetViewText(2, 2, QStringLiteral("81"));
  ASSERT_GT(copy->MsUntilWrite(), S::kBulkMs) << "a typed copy waits";
  sheet->EditView([](TextGrid& view) { view.SetText(3, 2, QStringLiteral("82")); });
  EXPECT_LE(copy->MsUntilWrite(), S::kBulkMs);
  const TextGrid expected = [&] {
    TextGrid storage = sheet->Storage();
    sheet->StoreViewInto(storage);
    for (int r = 0; r < storage.Rows(); ++r) storage.SetText(r, 0, QString());  // not copied
    return storage;
  }();
  ASSERT_TRUE(QTest::qWaitFor([&] { return CopiedStorage(copy).Text(3, 2) == u"82"; }, 300));
  EXPECT_EQ(CopiedStorage(copy).Text(2, 2), QStringLiteral("81"));
  EXPECT_EQ(CopiedStorage(copy), expected);
  sheet->SetMark(Sheet::Mark::Untouched);
}

}  // namespace
}  // namespace kelt
