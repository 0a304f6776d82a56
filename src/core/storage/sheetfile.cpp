#include "core/storage/sheetfile.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kelt {

DiskStamp DiskStamp::Of(const QString& path) {
  const QFileInfo info(path);
  DiskStamp stamp;
  stamp.path = path;
  stamp.exists = info.exists();
  if (stamp.exists) {
    stamp.size = info.size();
    stamp.modified = info.lastModified();
  }
  return stamp;
}

FileBytes ReadFileBytes(const QString& path, qint64 maxSize) {
  FileBytes result;
  const QFileInfo info(path);
  if (!info.exists()) {
    result.missing = true;
    return result;
  }
  // A FIFO blocks open() for ever and a device reads without end.
  if (!info.isFile()) {
    result.error = QStringLiteral("通常のファイルではありません。");
    return result;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    result.error = file.errorString();
    return result;
  }
  // In pieces, so a file that grows while it is read still stops one byte past the limit.
  constexpr qint64 kPiece = 1 << 20;
  while (result.bytes.size() <= maxSize) {
    const QByteArray piece = file.read(std::min(kPiece, maxSize + 1 - result.bytes.size()));
    if (piece.isEmpty()) break;
    result.bytes += piece;
  }
  if (file.error() != QFileDevice::NoError) {
    result.error = file.errorString();
  } else if (result.bytes.size() > maxSize) {
    result.error =
        QStringLiteral("ファイルが大きすぎます (%1 バイトまで読み込めます)。").arg(maxSize);
  }
  if (!result.error.isEmpty()) result.bytes.clear();
  return result;
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  // Unbuffered: a buffered write reports its full size although nothing reached a full disk.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  // A write cut short reports no error; the next one meets it and says why (a full disk).
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) break;
    written += n;
  }
  QString error;
  if (written != bytes.size() || !file.flush()) {
    error = file.errorString();
  } else if (::fsync(file.handle()) != 0) {
    // Some file systems find out that the disk is full only when the data is forced out.
    error = QString::fromLocal8Bit(std::strerror(errno));
  }
  if (!error.isEmpty()) {
    file.cancelWriting();
    file.commit();  // discards the temporary file; the old one stays as it was
    return error;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

}  // namespace kelt
