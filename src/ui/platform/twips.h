#pragma once

class QWidget;

namespace kelt {

// Twips are 1/1440 inch; 15 twips are one pixel at 96 dots per inch.
int TwipsToPixels(int twips, double dpi = 96.0);
int PixelsToTwips(int pixels, double dpi = 96.0);
// The widget's logical resolution, 96 when it has none.
double WidgetDpi(const QWidget* widget);
// Puts a child widget at a position and size given in twips of its parent's client area.
void PlaceInTwips(QWidget* widget, int left, int top, int width, int height);
// Gives a window a client area of the size in twips.
void ResizeInTwips(QWidget* window, int width, int height);

}  // namespace kelt
