#!/usr/bin/env bash
# Installs what is missing, builds the release programs and starts Vellumix.
# Without a display it starts a private X server with a window manager
# (scripts/xserver.sh) and runs the app there, so agents can use the
# automation folder at once. Ctrl+C stops the app and the server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"

data=${XDG_DATA_HOME:-}
[[ $data == /* ]] || data=$HOME/.local/share
echo "Automation folder: $data/Vellumix/Automation"
echo "Try, from another terminal: $root/build/release/client/vellumix-request displays.list"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: starting a private X server for Vellumix."
    exec scripts/xserver.sh build/release/app/Vellumix "$@"
fi
exec build/release/app/Vellumix "$@"
