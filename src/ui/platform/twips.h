#pragma once

class QWidget;

namespace kelt {

// Twips are 1/1440 inch; 15 twips are one pixel at 96 dots per inch.
int TwipsToPixels(int twips, double dpi = 96.0);
int PixelsToTwips(int pixels, double dpi = 96.0);
// The widget's logical resolution, 96 when it has none.
double WidgetDpi(const QWidget* widget);

}  // namespace kelt
