#!/usr/bin/env bash
# Starts Canny Demo from a build folder (default: build); further arguments
# go to the program.
set -euo pipefail
build=${1:-build}
app="$build/app/canny-demo"
if [[ ! -x "$app" ]]; then
  echo "run.sh: $app not found; build it first (make run does)" >&2
  exit 1
fi
if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]]; then
  echo "run.sh: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset)" >&2
  exit 1
fi
exec "$app" "${@:2}"
