#!/bin/sh
# Renders the desktop icon set and the Windows icon from the scalable
# picture. The 16x16 icon is the program's own hand-tuned "networks"
# picture: a tile does not read at that size. Needs ImageMagick's convert.
set -e
cd "$(dirname "$0")"
svg=hicolor/scalable/apps/netconfig.svg
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p hicolor/16x16/apps
cp ../../apps/netconfig/images/networks_small.png hicolor/16x16/apps/netconfig.png
for size in 32 48 128 256; do
  convert -background none -density $((size * 72 / 16)) "$svg" -resize ${size}x${size} -depth 8 -strip \
    "PNG32:$tmp/$size.png"
  if [ "$size" != 256 ]; then
    mkdir -p hicolor/${size}x${size}/apps
    cp "$tmp/$size.png" hicolor/${size}x${size}/apps/netconfig.png
  fi
done
convert hicolor/16x16/apps/netconfig.png "$tmp/32.png" "$tmp/48.png" "$tmp/256.png" ../windows/netconfig.ico
