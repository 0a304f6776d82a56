#include "ui/platform/fonts.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QTextLayout>

namespace kelt {
namespace {

// Qt keeps substitutes in lower case and lists families as installed; Face() must match the two
// and give the installed spelling, or Qt searches for fallbacks for every new size of the face.
TEST(Face, NamesTheInstalledFaceForAMissingOne) {
  QFont::insertSubstitution(QStringLiteral("ＴＥＳＴ ゴシック"), QStringLiteral("Test Gothic B"));
  QFont::insertSubstitution(QStringLiteral("ＴＥＳＴ ゴシック"), QStringLiteral("Test Gothic A"));
  struct Case {
    const char* installed;  // families, '|' between them
    const char* asked;
    const char* named;
  } const cases[] = {
      {"Test Gothic A|Other", "ＴＥＳＴ ゴシック", "Test Gothic A"},  // mapped, installed
      {"Other|Test Gothic B|Test Gothic A", "ＴＥＳＴ ゴシック", "Test Gothic B"},  // first one
      {"ＴＥＳＴ ゴシック|Test Gothic A", "ＴＥＳＴ ゴシック",
       "ＴＥＳＴ ゴシック"},                                // itself installed
      {"Other", "ＴＥＳＴ ゴシック", "ＴＥＳＴ ゴシック"},  // nothing to map to: Qt's own search
      {"Test Gothic A", "Unmapped", "Unmapped"},
      {"", "ＴＥＳＴ ゴシック", "ＴＥＳＴ ゴシック"},  // not told yet
  };
  for (const Case& c : cases) {
    const QString installed = QString::fromUtf8(c.installed);
    SetInstalledFaces(installed.isEmpty() ? QStringList() : installed.split(QLatin1Char('|')));
    EXPECT_EQ(Face(QString::fromUtf8(c.asked)), QString::fromUtf8(c.named))
        << c.installed << " / " << c.asked;
  }
  SetInstalledFaces(QFontDatabase::families());
}

// Names teachers type and recovery copies keep come back drawn, not as boxes: the installed faces
// (the sheet's, with the fallbacks the system gives it) hold a glyph for each character, those
// outside the basic plane (𠮷田, 𩸽) and CP932's own (髙, 﨑, ①) included.
TEST(Face, TheSheetsFaceDrawsNamesWhole) {
  QFont font(PGothicFamily());
  font.setPointSizeF(11.25);
  for (const char* text : {"𠮷田", "髙橋", "山﨑", "𩸽", "①", "€5"}) {
    QTextLayout layout(QString::fromUtf8(text), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
      for (const quint32 glyph : run.glyphIndexes())
        EXPECT_NE(glyph, 0u) << text << " in " << run.rawFont().familyName().toStdString();
    }
  }
}

}  // namespace
}  // namespace kelt
