#include "ui/app/helpviewer.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/platform/prompts.h"

namespace kelt {

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Kelt ヘルプ"));
  m_browser->setObjectName(QStringLiteral("helpText"));
  m_browser->setOpenLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_browser);
  resize(720, 640);
}

bool HelpViewer::ShowContents(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ShowMessage(
        this, QStringLiteral("ヘルプファイル %1 を開けません。\n%2").arg(path, file.errorString()),
        PromptButtons::Ok, windowTitle(), PromptIcon::Warning);
    return false;
  }
  m_browser->setHtml(QString::fromUtf8(file.readAll()));
  show();
  raise();
  activateWindow();
  return true;
}

QString HelpViewer::Html() const { return m_browser->toHtml(); }

}  // namespace kelt
