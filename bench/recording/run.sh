#!/usr/bin/env bash
# Recordings beside ffmpeg in one run: the GIF of a UI being used (headless),
# then 1,920 × 1,080 at 30 fps under the private X server of
# scripts/xserver.sh, with its monitors joined into one display.
#   bench/recording/run.sh [mp4 seconds, default 20]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$root/build/bench/bench/recording
[ -x "$dir/bench_recording_mp4" ] ||
    "$root/scripts/bench-build.sh" --target bench_recording_mp4 bench_recording_gif >/dev/null
"$dir/bench_recording_gif"
"$root/scripts/xserver.sh" bash -c \
    'xrandr --delmonitor LEFT >/dev/null; xrandr --delmonitor RIGHT >/dev/null
     QT_QPA_PLATFORM=xcb "$0" "$1"' "$dir/bench_recording_mp4" "${1:-20}"
