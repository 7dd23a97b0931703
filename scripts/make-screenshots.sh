#!/bin/bash
# Screenshots of the running application, for the AppStream metainfo and for a
# look at the translation: the window under Xvfb (1280x800, no window manager,
# so the window opens at 1024x768 where the clicks below expect it), with
# settings of its own, its edge map shown by a click on Apply, in English and
# German. Usage: scripts/make-screenshots.sh [BUILD_DIR] [OUT_DIR]
# Needs Xvfb, xdotool and ImageMagick's import: bash scripts/install-deps.sh --screenshots.
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-dist/screenshots}")
app="$build/app/canny-demo"
[ -x "$app" ] || { echo "make-screenshots: $app not built" >&2; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1

# shot NAME LANG TAB: the window on tab TAB (0 to 3) in language LANG.
shot() {
  local config="$work/$1"
  mkdir -p "$config/canny-demo"
  printf '[window]\ntab=%s\n' "$3" >"$config/canny-demo/canny-demo.conf"
  DISPLAY=$display XDG_CONFIG_HOME=$config LANG=$2 LC_ALL= LANGUAGE= QT_QPA_PLATFORM=xcb \
    "$app" &
  local pid=$!
  sleep 4
  DISPLAY=$display xdotool mousemove 1103 546 click 1  # Apply
  sleep 2
  DISPLAY=$display import -window root -crop 1024x768+128+16 +repage "$out/$1.png"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$out/$1.png"
}

shot main C.UTF-8 0
shot second C.UTF-8 1
shot german de_DE.UTF-8 0
