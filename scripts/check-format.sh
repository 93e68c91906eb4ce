#!/usr/bin/env bash
# Fails, naming the files, when a tracked source under src/, tests/ or bench/
# is not as clang-format leaves it. With --fix, formats them in place instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" format
cd "$root"

# Other versions break some lines differently; the tree follows Debian 12's.
clang_format="${CLANG_FORMAT:-clang-format}"
mapfile -d '' files < <(git ls-files -z -- 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' \
                                           'bench/*.h' 'bench/*.cpp')

if [[ "${1:-}" == --fix ]]; then
    "$clang_format" -i "${files[@]}"
    exit
fi

# One run over all files; each place it would change is reported as file:line:col.
status=0
report="$("$clang_format" --dry-run --Werror "${files[@]}" 2>&1)" || status=$?
mapfile -t unformatted < <(grep -oE '^[^:]+:[0-9]+:[0-9]+: (warning|error)' <<<"$report" |
                           cut -d: -f1 | sort -u)
if ((status != 0 && ${#unformatted[@]} == 0)); then
    echo "$report" >&2
    exit "$status"
fi
if ((${#unformatted[@]})); then
    echo "Not formatted ($("$clang_format" --version)):" >&2
    for f in "${unformatted[@]}"; do
        echo "  $f" >&2
    done
    for f in "${unformatted[@]}"; do
        diff -u --label "$f" --label "$f (formatted)" "$f" <("$clang_format" "$f") | head -n 40 >&2 || true
    done
    echo "Run scripts/check-format.sh --fix to format them." >&2
    exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format asks."
