#include "ui/app/placement.h"

#include <QSettings>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/platform/prompts.h"
#include "ui/platform/twips.h"

namespace kelt {

namespace {
const QString kGroup = QStringLiteral("Settings");
const QString kLeft = QStringLiteral("MainLeft");
const QString kTop = QStringLiteral("MainTop");
const QString kWidth = QStringLiteral("MainWidth");
const QString kHeight = QStringLiteral("MainHeight");
}  // namespace

int PlacementValue(const QVariant& stored, int fallback) {
  if (!stored.isValid()) return fallback;
  bool ok = false;
  const float value = stored.toString().trimmed().toFloat(&ok);
  constexpr int kFarOff = std::numeric_limits<int>::max() / 2;
  if (!ok || !std::isfinite(value) || std::fabs(value) > static_cast<float>(kFarOff)) {
    return fallback;
  }
  return static_cast<int>(std::lround(value));
}

Placement ReadPlacement(QSettings& settings) {
  const Placement defaults;
  settings.beginGroup(kGroup);
  Placement placement;
  placement.left = PlacementValue(settings.value(kLeft), defaults.left);
  placement.top = PlacementValue(settings.value(kTop), defaults.top);
  placement.width = PlacementValue(settings.value(kWidth), defaults.width);
  placement.height = PlacementValue(settings.value(kHeight), defaults.height);
  settings.endGroup();
  return placement;
}

bool HasStoredPlacement(QSettings& settings) {
  settings.beginGroup(kGroup);
  const bool stored = settings.contains(kLeft) || settings.contains(kTop) ||
                      settings.contains(kWidth) || settings.contains(kHeight);
  settings.endGroup();
  return stored;
}

QRect FirstPlacement(QSize wanted, const QRect& available) {
  QRect frame({}, wanted.boundedTo(available.size()).expandedTo(kMinimumFrameSize));
  frame.moveCenter(available.center());
  return frame;
}

void WritePlacement(QSettings& settings, const Placement& placement) {
  // Written as our own decimal text: a raw float would be stored with binary noise. A frame put
  // back where it was leaves the file alone: each write is a disk flush on the way out.
  bool changed = false;
  auto put = [&](const QString& key, int value) {
    const QString text = QString::number(value);
    if (settings.value(key).toString() == text) return;
    settings.setValue(key, text);
    changed = true;
  };
  settings.beginGroup(kGroup);
  put(kLeft, placement.left);
  put(kTop, placement.top);
  put(kWidth, placement.width);
  put(kHeight, placement.height);
  settings.endGroup();
  if (changed) settings.sync();
}

QRect PlacementToPixels(const Placement& placement, double dpi) {
  return {TwipsToPixels(placement.left, dpi), TwipsToPixels(placement.top, dpi),
          TwipsToPixels(placement.width, dpi), TwipsToPixels(placement.height, dpi)};
}

Placement PlacementFromPixels(const QRect& rect, double dpi) {
  return {PixelsToTwips(rect.x(), dpi), PixelsToTwips(rect.y(), dpi),
          PixelsToTwips(rect.width(), dpi), PixelsToTwips(rect.height(), dpi)};
}

QRect FitOnScreen(const QRect& frame, const QList<QRect>& screens) {
  const QSize wanted = frame.size().expandedTo(kMinimumFrameSize);
  if (screens.isEmpty()) return {frame.topLeft(), wanted};
  QRect screen = screens.first();
  qint64 most = 0;
  for (const QRect& candidate : screens) {
    const QRect common = candidate.intersected(frame);
    const qint64 area = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
    if (area > most) {
      most = area;
      screen = candidate;
    }
  }
  const QSize size = wanted.boundedTo(screen.size());
  const int left = std::clamp(frame.left(), screen.left(), screen.right() - size.width() + 1);
  const int top = std::clamp(frame.top(), screen.top(), screen.bottom() - size.height() + 1);
  return {left, top, size.width(), size.height()};
}

QList<QRect> ArrangedWindows(int code, const QRect& area, int count, QSize cascadeSize) {
  QList<QRect> rects;
  if (code == 0) {
    constexpr QSize kLargestStep{180, 120};
    const QSize size = cascadeSize.boundedTo(area.size());
    const QSize room = area.size() - size;
    // Whole pixels down, so the last window ends inside the area.
    const QSize step =
        count > 1
            ? QSize(room.width() / (count - 1), room.height() / (count - 1)).boundedTo(kLargestStep)
            : QSize(0, 0);
    for (int i = 0; i < count; ++i) {
      rects.append(QRect(area.topLeft() + QPoint(step.width() * i, step.height() * i), size));
    }
    return rects;
  }
  for (int i = 0; i < count; ++i) {
    if (code == 2) {
      const int left = area.left() + area.width() * i / count;
      const int right = area.left() + area.width() * (i + 1) / count;
      rects.append(QRect(left, area.top(), right - left, area.height()));
    } else {
      const int top = area.top() + area.height() * i / count;
      const int bottom = area.top() + area.height() * (i + 1) / count;
      rects.append(QRect(area.left(), top, area.width(), bottom - top));
    }
  }
  return rects;
}

}  // namespace kelt
