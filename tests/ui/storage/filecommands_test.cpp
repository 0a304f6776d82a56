#include "ui/storage/filecommands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "core/edit/structureedits.h"
#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "support/files.h"
#include "support/frameactions.h"
#include "support/fulldisk.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "ui/app/frmmain.h"
#include "ui/platform/flexgrid.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {
namespace {

using test::ReadAll;
using test::WriteAll;

using test::Action;

TEST(FileCommands, CommandLineQuotes) {
  struct Case {
    QString arguments, path;
  };
  const Case cases[] = {
      {QString(), QString()},
      {QStringLiteral("/home/t/kumi 1.klt"), QStringLiteral("/home/t/kumi 1.klt")},
      {QStringLiteral("\"/home/t/kumi 1.klt\""), QStringLiteral("/home/t/kumi 1.klt")},
      {QStringLiteral("\"a.k\""), QStringLiteral("a.k")},           // 5 characters: both ends go
      {QStringLiteral("\"ab\""), QStringLiteral("\"ab\"")},         // 4 characters: kept
      {QStringLiteral("\"a.klt\" x"), QStringLiteral("a.klt\" ")},  // only the very last goes
  };
  for (const Case& c : cases)
    EXPECT_EQ(CommandLinePath(c.arguments), c.path) << c.arguments.toStdString();
}

// Before the application is built only arguments that Qt leaves alone give a path: one that may be
// a Qt option ("-style fusion a.klt") waits for QApplication to take its options out.
TEST(FileCommands, CommandLinePathBeforeQt) {
  struct Case {
    std::vector<const char*> argv;
    std::optional<QString> path;
  };
  const Case cases[] = {
      {{"kelt"}, QString()},
      {{"kelt", "/home/t/kumi 1.klt"}, QStringLiteral("/home/t/kumi 1.klt")},
      {{"kelt", "/home/t/kumi", "1.klt"}, QStringLiteral("/home/t/kumi 1.klt")},
      {{"kelt", "\"/home/t/組 1.klt\""}, QStringLiteral("/home/t/組 1.klt")},
      {{"kelt", "-style", "fusion", "a.klt"}, std::nullopt},
      {{"kelt", "a.klt", "-platform", "offscreen"}, std::nullopt},
      {{"kelt", "-"}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandLinePathBeforeQt(int(c.argv.size()), c.argv.data()), c.path) << c.argv.back();
  }
}

TEST(FileCommands, SavePaths) {
  struct Case {
    QString caption, path;
  };
  const Case cases[] = {
      {QStringLiteral("/d/kumi1.klt"), QStringLiteral("/d/kumi1.klt")},
      {QStringLiteral("/d/x.txt"), QStringLiteral("/d/x.klt")},
      {QStringLiteral("/d/kumi1"), QStringLiteral("/d/kumi1.klt")},
      {QStringLiteral("/d.old/kumi"), QStringLiteral("/d.old/kumi.klt")},
      {QStringLiteral("/d/.abc"), QStringLiteral("/d/.abc.klt")},
      {QStringLiteral("/d/成績.KLT"), QStringLiteral("/d/成績.KLT")},  // saved to itself
      {QStringLiteral("/d/kumi.Klt"), QStringLiteral("/d/kumi.Klt")},
  };
  for (const Case& c : cases) EXPECT_EQ(KltSavePath(c.caption), c.path) << c.caption.toStdString();
}

struct Frame : test::ShownFrame {
  QTemporaryDir dir;
};

TEST(FileCommands, SaveOnANewSheetAsksForAName) {
  Frame f;
  f.frame.NewSheet();
  f.sheet()->SetViewText(1, 2, QStringLiteral("85"));
  f.sheet()->MarkModified();
  {
    test::ScriptedPrompts prompts;
    prompts.ExpectFile(QString());
    Action(f.frame, "mnuFileSave")->trigger();
    ASSERT_EQ(prompts.fileDialogs().size(), 1);
    EXPECT_TRUE(prompts.fileDialogs()[0].save);
    EXPECT_EQ(prompts.fileDialogs()[0].title, QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(prompts.fileDialogs()[0].filter, QStringLiteral("Keltのﾌｧｲﾙ (*.klt)|*.klt"));
    EXPECT_EQ(f.frame.activeSheet()->Caption(), QStringLiteral("Book2"));
    EXPECT_TRUE(f.sheet()->IsModified());
  }
  const QString path = f.dir.filePath(QStringLiteral("kumi1.klt"));
  {
    test::ScriptedPrompts prompts;
    prompts.ExpectFile(path);
    Action(f.frame, "mnuFileSave")->trigger();
    EXPECT_EQ(f.frame.activeSheet()->Caption(), path);
    EXPECT_EQ(f.sheet()->ModifiedMark(), Sheet::Mark::Saved);
    EXPECT_TRUE(ReadAll(path).startsWith(QByteArray("\x8e\x81  \x96\xbc\tA\tB")));
  }
  // Save again: same path, no dialog; then closing asks nothing.
  f.sheet()->SetViewText(2, 2, QStringLiteral("70"));
  f.sheet()->MarkModified();
  test::ScriptedPrompts prompts;
  f.frame.ToolbarClick(QStringLiteral("上書き保存"));
  EXPECT_TRUE(prompts.fileDialogs().isEmpty());
  EXPECT_EQ(f.sheet()->ModifiedMark(), Sheet::Mark::Saved);
  EXPECT_TRUE(ReadAll(path).contains("\r\n\t85\t"));
  EXPECT_TRUE(ReadAll(path).contains("\r\n\t70\t"));
  EXPECT_TRUE(f.frame.activeSheet()->close());
  EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST(FileCommands, SaveAsCompletesTheNameAndAsksAboutTheFileWritten) {
  Frame f;
  const QString typed = f.dir.filePath(QStringLiteral("kumi2"));
  const QString written = typed + QStringLiteral(".klt");
  WriteAll(written, "old");
  f.sheet()->SetViewText(1, 1, QStringLiteral("佐藤"));
  {
    test::ScriptedPrompts prompts;
    prompts.ExpectFile(typed);
    prompts.Expect(PromptAnswer::No);
    Action(f.frame, "mnuFileSaveAs")->trigger();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_TRUE(prompts.shown()[0].text.contains(written));
    EXPECT_EQ(ReadAll(written), QByteArray("old"));
    EXPECT_EQ(f.frame.activeSheet()->Caption(), QStringLiteral("Book1"));
  }
  test::ScriptedPrompts prompts;
  prompts.ExpectFile(typed);
  prompts.Expect(PromptAnswer::Yes);
  Action(f.frame, "mnuFileSaveAs")->trigger();
  EXPECT_EQ(f.frame.activeSheet()->Caption(), written);
  EXPECT_TRUE(ReadAll(written).contains("\r\n\x8d\xb2\x93\xa1"));  // 佐藤 on pupil 101's line
  EXPECT_FALSE(QFile::exists(typed));
}

TEST(FileCommands, NoSheetNoSave) {
  Frame f;
  f.frame.CloseAllWindows();
  QApplication::processEvents();
  test::ScriptedPrompts prompts;
  Action(f.frame, "mnuFileSave")->trigger();
  Action(f.frame, "mnuFileSaveAs")->trigger();
  EXPECT_TRUE(prompts.fileDialogs().isEmpty());
}

TEST(FileCommands, AnUnwritablePathKeepsTheMarkAndSaysWhy) {
  Frame f;
  f.sheet()->SetViewText(1, 2, QStringLiteral("85"));
  f.sheet()->MarkModified();
  const QString path = f.dir.filePath(QStringLiteral("no/such/folder/kumi.klt"));
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  EXPECT_FALSE(WriteSheetFile(f.frame.activeSheet(), path, &f.frame));
  ASSERT_EQ(prompts.shown().size(), 1);
  EXPECT_TRUE(prompts.shown()[0].text.contains(path));
  EXPECT_TRUE(f.sheet()->IsModified());
  EXPECT_EQ(f.frame.activeSheet()->Caption(), QStringLiteral("Book1"));
}

// A disk that fills up during the write leaves the old file as it was and says why, for a sheet
// small enough to sit in a write buffer as well as for a full one.
TEST(FileCommands, AFullDiskLeavesTheOldFile) {
  if (!test::FullDisk::CanMount()) GTEST_SKIP() << "mounting a small disk needs root";
  test::FullDisk disk(96);
  ASSERT_TRUE(disk.Mounted());
  const QString path = disk.Path(QStringLiteral("kumi.klt"));
  QByteArray old(40 * 1024, 'x');
  WriteAll(path, old);
  disk.Fill();

  const struct { int rows, cols; } sheets[] = {{100, 3}, {1000, 60}};  // about 1 KB and 360 KB
  for (const auto [rows, cols] : sheets) {
    Frame f;
    f.sheet()->SetViewCols(cols);
    f.sheet()->EditView([rows = rows](TextGrid& view) {
      for (int r = 1; r <= rows; ++r)
        for (int c = 2; c < view.Cols(); ++c) view.SetText(r, c, QStringLiteral("12345"));
    });
    f.sheet()->MarkModified();
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Ok);
    EXPECT_FALSE(WriteSheetFile(f.frame.activeSheet(), path, &f.frame)) << cols;
    EXPECT_EQ(ReadAll(path), old) << cols;
    EXPECT_EQ(f.sheet()->ModifiedMark(), Sheet::Mark::Modified) << cols;
    EXPECT_EQ(f.frame.activeSheet()->Caption(), QStringLiteral("Book1"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_TRUE(prompts.shown()[0].text.contains(path));
    EXPECT_FALSE(prompts.shown()[0].text.contains(QStringLiteral("未知")));
  }
}

// Save writes the .klt twin of a sheet opened from another file, and the file a sheet came from;
// it asks before replacing a twin that is already there, or a file changed on disk since.
TEST(FileCommands, SaveAsksBeforeReplacingWhatItDidNotRead) {
  Frame f;
  const QString csv = f.dir.filePath(QStringLiteral("kumi.csv"));
  const QString klt = f.dir.filePath(QStringLiteral("kumi.klt"));
  WriteAll(csv, "name,A\r\n");
  WriteAll(klt, "colleague");
  {
    test::ScriptedPrompts prompts;
    f.frame.NewSheet(csv);
  }
  f.sheet()->SetViewText(1, 2, QStringLiteral("85"));
  f.sheet()->MarkModified();
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::No);
    f.frame.ToolbarClick(QStringLiteral("上書き保存"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_TRUE(prompts.shown()[0].text.contains(klt));
    EXPECT_EQ(ReadAll(klt), QByteArray("colleague"));
    EXPECT_TRUE(f.sheet()->IsModified());
  }
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Yes);
    f.frame.ToolbarClick(QStringLiteral("上書き保存"));
    EXPECT_TRUE(ReadAll(klt).contains("\t85"));
    EXPECT_EQ(f.frame.activeSheet()->Caption(), klt);
    EXPECT_EQ(ReadAll(csv), QByteArray("name,A\r\n"));
  }
  {
    // Saved once, the file is the sheet's own: the next save asks nothing.
    test::ScriptedPrompts prompts;
    f.sheet()->MarkModified();
    f.frame.ToolbarClick(QStringLiteral("上書き保存"));
    EXPECT_TRUE(prompts.shown().isEmpty());
  }
  // A second kelt (or a colleague) writes the file meanwhile.
  WriteAll(klt, "someone else's marks");
  f.sheet()->SetViewText(2, 2, QStringLiteral("70"));
  f.sheet()->MarkModified();
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::No);
    f.frame.ToolbarClick(QStringLiteral("上書き保存"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("変更されています")));
    EXPECT_EQ(ReadAll(klt), QByteArray("someone else's marks"));
    EXPECT_TRUE(f.sheet()->IsModified());
    EXPECT_EQ(f.sheet()->ViewText(2, 2), QStringLiteral("70"));
  }
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Yes);
  f.frame.ToolbarClick(QStringLiteral("上書き保存"));
  EXPECT_TRUE(ReadAll(klt).contains("\t70"));
  EXPECT_FALSE(f.sheet()->IsModified());

  // A sheet whose caption ends in .KLT writes that very file.
  const QString upper = f.dir.filePath(QStringLiteral("SEISEKI.KLT"));
  WriteAll(upper, "\t1\r\n\r\n");
  {
    test::ScriptedPrompts opened;
    f.frame.NewSheet(upper);
  }
  f.sheet()->SetViewText(1, 2, QStringLiteral("99"));
  test::ScriptedPrompts quiet;
  f.frame.ToolbarClick(QStringLiteral("上書き保存"));
  EXPECT_TRUE(ReadAll(upper).contains("\t99"));
  EXPECT_FALSE(QFile::exists(f.dir.filePath(QStringLiteral("SEISEKI.klt"))));
}

