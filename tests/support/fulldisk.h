#pragma once

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

namespace kelt::test {

// A small disk (tmpfs) mounted in a temporary folder for the life of the object. Put the files
// a test needs on it, then Fill() it: every later write that needs a new block fails, as on a
// teacher's full USB stick. Mounting needs root; tests skip without it.
class FullDisk {
 public:
  static bool CanMount() { return ::geteuid() == 0; }

  explicit FullDisk(int sizeKib = 64) : m_mount(m_base.filePath(QStringLiteral("disk"))) {
    QDir().mkpath(m_mount);
    const QByteArray command = "mount -t tmpfs -o size=" + QByteArray::number(sizeKib) +
                               "k tmpfs '" + QFile::encodeName(m_mount) + "'";
    m_mounted = std::system(command.constData()) == 0;
  }
  ~FullDisk() {
    if (m_mounted) std::system(("umount '" + QFile::encodeName(m_mount) + "'").constData());
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  bool Mounted() const { return m_mounted; }
  QString Path(const QString& name) const { return m_mount + QLatin1Char('/') + name; }

  // Takes up whatever space is left.
  void Fill() const {
    QFile filler(Path(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
  }

 private:
  QTemporaryDir m_base;
  QString m_mount;
  bool m_mounted = false;
};

}  // namespace kelt::test
