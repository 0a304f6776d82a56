#pragma once

#include <QString>

namespace kelt {

// The face of the sheet, the strip and the program's own drawings, named as teachers know it;
// SetupApplication maps it to the installed IPA font.
inline QString PGothicFamily() { return QStringLiteral("ＭＳ Ｐゴシック"); }
// The fixed-pitch face of the printed page.
inline QString MinchoFamily() { return QStringLiteral("ＭＳ 明朝"); }

}  // namespace kelt