TEST(FileCommands, CellsThatWouldNotComeBackAreReportedFirst) {
  Frame f;
  const QString path = f.dir.filePath(QStringLiteral("odd.klt"));
  f.sheet()->SetViewText(55, 1, QStringLiteral("𠮷田"));
  f.sheet()->SetViewText(60, 3, QStringLiteral("1,5"));
  f.sheet()->MarkModified();
  {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Cancel);
    EXPECT_FALSE(WriteSheetFile(f.frame.activeSheet(), path, &f.frame));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral(" 2 ")));
    EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("氏  名:205")));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(f.sheet()->IsModified());
    f.sheet()->Undo();
    EXPECT_EQ(f.sheet()->ViewText(60, 3), QString()) << "a cancelled save is no snapshot";
    f.sheet()->SetViewText(60, 3, QStringLiteral("1,5"));
  }
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  EXPECT_TRUE(WriteSheetFile(f.frame.activeSheet(), path, &f.frame));
  EXPECT_TRUE(QFile::exists(path));
}

TEST(FileCommands, OpenShowsTheFileInANewWindow) {
  Frame f;
  const QString path = f.dir.filePath(QStringLiteral("year.klt"));
  f.sheet()->ShowClass(1);
  f.sheet()->SetViewText(3, 1, QStringLiteral("ｻﾄｳ ﾊﾅｺ"));
  f.sheet()->SetViewText(3, 2, QStringLiteral("85"));
  f.sheet()->SetViewText(51, 2, QStringLiteral("4000"));
  f.sheet()->SetViewText(0, 4, QStringLiteral("期末"));
  {
    test::ScriptedPrompts prompts;
    ASSERT_TRUE(WriteSheetFile(f.frame.activeSheet(), path, &f.frame));
  }
  {
    test::ScriptedPrompts prompts;
    prompts.ExpectFile(QString());
    f.frame.ToolbarClick(QStringLiteral("開く"));
    EXPECT_EQ(f.frame.sheets().size(), 1);
    EXPECT_TRUE(f.frame.FocusAllowed()) << "cancel gives the focus back";
  }
  test::ScriptedPrompts prompts;
  prompts.ExpectFile(path);
  Action(f.frame, "mnuFileOpen")->trigger();
  ASSERT_EQ(prompts.fileDialogs().size(), 1);
  EXPECT_EQ(prompts.fileDialogs()[0].filter, QStringLiteral("Keltファイル(*.klt)|*.klt"));
  ASSERT_EQ(f.frame.sheets().size(), 2);
  frmDocument* opened = f.frame.activeSheet();
  EXPECT_EQ(opened->Caption(), path);
  EXPECT_EQ(opened->sheet()->ModifiedMark(), Sheet::Mark::Untouched);
  Sheet* sheet = opened->sheet();
  EXPECT_EQ(sheet->ViewText(53, 1), QStringLiteral("ｻﾄｳ ﾊﾅｺ"));
  EXPECT_EQ(sheet->ViewText(53, 2), QStringLiteral("85"));
  EXPECT_EQ(sheet->ViewText(53, 0), QStringLiteral("203"));
  EXPECT_EQ(sheet->ViewText(0, 4), QStringLiteral("期末"));
  sheet->ShowClass(1);
  EXPECT_EQ(sheet->ViewText(51, 2), QStringLiteral("4000"));
  EXPECT_EQ(sheet->ViewText(51, 1), QStringLiteral("合計"));
  // Undo right after opening keeps the numbers and the file's marks.
  sheet->ShowGrade();
  sheet->Undo();
  EXPECT_EQ(sheet->ViewText(53, 0), QStringLiteral("203"));
  EXPECT_EQ(sheet->ViewText(53, 2), QStringLiteral("85"));
}

