// Qt's floor for the launch benchmark: an empty QMainWindow, shown, drawn once, and ended, in the
// same way kelt ends under KELT_QUIT_WHEN_DRAWN. It links Qt Widgets and nothing of kelt's. With
// the argument "label" it also shows one line of Japanese text, which costs what any program that
// draws text pays for its fonts; with "splash" a word on a splash window comes first, drawn and
// closed before the window is built: the least a program that keeps a splash pays.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>
#include <memory>

#include "ui/app/quitwhendrawn.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool splashed = argc > 1 && std::strcmp(argv[1], "splash") == 0;
  // Drawn before the window is built and closed after, as kelt's splash is.
  std::unique_ptr<QWidget> splash;
  if (splashed) {
    splash = std::make_unique<QWidget>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    splash->resize(480, 260);
    auto* word = new QLabel(QStringLiteral("ケルト"), splash.get());
    word->setGeometry(110, 18, 330, 48);
    splash->show();
    splash->repaint();
    app.processEvents();
  }
  QMainWindow window;
  window.resize(800, 600);
  if (splashed || (argc > 1 && std::strcmp(argv[1], "label") == 0)) {
    auto* label = new QLabel(QStringLiteral("ケルト 成績"), &window);
    label->setGeometry(10, 10, 200, 30);
  }
  splash.reset();
  window.show();
  kelt::QuitWhenDrawn(&window);
  return app.exec();
}
