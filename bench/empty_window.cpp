// Qt's floor for the launch benchmark: an empty QMainWindow, shown, drawn once, and ended, in the
// same way kelt ends under KELT_QUIT_WHEN_DRAWN. It links Qt Widgets and nothing of kelt's. With
// the argument "label" it also shows one line of Japanese text, which costs what any program that
// draws text pays for its fonts.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

#include "ui/app/quitwhendrawn.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(800, 600);
  if (argc > 1 && std::strcmp(argv[1], "label") == 0) {
    auto* label = new QLabel(QStringLiteral("ケルト 成績"), &window);
    label->setGeometry(10, 10, 200, 30);
  }
  window.show();
  kelt::QuitWhenDrawn(&window);
  return app.exec();
}
