#!/usr/bin/env bash
# Sets up, builds and starts Korvane.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target korvane
exec ./build/bin/korvane "$@"
