#include "ui/platform/fonts.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>

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

}  // namespace
}  // namespace kelt
