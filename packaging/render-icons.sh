#!/bin/bash
# Renders each program's menu icons for the hicolor theme from its SVG, so the PNG
# sizes are committed beside the picture they come from. Run after changing an SVG:
#   packaging/render-icons.sh        (needs rsvg-convert, from librsvg2-bin)
set -euo pipefail
cd "$(dirname "$0")/.."
for program in lorvane tarnwick; do
    dir=$program/resources/icons
    for size in 16 32 48 64 128 256; do
        rsvg-convert -w "$size" -h "$size" "$dir/$program.svg" -o "$dir/$program-$size.png"
    done
done
