#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

#include "core/sheet/textgrid.h"
#include "core/storage/sheetfile.h"

class QLockFile;

namespace kelt {

class frmDocument;

// Where the recovery copies of unsaved sheets are kept: the application's data folder and
// "recovery", unless set (tests set a folder of their own).
QString RecoveryDirectory();
void SetRecoveryDirectory(const QString& directory);
// Where copies that could not be restored are set aside, kept for the teacher or an
// administrator and never offered again.
QString UnrestoredDirectory();

// When a sheet's copy is due, in milliseconds of any one clock: once typing pauses, at least
// every kTypingMaxMs while it goes on, and soon after a bulk edit, which a later keystroke never
// puts off.
class CopySchedule {
 public:
  static constexpr qint64 kPauseMs = 2000;       // after the last typed cell
  static constexpr qint64 kTypingMaxMs = 30000;  // after the first typed cell not yet copied
  // After a calculation, a paste, a structure edit or a view switch: the table is repainted first.
  static constexpr qint64 kBulkMs = 100;

  void Typed(qint64 now);
  void Bulk(qint64 now);
  // The copy was written (or given up): nothing is due.
  void Written() { *this = CopySchedule(); }
  std::optional<qint64> Due() const;

 private:
  std::optional<qint64> m_firstTyped;
  std::optional<qint64> m_typingDue;
  std::optional<qint64> m_bulkDue;
};

// The recovery copy of one open sheet: while the sheet has unsaved changes, its storage as a
// store would give it (the undo snapshot untouched), with its caption and view, written in the
// recovery folder as CopySchedule says. The copy is locked by this process; a clean close or a
// save removes it, so only a crash leaves it.
class RecoveryCopy : public QObject {
  Q_OBJECT

 public:
  explicit RecoveryCopy(frmDocument* doc);
  ~RecoveryCopy() override;

  // The copy's files without their extension (.copy, .info, .lock).
  QString BasePath() const { return m_base; }
  // Writes the copy now when the sheet has unsaved changes.
  void WriteNow();
  // Whether a write is due, and in how many milliseconds.
  bool WritePending() const { return m_timer.isActive(); }
  int MsUntilWrite() const { return m_timer.remainingTime(); }
  void Remove();

 signals:
  // The copy could not be written (the folder read-only or full): `why`, in the system's words.
  void copyFailed(const QString& why);

 private:
  void Rearm();

  frmDocument* m_doc;
  QString m_base;
  std::unique_ptr<QLockFile> m_lock;
  QTimer m_timer;
  QElapsedTimer m_clock;
  CopySchedule m_schedule;
  int m_fileCellsWritten = -1;  // the sheet's FileGeneration whose cells the copy holds
};

// A copy a run left behind when it ended without closing its sheets.
struct OrphanedCopy {
  QString base;
  std::shared_ptr<QLockFile> lock;  // now held by this process
  QString caption;                  // bounded; empty when the copy's description is damaged
  int viewIndex;
  bool damaged;  // its description is no copy's (too long, unreadable): it cannot be restored
  // The file the sheet last read or wrote, when the copy keeps that file's cells.
  std::optional<DiskStamp> fileStamp;
};

// The copies in the recovery folder whose owner is gone; copies of running instances are left.
QList<OrphanedCopy> TakeOrphanedCopies();
// A copy's storage grid, or nothing when it cannot be read back. Copies are UTF-8 (.copy);
// those of earlier builds, in CP932 (.klt), are read too.
std::optional<TextGrid> ReadCopy(const OrphanedCopy& copy);
// Puts `doc`, a new sheet window made of the copy's storage, in the copy's view, marked modified,
// with a copy of its own from now on; the caption is the frame's to give. Under the caption it
// had, the sheet knows its file as it knew it before, and merges at its next save.
void ShowCopy(const OrphanedCopy& copy, frmDocument* doc);
// Moves a copy that cannot be restored into UnrestoredDirectory; false when it could not be
// moved (it is then offered again at the next start).
bool SetCopyAside(const OrphanedCopy& copy);
void RemoveCopy(const OrphanedCopy& copy);

}  // namespace kelt
