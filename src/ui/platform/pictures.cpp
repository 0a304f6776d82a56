#include "ui/platform/pictures.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <array>

namespace kelt {

QPixmap ReadPng(const QString& path) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

namespace {
// Fusion's own pictures of the icons a start-up draws or builds: the arrow of a toolbar too narrow
// for its buttons, and the maximize button every sheet window's menu holds.
QIcon FusionPictures(QStyle::StandardPixmap which, Qt::LayoutDirection direction) {
  const char* name = nullptr;
  std::array<int, 3> sizes{};
  if (which == QStyle::SP_ToolBarHorizontalExtensionButton) {
    name = direction == Qt::RightToLeft ? "toolbar-ext-h-rtl-%1.png" : "toolbar-ext-h-%1.png";
    sizes = {8, 16, 32};
  } else if (which == QStyle::SP_TitleBarMaxButton) {
    name = "titlebar-max-%1.png";
    sizes = {16, 32, 48};
  } else {
    return {};
  }
  QIcon icon;
  for (const int size : sizes) {
    const QPixmap picture = ReadPng(QStringLiteral(":/qt-project.org/styles/commonstyle/images/") +
                                    QString::fromLatin1(name).arg(size));
    if (picture.isNull()) return {};
    icon.addPixmap(picture);
  }
  return icon;
}

class FusionStyle : public QProxyStyle {
 public:
  FusionStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  // Anything else, or a Qt without these pictures, is Fusion's.
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override {
    const Qt::LayoutDirection direction = option   ? option->direction
                                          : widget ? widget->layoutDirection()
                                                   : QGuiApplication::layoutDirection();
    const QIcon read = FusionPictures(which, direction);
    return read.isNull() ? QProxyStyle::standardIcon(which, option, widget) : read;
  }
};
}  // namespace

QStyle* NewFusionStyle() { return new FusionStyle; }

}  // namespace kelt
