#pragma once

#include <QWidget>

class QTextBrowser;

namespace kelt {

// The program's help window: shows the HTML help file at its contents.
class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  // Opens the help file at its contents; a missing or unreadable file is reported here and
  // gives false.
  bool ShowContents(const QString& path);
  QString Html() const;

 private:
  QTextBrowser* m_browser;
};

}  // namespace kelt
