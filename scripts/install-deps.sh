#!/usr/bin/env bash
# Installs every Debian package that building, testing and benchmarking need.
# Idempotent: packages already present are not touched, and apt-get runs only
# when something is missing.  Usage: install-deps.sh [--bench | --fuzz | --web]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev
  qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-l10n-tools
  qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  qt6-image-formats-plugins fonts-dejavu-core
  # Qt's own texts (dialogs, buttons) in the languages the application speaks
  qt6-translations-l10n
  # libtiff's message handlers for the picture reader, libpng and zlib for the edge maps' PNG,
  # libjpeg-turbo (the library Qt's plugin uses) for JPEGs decoded straight to gray
  libtiff-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
  valgrind clang-format
  # the Python package (CMake's build and pip's), its tests, Dask for the pool test
  pybind11-dev python3-dev python3-numpy python3-pytest
  python3-pip python3-setuptools python3-wheel python3-build python3-pybind11 python3-distributed
  # checks of what installs: desktop entry, metainfo, the Debian packages, built and checked
  desktop-file-utils appstream dpkg-dev debhelper dh-python lintian
  # a PipeWire test camera for the camera screen's end-to-end test
  pipewire wireplumber gstreamer1.0-pipewire dbus gstreamer1.0-tools
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(libbenchmark-dev libopencv-dev hyperfine)
fi
if [[ "${1:-}" == "--web" ]]; then
  # the engine in WebAssembly, its tests under Node and in a headless browser
  packages+=(emscripten nodejs chromium)
  # a Node from elsewhere brings its own npm, which Debian's would conflict with
  command -v npm >/dev/null || packages+=(npm)
fi
if [[ "${1:-}" == "--screenshots" ]]; then
  # scripts/make-screenshots.sh: a display of its own, clicks and keys, the window captured and
  # reduced to a palette
  packages+=(xvfb xdotool imagemagick pngquant)
fi
if [[ "${1:-}" == "--fuzz" ]]; then
  # libFuzzer and the sanitizers' runtimes; convert makes the picture seeds
  packages+=(clang libclang-rt-dev imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
