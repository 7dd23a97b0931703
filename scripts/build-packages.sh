#!/usr/bin/env bash
# Builds the Debian packages (debian/, dpkg-buildpackage) from a copy of the sources and leaves the
# .deb files in OUT_DIR. The copy keeps the work tree and its parent free of build products; the
# compiler cache is the user's own (debhelper points HOME elsewhere), its paths taken relative to
# the copy, so rebuilds and other checkouts reuse it.  Usage: build-packages.sh OUT_DIR
set -euo pipefail
out=$(realpath -m "$1")
source_dir=$(dirname "$(dirname "$(realpath "$0")")")
work=$out/.build
copy=$work/canny-demo

rm -rf "$work" "$out"/*.deb
mkdir -p "$copy"
# Tracked and new files, build folders and other ignored ones left out.
git -C "$source_dir" ls-files -z --cached --others --exclude-standard \
  | tar -C "$source_dir" --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$copy" -xf -

if command -v ccache >/dev/null; then
  CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
  export CCACHE_DIR CCACHE_BASEDIR=$copy
fi
# Debug symbol packages are left out: the packages are what `make package` promises.
export DEB_BUILD_OPTIONS="noddebs ${DEB_BUILD_OPTIONS:-}"
log=$work/build.log
(cd "$copy" && nice dpkg-buildpackage -b -us -uc -j"${JOBS:-$(nproc)}") >"$log" 2>&1 \
  || { tail -n 40 "$log" >&2; echo "FAIL: dpkg-buildpackage, its log in $log" >&2; exit 1; }
mv "$work"/*.deb "$out"/
