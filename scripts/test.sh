#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build with warnings as errors, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets briefly.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs=$(nproc)

echo "== Build (warnings are errors)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
echo "== Tests"
ctest --test-dir build --output-on-failure -j "$jobs"

if [ "${KORVANE_SKIP_SANITIZERS:-0}" != 1 ]; then
    echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_WERROR=ON -DKORVANE_SANITIZE=ON \
        -DKORVANE_BENCH=OFF >/dev/null
    cmake --build build-asan -j "$jobs"
    # Leak checking stays off: Qt's platform plugins and font caches keep allocations for the life of the
    # process by design, and those reports would bury real findings. Every other check is on.
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure -j "$jobs"
fi

if [ -x scripts/fuzz.sh ]; then
    echo "== Fuzz targets, briefly"
    ./scripts/fuzz.sh
fi
