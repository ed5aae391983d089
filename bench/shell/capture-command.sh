#!/usr/bin/env bash
# From the user's key to the frozen overlay, median of 10 runs each: under the
# headless sway session of scripts/wayland.sh through `Vellumix --capture`,
# and under the private X server of scripts/xserver.sh through both the hot
# key and `Vellumix --capture`. Runs come 1.5 s apart, as a person's do; on
# Wayland, back-to-back runs (PAUSE=0) also show the wait for the screen cast
# to drop the last overlay.
#   [PAUSE=ms] bench/shell/capture-command.sh [runs, default 10] [build folder, default build/bench]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-10}
build=${2:-$root/build/bench}
bench=$build/bench/shell/bench_capture_command
[ -x "$bench" ] || "$root/scripts/bench-build.sh" --target bench_capture_command >/dev/null

echo "== Wayland (headless sway)"
"$root/scripts/wayland.sh" "$bench" command "$runs" "${PAUSE:-1500}" 2>/dev/null
echo "== X11 (Xorg, openbox)"
"$root/scripts/xserver.sh" bash -c "QT_QPA_PLATFORM=xcb '$bench' hotkey $runs ${PAUSE:-1500} && \
    QT_QPA_PLATFORM=xcb '$bench' command $runs ${PAUSE:-1500}" 2>/dev/null
