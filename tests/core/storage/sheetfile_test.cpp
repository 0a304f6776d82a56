#include "core/storage/sheetfile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>

#include "support/files.h"
#include "support/fulldisk.h"
#include "support/qtprint.h"

namespace kelt {
namespace {

using test::ReadAll;
using test::WriteAll;

// What a failed save must say: the reason, not Qt's "unknown error".
void ExpectARealReason(const QString& error) {
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(error.contains(QStringLiteral("Unknown"), Qt::CaseInsensitive))
      << error.toStdString();
  EXPECT_FALSE(error.contains(QStringLiteral("未知"))) << error.toStdString();
}

TEST(SheetFile, ReadsOnlyRegularFilesUpToTheLimit) {
  QTemporaryDir dir;
  const QString small = dir.filePath(QStringLiteral("small.klt"));
  WriteAll(small, "abc\r\n");
  const QString exact = dir.filePath(QStringLiteral("exact.klt"));
  WriteAll(exact, QByteArray(100, 'x'));
  const QString over = dir.filePath(QStringLiteral("over.klt"));
  WriteAll(over, QByteArray(101, 'x'));
  const QString fifo = dir.filePath(QStringLiteral("fifo.klt"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString linkToZero = dir.filePath(QStringLiteral("zero.klt"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), linkToZero));

  const struct {
    QString path;
    qsizetype size;
    bool missing, error;
  } cases[] = {
      {small, 5, false, false},
      {exact, 100, false, false},
      {over, 0, false, true},
      {dir.filePath(QStringLiteral("none.klt")), 0, true, false},
      {dir.path(), 0, false, true},  // a folder
      {fifo, 0, false, true},        // would block the open for ever
      {QStringLiteral("/dev/zero"), 0, false, true},
      {linkToZero, 0, false, true},
  };
  for (const auto& c : cases) {
    const FileBytes read = ReadFileBytes(c.path, 100);
    EXPECT_EQ(read.bytes.size(), c.size) << c.path.toStdString();
    EXPECT_EQ(read.missing, c.missing) << c.path.toStdString();
    EXPECT_EQ(!read.error.isEmpty(), c.error) << c.path.toStdString();
  }
  EXPECT_EQ(ReadFileBytes(small).bytes, QByteArray("abc\r\n"));
}

TEST(SheetFile, WriteReplacesTheFileAndTheStampSeesIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kumi.klt"));
  const DiskStamp none = DiskStamp::Of(path);
  EXPECT_FALSE(none.exists);
  EXPECT_EQ(WriteFileAtomically(path, "one\r\n"), QString());
  const DiskStamp first = DiskStamp::Of(path);
  EXPECT_TRUE(first.exists);
  EXPECT_EQ(first.size, 5);
  EXPECT_EQ(DiskStamp::Of(path), first);
  EXPECT_EQ(WriteFileAtomically(path, "second\r\n"), QString());
  EXPECT_EQ(ReadAll(path), QByteArray("second\r\n"));
  EXPECT_NE(DiskStamp::Of(path), first);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kumi.klt")})
      << "no temporary file is left behind";
}

// Writes that stop short (here: a file size limit, as a quota or a full disk would) leave the old
// file byte for byte, for a write small enough to sit in a buffer as well as a large one.
TEST(SheetFile, AShortWriteLeavesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kumi.klt"));
  const QByteArray old(8 * 1024, 'o');
  WriteAll(path, old);

  std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of killing the process
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit limit = saved;
  limit.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  const QString smallError = WriteFileAtomically(path, QByteArray(3000, 's'));
  const QString largeError = WriteFileAtomically(path, QByteArray(400 * 1024, 'l'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);

  ExpectARealReason(smallError);
  ExpectARealReason(largeError);
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kumi.klt")});
}

// The same on a disk that is really full.
TEST(SheetFile, AFullDiskLeavesTheOldFile) {
  if (!test::FullDisk::CanMount()) GTEST_SKIP() << "mounting a small disk needs root";
  test::FullDisk disk;
  ASSERT_TRUE(disk.Mounted());
  const QString path = disk.Path(QStringLiteral("kumi.klt"));
  const QByteArray old(8 * 1024, 'o');
  WriteAll(path, old);
  disk.Fill();

  const QString smallError = WriteFileAtomically(path, QByteArray(2000, 's'));
  const QString largeError = WriteFileAtomically(path, QByteArray(400 * 1024, 'l'));
  EXPECT_EQ(ReadAll(path), old);
  ExpectARealReason(smallError);
  ExpectARealReason(largeError);
}

}  // namespace
}  // namespace kelt