TEST(FileCommands, StartupPathsThatCannotBeRead) {
  Frame f;
  {
    // A new file named on the command line: an empty sheet with that caption, no message.
    test::ScriptedPrompts prompts;
    f.frame.NewSheet(QStringLiteral("relative-new.klt"));
    EXPECT_EQ(f.frame.activeSheet()->Caption(),
              QDir::current().absoluteFilePath(QStringLiteral("relative-new.klt")));
    EXPECT_TRUE(prompts.shown().isEmpty());
  }
  const QString fifo = f.dir.filePath(QStringLiteral("pipe.klt"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString big = f.dir.filePath(QStringLiteral("big.klt"));
  WriteAll(big, QByteArray(17 * 1024 * 1024, '1'));
  // A folder, a FIFO (which would block for ever), a device without end, a file past the limit.
  const QString paths[] = {f.dir.path(), fifo, QStringLiteral("/dev/zero"), big};
  for (const QString& path : paths) {
    test::ScriptedPrompts prompts;
    prompts.Expect(PromptAnswer::Ok);
    f.frame.NewSheet(path);
    ASSERT_EQ(prompts.shown().size(), 1) << path.toStdString();
    EXPECT_TRUE(prompts.shown()[0].text.contains(path));
    EXPECT_EQ(f.sheet()->ViewText(1, 0), QStringLiteral("101"));
    EXPECT_EQ(f.sheet()->ViewText(1, 2), QString());
  }
  f.frame.NewSheet();
  EXPECT_EQ(f.frame.activeSheet()->Caption(), QStringLiteral("Book7"));
}

// What a sheet cannot hold is read as far as it goes and reported once, after the window opens.
TEST(FileCommands, DataLeftOutIsReportedOnce) {
  Frame f;
  const QString path = f.dir.filePath(QStringLiteral("wide.csv"));
  QByteArray bytes = "name" + QByteArray(299, ',') + "last\r\n";
  for (int line = 2; line <= 1050; ++line) bytes += "x,1\r\n";
  WriteAll(path, bytes);
  test::ScriptedPrompts prompts;
  prompts.Expect(PromptAnswer::Ok);
  f.frame.NewSheet(path);
  ASSERT_EQ(prompts.shown().size(), 1);
  const QString text = prompts.shown()[0].text;
  EXPECT_TRUE(text.contains(QStringLiteral("1043 行目より後"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("256 列目より右"))) << text.toStdString();
  EXPECT_EQ(f.sheet()->View().Cols(), 257);
  const FlexGrid* grid = f.grid();
  EXPECT_EQ(grid->ColWidth(256), grid->ColWidth(2)) << "columns the file adds are score columns";
  EXPECT_EQ(grid->CellAlignment(0, 256), 4);
  EXPECT_EQ(f.sheet()->ViewText(0, 1), QStringLiteral("name"));
  EXPECT_EQ(f.sheet()->ViewText(1002, 1), QStringLiteral("x")) << "read as far as it goes";
}

// Files a teacher may meet, each opened in bounded time, with a message where something could not
// be read, and a window that still draws.
TEST(FileCommands, HostileFilesOpenInBoundedTime) {
  Frame f;
  QByteArray png = QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  for (int i = 0; i < 20000; ++i) png += char(i * 37 % 256);
  const struct {
    const char* what;
    QByteArray bytes;
    bool message;
    const char* cell;  // grade row 0, column 1
  } cases[] = {
      {"an image renamed .klt", png, false, nullptr},
      {"an empty file", "", false, ""},  // the headers are the file's: none
      {"no line end", "name\t80", false, "name"},
      {"NUL bytes", QByteArray("na\0me\t8\00\r\n", 11), false, nullptr},
      {"a lone lead byte at the end", "name\t\x82", false, "name"},
      {"a million short lines", QByteArray("a\n").repeated(1000000), true, "a"},
      {"1100 lines", QByteArray("b\t1\r\n").repeated(1100), true, "b"},
      {"300 fields", QByteArray("c") + QByteArray("\t9").repeated(299) + "\r\n", true, "c"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const QString path = f.dir.filePath(QStringLiteral("hostile%1.klt").arg(++n));
    WriteAll(path, c.bytes);
    test::ScriptedPrompts prompts;
    if (c.message) prompts.Expect(PromptAnswer::Ok);
    QElapsedTimer timer;
    timer.start();
    frmDocument* doc = f.frame.NewSheet(path);
    QApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 2000) << c.what;
    EXPECT_EQ(prompts.shown().size(), c.message ? 1 : 0) << c.what;
    if (c.cell) {
      EXPECT_EQ(doc->sheet()->ViewText(0, 1), QString::fromUtf8(c.cell)) << c.what;
    }
    EXPECT_FALSE(doc->sheet()->IsModified()) << c.what;
    doc->viewGrid()->viewport()->repaint();
  }
}

// At start-up the frame is not on screen yet: its message waits for it.
TEST(FileCommands, AMessageAboutTheCommandLineFileWaitsForTheFrame) {
  QTemporaryDir dir;
  test::ScriptedPrompts prompts;
  frmMain frame(dir.path());
  EXPECT_TRUE(prompts.shown().isEmpty()) << "shown before the frame";
  prompts.Expect(PromptAnswer::Ok);
  frame.show();
  // Qt's QTRY_ macros do not fail a GoogleTest test.
  ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.shown().size() == 1; }));
  EXPECT_TRUE(prompts.shown()[0].text.contains(dir.path()));
  frame.hide();
  frame.show();
  QApplication::processEvents();
  EXPECT_EQ(prompts.shown().size(), 1) << "once";
}

