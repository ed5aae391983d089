#!/usr/bin/env bash
# Builds the benchmarks and the programs in Release mode into build/bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
# The fonts the text accuracy benchmark's wide set draws with
# (bench/text/WideScenes.cpp), and the terminal whose windows it reads
# (bench/text/x-windows.sh); the tests need none of them.
packages=(fonts-liberation2 fonts-noto-core fonts-noto-cjk fonts-cantarell xterm)
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${packages[@]}"
        break
    fi
done
# ffmpeg, the command, is the recording benchmark's peer (bench/recording).
if ! command -v ffmpeg >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends ffmpeg
fi
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=OFF \
    -DVELLUMIX_BENCH=ON >/dev/null
cmake --build build/bench -j "$(nproc)" "$@"
