#!/bin/sh
# Draws the hicolor PNG icons from the SVG ones (rsvg-convert, package librsvg2-bin); run after
# changing resources/icons/kelt.svg or kelt-document.svg, and commit the PNGs.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
for size in 16 22 24 32 48 64 128 256; do
  dir="$here/resources/icons/hicolor/${size}x${size}"
  mkdir -p "$dir/apps" "$dir/mimetypes"
  rsvg-convert -w "$size" -h "$size" "$here/resources/icons/kelt.svg" -o "$dir/apps/kelt.png"
  rsvg-convert -w "$size" -h "$size" "$here/resources/icons/kelt-document.svg" \
    -o "$dir/mimetypes/application-x-kelt.png"
done