// The start-up file is read on another thread while the window system starts; the frame made
// from that read shows what a frame reading the path itself shows, message included.
TEST(FileCommands, AStartupFileReadOnAnotherThreadShowsAsIfReadHere) {
  QTemporaryDir dir;
  const QString wide = dir.filePath(QStringLiteral("wide.klt"));
  QByteArray bytes = "name" + QByteArray(40, '\t') + "last\r\n";
  for (int line = 2; line <= 1050; ++line)
    bytes += "\x8d\xb2\x93\xa1\t" + QByteArray::number(line % 101) + "\r\n";
  WriteAll(wide, bytes);
  const struct {
    QString path;
    bool message;
  } cases[] = {
      {wide, true},                                      // lines left out
      {dir.filePath(QStringLiteral("new.klt")), false},  // to be created
      {dir.path(), true},                                // a folder
      {QString(), false},                                // none: a new sheet
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    frmMain here(c.path);
    frmMain aside(FirstSheetAside(c.path));
    ASSERT_EQ(aside.sheets().size(), 1);
    const frmDocument* a = aside.activeSheet();
    const frmDocument* h = here.activeSheet();
    EXPECT_EQ(a->Caption(), h->Caption());
    EXPECT_TRUE(a->FileStamp() == h->FileStamp());
    EXPECT_EQ(a->FileCells(), h->FileCells());
    EXPECT_EQ(a->sheet()->Storage(), h->sheet()->Storage());
    EXPECT_EQ(a->sheet()->View(), h->sheet()->View());
    EXPECT_EQ(a->viewGrid()->Cols(), h->viewGrid()->Cols());
    EXPECT_EQ(a->viewGrid()->ColWidth(a->viewGrid()->Cols() - 1),
              h->viewGrid()->ColWidth(h->viewGrid()->Cols() - 1));
    EXPECT_FALSE(a->sheet()->IsModified());
    if (c.message) {
      prompts.Expect(PromptAnswer::Ok);
      prompts.Expect(PromptAnswer::Ok);
    }
    here.show();
    aside.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.shown().size() == (c.message ? 2 : 0); }));
    if (c.message) {
      EXPECT_EQ(prompts.shown()[1].text, prompts.shown()[0].text);
    }
    EXPECT_EQ(aside.NewSheet()->Caption(), QStringLiteral("Book2"));
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The ways a teacher opens a file, each giving a frame with the file's sheet active.
struct WayToOpen {
  const char* how;
  std::function<std::unique_ptr<frmMain>(test::ScriptedPrompts&)> open;
};
std::vector<WayToOpen> WaysToOpen(const QString& path) {
  return {
      {"command line, read while Qt starts",
       [path](test::ScriptedPrompts&) { return std::make_unique<frmMain>(FirstSheetAside(path)); }},
      {"command line, read after Qt's options",
       [path](test::ScriptedPrompts&) { return std::make_unique<frmMain>(path); }},
      {"開く",
       [path](test::ScriptedPrompts& prompts) {
         auto frame = std::make_unique<frmMain>();
         prompts.ExpectFile(path);
         Action(*frame, "mnuFileOpen")->trigger();
         return frame;
       }},
  };
}

