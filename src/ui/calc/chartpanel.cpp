#include "ui/calc/chartpanel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace kelt {

QStringList ChartModulePaths() {
  const QString dir = QCoreApplication::applicationDirPath();
  const QString name = QFileInfo(QStringLiteral(KELT_CHART_MODULE)).fileName();
  return {dir + QLatin1Char('/') + name,
          QDir::cleanPath(dir + QStringLiteral("/../" KELT_CHART_DIR "/") + name),
          QStringLiteral(KELT_CHART_MODULE)};
}

ChartPanelMaker LoadChartModule(const QStringList& paths, QString* error) {
  QString why;
  for (const QString& path : paths) {
    if (!QFileInfo::exists(path)) continue;
    QLibrary module(path);
    if (auto make = reinterpret_cast<ChartPanelMaker>(module.resolve("kelt_new_chart_panel")))
      return make;
    if (why.isEmpty()) why = module.errorString();
  }
  if (error) *error = why.isEmpty() ? QStringLiteral("kelt_charts が見つかりません。") : why;
  return nullptr;
}

ChartPanel* NewChartPanel(QWidget* parent, QString* error) {
  static QString why;
  static const ChartPanelMaker make = LoadChartModule(ChartModulePaths(), &why);
  if (!make) {
    if (error) *error = why;
    return nullptr;
  }
  return make(parent);
}

}  // namespace kelt
