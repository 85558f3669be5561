#!/usr/bin/env bash
# Sets up what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTAKKO_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target stakko
cd build/run
exec ../stakko
