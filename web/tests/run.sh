#!/usr/bin/env bash
# Builds the web site and runs one of its tests, for ctest:
#   run.sh engine SOURCE_DIR WORK_DIR CANNY ENGINE_TESTS   the WebAssembly engine under Node
#   run.sh browser SOURCE_DIR WORK_DIR CANNY               the page in headless Chromium
# Exits 77 (skipped) when emscripten, Node, the npm packages or Chromium cannot be had.
set -euo pipefail
mode=$1 source=$2 work=$3 canny=$4
skip() { echo "SKIP: $*"; exit 77; }

command -v emcmake >/dev/null || skip "emscripten is not installed (scripts/install-deps.sh --web)"
command -v node >/dev/null || skip "node is not installed (scripts/install-deps.sh --web)"
if [[ $mode == browser ]]; then
  chromium=${CHROMIUM:-$(command -v chromium || true)}
  [[ -x $chromium ]] || skip "chromium is not installed (scripts/install-deps.sh --web)"
fi

mkdir -p "$work"
# One build at a time: ctest may run both tests at once.
exec 9>"$work/.lock"
flock 9
emcmake cmake -S "$source/web" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log"; exit 1; }

# The tests' npm packages, exactly as locked, installed once per lock file.
if ! cmp -s "$source/web/package-lock.json" "$work/node/package-lock.json"; then
  rm -rf "$work/node" && mkdir -p "$work/node"
  cp "$source/web/package.json" "$source/web/package-lock.json" "$work/node/"
  (cd "$work/node" && npm ci --no-audit --no-fund --ignore-scripts >npm.log 2>&1) ||
    { rm -f "$work/node/package-lock.json"; skip "the npm packages cannot be installed (offline?)"; }
fi
flock -u 9
export NODE_PATH=$work/node/node_modules

site=$work/build/site
case $mode in
  engine)
    cases=$(mktemp -d)
    trap 'rm -rf "$cases"' EXIT
    CANNY_AGREEMENT_CASES=$cases "$5" --gtest_filter='Agreement.*' >/dev/null
    node "$source/web/tests/engine.test.js" "$site" "$cases" "$canny" "$source/resources/pictures"
    ;;
  browser)
    CHROMIUM=$chromium node "$source/web/tests/browser.test.js" "$site" "$canny" "$work/screenshots"
    ;;
esac
