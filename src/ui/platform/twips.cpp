#include "ui/platform/twips.h"

#include <QWidget>
#include <cmath>

namespace kelt {

int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

int PixelsToTwips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * 1440.0 / dpi));
}

double WidgetDpi(const QWidget* widget) {
  const int dpi = widget ? widget->logicalDpiY() : 0;
  return dpi > 0 ? dpi : 96.0;
}

void PlaceInTwips(QWidget* widget, int left, int top, int width, int height) {
  const double dpi = WidgetDpi(widget->parentWidget());
  widget->setGeometry(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
                      TwipsToPixels(height, dpi));
}

void ResizeInTwips(QWidget* window, int width, int height) {
  const double dpi = WidgetDpi(window);
  window->setFixedSize(TwipsToPixels(width, dpi), TwipsToPixels(height, dpi));
}

}  // namespace kelt
