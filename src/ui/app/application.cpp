#include "ui/app/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "ui/app/frmmain.h"
#include "ui/app/frmsplash.h"
#include "ui/platform/fonts.h"
#include "ui/platform/prompts.h"
#include "ui/storage/filecommands.h"

namespace kelt {

void SetupApplication(QApplication& app) {
  app.setApplicationName(ApplicationTitle());
  app.setStyle(QStringLiteral("Fusion"));
  // The sheet's fonts are named as teachers know them; these are the installed faces.
  QFont::insertSubstitution(PGothicFamily(), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
  QFont font(PGothicFamily());
  font.setPointSizeF(10);
  app.setFont(font);

  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(translator);
  }
}

int RunKelt(int argc, char** argv) {
  QApplication app(argc, argv);
  SetupApplication(app);

  // The splash deletes itself when closed, also early by a key or a click.
  QPointer<frmSplash> splash = new frmSplash;
  splash->show();
  splash->repaint();
  app.processEvents();

  frmMain frame(CommandLinePath(QApplication::arguments().mid(1).join(QLatin1Char(' '))));
  if (splash) splash->close();
  frame.show();
  return app.exec();
}

}  // namespace kelt
