// Qt's floor for the launch benchmark: an empty QMainWindow, shown, drawn once, and ended, in the
// same way kelt ends under KELT_QUIT_WHEN_DRAWN.
#include <QApplication>
#include <QMainWindow>

#include "ui/app/application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(800, 600);
  window.show();
  kelt::QuitWhenDrawn(&window);
  return app.exec();
}
