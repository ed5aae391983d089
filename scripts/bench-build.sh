#!/usr/bin/env bash
# Builds the benchmarks and the programs in Release mode into build/bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=OFF \
    -DVELLUMIX_BENCH=ON >/dev/null
cmake --build build/bench -j "$(nproc)" "$@"
