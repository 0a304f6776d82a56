#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class QLockFile;

namespace kelt {

class frmDocument;

// Where the recovery copies of unsaved sheets are kept: the application's data folder and
// "recovery", unless set (tests set a folder of their own).
QString RecoveryDirectory();
void SetRecoveryDirectory(const QString& directory);

// The recovery copy of one open sheet: while the sheet has unsaved changes, its storage as a
// store would give it (the undo snapshot untouched), with its caption and view, written in
// the recovery folder at most 30 seconds after a typed change and soon after a bulk edit. The
// copy is locked by this process; a clean close or a save removes it, so only a crash leaves it.
class RecoveryCopy : public QObject {
  Q_OBJECT

 public:
  explicit RecoveryCopy(frmDocument* doc);
  ~RecoveryCopy() override;

  // The copy's files without their extension (.klt, .info, .lock).
  QString BasePath() const { return m_base; }
  // Writes the copy now when the sheet has unsaved changes.
  void WriteNow();
  // Whether a write is due.
  bool WritePending() const { return m_timer.isActive(); }
  void Remove();

  // The delay after a typed change.
  static constexpr int kTypingDelayMs = 30000;
  // The delay after a calculation, a structure edit or a paste: the table is repainted first.
  static constexpr int kBulkDelayMs = 100;

 private:
  void Schedule(int delayMs);

  frmDocument* m_doc;
  QString m_base;
  std::unique_ptr<QLockFile> m_lock;
  QTimer m_timer;
};

// A copy a run left behind when it ended without closing its sheets.
struct OrphanedCopy {
  QString base;
  std::shared_ptr<QLockFile> lock;  // now held by this process
  QString caption;
  int viewIndex;
};

// The copies in the recovery folder whose owner is gone; copies of running instances are left.
QList<OrphanedCopy> TakeOrphanedCopies();
// Puts a copy back as `doc`'s sheet, marked modified; false when its file cannot be read.
bool RestoreCopy(const OrphanedCopy& copy, frmDocument* doc);
void RemoveCopy(const OrphanedCopy& copy);

}  // namespace kelt
