#!/usr/bin/env bash
# Makes the Debian package from the build and checks it as Debian's tools
# do: lintian finds no error, and the package holds the install's files and
# depends on the libraries' packages.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(echo "$tmp"/pylomir_*.deb)
[[ -f $deb ]] || fail "no package in $tmp"

# Errors fail; warnings and notes are shown.
lintian --fail-on error --no-tag-display-limit "$deb" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian found errors"

control=$(dpkg-deb -f "$deb")
grep -q '^Section: utils$' <<<"$control" || fail "section: $control"
grep -q '^Maintainer: .*<.*@.*>$' <<<"$control" || fail "maintainer: $control"
for lib in libqt6core6 zlib1g libc6; do
    grep -q "^Depends:.* $lib" <<<"$control" || fail "Depends lacks $lib: $control"
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/pylomir-cli ./usr/share/pylomir/Filtry/filtr_a1.dat \
    ./usr/share/man/man1/pylomir-cli.1.gz ./usr/share/doc/pylomir/copyright; do
    grep -qx "$f" <<<"$files" || fail "the package lacks $f"
done
echo ok