// A file narrower than the sheet (a colleague's three-subject sheet) opens with empty headers
// beyond its widest line, whichever way it is read, and one save after a retyped mark gives back
// exactly the file that was read.
TEST(FileCommands, ANarrowFileIsSavedBackAsItWasReadWhicheverWayItIsRead) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kumi.klt"));
  // 氏  名, 国語, 数学; 佐藤 1 2, in CP932, as kelt writes it.
  const QByteArray original =
      "\x8E\x81  \x96\xBC\t\x8D\x91\x8C\xEA\t\x90\x94\x8A\x77\r\n"
      "\x8D\xB2\x93\xA1\t1\t2\r\n\r\n";
  for (const WayToOpen& way : WaysToOpen(path)) {
    WriteAll(path, original);
    test::ScriptedPrompts prompts;
    const std::unique_ptr<frmMain> frame = way.open(prompts);
    frmDocument* doc = frame->activeSheet();
    ASSERT_EQ(doc->Caption(), path) << way.how;
    const Sheet* sheet = doc->sheet();
    EXPECT_EQ(sheet->ViewText(0, 3), QStringLiteral("数学")) << way.how;
    for (int c = 4; c < Sheet::kInitialCols; ++c)
      EXPECT_EQ(sheet->ViewText(0, c), QString()) << way.how << ", column " << c;
    doc->sheet()->SetViewText(1, 2, QStringLiteral("1"));
    doc->sheet()->MarkModified();
    Action(*frame, "mnuFileSave")->trigger();
    EXPECT_EQ(ReadAll(path), original) << way.how;
    EXPECT_TRUE(prompts.AllAnswered()) << way.how;
  }
}

