#!/usr/bin/env bash
# Builds Pylomir and starts it with a writable program folder in run-home/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" build

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target pylomir

# The filter files are seeded only where missing, so the user's edits survive rebuilds.
home="${PYLOMIR_HOME:-$root/run-home}"
mkdir -p "$home/Filtry"
for f in "$root"/data/Filtry/*; do
    [[ -e "$home/Filtry/$(basename "$f")" ]] || cp "$f" "$home/Filtry/"
done
export PYLOMIR_HOME="$home"
exec "$root/build/pylomir" "$@"
