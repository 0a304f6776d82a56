#include "ui/app/application.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QPointer>
#include <QThread>
#include <QTranslator>
#include <QWidget>
#include <future>
#include <memory>
#include <optional>

#include "ui/app/frmmain.h"
#include "ui/app/frmsplash.h"
#include "ui/app/quitwhendrawn.h"
#include "ui/app/sessionbus.h"
#include "ui/platform/asidework.h"
#include "ui/platform/fonts.h"
#include "ui/platform/pictures.h"
#include "ui/platform/prompts.h"
#include "ui/storage/filecommands.h"

namespace kelt {

namespace {
// Fontconfig's reading of its configuration and of the caches of every installed font (some 7 ms),
// begun by RunKelt on another thread before the application is built; SetupApplication takes it
// before it asks for the installed families, and reads it itself if that thread has not begun.
std::unique_ptr<AsideWork<bool>>& FontConfiguration() {
  static std::unique_ptr<AsideWork<bool>> reading;
  return reading;
}
}  // namespace

void SetupApplication(QApplication& app) {
  app.setApplicationName(ApplicationTitle());
  // The desktop entry and the icon that the installed program is known by.
  app.setDesktopFileName(QStringLiteral("kelt"));
  QIcon icon;
  for (const int size : {16, 32, 64})
    icon.addPixmap(ReadPng(QStringLiteral(":/icons/kelt-%1.png").arg(size)));
  app.setWindowIcon(icon);
  app.setStyle(NewFusionStyle());
  // The sheet's fonts are named as teachers know them; these are the installed faces.
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
  // The splash's one word in Arial: where no Arial is installed, as on Debian, it is drawn in the
  // sheet's face, not in a look-alike loaded for that word alone (some 5 ms of every start).
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("IPAPGothic"));

  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(translator);
  }

  if (FontConfiguration()) FontConfiguration()->Take();
  SetInstalledFaces(QFontDatabase::families());
  QFont font(PGothicFamily());
  font.setPointSizeF(10);
  app.setFont(font);
}

int RunKelt(int argc, char** argv) {
  // Qt takes the first thread to ask for its own as the main one; the threads started here use Qt.
  QThread::currentThread();
  const std::future<void> sessionBus = ConnectSessionBusAside();
  // At the main thread's own priority: it waits for this soon, and a thread below it would get
  // no time at all while another program keeps the core busy.
  FontConfiguration() = std::make_unique<AsideWork<bool>>([] { return FcInit() == FcTrue; });
  // The first sheet, the start-up file or a new one, is made on the second core while Qt starts,
  // the splash comes up and the frame is built.
  const std::optional<QString> earlyPath = CommandLinePathBeforeQt(argc, argv);
  std::future<SheetFileRead> startSheet;
  if (earlyPath) startSheet = FirstSheetAside(*earlyPath);
  QApplication app(argc, argv);
  SetupApplication(app);
  if (!earlyPath) {
    startSheet =
        FirstSheetAside(CommandLinePath(QApplication::arguments().mid(1).join(QLatin1Char(' '))));
  }

  // The splash deletes itself when closed, also early by a key or a click.
  QPointer<frmSplash> splash = new frmSplash;
  splash->show();
  if (!splash->Drawn()) splash->repaint();
  app.processEvents();

  auto frame = std::make_unique<frmMain>(std::move(startSheet));
  if (splash) splash->close();
  // Watched before it is shown, so that no drawing can come first.
  if (qEnvironmentVariableIsSet("KELT_QUIT_WHEN_DRAWN")) QuitWhenDrawn(frame.get());
  frame->show();
  return app.exec();
}

}  // namespace kelt