// The year's file on the staff room's share, open in two sheets (two teachers): each types
// a subject and saves; the second save takes the first one's marks instead of replacing them,
// whichever way the second sheet read the file.
TextGrid FileCells(const QString& path) { return ReadKltSheet(ReadAll(path)).storage; }

QByteArray YearFile() {
  TextGrid storage = Sheet::EmptyStorage();
  const QStringList header = {QStringLiteral("氏  名"), QStringLiteral("国語"),
                              QStringLiteral("数学")};
  for (int c = 0; c < header.size(); ++c) storage.SetText(0, c + 1, header[c]);
  storage.SetText(1, 1, QStringLiteral("佐藤"));
  storage.SetText(2, 1, QStringLiteral("鈴木"));
  return WriteKlt(storage);
}

void Type(frmDocument* doc, int row, int col, const QString& text) {
  doc->sheet()->SetViewText(row, col, text);
  doc->sheet()->MarkModified();
}

TEST(FileCommands, TwoSheetsOnOneFileBothKeepTheirMarks) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("year.klt"));
  for (const WayToOpen& way : WaysToOpen(path)) {
    SCOPED_TRACE(way.how);
    WriteAll(path, YearFile());
    test::ScriptedPrompts prompts;
    const std::unique_ptr<frmMain> first = way.open(prompts);
    frmMain second(path);
    frmDocument* mine = first->activeSheet();
    Type(mine, 1, 2, QStringLiteral("81"));
    Type(second.activeSheet(), 2, 3, QStringLiteral("67"));
    Action(second, "mnuFileSave")->trigger();
    ASSERT_TRUE(prompts.shown().isEmpty()) << "the file was as the second sheet read it";

    prompts.ExpectChoice(QStringLiteral("取り込んで保存"));
    QSignalSpy cellsShown(mine->sheet(), &Sheet::viewCellChanged);
    QSignalSpy areasShown(mine->sheet(), &Sheet::viewTextsChanged);
    Action(*first, "mnuFileSave")->trigger();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_TRUE(prompts.shown()[0].text.contains(QStringLiteral("1 個のセルを取り込みます")));
    EXPECT_EQ(cellsShown.count(), 1) << "the taken cell is shown, and nothing else redrawn";
    EXPECT_EQ(areasShown.count(), 0);
    EXPECT_EQ(FileCells(path).Text(1, 2), QStringLiteral("81"));
    EXPECT_EQ(FileCells(path).Text(2, 3), QStringLiteral("67"));
    EXPECT_EQ(mine->sheet()->ViewText(2, 3), QStringLiteral("67")) << "the sheet shows them";
    EXPECT_FALSE(mine->sheet()->IsModified());

    // And back: the second sheet takes the first one's mark at its next save, with no conflict.
    Type(second.activeSheet(), 3, 2, QStringLiteral("90"));
    prompts.ExpectChoice(QStringLiteral("取り込んで保存"));
    Action(second, "mnuFileSave")->trigger();
    const TextGrid both = FileCells(path);
    EXPECT_EQ(both.Text(1, 2), QStringLiteral("81"));
    EXPECT_EQ(both.Text(2, 3), QStringLiteral("67"));
    EXPECT_EQ(both.Text(3, 2), QStringLiteral("90"));
    EXPECT_EQ(both.Text(0, 3), QStringLiteral("数学"));

    // Undo brings back the first sheet as it was before its merge.
    prompts.Expect(PromptAnswer::Ok);  // "ボタンによる計算の前に戻ります"
    Action(*first, "undo")->trigger();
    EXPECT_EQ(mine->sheet()->ViewText(2, 3), QString());
    EXPECT_EQ(mine->sheet()->ViewText(1, 2), QStringLiteral("81"));
    EXPECT_TRUE(prompts.AllAnswered());
  }
}

