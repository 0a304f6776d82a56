#include "ui/storage/recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <algorithm>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/recoverycells.h"
#include "core/storage/sheetfile.h"
#include "ui/sheet/frmdocument.h"
#include "ui/storage/filecommands.h"

namespace kelt {

namespace {
QString g_directory;
int g_counter = 0;

const QString kCells = QStringLiteral(".copy");
const QString kOldCells = QStringLiteral(".klt");  // CP932, written by earlier builds
const QString kInfo = QStringLiteral(".info");
// The cells of the file the sheet last read or wrote, which its next save merges against.
const QString kFileCells = QStringLiteral(".base");
const QString kLock = QStringLiteral(".lock");

// A copy's description: its caption (a path or "Book" n) and its view, a line each; then, when
// the copy keeps the file's cells (.base), that file's path, size and time of change
// (milliseconds since 1970, UTC). Bounded when read back: a longer one was not written by kelt.
constexpr qint64 kMaxInfoBytes = qint64{16} * 1024;
constexpr qsizetype kMaxCaptionLength = 4096;
// UTF-8 and its escapes take more room than CP932.
constexpr qint64 kMaxCopyBytes = 4 * kMaxSheetFileSize;

// The description last: when a move of them stops half-way, one left behind alone is removed at
// the next start and its cells are kept where they went.
QStringList Extensions() { return {kCells, kOldCells, kFileCells, kInfo}; }

void RemoveFiles(const QString& base) {
  for (const QString& extension : Extensions()) QFile::remove(base + extension);
}
}  // namespace

QString RecoveryDirectory() {
  if (!g_directory.isEmpty()) return g_directory;
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/recovery");
}

void SetRecoveryDirectory(const QString& directory) { g_directory = directory; }

QString UnrestoredDirectory() { return RecoveryDirectory() + QStringLiteral("/unrestored"); }

void CopySchedule::Typed(qint64 now) {
  if (!m_firstTyped) m_firstTyped = now;
  m_typingDue = std::min(now + kPauseMs, *m_firstTyped + kTypingMaxMs);
}

void CopySchedule::Bulk(qint64 now) {
  m_bulkDue = m_bulkDue ? std::min(*m_bulkDue, now + kBulkMs) : now + kBulkMs;
}

std::optional<qint64> CopySchedule::Due() const {
  if (m_typingDue && m_bulkDue) return std::min(*m_typingDue, *m_bulkDue);
  return m_typingDue ? m_typingDue : m_bulkDue;
}

RecoveryCopy::RecoveryCopy(frmDocument* doc) : QObject(doc), m_doc(doc) {
  m_base = QDir(RecoveryDirectory())
               .filePath(QStringLiteral("sheet-%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(++g_counter));
  m_timer.setSingleShot(true);
  // A coarse timer may fire a twentieth late: a bulk edit is copied within its tenth of a second.
  m_timer.setTimerType(Qt::PreciseTimer);
  m_clock.start();
  connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::WriteNow);
  Sheet* sheet = doc->sheet();
  auto typed = [this] {
    m_schedule.Typed(m_clock.elapsed());
    Rearm();
  };
  connect(sheet, &Sheet::markChanged, this, [this, typed](Sheet::Mark mark) {
    if (mark == Sheet::Mark::Modified) {
      typed();
      return;
    }
    // Saved: the file holds it all. A save that fails marks the sheet modified again at once,
    // and its copy stays.
    QTimer::singleShot(0, this, [this] {
      if (!m_doc->sheet()->IsModified()) Remove();
    });
  });
  // Every typed cell, not only the first change: the copy follows the typing.
  connect(sheet, &Sheet::viewCellChanged, this, typed);
  connect(sheet, &Sheet::viewTextsChanged, this, [this] {
    m_schedule.Bulk(m_clock.elapsed());
    Rearm();
  });
}

RecoveryCopy::~RecoveryCopy() { Remove(); }

void RecoveryCopy::Rearm() {
  const std::optional<qint64> due = m_schedule.Due();
  if (!due) return;
  m_timer.start(int(std::max<qint64>(0, *due - m_clock.elapsed())));
}

void RecoveryCopy::WriteNow() {
  m_timer.stop();
  m_schedule.Written();
  const Sheet* sheet = m_doc->sheet();
  if (!sheet->IsModified()) return;
  if (!m_lock) {
    const QString folder = RecoveryDirectory();
    if (!QDir().mkpath(folder)) {
      emit copyFailed(QStringLiteral("%1 を作れません").arg(QDir::toNativeSeparators(folder)));
      return;
    }
    auto lock = std::make_unique<QLockFile>(m_base + kLock);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
      emit copyFailed(QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(folder)));
      return;
    }
    m_lock = std::move(lock);
  }
  TextGrid stored = sheet->Storage();
  sheet->StoreViewInto(stored);
  // A copy that cannot be written (a full disk) is tried again at the next change.
  QString info = sheet->Caption() + QLatin1Char('\n') + sheet->ViewMarker() + QLatin1Char('\n');
  // The file's cells change only when the sheet reads or saves: written once for each time.
  const std::optional<TextGrid>& fileCells = m_doc->FileCells();
  if (fileCells && m_fileCellsWritten != m_doc->FileGeneration()) {
    m_fileCellsWritten =
        WriteFileAtomically(m_base + kFileCells, WriteRecoveryCells(*fileCells)).isEmpty()
            ? m_doc->FileGeneration()
            : -1;
  }
  if (fileCells && m_fileCellsWritten == m_doc->FileGeneration()) {
    const DiskStamp& stamp = m_doc->FileStamp();
    info += stamp.path + QLatin1Char('\n') + QString::number(stamp.size) + QLatin1Char('\n') +
            QString::number(stamp.modified.toMSecsSinceEpoch()) + QLatin1Char('\n');
  } else {
    QFile::remove(m_base + kFileCells);
    m_fileCellsWritten = -1;
  }
  // The description first: a copy is found by it, and one without cells is removed unread.
  QString error = WriteFileAtomically(m_base + kInfo, info.toUtf8());
  if (error.isEmpty()) error = WriteFileAtomically(m_base + kCells, WriteRecoveryCells(stored));
  if (!error.isEmpty()) emit copyFailed(error);
}

