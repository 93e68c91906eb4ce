#!/usr/bin/env bash
# Checks the formatting and the Windows branches, builds everything and runs
# every test; in CI also under the sanitizers.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/deps.sh"
jobs="$(nproc)"

# The quick checks first: a slip there fails in seconds, not after the build.
"$root/scripts/check-format.sh"
"$root/scripts/check-windows-syntax.sh"

cmake --preset dev
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

if [[ "${CI:-}" == true || "${PYLOMIR_SANITIZE_TESTS:-0}" == 1 ]]; then
    # The core's tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
    # clang, so that the archive reader's fuzzer is built and run as well.
    cmake --preset asan
    cmake --build --preset asan -j "$jobs"
    ctest --preset asan -j "$jobs"
fi