// Both typed the same cell: the question names it, and each button does what it says.
TEST(FileCommands, ACellBothChangedIsAskedAbout) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("year.klt"));
  const struct {
    QString button;
    QString fileMark;   // 国語 of 佐藤 in the file afterwards
    QString fileTaken;  // 数学 of 鈴木, which only the other sheet typed
    QString shownMark;
    QString shownTaken;
    bool saved;
  } cases[] = {
      {QStringLiteral("取り込んで保存"), QStringLiteral("78"), QStringLiteral("67"),
       QStringLiteral("78"), QStringLiteral("67"), true},
      {QStringLiteral("ファイルを優先して保存"), QStringLiteral("81"), QStringLiteral("67"),
       QStringLiteral("81"), QStringLiteral("67"), true},
      {QStringLiteral("上書き"), QStringLiteral("78"), QString(), QStringLiteral("78"), QString(),
       true},
      {QStringLiteral("キャンセル"), QStringLiteral("81"), QStringLiteral("67"),
       QStringLiteral("78"), QString(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button.toStdString());
    WriteAll(path, YearFile());
    test::ScriptedPrompts prompts;
    frmMain first(path);
    frmMain second(path);
    Type(first.activeSheet(), 1, 2, QStringLiteral("78"));
    Type(second.activeSheet(), 1, 2, QStringLiteral("81"));
    Type(second.activeSheet(), 2, 3, QStringLiteral("67"));
    Action(second, "mnuFileSave")->trigger();

    prompts.ExpectChoice(c.button);
    Action(first, "mnuFileSave")->trigger();
    ASSERT_EQ(prompts.shown().size(), 1);
    const QString question = prompts.shown()[0].text;
    EXPECT_TRUE(question.contains(QStringLiteral("1-A 1 佐藤 国語: こちら 78 / ファイル 81")))
        << question.toStdString();
    EXPECT_EQ(
        prompts.shown()[0].choices,
        QStringList({QStringLiteral("取り込んで保存"), QStringLiteral("ファイルを優先して保存"),
                     QStringLiteral("上書き"), QStringLiteral("キャンセル")}));
    EXPECT_EQ(FileCells(path).Text(1, 2), c.fileMark);
    EXPECT_EQ(FileCells(path).Text(2, 3), c.fileTaken);
    const Sheet* sheet = first.activeSheet()->sheet();
    EXPECT_EQ(sheet->ViewText(1, 2), c.shownMark);
    EXPECT_EQ(sheet->ViewText(2, 3), c.shownTaken);
    EXPECT_EQ(sheet->IsModified(), !c.saved);
  }
}

