#!/usr/bin/env bash
# Builds everything and runs every test; in CI also under the sanitizers.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
jobs="$(nproc)"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPYLOMIR_WERROR=ON
cmake --build "$root/build" -j "$jobs"
(cd "$root/build" && ctest --output-on-failure -j "$jobs" --timeout 300)

if [[ "${CI:-}" == true || "${PYLOMIR_SANITIZE_TESTS:-0}" == 1 ]]; then
    # The core's tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
    # clang, so that the archive reader's fuzzer is built and run as well.
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPYLOMIR_WERROR=ON \
        -DPYLOMIR_SANITIZE=ON -DPYLOMIR_BUILD_GUI=OFF -DPYLOMIR_BUILD_BENCH=OFF
    cmake --build "$root/build-asan" -j "$jobs"
    (cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" --timeout 600)
fi
