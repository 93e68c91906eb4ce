#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed command
# line as a user would, without PYLOMIR_HOME: its program folder is then
# seeded into the user's data folder.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/pylomir-cli share/pylomir/Filtry/filtr_a1.dat share/pylomir/Filtry/filtr_a2.dat \
    share/pylomir/Filtry/filtr_a3.dat share/pylomir/Filtry/filtr_user.dat \
    share/metainfo/org.example.pylomir.metainfo.xml \
    share/bash-completion/completions/pylomir-cli share/man/man1/pylomir-cli.1.gz \
    share/doc/pylomir/copyright share/doc/pylomir/changelog.gz; do
    [[ -f $prefix/$f ]] || fail "not installed: $f"
done
if [[ -x $build/pylomir ]]; then
    for f in bin/pylomir share/applications/org.example.pylomir.desktop share/man/man1/pylomir.1.gz \
        share/icons/hicolor/scalable/apps/org.example.pylomir.svg; do
        [[ -f $prefix/$f ]] || fail "not installed: $f"
    done
    for n in 16 24 32 48 64 128 256; do
        png=$prefix/share/icons/hicolor/${n}x${n}/apps/org.example.pylomir.png
        [[ -f $png ]] || fail "no ${n}x${n} icon"
        # The PNG header holds the width and height at bytes 16 to 23.
        size=$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)
        [[ $size == "$n $n" ]] || fail "the ${n}x${n} icon is $size"
    done
fi
# The man page names the command and tells its options.
man_text=$(gzip -dc "$prefix/share/man/man1/pylomir-cli.1.gz")
grep -q '^pylomir-cli \\- find and delete disposable files' <<<"$man_text" || fail "man page NAME line"
grep -q 'archive' <<<"$man_text" || fail "man page without the commands"
grep -q "$version" <<<"$man_text" || fail "man page without the version"
[[ ! -e $prefix/bin/Filtry ]] || fail "the install made bin/ portable"

# A user's session: nothing of the build's environment.
run() {
    env -u PYLOMIR_HOME -u PYLOMIR_SETTINGS HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" \
        LC_ALL=C.UTF-8 "$@"
}
mkdir -p "$tmp/home" "$tmp/scan/sub"
: >"$tmp/scan/a.tmp"
: >"$tmp/scan/sub/b.bak"
: >"$tmp/scan/keep.txt"

out=$(run XDG_DATA_HOME="$tmp/data" "$prefix/bin/pylomir-cli" --version)
[[ $out == "pylomir-cli $version" ]] || fail "--version printed '$out'"

status=0
out=$(run XDG_DATA_HOME="$tmp/data" "$prefix/bin/pylomir-cli" scan "$tmp/scan" --mode bezpieczny \
    2>"$tmp/err") || status=$?
[[ $status == 3 ]] || fail "scan exited $status: $(cat "$tmp/err")"
[[ $(sort <<<"$out") == "$(printf '%s\n' "$tmp/scan/a.tmp" "$tmp/scan/sub/b.bak")" ]] ||
    fail "scan found: $out"
# Every shipped filter was seeded, byte for byte.
for f in "$source"/data/Filtry/*; do
    cmp -s "$f" "$tmp/data/pylomir/Filtry/$(basename "$f")" || fail "not seeded: $(basename "$f")"
done

# A user's change survives the next start; the user's own filters are used.
printf '*.txt\r\n' >"$tmp/data/pylomir/Filtry/filtr_user.dat"
status=0
out=$(run XDG_DATA_HOME="$tmp/data" "$prefix/bin/pylomir-cli" scan "$tmp/scan" --mode uzytkownika \
    2>"$tmp/err") || status=$?
[[ $status == 3 && $out == "$tmp/scan/keep.txt" ]] || fail "user's filters: $status '$out'"
[[ $(cat "$tmp/data/pylomir/Filtry/filtr_user.dat") == $'*.txt\r' ]] || fail "user's file overwritten"

# Without XDG_DATA_HOME the program folder is in ~/.local/share.
run "$prefix/bin/pylomir-cli" scan "$tmp/scan" --mode bezpieczny >/dev/null 2>&1 || true
cmp -s "$source/data/Filtry/filtr_a1.dat" "$tmp/home/.local/share/pylomir/Filtry/filtr_a1.dat" ||
    fail "not seeded into ~/.local/share/pylomir"

# A Filtry folder beside the executable makes the copy portable.
mkdir "$prefix/bin/Filtry"
printf '*.txt\r\n' >"$prefix/bin/Filtry/filtr_a1.dat"
status=0
out=$(run XDG_DATA_HOME="$tmp/portable-data" "$prefix/bin/pylomir-cli" scan "$tmp/scan" \
    --mode bezpieczny 2>"$tmp/err") || status=$?
[[ $status == 3 && $out == "$tmp/scan/keep.txt" ]] || fail "portable copy: $status '$out'"
[[ ! -e $tmp/portable-data ]] || fail "a portable copy seeded the data folder"
echo "ok"
