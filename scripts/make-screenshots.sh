#!/bin/bash
# Screenshots of the running application: the store's set that the AppStream
# metainfo names (dist/screenshots/, served from the web site's screenshots/),
# and, in another language, a look at the translation. The window runs under
# Xvfb (1280x800, no window manager, so the window opens at 1024x768 where the
# clicks below expect it) with settings of its own: a tab and its sliders. Each
# shot is then reduced to 256 colours by pngquant, which the window's flat
# colours keep intact to the eye.
# Usage: scripts/make-screenshots.sh [BUILD_DIR] [OUT_DIR] [LANG]
#   scripts/make-screenshots.sh build dist/screenshots                # the store's set
#   scripts/make-screenshots.sh build /tmp/german de_DE.UTF-8         # the same in German
# Needs Xvfb, xdotool, ImageMagick's import and pngquant:
# bash scripts/install-deps.sh --screenshots.
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-dist/screenshots}")
language=${3:-C.UTF-8}
app="$build/app/canny-demo"
[ -x "$app" ] || { echo "make-screenshots: $app not built" >&2; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1

# Apply's place on the screen (window at +128+16): right-aligned, in every language.
apply=(1103 546)

x() { DISPLAY=$display xdotool "$@"; }

# shot NAME TAB SCREEN T1 T2 SIGMA STEPS [ACTION...]: the window on tab TAB (0 to 3, whose
# screen is SCREEN) at these slider values, after a click on Apply and the ACTIONs:
# "stage LETTER" chooses the stage whose name starts with LETTER, "split" ticks Split.
shot() {
  local name=$1 tab=$2 screen=$3 config="$work/$1"
  mkdir -p "$config/canny-demo"
  printf '[window]\ntab=%s\n[sliders]\n%s\\t1=%s\n%s\\t2=%s\n%s\\sigma=%s\n%s\\steps=%s\n' \
    "$tab" "$screen" "$4" "$screen" "$5" "$screen" "$6" "$screen" "$7" \
    >"$config/canny-demo/canny-demo.conf"
  shift 7
  DISPLAY=$display XDG_CONFIG_HOME=$config LANG=$language LC_ALL='' LANGUAGE='' \
    QT_QPA_PLATFORM=xcb "$app" &
  local pid=$!
  sleep 4
  x mousemove "${apply[@]}" click 1
  sleep 2
  while [ $# -gt 0 ]; do
    case $1 in
      # The stage label's mnemonic focuses the stage box; Over picture and Split follow it.
      stage) x key alt+s key "$2"; shift ;;
      split) x key alt+s Tab Tab space ;;
    esac
    shift
    sleep 2
  done
  x mousemove 1270 790  # no hover highlight, no tool tip
  sleep 1
  DISPLAY=$display import -window root -crop 1024x768+128+16 +repage "$work/$name.png"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pngquant --force --speed 1 --strip --output "$out/$name.png" "$work/$name.png"
  echo "$out/$name.png: $(stat -c %s "$out/$name.png") bytes"
}

shot edges 2 ThirdPicViewController 2 5 2 4
shot hysteresis 1 SecondPicViewController 2 6 2 4 stage h
shot split 3 FourthViewController 2 5 2.5 4 split
