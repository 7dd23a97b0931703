#!/bin/bash
# Builds screen_gaps and runs it on the offscreen platform: the longest time the
# window's thread stops answering while a 48-megapixel picture (or the one
# given) is opened, applied, staged and suggested, and Apply's click-to-map time.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target screen_gaps
QT_QPA_PLATFORM=offscreen "$BUILD/bench/responsiveness/screen_gaps" "$@"
