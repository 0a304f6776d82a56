#include "ui/platform/fonts.h"

#include <QFont>
#include <QHash>

namespace kelt {

namespace {
// Installed families by their names in lower case: Qt keeps the substitutes in lower case.
QHash<QString, QString>& Installed() {
  static QHash<QString, QString> families;
  return families;
}
}  // namespace

void SetInstalledFaces(const QStringList& families) {
  QHash<QString, QString> installed;
  for (const QString& family : families) installed.insert(family.toLower(), family);
  Installed() = std::move(installed);
}

QString Face(const QString& family) {
  const QHash<QString, QString>& installed = Installed();
  if (installed.isEmpty() || installed.contains(family.toLower())) return family;
  for (const QString& substitute : QFont::substitutes(family)) {
    const auto face = installed.constFind(substitute.toLower());
    if (face != installed.cend()) return *face;
  }
  return family;
}

}  // namespace kelt