// Columns inserted or deleted on either side, or a file that is no sheet: the old question, with
// the reason, and a sheet that never read the file keeps that question as it was.
TEST(FileCommands, AMergeThatCannotBeMadeAsksAsBefore) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("year.klt"));
  const auto saveFrom = [&](frmMain& second) {
    Type(second.activeSheet(), 2, 4, QStringLiteral("67"));
    Action(second, "mnuFileSave")->trigger();
  };
  const struct {
    const char* what;
    std::function<void(frmDocument* mine, frmMain& second)> change;
    QString reason;
  } cases[] = {
      {"a column inserted in the file",
       [&](frmDocument*, frmMain& second) {
         InsertColumn(*second.activeSheet()->sheet(), 2);
         saveFrom(second);
       },
       QStringLiteral("ファイルで列が挿入または削除されている")},
      {"a column deleted here",
       [&](frmDocument* mine, frmMain& second) {
         DeleteColumn(*mine->sheet(), 2);
         saveFrom(second);
       },
       QStringLiteral("このシートで列を挿入または削除した")},
      {"a file longer than a sheet",
       [&](frmDocument*, frmMain&) {
         QByteArray lines;
         for (int line = 0; line < 1100; ++line) lines += "\t7\r\n";
         WriteAll(path, lines);
       },
       QStringLiteral("ファイルがシートに入りきらない")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteAll(path, YearFile());
    test::ScriptedPrompts prompts;
    frmMain first(path);
    frmMain second(path);
    c.change(first.activeSheet(), second);
    Type(first.activeSheet(), 1, 2, QStringLiteral("78"));
    prompts.Expect(PromptAnswer::No);
    Action(first, "mnuFileSave")->trigger();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(prompts.shown()[0].text.contains(c.reason))
        << prompts.shown()[0].text.toStdString();
    EXPECT_TRUE(first.activeSheet()->sheet()->IsModified());
  }
}

// A cell the file cannot hold as it is ("1,5" reads back as two fields), saved anyway: the next
// merge compares with the file as it reads back, so the sheet keeps its row as typed and takes
// only what the colleague changed.
TEST(FileCommands, ACellTheFileCannotHoldStaysAsTypedThroughAMerge) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("year.klt"));
  WriteAll(path, YearFile());
  test::ScriptedPrompts prompts;
  frmMain first(path);
  Type(first.activeSheet(), 1, 2, QStringLiteral("1,5"));
  prompts.Expect(PromptAnswer::Ok);  // "そのままでは保存できないセルが 1 個あります"
  Action(first, "mnuFileSave")->trigger();
  frmMain second(path);  // reads 1 and 5
  Type(second.activeSheet(), 2, 3, QStringLiteral("67"));
  Action(second, "mnuFileSave")->trigger();

  Type(first.activeSheet(), 3, 2, QStringLiteral("90"));
  prompts.ExpectChoice(QStringLiteral("取り込んで保存"));
  prompts.Expect(PromptAnswer::Ok);
  Action(first, "mnuFileSave")->trigger();
  const Sheet* sheet = first.activeSheet()->sheet();
  EXPECT_EQ(sheet->ViewText(1, 2), QStringLiteral("1,5"));
  EXPECT_EQ(sheet->ViewText(1, 3), QString());
  EXPECT_EQ(sheet->ViewText(2, 3), QStringLiteral("67")) << "the colleague's mark";
  EXPECT_TRUE(prompts.AllAnswered());
}

// A file only rewritten as it was (touched, or saved unchanged elsewhere) is saved over at once.
TEST(FileCommands, AFileRewrittenUnchangedIsSavedWithoutAQuestion) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("year.klt"));
  WriteAll(path, YearFile());
  test::ScriptedPrompts prompts;
  frmMain first(path);
  const DiskStamp read = first.activeSheet()->FileStamp();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(read.modified.addSecs(-60), QFileDevice::FileModificationTime));
  file.close();
  ASSERT_FALSE(DiskStamp::Of(path) == read);
  Type(first.activeSheet(), 1, 2, QStringLiteral("78"));
  Action(first, "mnuFileSave")->trigger();
  EXPECT_TRUE(prompts.shown().isEmpty());
  EXPECT_EQ(FileCells(path).Text(1, 2), QStringLiteral("78"));
}

// The start-up file is read before Qt's messages are in Japanese; one that could not be read then
// is read again when the frame asks for it, and what is there then is what the teacher gets.
TEST(FileCommands, AStartupFileThatCouldNotBeReadIsTriedAgainWhenAskedFor) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kumi.klt"));
  ASSERT_TRUE(QDir().mkdir(path));
  std::future<SheetFileRead> first = FirstSheetAside(path);
  // Long enough for the first read to meet the folder; a slower one meets the file, as it should.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_TRUE(QDir().rmdir(path));
  WriteAll(path, "name\tkokugo\r\nA\t50\r\n");
  const SheetFileRead read = first.get();
  EXPECT_TRUE(read.file.error.isEmpty()) << read.file.error.toStdString();
  EXPECT_EQ(read.sheet.storage, ReadSheetFileAside(path).sheet.storage);
}

}  // namespace
}  // namespace kelt
