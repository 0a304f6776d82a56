#include "ui/storage/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#include "core/sheet/sheet.h"
#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {
QString g_directory;
int g_counter = 0;

const QString kKlt = QStringLiteral(".klt");
const QString kInfo = QStringLiteral(".info");
const QString kLock = QStringLiteral(".lock");

void RemoveFiles(const QString& base) {
  QFile::remove(base + kKlt);
  QFile::remove(base + kInfo);
}
}  // namespace

QString RecoveryDirectory() {
  if (!g_directory.isEmpty()) return g_directory;
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/recovery");
}

void SetRecoveryDirectory(const QString& directory) { g_directory = directory; }

RecoveryCopy::RecoveryCopy(frmDocument* doc) : QObject(doc), m_doc(doc) {
  m_base = QDir(RecoveryDirectory())
               .filePath(QStringLiteral("sheet-%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(++g_counter));
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::WriteNow);
  Sheet* sheet = doc->sheet();
  connect(sheet, &Sheet::markChanged, this, [this](Sheet::Mark mark) {
    if (mark == Sheet::Mark::Modified) {
      Schedule(kTypingDelayMs);
      return;
    }
    // Saved: the file holds it all. A save that fails marks the sheet modified again at once,
    // and its copy stays.
    QTimer::singleShot(0, this, [this] {
      if (!m_doc->sheet()->IsModified()) Remove();
    });
  });
  // Every typed cell, not only the first change: an hour of typing is copied every 30 s.
  connect(sheet, &Sheet::viewCellChanged, this, [this] { Schedule(kTypingDelayMs); });
  connect(sheet, &Sheet::viewTextsChanged, this, [this] { Schedule(kBulkDelayMs); });
}

RecoveryCopy::~RecoveryCopy() { Remove(); }

void RecoveryCopy::Schedule(int delayMs) {
  // A sooner write wins; a later one never puts off one already due.
  if (m_timer.isActive() && m_timer.remainingTime() <= delayMs) return;
  m_timer.start(delayMs);
}

void RecoveryCopy::WriteNow() {
  m_timer.stop();
  const Sheet* sheet = m_doc->sheet();
  if (!sheet->IsModified()) return;
  if (!m_lock) {
    if (!QDir().mkpath(RecoveryDirectory())) return;
    auto lock = std::make_unique<QLockFile>(m_base + kLock);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return;
    m_lock = std::move(lock);
  }
  TextGrid stored = sheet->Storage();
  sheet->StoreViewInto(stored);
  // A copy that cannot be written (a full disk) is tried again at the next change.
  const QString info =
      sheet->Caption() + QLatin1Char('\n') + sheet->ViewMarker() + QLatin1Char('\n');
  if (WriteFileAtomically(m_base + kKlt, WriteKlt(stored)).isEmpty())
    WriteFileAtomically(m_base + kInfo, info.toUtf8());
}

void RecoveryCopy::Remove() {
  m_timer.stop();
  if (!m_lock) return;
  RemoveFiles(m_base);
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
    QFile info(base + kInfo);
    if (!info.open(QIODevice::ReadOnly) || !QFile::exists(base + kKlt)) {
      RemoveFiles(base);
      continue;
    }
    const QStringList lines = QString::fromUtf8(info.readAll()).split(QLatin1Char('\n'));
    bool number = false;
    const int viewIndex = lines.value(1).toInt(&number);
    copies.append({base, lock, lines.value(0), number ? viewIndex : Sheet::kGradeMarker});
  }
  return copies;
}

bool RestoreCopy(const OrphanedCopy& copy, frmDocument* doc) {
  FileBytes file = ReadFileBytes(copy.base + kKlt);
  if (!file.error.isEmpty() || file.missing) return false;
  Sheet* sheet = doc->sheet();
  ReadKltIntoSheet(*sheet, std::move(file.bytes));
  if (!copy.caption.isEmpty()) doc->SetCaption(copy.caption);
  if (copy.viewIndex >= 0 && copy.viewIndex < Sheet::kClassCount)
    doc->ShowClassView(copy.viewIndex);
  sheet->MarkModified();
  return true;
}

void RemoveCopy(const OrphanedCopy& copy) {
  RemoveFiles(copy.base);
  copy.lock->unlock();
}

}  // namespace kelt
