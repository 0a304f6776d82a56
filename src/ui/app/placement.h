#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QVariant>

#include "ui/platform/settings.h"

namespace kelt {

// The frame's left, top, width and height in twips, as stored between runs.
struct Placement {
  int left = 1000;
  int top = 1000;
  int width = 6500;
  int height = 6500;
  bool operator==(const Placement&) const = default;
};

// A stored value as a number; absent or not a number gives the default.
int PlacementValue(const QVariant& stored, int fallback);
Placement ReadPlacement(QSettings& settings);
// Whether an earlier run stored a placement (any of its values).
bool HasStoredPlacement(QSettings& settings);
void WritePlacement(QSettings& settings, const Placement& placement);

// Pixels and twips at the given resolution.
QRect PlacementToPixels(const Placement& placement, double dpi);
Placement PlacementFromPixels(const QRect& rect, double dpi);

// The smallest frame that still shows its menus, toolbar and part of a sheet, in pixels.
inline constexpr QSize kMinimumFrameSize{400, 300};

// The frame rectangle brought wholly onto the available area of the screen it mostly lies on
// (the first one when it lies on none), at least kMinimumFrameSize and at most that area, so its
// title bar can always be reached.
QRect FitOnScreen(const QRect& frame, const QList<QRect>& screens);

// A first start's frame: `wanted`, at most the available area and at least kMinimumFrameSize,
// centred on that area.
QRect FirstPlacement(QSize wanted, const QRect& available);

// Where `count` sheet windows go in the frame's client area: code 0 cascades them, each of
// `cascadeSize` (at most the area) and stepped so that those behind still show their strip,
// numbers and names; 1 tiles them one above the other, 2 side by side.
QList<QRect> ArrangedWindows(int code, const QRect& area, int count, QSize cascadeSize = {});

}  // namespace kelt
