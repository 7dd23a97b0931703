#!/usr/bin/env bash
# Renders the icon's PNG sizes from the SVG (needs rsvg-convert, Debian's librsvg2-bin).
# Run after changing canny-demo.svg and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" canny-demo.svg -o "canny-demo-$size.png"
done
