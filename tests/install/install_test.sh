#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks the tree file by file, builds the consumer project
# against it with CMake and with pkg-config, and compares their edge maps with the installed
# canny's.  Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

# Every file, and nothing else (the list's braces expanded, the module's suffix the interpreter's,
# Python's folder the one Debian's python3 searches under a prefix other than /usr).
suffix=$(/usr/bin/python3 -c 'import sysconfig; print(sysconfig.get_config_var("EXT_SUFFIX"))')
version=$(/usr/bin/python3 -c "import sysconfig; print(sysconfig.get_python_version())")
python_dir=python$version/dist-packages
listed=$(tr '\n' ' ' <"$here/expected-files.txt")
expected=$(eval "printf '%s\\n' $listed" \
  | sed -e "s/@EXT_SUFFIX@/$suffix/" -e "s|@PYTHON_DIR@|$python_dir|" | sort)
diff <(echo "$expected") <(cd "$prefix" && find . ! -type d | sort) || fail "installed files differ"

share=$prefix/share
desktop-file-validate "$share/applications/org.cannydemo.CannyDemo.desktop"
metainfo=$share/metainfo/org.cannydemo.CannyDemo.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "metainfo does not validate"
# Every screenshot the metainfo names is in dist/screenshots/, which the web site publishes.
shots=$(grep -oE 'https://cannydemo\.org/screenshots/[^<]+' "$metainfo")
[[ -n "$shots" ]] || fail "the metainfo names no screenshot"
for shot in $shots; do
  [[ -f "$here/../../dist/screenshots/${shot##*/}" ]] || fail "$shot is not in dist/screenshots"
done

# The man page describes every option --help shows.
canny=$prefix/bin/canny
options=$("$canny" --help | grep -oE '^  (-[a-z], )?--[a-z0-9-]+' | grep -oE -- '--[a-z0-9-]+')
[[ -n "$options" ]] || fail "no options in --help"
for option in $options; do
  grep -q "^\.B.* ${option//-/\\\\-}\b" "$share/man/man1/canny.1" || fail "canny.1 lacks $option"
done

readelf -d "$prefix/lib/libcanny-engine.so" | grep -q 'SONAME.*\[libcanny-engine\.so\.1\]' \
  || fail "no soname"

# A picture of noise and ramps, then the same edge map three ways.
/usr/bin/python3 -c "
import numpy as np, sys
y, x = np.mgrid[0:61, 0:83]
image = (x * 3 + np.random.default_rng(5).integers(0, 40, x.shape) * (y > 20)).astype(np.uint8)
sys.stdout.buffer.write(b'P5 83 61 255\n' + image.tobytes())" > "$work/in.pgm"
"$canny" --t1 1 --t2 3 --sigma 1.5 --steps 2 --format pgm "$work/in.pgm" "$work/tool.pgm"
cmake -S "$here/consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# shellcheck disable=SC2046  # pkg-config's flags are meant to split
c++ -std=c++20 "$here/consumer/consumer.cpp" -o "$work/pc-consumer" \
  $(pkg-config --cflags --libs canny-engine) -Wl,-rpath,"$prefix/lib"
for consumer in "$work/cmake/consumer" "$work/pc-consumer"; do
  "$consumer" <"$work/in.pgm" | cmp "$work/tool.pgm" - || fail "$consumer's edge map differs"
done

# The installed Python module, with Debian's interpreter (pytest checks its maps).
PYTHONPATH=$prefix/lib/$python_dir /usr/bin/python3 -c "import canny_engine" \
  || fail "the installed Python module does not import"
echo "install tree, consumers and module all agree"
