#!/usr/bin/env bash
# Installs what is missing, builds the release programs and writes the style
# samples to out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
mkdir -p out
QT_QPA_PLATFORM=offscreen build/release/scripts/samples/vellumix-samples out
