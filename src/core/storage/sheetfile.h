#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kelt {

// Far beyond any sheet (a full year with 256 items is a few megabytes); a larger file is refused
// rather than read into memory.
inline constexpr qint64 kMaxSheetFileSize = qint64{16} * 1024 * 1024;

// What a path held at one moment: enough to tell whether someone changed the file since.
struct DiskStamp {
  QString path;
  bool exists = false;
  qint64 size = -1;
  QDateTime modified;

  static DiskStamp Of(const QString& path);
  bool operator==(const DiskStamp&) const = default;
};

// A whole file's bytes.
struct FileBytes {
  QByteArray bytes;
  bool missing = false;  // nothing at the path: no bytes and no error
  QString error;         // why the file could not be read; empty when it was
};

// Reads a regular file of at most maxSize bytes, and never more than maxSize + 1 bytes of
// anything: a folder, a FIFO or a device is refused before it is opened.
FileBytes ReadFileBytes(const QString& path, qint64 maxSize = kMaxSheetFileSize);

// Replaces the file at `path` with `bytes`, or leaves it as it was: the bytes go to a temporary
// file that takes the name only once every byte has reached the disk. Returns why it failed,
// or an empty text.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace kelt
