#pragma once

#include <QPixmap>
#include <QString>

class QStyle;

namespace kelt {

// A PNG picture read as PNG; null where the file is missing or no PNG. A picture read by file name
// alone has every image-format plugin (SVG, GIF, ICO, JPEG) loaded and asked whether it reads it,
// some milliseconds the first time.
QPixmap ReadPng(const QString& path);

// Qt's Fusion style, whose icons that every start builds are read in the same way.
QStyle* NewFusionStyle();

}  // namespace kelt
