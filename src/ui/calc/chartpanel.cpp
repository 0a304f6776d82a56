#include "ui/calc/chartpanel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace kelt {

namespace {
using NewPanel = ChartPanel* (*)(QWidget*);

// Beside the program (the build tree), where it is installed (lib/kelt), then where this build
// made it (the tests, which run from elsewhere).
QStringList ModulePaths() {
  const QString dir = QCoreApplication::applicationDirPath();
  const QString name = QFileInfo(QStringLiteral(KELT_CHART_MODULE)).fileName();
  return {dir + QLatin1Char('/') + name,
          QDir::cleanPath(dir + QStringLiteral("/../lib/kelt/") + name),
          QStringLiteral(KELT_CHART_MODULE)};
}
}  // namespace

ChartPanel* NewChartPanel(QWidget* parent, QString* error) {
  static NewPanel make = nullptr;
  static QString why;
  if (!make && why.isEmpty()) {
    for (const QString& path : ModulePaths()) {
      if (!QFileInfo::exists(path)) continue;
      QLibrary module(path);
      make = reinterpret_cast<NewPanel>(module.resolve("kelt_new_chart_panel"));
      if (make) break;
      why = module.errorString();
    }
    if (!make && why.isEmpty()) why = QStringLiteral("kelt_charts が見つかりません。");
  }
  if (!make) {
    if (error) *error = why;
    return nullptr;
  }
  return make(parent);
}

}  // namespace kelt
