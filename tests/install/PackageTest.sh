#!/usr/bin/env bash
# Makes the Debian package from the build, as the README's commands do, and has lintian check it: no
# error, and the licence where Debian keeps it.
#   PackageTest.sh build-folder
set -euo pipefail
build=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
package=$(echo "$work"/vantu_*.deb)
[ -f "$package" ] || { echo "FAILED: no package was made" >&2; exit 1; }
dpkg-deb -c "$package" >"$work/contents"
grep -q '\./usr/share/doc/vantu/copyright$' "$work/contents" ||
    { echo "FAILED: the package carries no copyright file" >&2; exit 1; }
# lintian ends with a status other than 0 on any error; warnings are shown, not counted.
status=0
lintian --fail-on error "$package" >"$work/lintian.log" 2>&1 || status=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "$status" = 0 ] || { echo "FAILED: lintian found errors" >&2; exit 1; }
echo "package made and checked: $(basename "$package")"
