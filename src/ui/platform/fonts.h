#pragma once

#include <QString>
#include <QStringList>

namespace kelt {

// Faces are named as teachers know them ("ＭＳ Ｐゴシック"). Where such a face is not installed, as
// on Debian, Face() names the installed face it is mapped to (QFont::insertSubstitution) instead:
// Qt looks for fallbacks every time a size or weight of a missing family is first drawn, some
// milliseconds of every start. Until SetInstalledFaces is told the installed families, and where no
// mapped face is installed, Face() gives the name back.
QString Face(const QString& family);
// The families QFontDatabase::families() lists, read once at start before the first window is
// built.
void SetInstalledFaces(const QStringList& families);

// The face of the sheet, the strip and the program's own drawings.
inline QString PGothicFamily() { return Face(QStringLiteral("ＭＳ Ｐゴシック")); }
// The fixed-pitch face of the printed page.
inline QString MinchoFamily() { return Face(QStringLiteral("ＭＳ 明朝")); }

}  // namespace kelt