void RecoveryCopy::Remove() {
  m_timer.stop();
  m_schedule.Written();
  if (!m_lock) return;
  RemoveFiles(m_base);
  m_fileCellsWritten = -1;
  m_lock->unlock();
  m_lock.reset();
}

QList<OrphanedCopy> TakeOrphanedCopies() {
  QList<OrphanedCopy> copies;
  const QDir dir(RecoveryDirectory());
  for (const QString& name : dir.entryList({QStringLiteral("*.info")}, QDir::Files, QDir::Name)) {
    const QString base = dir.filePath(name.chopped(kInfo.size()));
    auto lock = std::make_shared<QLockFile>(base + kLock);
    // A live owner holds its lock however long it runs; the lock of a run that crashed names a
    // process that is gone, and is taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) continue;
    if (!QFile::exists(base + kCells) && !QFile::exists(base + kOldCells)) {
      RemoveFiles(base);  // a description without cells holds nothing to restore
      continue;
    }
    const FileBytes info = ReadFileBytes(base + kInfo, kMaxInfoBytes);
    const QStringList lines = QString::fromUtf8(info.bytes).split(QLatin1Char('\n'));
    bool number = false;
    const int viewIndex = lines.value(1).toInt(&number);
    const bool damaged =
        !info.error.isEmpty() || lines.size() < 2 || lines[0].size() > kMaxCaptionLength || !number;
    OrphanedCopy copy{base,
                      lock,
                      damaged ? QString() : lines[0],
                      number ? viewIndex : Sheet::kGradeMarker,
                      damaged,
                      std::nullopt};
    bool size = false;
    bool time = false;
    DiskStamp stamp;
    stamp.path = lines.value(2);
    stamp.exists = true;
    stamp.size = lines.value(3).toLongLong(&size);
    stamp.modified = QDateTime::fromMSecsSinceEpoch(lines.value(4).toLongLong(&time), Qt::UTC);
    if (!damaged && size && time && !stamp.path.isEmpty() && stamp.path.size() <= kMaxCaptionLength)
      copy.fileStamp = stamp;
    copies.append(std::move(copy));
  }
  return copies;
}

std::optional<TextGrid> ReadCopy(const OrphanedCopy& copy) {
  if (copy.damaged) return std::nullopt;
  const bool old = !QFile::exists(copy.base + kCells);
  FileBytes file = ReadFileBytes(copy.base + (old ? kOldCells : kCells), kMaxCopyBytes);
  if (!file.error.isEmpty() || file.missing) return std::nullopt;
  if (old) return ReadKltSheet(std::move(file.bytes)).storage;
  return ReadRecoveryCells(file.bytes);
}

std::optional<TextGrid> ReadCopyFileCells(const OrphanedCopy& copy) {
  if (!copy.fileStamp) return std::nullopt;
  const FileBytes file = ReadFileBytes(copy.base + kFileCells, kMaxCopyBytes);
  if (!file.error.isEmpty() || file.missing) return std::nullopt;
  return ReadRecoveryCells(file.bytes);
}

void ShowCopy(const OrphanedCopy& copy, frmDocument* doc) {
  // Still the file it was read from or saved to (not renamed for a sheet open under that name):
  // the next save merges against what that file held.
  if (copy.fileStamp && KltSavePath(doc->Caption()) == copy.fileStamp->path) {
    if (std::optional<TextGrid> cells = ReadCopyFileCells(copy))
      doc->SetFileStamp(*copy.fileStamp, std::move(cells));
  }
  if (copy.viewIndex >= 0 && copy.viewIndex < Sheet::kClassCount)
    doc->ShowClassView(copy.viewIndex);
  doc->sheet()->MarkModified();
  // The sheet keeps a copy of its own from now on.
  if (auto* recovery = doc->findChild<RecoveryCopy*>()) recovery->WriteNow();
}

bool SetCopyAside(const OrphanedCopy& copy) {
  const QDir aside(UnrestoredDirectory());
  if (!QDir().mkpath(aside.path())) return false;
  const QString name = QFileInfo(copy.base).fileName();
  bool moved = true;
  for (const QString& extension : Extensions()) {
    const QString from = copy.base + extension;
    if (!QFile::exists(from)) continue;
    const QString to = aside.filePath(name + extension);
    QFile::remove(to);  // of an earlier run with the same process number
    moved = QFile::rename(from, to) && moved;
  }
  copy.lock->unlock();
  return moved;
}

void RemoveCopy(const OrphanedCopy& copy) {
  RemoveFiles(copy.base);
  copy.lock->unlock();
}

}  // namespace kelt
