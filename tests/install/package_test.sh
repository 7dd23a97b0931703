#!/usr/bin/env bash
# Builds the Debian package and lists it: every installed file under /usr, the runtime dependencies
# dpkg-shlibdeps found, the shared library's shlibs. Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(echo "$work"/canny-demo_*.deb)
[[ -f "$deb" ]] || fail "no .deb"

suffix=$(/usr/bin/python3 -c 'import sysconfig; print(sysconfig.get_config_var("EXT_SUFFIX"))')
listed=$(tr '\n' ' ' <"$here/expected-files.txt")
expected=$(eval "printf '%s\\n' $listed" | sed -e "s/@EXT_SUFFIX@/$suffix/" \
  -e "s|@PYTHON_DIR@|python3/dist-packages|" -e 's|^\.|./usr|' | sort)
diff <(echo "$expected") <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort) \
  || fail "packaged files differ"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6multimedia6 libqt6gui6 libstdc++6 python3-numpy; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./shlibs | grep -q '^libcanny-engine 1 canny-demo' \
  || fail "no shlibs entry for the library"
echo "package lists every file, with Depends: $depends"
