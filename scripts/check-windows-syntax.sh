#!/usr/bin/env bash
# Compiles every core source as Windows sees it (MinGW-w64, syntax only), so
# the _WIN32 branches that no Linux build sees are at least well-formed C++.
# The headers are this machine's Qt Core and zlib; nothing is linked.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" windows
cd "$root"

cxx="${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}"
qt_include="$(pkg-config --variable=includedir Qt6Core)"
zlib_include="$(pkg-config --variable=includedir zlib)"

# zlib's headers sit in /usr/include beside glibc's; only copies of the two
# go on the path, so every other header comes from MinGW's own.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/zlib"
cp "$zlib_include/zlib.h" "$zlib_include/zconf.h" "$tmp/zlib/"

version="$(sed -n 's/^project(Pylomir VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
flags=(-fsyntax-only -std=c++20 -Wall -Wextra -Werror -Isrc "-DPYLOMIR_VERSION=\"$version\""
       -isystem "$qt_include" -isystem "$qt_include/QtCore" -isystem "$tmp/zlib")

# The folders of the core library and the command line (Qt Core only); the
# GUI's platform services need Qt Widgets.
dirs=()
for d in platform core engine scan assess ignore records backup app cli; do
    [[ -d "src/$d" ]] && dirs+=("src/$d")
done
mapfile -t files < <(find "${dirs[@]}" -path src/platform/gui -prune -o -name '*.cpp' -print | sort)
if ((${#files[@]} == 0)); then
    echo "No core sources found under src/." >&2
    exit 1
fi

echo "Windows syntax check with $cxx:"
# As many compilers at a time as there are cores; each file's diagnostics
# are printed together, in file order, once all are done.
for i in "${!files[@]}"; do
    ("$cxx" "${flags[@]}" "${files[$i]}" >"$tmp/$i.log" 2>&1 || touch "$tmp/$i.failed") &
    while (($(jobs -rp | wc -l) >= $(nproc))); do
        wait -n
    done
done
wait

failed=0
for i in "${!files[@]}"; do
    if [[ -e "$tmp/$i.failed" ]]; then
        echo "  FAILED ${files[$i]}"
        sed 's/^/    /' "$tmp/$i.log"
        failed=$((failed + 1))
    else
        echo "  ok     ${files[$i]}"
    fi
done
if ((failed)); then
    echo "Windows syntax check: $failed of ${#files[@]} files failed." >&2
    exit 1
fi
echo "Windows syntax check: all ${#files[@]} files passed."
