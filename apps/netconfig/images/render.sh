#!/bin/sh
# Renders the hand-written SVG sources to the PNGs that netconfig.qrc ships
# (1x, @2x and @3x), so the program needs no SVG module at run time.
# Needs ImageMagick's convert.
set -e
cd "$(dirname "$0")"
for svg in *.svg; do
  name=${svg%.svg}
  convert -background none -density 96 "$svg" -resize 16x16 -depth 8 -strip "PNG32:$name.png"
  convert -background none -density 192 "$svg" -resize 32x32 -depth 8 -strip "PNG32:$name@2x.png"
  convert -background none -density 288 "$svg" -resize 48x48 -depth 8 -strip "PNG32:$name@3x.png"
done
