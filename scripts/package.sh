#!/usr/bin/env bash
# Builds the release programs and the Debian package (build/release/*.deb),
# then checks the package with lintian.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
(cd build/release && cpack >/dev/null)
deb=$(ls build/release/vellumix_*.deb)
if ! command -v lintian >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends lintian
fi
lintian --allow-root --fail-on error "$deb"
echo "$deb"
