#!/usr/bin/env bash
# The selection overlay's speed under the private X server of
# scripts/xserver.sh, in two shapes of its 3,840 × 2,160 screen:
#  - two monitors of 1,920 × 2,160, RIGHT at scale 2: the freeze, from the
#    request to every overlay on the screen, with the processor time of this
#    process (all threads) and of the X server, and its parts;
#  - one 3,840 × 2,160 monitor: pointer motion over a 4K frozen display.
#   bench/overlay/run.sh [benchmark options]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bench=$root/build/bench/bench/overlay/bench_overlay
[ -x "$bench" ] || "$root/scripts/bench-build.sh" --target bench_overlay >/dev/null

# The server is a child of xserver.sh, as this inner script is.
"$root/scripts/xserver.sh" bash -s "$bench" "$@" <<'INNER'
set -euo pipefail
bench=$1
shift
output=$(xrandr | awk '/ connected/ { print $1; exit }')
xrandr --delmonitor LEFT >/dev/null
xrandr --delmonitor RIGHT >/dev/null
xsetroot -solid '#808080'
xdotool mousemove 100 100
xrandr --setmonitor LEFT 1920/508x2160/572+0+0 "$output" >/dev/null
xrandr --setmonitor RIGHT 1920/508x2160/572+1920+0 none >/dev/null
echo "== two monitors of 1920 x 2160, RIGHT at scale 2"
VELLUMIX_XSERVER_PID=$(pgrep -P "$PPID" -x Xorg || true) QT_QPA_PLATFORM=xcb QT_SCREEN_SCALE_FACTORS=RIGHT=2 "$bench" \
    --benchmark_filter='Freeze|Grab|Prepare|Show' "$@"
xrandr --delmonitor LEFT >/dev/null
xrandr --delmonitor RIGHT >/dev/null
echo "== one monitor of 3840 x 2160"
QT_QPA_PLATFORM=xcb "$bench" --benchmark_filter='Move' "$@"
INNER
