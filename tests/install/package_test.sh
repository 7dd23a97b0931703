#!/usr/bin/env bash
# Builds the Debian packages as `make package` does and checks each one: its files, the library
# packages free of Qt, Python and NumPy, the shared library's symbols and ldconfig trigger, and
# lintian where it is installed. Then, unpacked into a scratch root, the packaged tool, a consumer
# built against the development package, and the packaged Python module all give the build's
# edge map (the packages' hardening flags must not change a bit).  Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$build/packages
bash "$here/../../scripts/build-packages.sh" "$out"

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
suffix=$(/usr/bin/python3 -c 'import sysconfig; print(sysconfig.get_config_var("EXT_SUFFIX"))')
root=$work/root
packages=()
for deb in "$out"/*.deb; do
  package=$(dpkg-deb -f "$deb" Package)
  packages+=("$package")
  listed=$(awk -v p="$package" '$1 == p {print $2}' "$here/package-files.txt" | tr '\n' ' ')
  expected=$(eval "printf '%s\\n' $listed ./usr/share/doc/$package/{changelog.gz,copyright}" \
    | sed -e "s/@EXT_SUFFIX@/$suffix/" -e "s/@MULTIARCH@/$multiarch/" | sort)
  diff <(echo "$expected") <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort) \
    || fail "$package's files differ"
  dpkg-deb -x "$deb" "$root"
done
[[ "${packages[*]}" == "$(awk '{print $1}' "$here/package-files.txt" | sort -u | xargs)" ]] \
  || fail "packages built: ${packages[*]}"

depends() { dpkg-deb -f "$out/$1"_*.deb Depends; }
for package in libcanny-engine1 libcanny-engine-dev; do
  [[ ! "$(depends $package)" =~ qt|python|numpy ]] || fail "$package pulls in $(depends $package)"
done
[[ "$(depends libcanny-engine-dev)" == *"libcanny-engine1 (= "* ]] || fail "-dev lacks its library"
[[ "$(depends python3-canny-engine)" =~ python3\ \(\>=.*python3-numpy ]] \
  || fail "the module's dependencies: $(depends python3-canny-engine)"
[[ "$(depends canny-demo)" == *libqt6widgets6* ]] || fail "the application's: $(depends canny-demo)"
# ldconfig runs by trigger, not from a maintainer script; programs get dependencies from symbols.
control=$(dpkg-deb --ctrl-tarfile "$out"/libcanny-engine1_*.deb | tar -t | sort | xargs)
[[ "$control" == "./ ./control ./md5sums ./shlibs ./symbols ./triggers" ]] \
  || fail "the library's control files: $control"

if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$out"/*.deb || fail "lintian"
else
  echo "lintian not installed: skipped"
fi

usr=$root/usr
picture=$here/../../bench/pictures/coins.pgm
settings=(--t1 1 --t2 3 --sigma 1.5 --steps 2)  # the consumer's
"$build/tools/canny" "${settings[@]}" --format pgm "$picture" "$work/build.pgm"
"$usr/bin/canny" "${settings[@]}" --format pgm "$picture" - | cmp "$work/build.pgm" - \
  || fail "the packaged canny's edge map differs"
cmake -S "$here/consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$usr" >/dev/null
cmake --build "$work/cmake" >/dev/null
"$work/cmake/consumer" <"$picture" | cmp "$work/build.pgm" - || fail "the consumer's map differs"
export PYTHONPATH=$usr/lib/python3/dist-packages
/usr/bin/python3 - "$picture" <<'PY' | cmp "$work/build.pgm" - || fail "the module's map differs"
import sys, numpy, canny_engine
raw = open(sys.argv[1], "rb").read()
width, height = map(int, raw.split()[1:3])
gray = numpy.frombuffer(raw[-width * height:], numpy.uint8).reshape(height, width)
edges = canny_engine.detect(gray, t1=1, t2=3, sigma=1.5, steps=2)
sys.stdout.buffer.write(b"P5\n%d %d\n255\n" % (width, height) + edges.tobytes())
PY
echo "packages ${packages[*]}: files, dependencies and edge maps as expected"
