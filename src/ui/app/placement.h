#pragma once

#include <QRect>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

namespace kelt {

// The frame's left, top, width and height in twips, as stored between runs.
struct Placement {
  int left = 1000;
  int top = 1000;
  int width = 6500;
  int height = 6500;
  bool operator==(const Placement&) const = default;
};

// The program's settings store: INI, application "kelt".
std::unique_ptr<QSettings> OpenSettings();

// A stored value as a number; absent or not a number gives the default.
int PlacementValue(const QVariant& stored, int fallback);
Placement ReadPlacement(QSettings& settings);
void WritePlacement(QSettings& settings, const Placement& placement);

// Pixels and twips at the given resolution.
QRect PlacementToPixels(const Placement& placement, double dpi);
Placement PlacementFromPixels(const QRect& rect, double dpi);

// A frame rectangle that lies on no screen is moved onto the first available area, keeping its
// size; one that touches a screen is kept.
QRect KeepOnScreen(const QRect& frame, const QList<QRect>& screens);

}  // namespace kelt
