#!/usr/bin/env bash
# The scrolling-capture loop under the private X server of scripts/xserver.sh,
# its monitors joined into one 3,840 × 2,160 display at scale 2: a region of
# 1,600 × 1,000 points over a tall page that xdotool scrolls by the wheel.
#   bench/session/run.sh [seconds of scrolling, default 10]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bench=$root/build/bench/bench/session/bench_session_loop
[ -x "$bench" ] || "$root/scripts/bench-build.sh" --target bench_session_loop >/dev/null

"$root/scripts/xserver.sh" bash -s "$bench" "${1:-10}" <<'INNER'
set -euo pipefail
xrandr --delmonitor LEFT >/dev/null
xrandr --delmonitor RIGHT >/dev/null
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 "$1" "$2"
INNER
