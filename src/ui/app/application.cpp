#include "ui/app/application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <QWidget>
#include <future>
#include <memory>

#include "ui/app/frmmain.h"
#include "ui/app/frmsplash.h"
#include "ui/platform/fonts.h"
#include "ui/platform/prompts.h"
#include "ui/storage/filecommands.h"

namespace kelt {

void SetupApplication(QApplication& app) {
  app.setApplicationName(ApplicationTitle());
  // The desktop entry and the icon that the installed program is known by.
  app.setDesktopFileName(QStringLiteral("kelt"));
  app.setWindowIcon(QIcon(QStringLiteral(":/icons/kelt.svg")));
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

namespace {
// Ends the program once `window` has drawn itself completely for the first time.
class DrawnWatcher : public QObject {
 public:
  explicit DrawnWatcher(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_quitting) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget && widget->window() == m_window) {
        m_quitting = true;
        // The rest of this drawing pass is done before the queued quit runs.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
      }
    }
    return false;
  }

 private:
  QWidget* m_window;
  bool m_quitting = false;
};
}  // namespace

void QuitWhenDrawn(QWidget* window) { new DrawnWatcher(window); }

int RunKelt(int argc, char** argv) {
  QApplication app(argc, argv);
  SetupApplication(app);

  // The start-up file is read on the second core while the splash comes up.
  const QString startPath =
      CommandLinePath(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
  std::future<SheetFileRead> startRead;
  if (!startPath.isEmpty())
    startRead = std::async(std::launch::async, ReadSheetFileAside, startPath);

  // The splash deletes itself when closed, also early by a key or a click.
  QPointer<frmSplash> splash = new frmSplash;
  splash->show();
  splash->repaint();
  app.processEvents();

  std::unique_ptr<frmMain> frame =
      startRead.valid() ? std::make_unique<frmMain>(startRead.get()) : std::make_unique<frmMain>();
  if (splash) splash->close();
  frame->show();
  if (qEnvironmentVariableIsSet("KELT_QUIT_WHEN_DRAWN")) QuitWhenDrawn(frame.get());
  return app.exec();
}

}  // namespace kelt
